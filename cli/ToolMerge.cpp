#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliCopyOperator.h"
#include "cli/DeviceArgument.h"
#include "cli/TerminalConsole.h"
#include "copy/SegyMergeJob.h"

namespace {

int runMerge(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QStringList files = arguments.positionals();
    for (const QString& file : files) {
        DeviceArgument device;
        QString errorText;
        if (!DeviceArgument::parse(file, &device, &errorText))
            return arguments.usageError(errorText);
        if (device.isTape())
            return arguments.usageError(QStringLiteral("merge works on disk files only: %1").arg(file));
    }
    CliCopyOperator progress(console, QStringLiteral("merging"), {});
    SegyMergeJob job(&console, &progress, files.first(), files.mid(1));
    if (!job.run())
        return cli::JobFailed;
    console.message(QStringLiteral("Merged %1 files into %2: %3 bytes")
                        .arg(files.size() - 1)
                        .arg(files.first())
                        .arg(job.bytesWritten()),
                    Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    merge,
    cli::Command::tool("merge", QStringLiteral("join SEG-Y disk files into one"), runMerge)
        .describe(
            QStringLiteral("Joins SEG-Y disk files into OUT: the first IN whole (its headers and its\n"
                           "traces), then the traces of each further file, in the order given.\n"
                           "The files' formats are not compared. An existing OUT is replaced; an OUT that\n"
                           "is one of the inputs is refused, and OUT is left alone when an input cannot\n"
                           "be opened."))
        .argument(cli::argument("OUT", QStringLiteral("the merged file")))
        .argument(cli::argument("IN", QStringLiteral("the SEG-Y files to join, at least two")).atLeast(2)))
