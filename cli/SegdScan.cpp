#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegdCommand.h"
#include "cli/TerminalConsole.h"
#include "cli/ThreadsOption.h"
#include "seismic/SegdData.h"
#include "seismic/SegdFileScan.h"
#include "seismic/SegdFolder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <algorithm>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 9);
}

// Minimum, maximum and RMS of one kind of channel, "-" each when the file has none.
QStringList figures(const SegdRecordSummary::Statistics& statistics)
{
    if (statistics.values == 0)
        return {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")};
    return {number(statistics.minimum), number(statistics.maximum), number(statistics.rms)};
}

QJsonValue json(const SegdRecordSummary::Statistics& statistics)
{
    if (statistics.traces == 0)
        return QJsonValue();
    const bool valued = statistics.values > 0;
    return QJsonObject{{QStringLiteral("traces"), statistics.traces},
                       {QStringLiteral("values"), double(statistics.values)},
                       {QStringLiteral("minimum"), valued ? QJsonValue(statistics.minimum) : QJsonValue()},
                       {QStringLiteral("maximum"), valued ? QJsonValue(statistics.maximum) : QJsonValue()},
                       {QStringLiteral("rms"), valued ? QJsonValue(statistics.rms) : QJsonValue()}};
}

QString row(const QStringList& cells)
{
    const int widths[] = {-24, 10, 7, 8, 9, 14, 14, 14, 14, 14, 14};
    QString text;
    for (int i = 0; i < cells.size(); ++i)
        text += (i ? QStringLiteral(" ") : QString()) + QStringLiteral("%1").arg(cells[i], widths[i]);
    return text;
}

int runScan(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString path = arguments.positional(0);
    if (!QFileInfo::exists(path)) {
        console.error(QStringLiteral("%1 does not exist").arg(path), false);
        return cli::JobFailed;
    }
    // A folder is listed once, however many field files it holds.
    QStringList files{path};
    if (QFileInfo(path).isDir()) {
        const SegdFolder::Listing listing = SegdFolder::list(path, &console);
        const QString skipped = SegdFolder::skippedText(listing);
        if (!skipped.isEmpty())
            console.information(skipped, false);
        files = listing.paths();
    }
    if (files.isEmpty()) {
        console.error(QStringLiteral("no field files in %1").arg(path), false);
        return cli::JobFailed;
    }
    const bool asJson = JsonOutput::wanted(arguments);
    const QColor black(Qt::black);
    if (!asJson)
        console.message(row({"File", "Field file", "Traces", "Samples", "Interval", "Minimum", "Maximum",
                             "RMS", "Aux minimum", "Aux maximum", "Aux RMS"}),
                        black);
    const int threads = ThreadsOption::value(arguments);
    QElapsedTimer clock;
    clock.start();
    std::vector<SegdFileScan::FileResult> results;
    if (files.size() == 1)
        results.push_back(SegdFileScan::scanFile(files.first(), threads, SegdCommand::open, console));
    else
        results = SegdFileScan::scanFiles(files, threads, SegdCommand::open, console.detailLevel());
    qint64 bytes = 0;
    int read = 0;
    QJsonArray scanned;
    for (int i = 0; i < files.size(); ++i) {
        const QString name = QFileInfo(files[i]).fileName();
        SegdFileScan::FileResult& result = results[size_t(i)];
        result.lines.passOn(console);
        if (!result.ok) {
            console.error(QStringLiteral("%1 could not be read").arg(name), false);
            scanned.append(QJsonObject{{QStringLiteral("file"), name}, {QStringLiteral("read"), false}});
            continue;
        }
        const SegdRecordSummary& summary = result.summary;
        ++read;
        bytes += QFileInfo(files[i]).size();
        scanned.append(QJsonObject{{QStringLiteral("file"), name},
                                   {QStringLiteral("read"), true},
                                   {QStringLiteral("fieldFile"), summary.fieldFile},
                                   {QStringLiteral("traces"), summary.traces},
                                   {QStringLiteral("samples"), summary.samples},
                                   {QStringLiteral("sampleIntervalMs"), double(summary.sampleInterval)},
                                   {QStringLiteral("seismic"), json(summary.seismic)},
                                   {QStringLiteral("auxiliary"), json(summary.auxiliary)}});
        if (!asJson)
            console.message(row(QStringList{name, QString::number(summary.fieldFile),
                                            QString::number(summary.traces), QString::number(summary.samples),
                                            QStringLiteral("%1 ms").arg(summary.sampleInterval)} +
                                figures(summary.seismic) + figures(summary.auxiliary)),
                            black);
    }
    const double seconds = std::max(clock.nsecsElapsed() / 1e9, 1e-9);
    const double megabytes = double(bytes) / 1e6;
    if (asJson) {
        JsonOutput::print({{QStringLiteral("files"), scanned},
                           {QStringLiteral("filesRead"), read},
                           {QStringLiteral("fileCount"), files.size()},
                           {QStringLiteral("megabytes"), megabytes},
                           {QStringLiteral("seconds"), seconds},
                           {QStringLiteral("megabytesPerSecond"), megabytes / seconds}});
    } else {
        console.message(QStringLiteral("Files read: %1 of %2").arg(read).arg(files.size()), black);
        console.message(QStringLiteral("Speed:      %1 MB/s (%2 MB in %3 s)")
                            .arg(megabytes / seconds, 0, 'f', 1)
                            .arg(megabytes, 0, 'f', 1)
                            .arg(seconds, 0, 'f', 3),
                        black);
    }
    return read == files.size() ? cli::Success : cli::JobFailed;
}

} // namespace

OBRIO_COMMAND(segdScan,
              cli::Command::action("segd", "scan",
                                   QStringLiteral("read every field file of a directory: counts, minimum, "
                                                  "maximum, RMS and MB/s"),
                                   runScan)
                  .describe(QStringLiteral(
                      "Reads every trace of every field file of DIR (its *.sgd, *.segd, *.raw and *.fcnt\n"
                      "files in any case, and any other file that begins with a SEG-D general header;\n"
                      "the files passed over are named), or of FILE, one trace at a time (the files, or\n"
                      "the traces of a lone file, shared out between threads), and shows per file the\n"
                      "field file number, traces, samples, sample interval and the minimum, maximum and\n"
                      "RMS of the samples of its seismic and of its auxiliary channels apart (NaN\n"
                      "samples left out; \"-\" for a kind the file has none of), then the reading speed.\n"
                      "A file that cannot be read is reported and passed over; the others are still\n"
                      "read, and the exit status is then 1."))
                  .option(ThreadsOption::option())
                  .option(JsonOutput::option())
                  .argument(cli::argument("DIR|FILE", QStringLiteral("a directory of field files, or one"))))
