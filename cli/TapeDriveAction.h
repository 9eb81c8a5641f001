#pragma once

#include "cli/CliCommand.h"

#include <functional>

class TapeDevice;
class TerminalConsole;

namespace cli {

class Arguments;

// The DEV argument of the actions that work one drive.
Argument driveArgument();
// Runs `job` on the drive of the DEV argument, opened in `mode` (or not opened when negative):
// a usage error for a DEV that is no drive, JobFailed when the drive cannot be used or the job
// returns false.
int onDrive(const Arguments& arguments, TerminalConsole& console, int mode,
            const std::function<bool(TapeDevice*)>& job);

} // namespace cli
