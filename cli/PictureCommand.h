#pragma once

#include "analyzers/AnalysisPictures.h"
#include "cli/CliCommand.h"

class SeismicData;
class TerminalConsole;

namespace cli {
class Arguments;
}

// The picture actions of the tools that read seismic files (`obrio segy plot`, `obrio segd
// plot`, ...): their options, the request they make of them and the lines they write.
namespace PictureCommand {

// The action with --out, --first, --last, --start and --end and the file argument.
cli::Command picture(const char* tool, const char* name, const QString& summary, cli::Command::Run run,
                     const cli::Argument& file);
// A trace plot action: a picture with --hscale, --vscale and --gain.
cli::Command plot(const char* tool, const QString& summary, cli::Command::Run run, const cli::Argument& file);

// The request of the options; Success, or the usage error said.
int request(const cli::Arguments& arguments, AnalysisPictures::Kind kind, AnalysisPictures::Request& request);
// Ends the request's trace range no further than the file's last trace;
// Success, or JobFailed (said) when the range lies outside data's traces.
int fitTraces(const SeismicData& data, const cli::Arguments& arguments, AnalysisPictures::Request& request,
              TerminalConsole& console);
// Draws and writes the picture of a fitted request; the exit status.
int write(SeismicData& data, const AnalysisPictures::Request& request, TerminalConsole& console);
// fitTraces, then write.
int draw(SeismicData& data, const cli::Arguments& arguments, AnalysisPictures::Request& request,
         TerminalConsole& console);

} // namespace PictureCommand
