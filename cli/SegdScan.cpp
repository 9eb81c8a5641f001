#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegdCommand.h"
#include "cli/TerminalConsole.h"
#include "cli/ThreadsOption.h"
#include "seismic/SegdData.h"
#include "seismic/SegdFileScan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>

namespace {

// The field files of a directory: its "*.sgd" and "*.segd" files, or every file when it
// has none of those; a file argument stands for itself.
QStringList fieldFiles(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return {path};
    const QDir directory(path);
    const QDir::Filters filter = QDir::Files | QDir::Readable;
    QStringList names = directory.entryList({QStringLiteral("*.sgd"), QStringLiteral("*.segd")}, filter,
                                            QDir::Name | QDir::IgnoreCase);
    if (names.isEmpty())
        names = directory.entryList(filter, QDir::Name);
    QStringList paths;
    for (const QString& name : names)
        paths.append(directory.filePath(name));
    return paths;
}

QString number(double value)
{
    return QString::number(value, 'g', 9);
}

int runScan(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString path = arguments.positional(0);
    if (!QFileInfo::exists(path)) {
        console.error(QStringLiteral("%1 does not exist").arg(path), false);
        return cli::JobFailed;
    }
    const QStringList files = fieldFiles(path);
    if (files.isEmpty()) {
        console.error(QStringLiteral("no field files in %1").arg(path), false);
        return cli::JobFailed;
    }
    const QColor black(Qt::black);
    console.message(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                        .arg(QStringLiteral("File"), -24)
                        .arg(QStringLiteral("Field file"), 10)
                        .arg(QStringLiteral("Traces"), 7)
                        .arg(QStringLiteral("Samples"), 8)
                        .arg(QStringLiteral("Interval"), 9)
                        .arg(QStringLiteral("Minimum"), 16)
                        .arg(QStringLiteral("Maximum"), 16)
                        .arg(QStringLiteral("RMS"), 16),
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
    for (int i = 0; i < files.size(); ++i) {
        const QString& file = files[i];
        SegdFileScan::FileResult& result = results[size_t(i)];
        result.lines.passOn(console);
        if (!result.ok) {
            console.error(QStringLiteral("%1 could not be read").arg(QFileInfo(file).fileName()), false);
            continue;
        }
        const SegdRecordSummary& summary = result.summary;
        ++read;
        bytes += QFileInfo(file).size();
        console.message(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                            .arg(QFileInfo(file).fileName(), -24)
                            .arg(summary.fieldFile, 10)
                            .arg(summary.traces, 7)
                            .arg(summary.samples, 8)
                            .arg(QStringLiteral("%1 ms").arg(summary.sampleInterval), 9)
                            .arg(number(summary.minimum), 16)
                            .arg(number(summary.maximum), 16)
                            .arg(number(summary.rms), 16),
                        black);
    }
    const double seconds = std::max(clock.nsecsElapsed() / 1e9, 1e-9);
    const double megabytes = double(bytes) / 1e6;
    console.message(QStringLiteral("Files read: %1 of %2").arg(read).arg(files.size()), black);
    console.message(QStringLiteral("Speed:      %1 MB/s (%2 MB in %3 s)")
                        .arg(megabytes / seconds, 0, 'f', 1)
                        .arg(megabytes, 0, 'f', 1)
                        .arg(seconds, 0, 'f', 3),
                    black);
    return read == files.size() ? cli::Success : cli::JobFailed;
}

} // namespace

OBRIO_COMMAND(segdScan,
              cli::Command::action("segd", "scan",
                                   QStringLiteral("read every field file of a directory: counts, minimum, "
                                                  "maximum, RMS and MB/s"),
                                   runScan)
                  .describe(QStringLiteral(
                      "Reads every trace of every field file of DIR (its *.sgd and *.segd files, or\n"
                      "every file when it has none of those), or of FILE, one trace at a time (the\n"
                      "files, or the traces of a lone file, shared out between threads), and\n"
                      "shows per file the field file number, traces, samples, sample interval and\n"
                      "the minimum, maximum and RMS of its samples (NaN samples left out), then the\n"
                      "reading speed. A file that cannot be read is reported and passed over; the\n"
                      "others are still read, and the exit status is then 1."))
                  .option(ThreadsOption::option())
                  .argument(cli::argument("DIR|FILE", QStringLiteral("a directory of field files, or one"))))
