#include "base/ObrConsole.h"
#include "cli/CliTool.h"
#include "cli/DeviceArgument.h"
#include "cli/TerminalConsole.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "devices/TapeMap.h"

#include <QFileInfo>
#include <cstdlib>
#include <functional>

namespace {

using Run = int (*)(const QStringList& arguments, TerminalConsole& console);

struct Action {
    const char* name;
    const char* usage;
    const char* summary;
    Run run;
};

QString plural(qint64 count, const char* word)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(word),
                                                    count == 1 ? QString() : QStringLiteral("s"));
}

void say(TerminalConsole& console, const QString& text)
{
    console.message(text, Qt::black);
}

// Splits the arguments of an action into its one device and the rest.
bool takeDevice(QStringList* arguments, DeviceArgument* device, int* status)
{
    if (arguments->isEmpty()) {
        *status = cli::usageError(QStringLiteral("a device is needed (tape:N or tape:PATH)"));
        return false;
    }
    QString errorText;
    if (!DeviceArgument::parse(arguments->takeFirst(), device, &errorText)) {
        *status = cli::usageError(errorText);
        return false;
    }
    return true;
}

// Runs `job` on the drive named by the only argument, opened in `mode` (or not opened when negative).
int onDrive(const QStringList& arguments, TerminalConsole& console, int mode,
            const std::function<bool(TapeDevice*)>& job)
{
    QStringList rest = arguments;
    DeviceArgument device;
    int status = cli::Success;
    if (!takeDevice(&rest, &device, &status))
        return status;
    if (!rest.isEmpty())
        return cli::usageError(QStringLiteral("unexpected argument '%1'").arg(rest.first()));
    TapeArgument tape;
    QString errorText;
    if (!tape.resolve(device, &console, &errorText)) {
        console.error(errorText, false);
        return cli::JobFailed;
    }
    if (mode >= 0 && !tape.drive()->open(static_cast<unsigned>(mode)))
        return cli::JobFailed;
    return job(tape.drive()) ? cli::Success : cli::JobFailed;
}

int runList(const QStringList& arguments, TerminalConsole& console)
{
    if (!arguments.isEmpty())
        return cli::usageError(QStringLiteral("list takes no arguments"));
    const TapeDriveList registry(&console);
    if (!registry.ok()) {
        say(console, QStringLiteral("No tape drives found."));
        return cli::Success;
    }
    for (int i = 0; i < registry.count(); ++i)
        say(console, QStringLiteral("tape:%1%2").arg(i).arg(registry.drive(i)->displayLine()));
    return cli::Success;
}

int runCreate(const QStringList& arguments, TerminalConsole& console)
{
    QString path;
    qint64 capacity = TapeImageSettings::defaultCapacity;
    bool tif = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--tif")) {
            tif = true;
        } else if (argument == QLatin1String("--capacity")) {
            bool valid = false;
            capacity = i + 1 < arguments.size() ? arguments.at(++i).toLongLong(&valid) : 0;
            if (!valid || capacity <= 0)
                return cli::usageError(QStringLiteral("--capacity needs a positive number of bytes"));
        } else if (argument.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            return cli::usageError(QStringLiteral("unexpected argument '%1'").arg(argument));
        } else {
            path = argument;
        }
    }
    if (path.isEmpty())
        return cli::usageError(QStringLiteral("create needs the path of the new image"));
    const TapeImage::Format format =
        tif ? TapeImage::Format::TapeInFile : TapeImageSettings::formatBySuffix(path);
    QString errorText;
    if (!TapeImage::create(path, format, capacity, &errorText)) {
        console.error(errorText, false);
        return cli::JobFailed;
    }
    say(console, QStringLiteral("Created %1 tape image %2, capacity %3 bytes")
                     .arg(format == TapeImage::Format::TapeInFile ? QStringLiteral("Tape-In-File")
                                                                  : QStringLiteral("SIMH"),
                          path)
                     .arg(capacity));
    return cli::Success;
}

