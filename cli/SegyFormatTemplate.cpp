#include "cli/CliTool.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"

namespace {

const char usage[] = "format-template          print the standard SEG-Y format file\n\n"
                     "Usage: obrio segy format-template [--format FILE.xml]\n\n"
                     "Prints the standard format definition as \"SEGY Standard.xml\" holds it; with\n"
                     "--format, the given format file as this program reads and would write it.\n";

int runTemplate(SegyAction::Command& command, TerminalConsole& console)
{
    auto format = command.loadFormat(console);
    if (!format)
        return cli::JobFailed;
    if (command.formatPath.isEmpty())
        format->path = SegyFormatFile::standardFileName;
    cli::printText(QString::fromUtf8(SegyFormatFile::toXml(*format, QStringLiteral("SEG Standard SEGY"))));
    return cli::Success;
}

} // namespace

OBRIO_SEGY_ACTION(formatTemplate, "format-template", usage, "", 0, runTemplate)
