#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace obrtest {

// What a run of the obrio program gave: its exit status (-1 when it crashed or hung) and
// the lines it wrote to standard output and standard error.
struct ObrioRun {
    int status = -1;
    QStringList out;
    QStringList err;
};

// Runs obrio in `home`, which is also its home directory, so that its settings and
// working root are the test's; standard input is closed.
ObrioRun runObrio(const QString& home, const QStringList& arguments);

// Runs obrio as runObrio does and, once `ready()` holds (looked at every millisecond), stops it
// there (SIGSTOP), sends it SIGINT and lets it go on; then SIGINT `interrupts` - 1 times more, each
// after obrio has told of the one before.
ObrioRun runObrioInterrupted(const QString& home, const QStringList& arguments,
                             const std::function<bool()>& ready, int interrupts);

// Runs obrio as runObrio does with its file size limit (RLIMIT_FSIZE) set to `bytes`: every write
// past it fails as on a full disk (EFBIG, SIGXFSZ ignored).
ObrioRun runObrioWithFileLimit(const QString& home, const QStringList& arguments, qint64 bytes);

// Runs obrio once for each list of arguments as runObrio does, several runs at a time; the
// results in the order of the lists. For many short runs that do not touch the same files.
QList<ObrioRun> runObrioEach(const QString& home, const QList<QStringList>& argumentLists);

// Runs a scan (its arguments before the file) with --threads 1, 2, 3 and 7: empty when all gave
// the same status, output (the speed line aside) and errors, else the runs that differed.
QString threadsDiffer(const QString& home, const QStringList& scan, const QString& path);

} // namespace obrtest
