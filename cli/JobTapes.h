#pragma once

#include "cli/DeviceArgument.h"
#include "copy/CopyJob.h"

#include <QList>

class TerminalConsole;
class TapeDevice;

namespace cli {

class Arguments;

// The tapes a repeatable option (--next-tape, --next-output-tape) names; false, with the usage
// error given, for one that is no tape.
[[nodiscard]] bool tapeList(const Arguments& arguments, const char* option, QList<DeviceArgument>* tapes);
// --overwrite and --append, which exclude each other; false, with the usage error given, for both.
[[nodiscard]] bool outputChoice(const Arguments& arguments);
// The drive `device` names, set up with the job's --no-rewind and --unload but not opened; null
// when there is none (reported).
TapeDevice* jobTape(const DeviceArgument& device, const Arguments& arguments, TerminalConsole& console,
                    TapeArgument* tape);
// The drive as jobTape() gives it, opened in `mode`; null when it cannot be used (reported).
TapeDevice* openJobTape(const DeviceArgument& device, unsigned mode, const Arguments& arguments,
                        TerminalConsole& console, TapeArgument* tape);
// A copy job's end: a disk path, or the drive opened as openJobTape does; false when the drive
// cannot be used.
[[nodiscard]] bool copyEndpoint(const DeviceArgument& device, unsigned mode, const Arguments& arguments,
                                TerminalConsole& console, TapeArgument* tape, CopyJob::Endpoint* endpoint);

} // namespace cli
