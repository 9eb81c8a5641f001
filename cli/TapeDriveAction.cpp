#include "cli/TapeDriveAction.h"

#include "cli/CliArguments.h"
#include "cli/DeviceArgument.h"
#include "cli/TerminalConsole.h"
#include "devices/TapeDevice.h"

namespace cli {

Argument driveArgument()
{
    return argument("DEV", QStringLiteral("the drive: tape:N or tape:PATH"));
}

int onDrive(const Arguments& arguments, TerminalConsole& console, int mode,
            const std::function<bool(TapeDevice*)>& job)
{
    DeviceArgument device;
    QString errorText;
    if (!DeviceArgument::parse(arguments.positional(0), &device, &errorText))
        return arguments.usageError(errorText);
    TapeArgument tape;
    if (!tape.resolve(device, &console, &errorText)) {
        console.error(errorText, false);
        return JobFailed;
    }
    if (mode >= 0 && !tape.drive()->open(static_cast<unsigned>(mode)))
        return JobFailed;
    return job(tape.drive()) ? Success : JobFailed;
}

} // namespace cli
