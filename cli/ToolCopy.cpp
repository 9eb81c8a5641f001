#include "cli/CliCopyOperator.h"
#include "cli/CliTool.h"
#include "cli/DeviceArgument.h"
#include "cli/TerminalConsole.h"
#include "copy/SegyCopyJob.h"
#include "copy/UnfmtCopyJob.h"
#include "devices/TapeDevice.h"

#include <QFileInfo>

namespace {

enum class Kind { Segy, Raw };

struct Options {
    Kind kind = Kind::Segy;
    DeviceArgument input;
    DeviceArgument output;
    QList<DeviceArgument> nextTapes;
    int blockSize = UnfmtCopyJob::defaultBlockSize;
    bool noRewind = false;
    bool unload = false;
};

const char* const segyUsage = "segy IN OUT [--next-tape DEV]... [--no-rewind] [--unload]";
const char* const rawUsage = "raw IN OUT [--block BYTES] [--next-tape DEV]... [--no-rewind] [--unload]";

QString help()
{
    return QStringLiteral("Usage: obrio copy %1\n"
                          "       obrio copy %2\n\n"
                          "segy copies one SEG-Y data set byte for byte: the 3200- and 400-byte headers\n"
                          "(a block each on tape) and every trace (one block each on tape).\n"
                          "raw copies any data: a disk file cut into blocks of --block bytes (10240 when\n"
                          "not given, at most %3), a tape with the length of every block kept.\n\n"
                          "IN and OUT are disk paths, tape:N or tape:PATH. A tape starts where it stands;\n"
                          "at each file mark of the input tape the job asks for the next tape: the\n"
                          "--next-tape devices in order, else a question when standard input is a\n"
                          "terminal, else \"No more tapes\". A tape output gets a file mark after each\n"
                          "file and a second one at the end. Tapes are rewound at their end unless\n"
                          "--no-rewind is given; --unload unloads an input tape read to its end.\n")
        .arg(QLatin1String(segyUsage), QLatin1String(rawUsage))
        .arg(CopyJob::workBufferSize);
}

int parseDevice(const QString& text, DeviceArgument* device)
{
    QString errorText;
    return DeviceArgument::parse(text, device, &errorText) ? cli::Success : cli::usageError(errorText);
}

int parse(const QStringList& arguments, Options* options)
{
    QStringList positional;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--next-tape")) {
            DeviceArgument device;
            if (!hasValue)
                return cli::usageError(QStringLiteral("--next-tape needs a tape (tape:N or tape:PATH)"));
            if (const int status = parseDevice(arguments.at(++i), &device))
                return status;
            if (!device.isTape())
                return cli::usageError(QStringLiteral("--next-tape needs a tape (tape:N or tape:PATH)"));
            options->nextTapes.append(device);
        } else if (argument == QLatin1String("--block") && options->kind == Kind::Raw) {
            bool valid = false;
            options->blockSize = hasValue ? arguments.at(++i).toInt(&valid) : 0;
            if (!valid || options->blockSize < 1 || options->blockSize > CopyJob::workBufferSize)
                return cli::usageError(QStringLiteral("--block needs a number of bytes from 1 to %1")
                                           .arg(CopyJob::workBufferSize));
        } else if (argument == QLatin1String("--no-rewind")) {
            options->noRewind = true;
        } else if (argument == QLatin1String("--unload")) {
            options->unload = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return cli::usageError(
                QStringLiteral("unknown option '%1' (see obrio copy --help)").arg(argument));
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 2)
        return cli::usageError(QStringLiteral("copy %1 needs an input and an output").arg(arguments.first()));
    if (const int status = parseDevice(positional.at(0), &options->input))
        return status;
    return parseDevice(positional.at(1), &options->output);
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

int runCopy(const QStringList& arguments, TerminalConsole& console)
{
    if (arguments.isEmpty())
        return cli::usageError(QStringLiteral("copy needs an action: segy or raw (see obrio copy --help)"));
    const QString action = arguments.first();
    if (arguments.contains(QLatin1String("--help"))) {
        cli::printText(help());
        return cli::Success;
    }
    Options options;
    if (action == QLatin1String("raw"))
        options.kind = Kind::Raw;
    else if (action != QLatin1String("segy"))
        return cli::usageError(
            QStringLiteral("unknown copy action '%1' (see obrio copy --help)").arg(action));
    if (const int status = parse(arguments, &options))
        return status;

    TapeArgument inputTape;
    TapeArgument outputTape;
    CopyJob::Endpoint input;
    CopyJob::Endpoint output;
    if (!resolve(options.input, 0, options, console, &inputTape, &input) ||
        !resolve(options.output, 1, options, console, &outputTape, &output))
        return cli::JobFailed;

    const bool segy = options.kind == Kind::Segy;
    CliCopyOperator copyOperator(console, segy ? QStringLiteral("traces") : QStringLiteral("blocks"),
                                 options.nextTapes);
    std::unique_ptr<CopyJob> job;
    if (segy)
        job = std::make_unique<SegyCopyJob>(&console, &copyOperator, input, output);
    else
        job = std::make_unique<UnfmtCopyJob>(&console, &copyOperator, input, output, options.blockSize);
    const bool copied = job->run();
    return copied && !copyOperator.tapeChangeFailed() ? cli::Success : cli::JobFailed;
}

} // namespace

OBRIO_TOOL(copy, "copy", "copy a SEG-Y data set or any data between disk files and tapes", runCopy)
