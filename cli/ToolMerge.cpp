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
    progress.allowFrom(arguments);
    SegyMergeJob job(&console, &progress, files.first(), files.mid(1));
    return job.run() ? cli::Success : cli::JobFailed;
}

} // namespace

OBRIO_COMMAND(
    merge,
    cli::Command::tool("merge", QStringLiteral("join SEG-Y disk files into one"), runMerge)
        .describe(QStringLiteral("Joins SEG-Y disk files into OUT: the first IN whole (its headers and its\n"
                                 "traces), then the traces of each further file, in the order given.\n"
                                 "Every IN must have the first one's samples per trace, sample format and\n"
                                 "byte order, and every IN but the last whole traces. OUT appears only\n"
                                 "once it is whole; an existing OUT is replaced only with --overwrite. OUT\n"
                                 "is left alone when it is one of the inputs, when an input cannot be\n"
                                 "opened or differs from the first, and when the job fails or Ctrl-C stops\n"
                                 "it. The job's lines and its summary go to standard output."))
        .option(cli::flag("overwrite", QStringLiteral("replace OUT when it exists")))
        .argument(cli::argument("OUT", QStringLiteral("the merged file")))
        .argument(cli::argument("IN", QStringLiteral("the SEG-Y files to join, at least two")).atLeast(2)))
