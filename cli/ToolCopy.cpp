#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliCopyOperator.h"
#include "cli/DeviceArgument.h"
#include "cli/JobTapes.h"
#include "cli/TerminalConsole.h"
#include "copy/SegyCopyJob.h"
#include "copy/UnfmtCopyJob.h"

namespace {

enum class Kind { Segy, Raw };

struct Options {
    DeviceArgument input;
    DeviceArgument output;
    QList<DeviceArgument> nextTapes;
};

// The devices of the command line; a usage error (its status returned) for a device that names
// nothing.
int readOptions(const cli::Arguments& arguments, Options* options)
{
    QString errorText;
    if (!DeviceArgument::parse(arguments.positional(0), &options->input, &errorText) ||
        !DeviceArgument::parse(arguments.positional(1), &options->output, &errorText))
        return arguments.usageError(errorText);
    return cli::outputChoice(arguments) && cli::tapeList(arguments, "next-tape", &options->nextTapes)
               ? cli::Success
               : cli::UsageError;
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
    if (!cli::copyEndpoint(options.input, 0, arguments, console, &inputTape, &input) ||
        !cli::copyEndpoint(options.output, 1, arguments, console, &outputTape, &output))
        return cli::JobFailed;

    const bool segy = kind == Kind::Segy;
    CliCopyOperator copyOperator(console, segy ? QStringLiteral("traces") : QStringLiteral("blocks"),
                                 options.nextTapes);
    copyOperator.allowFrom(arguments);
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
                  "--no-rewind is given; --unload unloads an input tape read to its end.\n"
                  "An output file appears only once it is whole; an existing one is replaced\n"
                  "only with --overwrite. An output tape that holds data where it stands is\n"
                  "written over from its start only with --overwrite, or after its last file\n"
                  "with --append. Ctrl-C (or SIGTERM) stops the job at the next block: a disk\n"
                  "output is then removed, a tape output ends with file marks after its last\n"
                  "block, the summary says \"job aborted\" and the status is 1. A second Ctrl-C\n"
                  "ends at once."))
              .option(cli::option("next-tape", "DEV", QStringLiteral("the tape to go on with at a file mark"))
                          .repeatable())
              .option(cli::flag("no-rewind", QStringLiteral("leave the tapes where the job ends")))
              .option(cli::flag("unload", QStringLiteral("unload an input tape read to its end")))
              .option(cli::flag("overwrite", QStringLiteral("replace an existing output file; write over an "
                                                            "output tape that holds data from its start")))
              .option(cli::flag("append", QStringLiteral("write after the last file of an output tape that "
                                                         "holds data"))))
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
