#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyTraceDump.h"

#include <limits>

namespace {

int runDump(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    const int number = int(arguments.integer(QStringLiteral("trace"), 1));
    if (!command.openFile(console))
        return cli::JobFailed;
    QStringList lines;
    if (!SegyTraceDump::lines(*command.data, number, lines))
        return cli::JobFailed;
    for (const QString& line : lines)
        console.message(line, Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(segyDump,
              cli::Command::action(
                  "segy", "dump",
                  QStringLiteral("one trace's header words by byte position and its decoded keys"), runDump)
                  .describe(QStringLiteral(
                      "Shows the words of the format's trace header list in byte order (byte, type,\n"
                      "name, value as stored) and then every trace key as the reader decodes it."))
                  .option(cli::option("trace", "N", QStringLiteral("the trace to show, counted from 1"),
                                      cli::integer(1, std::numeric_limits<int>::max()))
                              .required())
                  .argument(SegyCommand::fileArgument()))
