#include "cli/JobTapes.h"

#include "cli/CliArguments.h"
#include "cli/TerminalConsole.h"
#include "devices/TapeDevice.h"

namespace cli {

bool tapeList(const Arguments& arguments, const char* option, QList<DeviceArgument>* tapes)
{
    for (const QString& text : arguments.texts(QLatin1String(option))) {
        DeviceArgument device;
        QString errorText;
        if (!DeviceArgument::parse(text, &device, &errorText) || !device.isTape()) {
            arguments.usageError(
                QStringLiteral("--%1 needs a tape (tape:N or tape:PATH)").arg(QLatin1String(option)));
            return false;
        }
        tapes->append(device);
    }
    return true;
}

bool outputChoice(const Arguments& arguments)
{
    if (!arguments.has(QStringLiteral("overwrite")) || !arguments.has(QStringLiteral("append")))
        return true;
    arguments.usageError(QStringLiteral("--overwrite and --append exclude each other"));
    return false;
}

TapeDevice* jobTape(const DeviceArgument& device, const Arguments& arguments, TerminalConsole& console,
                    TapeArgument* tape)
{
    QString errorText;
    if (!tape->resolve(device, &console, &errorText)) {
        console.error(errorText, false);
        return nullptr;
    }
    TapeDevice* drive = tape->drive();
    drive->setNoRewind(arguments.has(QStringLiteral("no-rewind")));
    drive->setUnloadAtEnd(arguments.has(QStringLiteral("unload")));
    return drive;
}

TapeDevice* openJobTape(const DeviceArgument& device, unsigned mode, const Arguments& arguments,
                        TerminalConsole& console, TapeArgument* tape)
{
    TapeDevice* drive = jobTape(device, arguments, console, tape);
    return drive && drive->open(mode) ? drive : nullptr;
}

bool copyEndpoint(const DeviceArgument& device, unsigned mode, const Arguments& arguments,
                  TerminalConsole& console, TapeArgument* tape, CopyJob::Endpoint* endpoint)
{
    endpoint->path = device.path;
    if (device.isTape())
        endpoint->tape = openJobTape(device, mode, arguments, console, tape);
    return !device.isTape() || endpoint->tape;
}

} // namespace cli
