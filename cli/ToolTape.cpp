#include "base/ObrConsole.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/DeviceArgument.h"
#include "cli/JsonOutput.h"
#include "cli/TapeDriveAction.h"
#include "cli/TerminalConsole.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "devices/TapeMap.h"

#include <QFileInfo>
#include <QJsonArray>
#include <cstdlib>
#include <limits>

namespace {

QString plural(qint64 count, const char* word)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(word),
                                                    count == 1 ? QString() : QStringLiteral("s"));
}

void say(TerminalConsole& console, const QString& text)
{
    console.message(text, Qt::black);
}

int runList(const cli::Arguments&, TerminalConsole& console)
{
    const TapeDriveList registry(&console);
    if (!registry.ok()) {
        say(console, QStringLiteral("No tape drives found."));
        return cli::Success;
    }
    for (int i = 0; i < registry.count(); ++i)
        say(console, QStringLiteral("tape:%1%2").arg(i).arg(registry.drive(i)->displayLine()));
    return cli::Success;
}

int runCreate(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString path = arguments.positional(0);
    const qint64 capacity = arguments.integer(QStringLiteral("capacity"), TapeImageSettings::defaultCapacity);
    const TapeImage::Format format = arguments.has(QStringLiteral("tif"))
                                         ? TapeImage::Format::TapeInFile
                                         : TapeImageSettings::formatBySuffix(path);
    QString errorText;
    if (!TapeImage::create(path, format, capacity, &errorText)) {
        console.error(errorText, false);
        return cli::JobFailed;
    }
    TapeImageSettings created;
    created.format = format;
    created.capacity = capacity;
    say(console, QStringLiteral("Created %1 tape image %2, capacity %3 bytes")
                     .arg(format == TapeImage::Format::TapeInFile ? QStringLiteral("Tape-In-File")
                                                                  : QStringLiteral("SIMH"),
                          path)
                     .arg(created.usableCapacity()));
    return cli::Success;
}

// What `obrio tape status` tells of a tape image beside its drive.
QJsonObject imageFacts(const QString& path)
{
    const TapeImageSettings settings = TapeImageSettings::load(path);
    const QFileInfo file(path);
    const bool writable =
        file.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
    return {{QStringLiteral("image"), file.absoluteFilePath()},
            {QStringLiteral("format"), settings.format == TapeImage::Format::TapeInFile
                                           ? QStringLiteral("Tape-In-File")
                                           : QStringLiteral("SIMH")},
            {QStringLiteral("recordedBytes"), double(file.size())},
            {QStringLiteral("capacity"), double(settings.usableCapacity())},
            {QStringLiteral("earlyWarning"), double(settings.earlyWarningPosition())},
            // A position file left from another recording says nothing about this one.
            {QStringLiteral("position"),
             double(settings.positionFileSize == file.size() ? settings.position : 0)},
            {QStringLiteral("writeProtected"), !writable}};
}

void describeImage(TerminalConsole& console, const QJsonObject& image)
{
    const auto integer = [&](const char* key) { return qint64(image.value(QLatin1String(key)).toDouble()); };
    say(console, QStringLiteral("Image:           %1").arg(image.value(QStringLiteral("image")).toString()));
    say(console, QStringLiteral("Format:          %1").arg(image.value(QStringLiteral("format")).toString()));
    say(console, QStringLiteral("Recorded:        %1 bytes of %2 (early warning at %3)")
                     .arg(integer("recordedBytes"))
                     .arg(integer("capacity"))
                     .arg(integer("earlyWarning")));
    say(console, QStringLiteral("Position:        byte %1").arg(integer("position")));
    say(console, QStringLiteral("Write protected: %1")
                     .arg(image.value(QStringLiteral("writeProtected")).toBool() ? QStringLiteral("yes")
                                                                                 : QStringLiteral("no")));
}

int runStatus(const cli::Arguments& arguments, TerminalConsole& console)
{
    DeviceArgument device;
    QString errorText;
    const bool image = DeviceArgument::parse(arguments.positional(0), &device, &errorText) &&
                       device.kind == DeviceArgument::Kind::TapeImage;
    return cli::onDrive(arguments, console, -1, [&](TapeDevice* tape) {
        const bool ready = tape->isReady();
        if (JsonOutput::wanted(arguments)) {
            QJsonObject facts{{QStringLiteral("scsiId"), tape->scsiId()},
                              {QStringLiteral("name"), tape->name()},
                              {QStringLiteral("ready"), ready},
                              {QStringLiteral("largestBlock"), double(tape->maxBlockSize())}};
            if (image)
                facts.insert(QStringLiteral("tapeImage"), imageFacts(device.path));
            JsonOutput::print(facts);
            return true;
        }
        say(console, QStringLiteral("Drive:           %1 %2").arg(tape->scsiId(), tape->name()));
        say(console,
            QStringLiteral("Ready:           %1").arg(ready ? QStringLiteral("yes") : QStringLiteral("no")));
        say(console, QStringLiteral("Largest block:   %1 bytes").arg(tape->maxBlockSize()));
        if (image)
            describeImage(console, imageFacts(device.path));
        return true;
    });
}

