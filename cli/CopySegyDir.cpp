#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliCopyOperator.h"
#include "cli/DeviceArgument.h"
#include "cli/JobTapes.h"
#include "cli/TerminalConsole.h"
#include "copy/SegyDirCopyJob.h"
#include "devices/TapeDevice.h"

namespace {

int runDirCopy(const cli::Arguments& arguments, TerminalConsole& console, bool segd)
{
    QStringList paths = arguments.positionals();
    QList<DeviceArgument> devices;
    for (const QString& path : qAsConst(paths)) {
        DeviceArgument device;
        QString errorText;
        if (!DeviceArgument::parse(path, &device, &errorText))
            return arguments.usageError(errorText);
        devices.append(device);
    }
    const DeviceArgument output = devices.takeLast();
    const bool tapeInput = devices.first().isTape();
    if (tapeInput && devices.size() > 1)
        return arguments.usageError(QStringLiteral("one input tape, or input directories"));
    for (const DeviceArgument& device : qAsConst(devices)) {
        if (device.isTape() != tapeInput)
            return arguments.usageError(QStringLiteral("one input tape, or input directories"));
    }

    SegyDirCopyJob::Settings settings;
    settings.segd = segd;
    if (segd) {
        const QString revision = arguments.text(QStringLiteral("rev"));
        if (revision != QLatin1String("2.1") && revision != QLatin1String("3.1"))
            return arguments.usageError(QStringLiteral("--rev is 2.1 or 3.1"));
        settings.revision = revision == QLatin1String("3.1") ? 31 : 21;
        settings.perRecord = arguments.has(QStringLiteral("per-record"));
    } else {
        settings.concatenate = arguments.has(QStringLiteral("concatenate"));
        settings.outputLimit = arguments.has(QStringLiteral("tape-limit"));
        settings.bytesPerTapeLimit =
            qint64(arguments.decimal(QStringLiteral("tape-limit"), 0.5) * SegyDirCopyJob::bytesPerGigabyte);
        settings.recordByte = int(arguments.integer(QStringLiteral("record-byte"), 1));
        settings.recordSize = int(arguments.integer(QStringLiteral("record-size"), 4));
        if (settings.recordSize != 2 && settings.recordSize != 4)
            return arguments.usageError(QStringLiteral("--record-size is 2 or 4"));
    }
    settings.baseName = arguments.text(QStringLiteral("base-name"), settings.baseName);

    QList<DeviceArgument> nextInputTapes;
    QList<DeviceArgument> nextOutputTapes;
    if (!cli::outputChoice(arguments) || !cli::tapeList(arguments, "next-tape", &nextInputTapes) ||
        !cli::tapeList(arguments, "next-output-tape", &nextOutputTapes))
        return cli::UsageError;

    // The job's answer to options that do not go together, before a tape is looked at.
    const QString problem = SegyDirCopyJob::optionsProblem(settings, tapeInput, output.isTape());
    if (!problem.isEmpty())
        return arguments.usageError(problem);

    TapeArgument inputTape;
    TapeArgument outputTape;
    if (tapeInput) {
        settings.inputTape = cli::jobTape(devices.first(), arguments, console, &inputTape);
        if (!settings.inputTape)
            return cli::JobFailed;
    } else {
        for (const DeviceArgument& device : qAsConst(devices))
            settings.inputDirectories.append(device.path);
    }
    if (output.isTape()) {
        settings.outputTape = cli::jobTape(output, arguments, console, &outputTape);
        if (!settings.outputTape)
            return cli::JobFailed;
    } else {
        settings.outputDirectory = output.path;
    }
    const QString ends = SegyDirCopyJob::settingsProblem(settings);
    if (!ends.isEmpty()) {
        console.error(ends, false);
        return cli::JobFailed;
    }
    if ((settings.inputTape && !settings.inputTape->open(0)) ||
        (settings.outputTape && !settings.outputTape->open(1)))
        return cli::JobFailed;

    CliCopyOperator copyOperator(console, QStringLiteral("files"), nextInputTapes, nextOutputTapes);
    copyOperator.allowFrom(arguments);
    SegyDirCopyJob job(&console, &copyOperator, settings);
    const bool copied = job.run();
    // An abort is no failure in the window; here it leaves the job undone.
    return copied && !job.wasAborted() && !copyOperator.tapeChangeFailed() ? cli::Success : cli::JobFailed;
}

int runCopySegyDir(const cli::Arguments& arguments, TerminalConsole& console)
{
    return runDirCopy(arguments, console, false);
}

int runConvertSegyToSegd(const cli::Arguments& arguments, TerminalConsole& console)
{
    return runDirCopy(arguments, console, true);
}

cli::Option nextTapeOption()
{
    return cli::option("next-tape", "DEV",
                       QStringLiteral("the input tape to go on with at the end of a tape"))
        .repeatable();
}

cli::Option baseNameOption()
{
    return cli::option("base-name", "NAME",
                       QStringLiteral("names of the files made from an input tape: NAME-1, NAME-2, ... "
                                      "(default \"file\")"));
}

} // namespace

