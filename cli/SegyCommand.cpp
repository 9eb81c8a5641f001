#include "cli/SegyCommand.h"

#include "cli/TerminalConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegyFormatFile.h"

cli::Argument SegyCommand::fileArgument()
{
    return cli::argument("FILE", QStringLiteral("the SEG-Y file"));
}

std::unique_ptr<SegyFormat> SegyCommand::loadFormat(TerminalConsole& console) const
{
    const QString path = formatPath();
    if (path.isEmpty())
        return std::make_unique<SegyFormat>(false);
    SegyFormatFile file(path, 0);
    if (!file.read()) {
        console.error(QStringLiteral("cannot read SEG-Y format file %1%2")
                          .arg(path, file.errorString().isEmpty()
                                         ? QString()
                                         : QStringLiteral(": ") + file.errorString()),
                      false);
        return nullptr;
    }
    return std::make_unique<SegyFormat>(file.format());
}

bool SegyCommand::openFile(TerminalConsole& console)
{
    format = loadFormat(console);
    if (!format)
        return false;
    data = std::make_unique<SegyData>(&console, file(), 0, format.get());
    return data->ok();
}

bool SegyCommand::openFileOfKnownFormat(TerminalConsole& console)
{
    if (!openFile(console))
        return false;
    const int code = data->statedSampleFormat();
    if (SegyLayout::knownSampleFormat(code) || !formatPath().isEmpty())
        return true;
    console.error(
        QStringLiteral("%1: sample format code %2 is none of the SEG-Y standard's; give a format file "
                       "(--format) that says how its samples are stored")
            .arg(file())
            .arg(code),
        false);
    return false;
}

qint64 SegyCommand::bytesAfterLastTrace() const
{
    return data->bytesAfterTraces();
}

void SegyCommand::warnOfPartialTrace(TerminalConsole& console) const
{
    if (const qint64 rest = bytesAfterLastTrace())
        console.warning(
            QStringLiteral(
                "the data part of %1 is not a whole number of traces: %2 bytes follow the last whole trace")
                .arg(file())
                .arg(rest),
            false);
}