void describeImage(TerminalConsole& console, const QString& path)
{
    const TapeImageSettings settings = TapeImageSettings::load(path);
    const QFileInfo file(path);
    say(console, QStringLiteral("Image:           %1").arg(file.absoluteFilePath()));
    say(console, QStringLiteral("Format:          %1")
                     .arg(settings.format == TapeImage::Format::TapeInFile ? QStringLiteral("Tape-In-File")
                                                                           : QStringLiteral("SIMH")));
    say(console, QStringLiteral("Recorded:        %1 bytes of %2 (early warning at %3)")
                     .arg(file.size())
                     .arg(settings.capacity)
                     .arg(settings.earlyWarningPosition()));
    const bool kept = settings.positionFileSize == file.size();
    say(console, QStringLiteral("Position:        byte %1").arg(kept ? settings.position : 0));
    const bool writable =
        file.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
    say(console,
        QStringLiteral("Write protected: %1").arg(writable ? QStringLiteral("no") : QStringLiteral("yes")));
}

int runStatus(const QStringList& arguments, TerminalConsole& console)
{
    DeviceArgument device;
    QString errorText;
    const bool image = !arguments.isEmpty() &&
                       DeviceArgument::parse(arguments.first(), &device, &errorText) &&
                       device.kind == DeviceArgument::Kind::TapeImage;
    return onDrive(arguments, console, -1, [&](TapeDevice* tape) {
        say(console, QStringLiteral("Drive:           %1 %2").arg(tape->scsiId(), tape->name()));
        const bool ready = tape->isReady();
        say(console,
            QStringLiteral("Ready:           %1").arg(ready ? QStringLiteral("yes") : QStringLiteral("no")));
        say(console, QStringLiteral("Largest block:   %1 bytes").arg(tape->maxBlockSize()));
        if (image)
            describeImage(console, device.path);
        return true;
    });
}

int runRewind(const QStringList& arguments, TerminalConsole& console)
{
    return onDrive(arguments, console, 0, [&](TapeDevice* tape) {
        if (!tape->rewind())
            return false;
        say(console, QStringLiteral("Rewind %1").arg(tape->name()));
        return true;
    });
}

int runEod(const QStringList& arguments, TerminalConsole& console)
{
    return onDrive(arguments, console, 0, [&](TapeDevice* tape) {
        if (!tape->skipToEndOfData())
            return false;
        say(console, QStringLiteral("Skipped to EOD on %1").arg(tape->name()));
        return true;
    });
}

int runUnload(const QStringList& arguments, TerminalConsole& console)
{
    return onDrive(arguments, console, -1, [&](TapeDevice* tape) {
        if (!tape->unload())
            return false;
        say(console, QStringLiteral("Unloaded tape on %1").arg(tape->name()));
        return true;
    });
}

int runLoad(const QStringList& arguments, TerminalConsole& console)
{
    return onDrive(arguments, console, -1, [&](TapeDevice* tape) {
        if (!tape->load())
            return false;
        say(console, QStringLiteral("Loaded tape on %1").arg(tape->name()));
        return true;
    });
}

int runErase(const QStringList& arguments, TerminalConsole& console)
{
    return onDrive(arguments, console, 1, [&](TapeDevice* tape) {
        if (!tape->rewind() || !tape->erase())
            return false;
        say(console, QStringLiteral("Erased tape on %1").arg(tape->name()));
        return true;
    });
}

int runSkip(const QStringList& arguments, TerminalConsole& console)
{
    QStringList rest;
    bool files = false;
    bool counted = false;
    qint64 count = 0;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--files") || argument == QLatin1String("--blocks")) {
            bool valid = false;
            // The count may be negative, so it is taken as it comes.
            count = i + 1 < arguments.size() ? arguments.at(++i).toLongLong(&valid) : 0;
            if (!valid || count == 0 || counted || count < -0x7FFFFF || count > 0x7FFFFF)
                return cli::usageError(QStringLiteral(
                    "skip needs one --files N or --blocks N, N not 0, at most 8388607 either way"));
            files = argument == QLatin1String("--files");
            counted = true;
        } else {
            rest << argument;
        }
    }
    if (!counted)
        return cli::usageError(QStringLiteral("skip needs --files N or --blocks N"));
    const int skip = static_cast<int>(count);
    return onDrive(rest, console, 0, [&](TapeDevice* tape) {
        if (!(files ? tape->skipFiles(skip) : tape->skipBlocks(skip)))
            return false;
        say(console, QStringLiteral("%1 skipped %2")
                         .arg(skip > 0 ? QStringLiteral("Forward") : QStringLiteral("Reverse"),
                              plural(std::abs(skip), files ? "file" : "block")));
        return true;
    });
}

