#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CliCopyOperator.h"
#include "cli/JsonOutput.h"
#include "cli/TapeDriveAction.h"
#include "cli/TerminalConsole.h"
#include "copy/TapeScanJob.h"
#include "copy/TapeScanReport.h"
#include "devices/TapeDevice.h"

#include <QJsonArray>

namespace {

QJsonValue orNull(bool known, const QJsonValue& value)
{
    return known ? value : QJsonValue();
}

QJsonObject json(const TapeScanEntry& entry, TapeScanMode mode)
{
    QJsonObject row{{QStringLiteral("tapeFile"), entry.tapeFile},
                    {QStringLiteral("bytes"), double(entry.bytes)},
                    {QStringLiteral("errors"), orNull(!entry.problem.isEmpty(), entry.problem)}};
    const bool known = mode == TapeScanMode::Segd ? entry.identified : !entry.formatName.isEmpty();
    row.insert(QStringLiteral("formatCode"), orNull(entry.identified, entry.formatCode));
    row.insert(QStringLiteral("traces"), orNull(known, entry.traces));
    row.insert(QStringLiteral("samples"), orNull(known, entry.samples));
    row.insert(QStringLiteral("sampleIntervalMs"), orNull(known, entry.intervalMs));
    if (mode == TapeScanMode::Segd) {
        row.insert(QStringLiteral("fieldFile"), orNull(known, entry.fieldFile));
        row.insert(QStringLiteral("revision"), orNull(known, entry.revision));
        row.insert(QStringLiteral("manufacturer"), orNull(known, entry.manufacturer));
    } else {
        row.insert(QStringLiteral("formatName"), orNull(known, entry.formatName));
        row.insert(QStringLiteral("textHeader"), entry.textLine);
    }
    return row;
}

QJsonArray numbers(const QList<int>& values)
{
    QJsonArray array;
    for (const int value : values)
        array.append(value);
    return array;
}

QJsonObject json(const TapeScanResult& result)
{
    const TapeScanSummary summary = TapeScanSummary::of(result);
    QJsonArray files;
    for (const TapeScanEntry& entry : result.entries)
        files.append(json(entry, result.mode));
    QJsonObject document{{QStringLiteral("mode"), result.mode == TapeScanMode::Segd ? "segd" : "segy"},
                         {QStringLiteral("files"), files},
                         {QStringLiteral("tapeFiles"), result.tapeFiles},
                         {QStringLiteral("bytes"), double(result.bytes)},
                         {QStringLiteral("traces"), double(summary.traces)},
                         {QStringLiteral("damagedTapeFiles"), numbers(summary.damaged)}};
    if (result.mode == TapeScanMode::Segd) {
        const bool numbered = summary.firstFieldFile >= 0;
        QJsonArray missing;
        for (const auto& range : summary.missing)
            missing.append(QJsonArray{range.first, range.second});
        document.insert(QStringLiteral("firstFieldFile"), orNull(numbered, summary.firstFieldFile));
        document.insert(QStringLiteral("lastFieldFile"), orNull(numbered, summary.lastFieldFile));
        document.insert(QStringLiteral("missing"), missing);
        document.insert(QStringLiteral("duplicates"), numbers(summary.duplicates));
    } else {
        QJsonObject formats;
        for (auto it = summary.formats.cbegin(); it != summary.formats.cend(); ++it)
            formats.insert(QString::number(it.key()), it.value());
        document.insert(QStringLiteral("formats"), formats);
    }
    return document;
}

int runScan(const cli::Arguments& arguments, TerminalConsole& console)
{
    const bool segy = arguments.has(QStringLiteral("segy"));
    if (segy && arguments.has(QStringLiteral("segd")))
        return arguments.usageError(QStringLiteral("give one of --segd and --segy"));
    // Opened for reading: the scan never writes, marks or erases.
    return cli::onDrive(arguments, console, 0, [&](TapeDevice* drive) {
        CliCopyOperator progress(console, QStringLiteral("tape files"), {});
        TapeScanJob job(&console, &progress, drive, segy ? TapeScanMode::Segy : TapeScanMode::Segd);
        const bool complete = job.run();
        drive->close();
        if (JsonOutput::wanted(arguments)) {
            if (complete)
                JsonOutput::print(json(job.result()));
        } else {
            for (const QString& line : TapeScanReport::text(job.result()))
                console.message(line, Qt::black);
        }
        return complete;
    });
}

} // namespace

OBRIO_COMMAND(tapeScan,
              cli::Command::action(
                  "tape", "scan",
                  QStringLiteral("list the SEG-D field files or SEG-Y files on a tape without copying it"),
                  runScan)
                  .describe(QStringLiteral(
                      "Reads the tape from its beginning to its end of data, tape file by tape file, and\n"
                      "lists what it holds; the tape is only read, never written. SEG-D (the default): each\n"
                      "field file's number, revision, manufacturer, format code, traces, samples per trace,\n"
                      "sample interval, bytes and read errors, then the field file numbers missing between\n"
                      "the lowest and the highest and those found twice. SEG-Y: each tape file's sample\n"
                      "format, interval, samples, traces, bytes and the first line of its textual header.\n"
                      "A damaged file is listed with its errors (and warned of) and the scan goes on;\n"
                      "exit status 1 only when the tape cannot be read to its end."))
                  .option(cli::flag("segd", QStringLiteral("the tape holds SEG-D field files (the default)")))
                  .option(cli::flag("segy", QStringLiteral("the tape holds SEG-Y files, one per tape file")))
                  .option(JsonOutput::option())
                  .argument(cli::driveArgument()))
