#pragma once

#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliParameters.h"
#include "sps/SpsKind.h"
#include "sps/SpsLayoutDetection.h"
#include "sps/SpsLayoutInForce.h"
#include "sps/SpsSurvey.h"

#include <QString>
#include <optional>

class SpsLines;
class TerminalConsole;

// What the `obrio sps` actions share: the record kind of --kind and the layout in force, either
// the analyzers' layers for a file or a layout chosen by name.
namespace SpsCommand {

cli::Option kindOption();
// The kind --kind names; nothing after writing the usage error (then *status is its exit status).
std::optional<SpsKind> kind(const cli::Arguments& arguments, int* status);
// The layout of `choice` ("sps21" or a format file) when given, else the layers for spsPath (empty:
// built-in and user default). Problems are reported: a chosen layout that cannot be had as an error
// (false), a refused layer as a warning.
[[nodiscard]] bool layoutInForce(SpsKind kind, const QString& spsPath, const QString& choice,
                                 TerminalConsole& console, std::optional<SpsLayoutInForce>* result);

// The layout to read a file with: the detected one for "auto", else as layoutInForce(). The
// detection is made either way, for the report. Nothing when a chosen layout cannot be had.
struct FileLayout {
    SpsLayout layout;
    SpsDetection detected;
    bool automatic = false;
    // "Detected layout: SPS 2.1 (H00 line 1 says SPS 2.1); in force"
    QString detectionText() const;
};
std::optional<FileLayout> layoutFor(SpsKind kind, const QString& path, const SpsLines& lines,
                                    const QString& choice, TerminalConsole& console);
cli::Option layoutOption(const char* defaultText);
// The arguments S, R and X of the actions on a whole survey; X optional when asked.
cli::Command& surveyFiles(cli::Command& command, bool relationOptional = false);

// Reads the files of a survey (source, receiver, relation; an empty path is skipped), each under
// the layout `choice` gives ("auto" when empty); a line per file says what was read. False after
// saying why a file could not be read.
[[nodiscard]] bool readSurvey(const QString& sourcePath, const QString& receiverPath,
                              const QString& relationPath, QString choice, TerminalConsole& console,
                              SpsSurvey* survey, QStringList* read);

} // namespace SpsCommand