int runRewind(const cli::Arguments& arguments, TerminalConsole& console)
{
    return cli::onDrive(arguments, console, 0, [&](TapeDevice* tape) {
        if (!tape->rewind())
            return false;
        say(console, QStringLiteral("Rewind %1").arg(tape->name()));
        return true;
    });
}

int runEod(const cli::Arguments& arguments, TerminalConsole& console)
{
    return cli::onDrive(arguments, console, 0, [&](TapeDevice* tape) {
        if (!tape->skipToEndOfData())
            return false;
        say(console, QStringLiteral("Skipped to EOD on %1").arg(tape->name()));
        return true;
    });
}

int runUnload(const cli::Arguments& arguments, TerminalConsole& console)
{
    return cli::onDrive(arguments, console, -1, [&](TapeDevice* tape) {
        if (!tape->unload())
            return false;
        say(console, QStringLiteral("Unloaded tape on %1").arg(tape->name()));
        return true;
    });
}

int runLoad(const cli::Arguments& arguments, TerminalConsole& console)
{
    return cli::onDrive(arguments, console, -1, [&](TapeDevice* tape) {
        if (!tape->load())
            return false;
        say(console, QStringLiteral("Loaded tape on %1").arg(tape->name()));
        return true;
    });
}

int runErase(const cli::Arguments& arguments, TerminalConsole& console)
{
    return cli::onDrive(arguments, console, 1, [&](TapeDevice* tape) {
        if (!tape->rewind() || !tape->erase())
            return false;
        say(console, QStringLiteral("Erased tape on %1").arg(tape->name()));
        return true;
    });
}

// A SPACE command counts in 24 bits either way.
constexpr qint64 largestSkip = 0x7FFFFF;

int runSkip(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString what =
        arguments.has(QStringLiteral("files")) ? QStringLiteral("files") : QStringLiteral("blocks");
    const int skip = static_cast<int>(arguments.integer(what, 0));
    if (arguments.has(QStringLiteral("files")) == arguments.has(QStringLiteral("blocks")) || skip == 0)
        return arguments.usageError(QStringLiteral("skip needs one of --files N or --blocks N, N not 0"));
    const bool files = what == QLatin1String("files");
    return cli::onDrive(arguments, console, 0, [&](TapeDevice* tape) {
        if (!(files ? tape->skipFiles(skip) : tape->skipBlocks(skip)))
            return false;
        say(console, QStringLiteral("%1 skipped %2")
                         .arg(skip > 0 ? QStringLiteral("Forward") : QStringLiteral("Reverse"),
                              plural(std::abs(skip), files ? "file" : "block")));
        return true;
    });
}

int runMark(const cli::Arguments& arguments, TerminalConsole& console)
{
    const int count = arguments.positionals().size() > 1 ? arguments.positional(1).toInt() : 1;
    return cli::onDrive(arguments, console, 1, [&](TapeDevice* tape) {
        if (!tape->writeFileMarks(count))
            return false;
        say(console, QStringLiteral("Wrote %1 on %2").arg(plural(count, "file mark"), tape->name()));
        return true;
    });
}

QJsonObject json(const TapeMap& map)
{
    QJsonArray files;
    double total = 0;
    for (const TapeMap::File& file : map.files) {
        QJsonArray runs;
        for (const TapeMap::Run& run : file.runs)
            runs.append(QJsonObject{{QStringLiteral("blockSize"), run.blockSize},
                                    {QStringLiteral("blocks"), double(run.blocks)}});
        files.append(QJsonObject{{QStringLiteral("runs"), runs},
                                 {QStringLiteral("blocks"), double(file.blocks)},
                                 {QStringLiteral("bytes"), double(file.bytes)},
                                 {QStringLiteral("endsWithFileMark"), file.endsWithMark}});
        total += double(file.bytes);
    }
    return {{QStringLiteral("files"), files}, {QStringLiteral("bytes"), total}};
}

