#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliCopyOperator.h"
#include "cli/DeviceArgument.h"
#include "cli/JobTapes.h"
#include "cli/TerminalConsole.h"
#include "copy/ReportConsole.h"
#include "copy/SegdCopyJob.h"

#include <cmath>

namespace {

// A list option, refused (usage error given) when malformed.
bool numberList(const cli::Arguments& arguments, const char* option, NumberList* list, int* status)
{
    QString errorText;
    if (NumberList::parse(arguments.text(QLatin1String(option)), list, &errorText))
        return true;
    *status = arguments.usageError(QStringLiteral("--%1: %2").arg(option, errorText));
    return false;
}

// The job's options from the command line; false with the usage error's status.
bool readOptions(const cli::Arguments& arguments, SegdCopyJob::Options* options, int* status)
{
    options->rangeLimit = arguments.has(QStringLiteral("range"));
    options->exclude = arguments.has(QStringLiteral("exclude"));
    if (options->exclude && !options->rangeLimit) {
        *status = arguments.usageError(QStringLiteral("--exclude needs --range"));
        return false;
    }
    if ((options->rangeLimit && !numberList(arguments, "range", &options->range, status)))
        return false;
    options->zeroTraces = arguments.has(QStringLiteral("zero"));
    if (options->zeroTraces && !numberList(arguments, "zero", &options->zeroChannels, status))
        return false;
    options->blockTraces = arguments.has(QStringLiteral("block"));
    options->maximumBlockKBytes =
        int(arguments.integer(QStringLiteral("block"), SegdCopyJob::defaultBlockKBytes));
    options->writeEofs = arguments.has(QStringLiteral("eofs"));
    options->tapeLimit =
        qint64(std::llround(arguments.decimal(QStringLiteral("tape-limit"), 0) * SegdCopyJob::tapeLimitUnit));
    options->ffidNames = arguments.has(QStringLiteral("ffid-names"));
    options->prependName = arguments.text(QStringLiteral("prefix"));
    options->lineName = arguments.has(QStringLiteral("line-name"));
    options->realTime = arguments.has(QStringLiteral("watch"));
    options->pollMilliseconds = int(arguments.integer(QStringLiteral("poll"), options->pollMilliseconds));
    return true;
}

int runSegd(const cli::Arguments& arguments, TerminalConsole& console)
{
    int status = cli::Success;
    SegdCopyJob::Options options;
    DeviceArgument in;
    DeviceArgument out;
    QList<DeviceArgument> nextTapes;
    QList<DeviceArgument> nextOutputTapes;
    QString errorText;
    if (!DeviceArgument::parse(arguments.positional(0), &in, &errorText) ||
        !DeviceArgument::parse(arguments.positional(1), &out, &errorText))
        return arguments.usageError(errorText);
    if (!readOptions(arguments, &options, &status))
        return status;
    if (!cli::outputChoice(arguments) || !cli::tapeList(arguments, "next-tape", &nextTapes) ||
        !cli::tapeList(arguments, "next-output-tape", &nextOutputTapes))
        return cli::UsageError;
    if (options.realTime && in.isTape())
        return arguments.usageError(QStringLiteral("--watch needs an input directory"));

    ReportConsole report(&console);
    if (arguments.has(QStringLiteral("report")) &&
        !report.open(arguments.text(QStringLiteral("report")), arguments.has(QStringLiteral("append-report")),
                     &errorText)) {
        console.error(errorText, false);
        return cli::JobFailed;
    }
    TapeArgument inputTape;
    TapeArgument outputTape;
    if (!cli::copyEndpoint(in, 0, arguments, console, &inputTape, &options.input) ||
        !cli::copyEndpoint(out, 1, arguments, console, &outputTape, &options.output))
        return cli::JobFailed;

    CliCopyOperator copyOperator(console, QStringLiteral("field files"), nextTapes, nextOutputTapes);
    copyOperator.allowFrom(arguments);
    SegdCopyJob job(&report, &copyOperator, options);
    const SegdCopyJob::Outcome outcome = job.run();
    // Ctrl-C is how a watch ends; for any other copy it leaves the job undone.
    const bool finished = outcome == SegdCopyJob::Outcome::Copied ||
                          (outcome == SegdCopyJob::Outcome::Aborted && options.realTime);
    return finished && !copyOperator.tapeChangeFailed() ? cli::Success : cli::JobFailed;
}

} // namespace

OBRIO_COMMAND(
    copySegd,
    cli::Command::action("copy", "segd",
                         QStringLiteral("copy SEG-D field files between directories and tapes"), runSegd)
        .describe(
            QStringLiteral("Copies the field files of directory IN (*.sgd, *.segd, *.raw, in name order) or\n"
                           "of a tape, as they are, into directory OUT (one file per field file, named\n"
                           "00123.sgd by sequence or field file number, 00123_1.sgd when taken) or onto\n"
                           "a tape. LIST is a list such as \"1-100, 150, 200-300\". On a tape output the\n"
                           "field files follow each other, with --eofs a file mark after each; the job\n"
                           "ends with a file mark. With --watch the job copies each field file a recording\n"
                           "system writes into IN once it is complete, until Ctrl-C. Ctrl-C stops any copy\n"
                           "after the current trace, with the summary: the field file in hand is removed\n"
                           "(on tape, file marks end the data after its last block) and the status is 1,\n"
                           "0 for --watch."))
        .option(cli::option("range", "LIST", QStringLiteral("copy only the field files listed")))
        .option(cli::flag("exclude", QStringLiteral("copy all field files but those of --range")))
        .option(cli::option("zero", "LIST",
                            QStringLiteral("write the seismic channels listed with samples of 0")))
        .option(cli::option("block", "KB",
                            QStringLiteral("gather the trace records of a channel set into tape blocks of up "
                                           "to KB x 1024 bytes (%1 in the window)")
                                .arg(SegdCopyJob::defaultBlockKBytes),
                            cli::integer(1, 1 << 20)))
        .option(cli::flag("eofs", QStringLiteral("write a file mark after each field file on tape")))
        .option(cli::option("tape-limit", "GB",
                            QStringLiteral("start a new output tape past GB x 1,000,000,000 bytes"),
                            cli::decimalAbove(0, 1000000)))
        .option(cli::option("next-output-tape", "DEV",
                            QStringLiteral("the tape to go on with when one is full"))
                    .repeatable())
        .option(cli::flag("ffid-names", QStringLiteral("name output files by field file number")))
        .option(cli::option("prefix", "TEXT", QStringLiteral("put TEXT and \"_\" before each output name")))
        .option(cli::flag("line-name", QStringLiteral("put the source line number in the output names")))
        .option(cli::flag("watch", QStringLiteral("watch IN for new field files until Ctrl-C")))
        .option(cli::option("poll", "MS", QStringLiteral("read the watched directory every MS milliseconds"),
                            cli::integer(1, 3600000)))
        .option(cli::option("report", "FILE", QStringLiteral("also write the job's lines to FILE")))
        .option(cli::flag("append-report", QStringLiteral("add to the report file instead of replacing it")))
        .argument(cli::argument("IN", QStringLiteral("the input: a directory, tape:N or tape:PATH")))
        .argument(cli::argument("OUT", QStringLiteral("the output: a directory, tape:N or tape:PATH"))))
