#include "cli/SegyCommand.h"

#include "cli/CliTool.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"

namespace segycli {

namespace {
std::vector<SegyAction>& registry()
{
    static std::vector<SegyAction> list;
    return list;
}
} // namespace

void registerAction(const SegyAction& action)
{
    registry().push_back(action);
}

const std::vector<SegyAction>& actions()
{
    return registry();
}

} // namespace segycli

bool SegyAction::Command::number(const QString& flag, int fallback, int* value) const
{
    if (!values.contains(flag)) {
        *value = fallback;
        return true;
    }
    bool ok = false;
    *value = values.value(flag).toInt(&ok);
    if (!ok)
        cli::usageError(QStringLiteral("%1 needs a whole number, not '%2'").arg(flag, values.value(flag)));
    return ok;
}

std::unique_ptr<SegyFormat> SegyAction::Command::loadFormat(TerminalConsole& console) const
{
    if (formatPath.isEmpty())
        return std::make_unique<SegyFormat>(false);
    SegyFormatFile file(formatPath, 0);
    if (!file.read()) {
        console.error(QStringLiteral("cannot read SEG-Y format file %1%2")
                          .arg(formatPath, file.errorString().isEmpty()
                                               ? QString()
                                               : QStringLiteral(": ") + file.errorString()),
                      false);
        return nullptr;
    }
    return std::make_unique<SegyFormat>(file.format());
}

bool SegyAction::Command::openFile(TerminalConsole& console)
{
    format = loadFormat(console);
    if (!format)
        return false;
    data = std::make_unique<SegyData>(&console, files.value(0), 0, format.get());
    return data->ok();
}