int runMap(const cli::Arguments& arguments, TerminalConsole& console)
{
    return cli::onDrive(arguments, console, 0, [&](TapeDevice* tape) {
        TapeMap map;
        const bool complete = map.walk(tape);
        if (JsonOutput::wanted(arguments)) {
            if (complete)
                JsonOutput::print(json(map));
            return complete;
        }
        for (const QString& line : map.lines())
            say(console, line);
        return complete;
    });
}

} // namespace

OBRIO_COMMAND(tape,
              cli::Command::tool("tape", QStringLiteral("work tape drives and tape images"))
                  .describe(QStringLiteral(
                      "Works tape drives and tape images. DEV is tape:N (drive N of 'obrio tape list')\n"
                      "or tape:PATH (a tape image used as a drive). Drives are reached through the tape\n"
                      "driver, or with SCSI commands when the setting Tapes/UseScsiPassThrough of\n"
                      "Corvane/Trevalo is true. A tape image stays where the last command left it,\n"
                      "as a tape does in a no-rewind drive.")))
OBRIO_COMMAND(tapeList,
              cli::Command::action("tape", "list",
                                   QStringLiteral("list the tape drives, numbered for tape:N"), runList))
OBRIO_COMMAND(
    tapeCreate,
    cli::Command::action(
        "tape", "create",
        QStringLiteral("create an empty tape image (SIMH, or Tape-In-File with --tif or the suffix .tif)"),
        runCreate)
        .option(cli::option(
            "capacity", "BYTES",
            QStringLiteral("the capacity of the tape (default %1)").arg(TapeImageSettings::defaultCapacity),
            cli::integer(1)))
        .option(cli::flag("tif", QStringLiteral("write a Tape-In-File image whatever the suffix")))
        .argument(cli::argument("IMAGE", QStringLiteral("the new image file"))))
OBRIO_COMMAND(tapeStatus,
              cli::Command::action("tape", "status",
                                   QStringLiteral("show the drive and whether a tape is ready in it"),
                                   runStatus)
                  .option(JsonOutput::option())
                  .argument(cli::driveArgument()))
OBRIO_COMMAND(tapeRewind, cli::Command::action("tape", "rewind", QStringLiteral("rewind the tape"), runRewind)
                              .argument(cli::driveArgument()))
OBRIO_COMMAND(tapeEod, cli::Command::action("tape", "eod",
                                            QStringLiteral("move the tape to the end of its data"), runEod)
                           .argument(cli::driveArgument()))
OBRIO_COMMAND(tapeUnload,
              cli::Command::action("tape", "unload",
                                   QStringLiteral("unload the tape (an image goes offline until loaded)"),
                                   runUnload)
                  .argument(cli::driveArgument()))
OBRIO_COMMAND(tapeLoad, cli::Command::action("tape", "load", QStringLiteral("load the tape again"), runLoad)
                            .argument(cli::driveArgument()))
OBRIO_COMMAND(tapeErase, cli::Command::action("tape", "erase",
                                              QStringLiteral("rewind and erase the whole tape"), runErase)
                             .argument(cli::driveArgument()))
OBRIO_COMMAND(
    tapeSkip,
    cli::Command::action("tape", "skip",
                         QStringLiteral("skip N files or blocks, backward when N is negative"), runSkip)
        .describe(QStringLiteral("Skips N files (past N file marks) or N blocks from where the tape stands,\n"
                                 "backward when N is negative. Give one of --files and --blocks."))
        .option(cli::option("files", "N", QStringLiteral("skip N files"),
                            cli::integer(-largestSkip, largestSkip)))
        .option(cli::option("blocks", "N", QStringLiteral("skip N blocks"),
                            cli::integer(-largestSkip, largestSkip)))
        .argument(cli::driveArgument()))
OBRIO_COMMAND(tapeMark,
              cli::Command::action(
                  "tape", "mark",
                  QStringLiteral("write N file marks (1 when not given) where the tape stands"), runMark)
                  .argument(cli::driveArgument())
                  .argument(cli::argument("N", QStringLiteral("how many file marks"),
                                          cli::integer(1, std::numeric_limits<int>::max()))
                                .optional()))
OBRIO_COMMAND(tapeMap,
              cli::Command::action(
                  "tape", "map",
                  QStringLiteral("list every file's blocks and their sizes from the start of the tape"),
                  runMap)
                  .option(JsonOutput::option())
                  .argument(cli::driveArgument()))
