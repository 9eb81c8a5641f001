#pragma once

#include "cli/CliParameters.h"

#include <QString>
#include <memory>

class SegdData;
class ObrConsole;

// What the `obrio segd` actions read: one SEG-D field file by the standard's rules, whatever
// recorder wrote it; files of Sercel recorders with their additions, as the analyzer reads
// them.
namespace SegdCommand {

// The FILE argument of the actions that read one field file.
cli::Argument fileArgument();
// The field file at path, its headers read and checked; null when it cannot be read (said on
// the console).
std::unique_ptr<SegdData> open(const QString& path, ObrConsole& console);

} // namespace SegdCommand
