#include "cli/CliCopyOperator.h"
#include "cli/CliTool.h"
#include "cli/DeviceArgument.h"
#include "cli/TerminalConsole.h"
#include "copy/SegyMergeJob.h"

namespace {

int runMerge(const QStringList& arguments, TerminalConsole& console)
{
    if (arguments.contains(QLatin1String("--help"))) {
        cli::printText(
            QStringLiteral("Usage: obrio merge OUT IN1 IN2 ...\n\n"
                           "Joins SEG-Y disk files into OUT: IN1 whole (its 3600 header bytes and its\n"
                           "traces), then each further file from byte 3600 on, in the order given.\n"
                           "The files' formats are not compared. An existing OUT is replaced; an OUT that\n"
                           "is one of the inputs is refused, and OUT is left alone when an input cannot\n"
                           "be opened.\n"));
        return cli::Success;
    }
    if (arguments.size() < 3)
        return cli::usageError(QStringLiteral("merge needs an output and at least two input files"));
    for (const QString& argument : arguments) {
        DeviceArgument device;
        QString errorText;
        if (argument.startsWith(QLatin1String("--")))
            return cli::usageError(
                QStringLiteral("unknown option '%1' (see obrio merge --help)").arg(argument));
        if (!DeviceArgument::parse(argument, &device, &errorText))
            return cli::usageError(errorText);
        if (device.isTape())
            return cli::usageError(QStringLiteral("merge works on disk files only: %1").arg(argument));
    }
    CliCopyOperator progress(console, QStringLiteral("merging"), {});
    SegyMergeJob job(&console, &progress, arguments.first(), arguments.mid(1));
    if (!job.run())
        return cli::JobFailed;
    console.message(QStringLiteral("Merged %1 files into %2: %3 bytes")
                        .arg(arguments.size() - 1)
                        .arg(arguments.first())
                        .arg(job.bytesWritten()),
                    Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_TOOL(merge, "merge", "join SEG-Y disk files into one", runMerge)
