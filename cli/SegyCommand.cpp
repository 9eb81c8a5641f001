#include "cli/SegyCommand.h"

#include "cli/TerminalConsole.h"
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