int runMark(const QStringList& arguments, TerminalConsole& console)
{
    QStringList rest = arguments;
    int count = 1;
    if (rest.size() == 2) {
        bool valid = false;
        count = rest.takeLast().toInt(&valid);
        if (!valid || count < 1)
            return cli::usageError(QStringLiteral("the number of file marks must be 1 or more"));
    }
    return onDrive(rest, console, 1, [&](TapeDevice* tape) {
        if (!tape->writeFileMarks(count))
            return false;
        say(console, QStringLiteral("Wrote %1 on %2").arg(plural(count, "file mark"), tape->name()));
        return true;
    });
}

int runMap(const QStringList& arguments, TerminalConsole& console)
{
    return onDrive(arguments, console, 0, [&](TapeDevice* tape) {
        TapeMap map;
        const bool complete = map.walk(tape);
        for (const QString& line : map.lines())
            say(console, line);
        return complete;
    });
}

const Action actions[] = {
    {"list", "list", "list the tape drives, numbered for tape:N", runList},
    {"create", "create IMAGE [--capacity BYTES] [--tif]",
     "create an empty tape image (SIMH, or Tape-In-File with --tif or the suffix .tif)", runCreate},
    {"status", "status DEV", "show the drive and whether a tape is ready in it", runStatus},
    {"rewind", "rewind DEV", "rewind the tape", runRewind},
    {"eod", "eod DEV", "move the tape to the end of its data", runEod},
    {"unload", "unload DEV", "unload the tape (an image goes offline until loaded)", runUnload},
    {"load", "load DEV", "load the tape again", runLoad},
    {"erase", "erase DEV", "rewind and erase the whole tape", runErase},
    {"skip", "skip DEV --files N | --blocks N", "skip N files or blocks, backward when N is negative",
     runSkip},
    {"mark", "mark DEV [N]", "write N file marks (1 when not given) where the tape stands", runMark},
    {"map", "map DEV", "list every file's blocks and their sizes from the start of the tape", runMap},
};

QString toolHelp()
{
    QString text =
        QStringLiteral("Usage: obrio tape <action> [options] ARGS\n\n"
                       "Works tape drives and tape images. DEV is tape:N (drive N of 'obrio tape list')\n"
                       "or tape:PATH (a tape image used as a drive). Drives are reached through the tape\n"
                       "driver, or with SCSI commands when the setting Tapes/UseScsiPassThrough of\n"
                       "Corvane/Trevalo is true. A tape image stays where the last command left it,\n"
                       "as a tape does in a no-rewind drive.\n\n"
                       "Actions:\n");
    for (const Action& action : actions)
        text += QStringLiteral("  %1\n      %2\n")
                    .arg(QLatin1String(action.usage), QLatin1String(action.summary));
    return text;
}

int runTape(const QStringList& arguments, TerminalConsole& console)
{
    if (arguments.isEmpty())
        return cli::usageError(QStringLiteral("tape needs an action (see obrio tape --help)"));
    if (arguments.first() == QLatin1String("--help")) {
        cli::printText(toolHelp());
        return cli::Success;
    }
    QStringList rest = arguments.mid(1);
    for (const Action& action : actions) {
        if (arguments.first() != QLatin1String(action.name))
            continue;
        if (rest.contains(QStringLiteral("--help"))) {
            cli::printText(QStringLiteral("Usage: obrio tape %1\n\n%2.\n")
                               .arg(QLatin1String(action.usage), QLatin1String(action.summary)));
            return cli::Success;
        }
        return action.run(rest, console);
    }
    return cli::usageError(
        QStringLiteral("unknown tape action '%1' (see obrio tape --help)").arg(arguments.first()));
}

} // namespace

OBRIO_TOOL(tape, "tape", "work tape drives and tape images", runTape)
