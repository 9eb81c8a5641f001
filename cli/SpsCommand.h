#pragma once

#include "cli/CliArguments.h"
#include "cli/CliParameters.h"
#include "sps/SpsKind.h"
#include "sps/SpsLayoutInForce.h"

#include <QString>
#include <optional>

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

} // namespace SpsCommand