OBRIO_COMMAND(
    copySegyDir,
    cli::Command::action("copy", "segy-dir",
                         QStringLiteral("copy many SEG-Y files between directories and tapes"),
                         runCopySegyDir)
        .describe(QStringLiteral(
            "Copies every *.sgy file of the input directories (in name order), or every file of an\n"
            "input tape, to the output directory or output tape (the last path). On disk an output\n"
            "name that exists already gets a number: a.sgy becomes a-1.sgy. A tape output gets one\n"
            "tape file per input file; with --tape-limit a file that would cross the limit starts\n"
            "the next output tape (--next-output-tape), and from an input tape the tape changes only\n"
            "where the record field (--record-byte, --record-size) of the trace header changes.\n"
            "Each output file appears once it is whole. When the job fails or Ctrl-C stops it, the\n"
            "outputs of the input file in hand are removed (all of a --concatenate output) and a\n"
            "tape output ends with file marks after its last block."))
        .option(cli::flag("concatenate",
                          QStringLiteral("all input files into one output file, headers once")))
        .option(cli::option("tape-limit", "GB",
                            QStringLiteral("bytes per output tape, in gigabytes of 2^30 bytes"),
                            cli::decimalAbove(0, 1000000)))
        .option(
            cli::option("record-byte", "N",
                        QStringLiteral("first byte (1-based) of the trace header field that names a record"),
                        cli::integer(1, 239)))
        .option(cli::option("record-size", "2|4", QStringLiteral("bytes of that field (default 4)"),
                            cli::integer(2, 4)))
        .option(baseNameOption())
        .option(cli::option("next-output-tape", "DEV",
                            QStringLiteral("the output tape to go on with at the limit"))
                    .repeatable())
        .argument(cli::argument("PATH", QStringLiteral("input directories or one tape:..., then the output"))
                      .atLeast(2)))

OBRIO_COMMAND(convert,
              cli::Command::tool("convert", QStringLiteral("convert seismic files to another format")))

OBRIO_COMMAND(
    convertSegyToSegd,
    cli::Command::action("convert", "segy-to-segd",
                         QStringLiteral("convert SEG-Y files to SEG-D field files"), runConvertSegyToSegd)
        .describe(QStringLiteral(
            "Converts every *.sgy file of the input directories (or every file of an input tape)\n"
            "to a SEG-D field file of revision 2.1 or 3.1 in OUT_DIR, named like the input with\n"
            ".sgd for .sgy (from a tape NAME-N.segd). The headers come from the binary header and\n"
            "the first trace; the samples become big-endian IEEE floats (format 8058). With\n"
            "--per-record every field record (trace header bytes 9-12) of a file becomes a field\n"
            "file of its own, named with \"_\" and its number: line.sgy gives line_1001.sgd,\n"
            "line_1002.sgd, ...; without it a file of several field records gets a warning.\n"
            "A file SEG-D cannot hold (sample interval, more than 9999 traces, for 2.1 a negative\n"
            "recording delay) is passed over with an error, the others are converted, and obrio\n"
            "ends with status 1. Each field file appears once it is whole; Ctrl-C stops the job\n"
            "at the next trace, removes the field files of the input file in hand, and obrio ends\n"
            "with status 1."))
        .option(cli::option("rev", "2.1|3.1", QStringLiteral("the SEG-D revision")).required())
        .option(cli::flag("per-record",
                          QStringLiteral("one SEG-D file per field record, named IN_<record>.sgd")))
        .option(baseNameOption())
        .option(nextTapeOption())
        .option(cli::flag("no-rewind", QStringLiteral("leave the tapes where the job ends")))
        .option(cli::flag("unload", QStringLiteral("unload an input tape read to its end")))
        .argument(cli::argument("PATH", QStringLiteral("input directories or one tape:..., then OUT_DIR"))
                      .atLeast(2)))
