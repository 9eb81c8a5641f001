#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliCopyOperator.h"
#include "cli/DeviceArgument.h"
#include "cli/TerminalConsole.h"
#include "copy/SegyCopyJob.h"
#include "copy/UnfmtCopyJob.h"
#include "devices/TapeDevice.h"

#include <QFileInfo>

namespace {

enum class Kind { Segy, Raw };

struct Options {
    DeviceArgument input;
    DeviceArgument output;
    QList<DeviceArgument> nextTapes;
    bool noRewind = false;
    bool unload = false;
};

// The devices and tape options of the command line; a usage error (its status returned) for a
// device that names nothing.
int readOptions(const cli::Arguments& arguments, Options* options)
{
    QString errorText;
    if (!DeviceArgument::parse(arguments.positional(0), &options->input, &errorText) ||
        !DeviceArgument::parse(arguments.positional(1), &options->output, &errorText))
        return arguments.usageError(errorText);
    for (const QString& text : arguments.texts(QStringLiteral("next-tape"))) {
        DeviceArgument device;
        if (!DeviceArgument::parse(text, &device, &errorText) || !device.isTape())
            return arguments.usageError(QStringLiteral("--next-tape needs a tape (tape:N or tape:PATH)"));
        options->nextTapes.append(device);
    }
    options->noRewind = arguments.has(QStringLiteral("no-rewind"));
    options->unload = arguments.has(QStringLiteral("unload"));
    return cli::Success;
}

// Turns a device argument into the job's end: a disk path, or the drive opened in `mode`.
bool resolve(const DeviceArgument& device, unsigned mode, const Options& options, TerminalConsole& console,
             TapeArgument* tape, CopyJob::Endpoint* endpoint)
{
    endpoint->path = device.path;
    if (!device.isTape())
        return true;
    QString errorText;
    if (!tape->resolve(device, &console, &errorText)) {
        console.error(errorText, false);
        return false;
    }
    endpoint->tape = tape->drive();
    endpoint->tape->setNoRewind(options.noRewind);
    endpoint->tape->setUnloadAtEnd(options.unload);
    return endpoint->tape->open(mode);
}

int runCopy(const cli::Arguments& arguments, TerminalConsole& console, Kind kind)
{
    Options options;
    if (const int status = readOptions(arguments, &options))
        return status;

    TapeArgument inputTape;
    TapeArgument outputTape;
    CopyJob::Endpoint input;
    CopyJob::Endpoint output;
    if (!resolve(options.input, 0, options, console, &inputTape, &input) ||
        !resolve(options.output, 1, options, console, &outputTape, &output))
        return cli::JobFailed;

    const bool segy = kind == Kind::Segy;
    CliCopyOperator copyOperator(console, segy ? QStringLiteral("traces") : QStringLiteral("blocks"),
                                 options.nextTapes);
    std::unique_ptr<CopyJob> job;
    if (segy)
        job = std::make_unique<SegyCopyJob>(&console, &copyOperator, input, output);
    else
        job = std::make_unique<UnfmtCopyJob>(
            &console, &copyOperator, input, output,
            int(arguments.integer(QStringLiteral("block"), UnfmtCopyJob::defaultBlockSize)));
    const bool copied = job->run();
    return copied && !copyOperator.tapeChangeFailed() ? cli::Success : cli::JobFailed;
}

int runSegy(const cli::Arguments& arguments, TerminalConsole& console)
{
    return runCopy(arguments, console, Kind::Segy);
}

int runRaw(const cli::Arguments& arguments, TerminalConsole& console)
{
    return runCopy(arguments, console, Kind::Raw);
}

} // namespace

OBRIO_COMMAND(
    copy, cli::Command::tool("copy",
                             QStringLiteral("copy a SEG-Y data set or any data between disk files and tapes"))
              .describe(QStringLiteral(
                  "IN and OUT are disk paths, tape:N or tape:PATH. A tape starts where it stands;\n"
                  "at each file mark of the input tape the job asks for the next tape: the\n"
                  "--next-tape devices in order, else a question when standard input is a\n"
                  "terminal, else \"No more tapes\". A tape output gets a file mark after each\n"
                  "file and a second one at the end. Tapes are rewound at their end unless\n"
                  "--no-rewind is given; --unload unloads an input tape read to its end."))
              .option(cli::option("next-tape", "DEV", QStringLiteral("the tape to go on with at a file mark"))
                          .repeatable())
              .option(cli::flag("no-rewind", QStringLiteral("leave the tapes where the job ends")))
              .option(cli::flag("unload", QStringLiteral("unload an input tape read to its end"))))
OBRIO_COMMAND(
    copySegy,
    cli::Command::action("copy", "segy", QStringLiteral("copy one SEG-Y data set byte for byte"), runSegy)
        .describe(QStringLiteral("Copies the 3200- and 400-byte headers (a block each on tape) and every\n"
                                 "trace (one block each on tape)."))
        .argument(cli::argument("IN", QStringLiteral("the input: a disk path, tape:N or tape:PATH")))
        .argument(cli::argument("OUT", QStringLiteral("the output: a disk path, tape:N or tape:PATH"))))
OBRIO_COMMAND(
    copyRaw,
    cli::Command::action("copy", "raw", QStringLiteral("copy any data block by block"), runRaw)
        .describe(QStringLiteral("Copies a disk file cut into blocks of --block bytes, or a tape with the\n"
                                 "length of every block kept."))
        .option(cli::option("block", "BYTES",
                            QStringLiteral("bytes per block of a disk input (default %1)")
                                .arg(UnfmtCopyJob::defaultBlockSize),
                            cli::integer(1, CopyJob::workBufferSize)))
        .argument(cli::argument("IN", QStringLiteral("the input: a disk path, tape:N or tape:PATH")))
        .argument(cli::argument("OUT", QStringLiteral("the output: a disk path, tape:N or tape:PATH"))))
