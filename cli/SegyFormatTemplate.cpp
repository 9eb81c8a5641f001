#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"

namespace {

int runTemplate(const cli::Arguments& arguments, TerminalConsole& console)
{
    const SegyCommand command(arguments);
    auto format = command.loadFormat(console);
    if (!format)
        return cli::JobFailed;
    if (command.formatPath().isEmpty())
        format->path = SegyFormatFile::standardFileName;
    cli::printText(QString::fromUtf8(SegyFormatFile::toXml(*format, QStringLiteral("SEG Standard SEGY"))));
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(segyFormatTemplate,
              cli::Command::action("segy", "format-template",
                                   QStringLiteral("print the standard SEG-Y format file"), runTemplate)
                  .describe(QStringLiteral(
                      "Prints the standard format definition as \"SEGY Standard.xml\" holds it; with\n"
                      "--format, the given format file as this program reads and would write it.")))
