#include "tests/support/ObrioProcess.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using obrtest::ObrioRun;
using obrtest::readFile;

namespace {

// Enough files, and large enough, that a job still has most of them to go when its first output
// appears.
constexpr int inputFiles = 30;

QStringList visibleFiles(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

// Ctrl-C during the jobs that write many files: the job stops at its next block, keeps only whole
// outputs, says so in its summary and ends with status 1; a second Ctrl-C ends obrio at once and
// leaves no temporary file either.
class TestObrioInterrupt : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid() && QDir(home.path()).mkpath("in"));
        dirtest::SegyParams params;
        params.samples = 1000;
        params.traces = 400;
        params.tracesPerRecord = 400;
        const QByteArray file = dirtest::segyFile(params);
        for (int k = 0; k < inputFiles; ++k)
            QVERIFY(obrtest::writeFile(path(QStringLiteral("in/%1.sgy").arg(k, 2, 10, QChar('0'))), file));
    }

    void init() { QVERIFY(QDir(path("out")).removeRecursively() && QDir(home.path()).mkdir("out")); }

    // Which files the job keeps is tst_segy_dir_copy's; here the signal reaches the job.
    void firstInterruptStopsTheJob()
    {
        const ObrioRun run = obrtest::runObrioInterrupted(
            home.path(), {"copy", "segy-dir", "in", "out"},
            [&] { return !visibleFiles(path("out")).isEmpty(); }, 1);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains("  job aborted"), qPrintable(run.out.join('\n')));
        const QStringList kept = visibleFiles(path("out"));
        QVERIFY2(!kept.isEmpty() && kept.size() < inputFiles, qPrintable(kept.join(' ')));
        for (const QString& name : kept)
            QVERIFY2(readFile(path("out/" + name)) == readFile(path("in/" + name)), qPrintable(name));
        QVERIFY(run.out.contains(
            QStringLiteral("   %1 file%2 copied").arg(kept.size()).arg(kept.size() == 1 ? "" : "s")));
        QCOMPARE(obrtest::temporaryFiles(home.path()), QStringList());
    }

    // A job that waits for its input hears the first Ctrl-C only when the input comes; the second
    // ends obrio at once, and the output it had begun goes with it.
    void secondInterruptEndsAtOnce()
    {
        QVERIFY(::mkfifo(QFile::encodeName(path("in.fifo")).constData(), 0600) == 0);
        int writer = -1;
        const auto waiting = [&] {
            if (writer < 0) {
                writer = ::open(QFile::encodeName(path("in.fifo")).constData(), O_WRONLY | O_NONBLOCK);
                return false;
            }
            static const QByteArray block(10000, 'x');
            static bool written = ::write(writer, block.constData(), size_t(block.size())) == block.size();
            return written && !obrtest::temporaryFiles(path("out")).isEmpty();
        };
        const ObrioRun run =
            obrtest::runObrioInterrupted(home.path(), {"copy", "raw", "in.fifo", "out/out.dat"}, waiting, 2);
        ::close(writer);
        // Killed by the signal: no status of its own.
        QCOMPARE(run.status, -1);
        QVERIFY2(run.err.join('\n').contains("obrio: stopping"), qPrintable(run.err.join('\n')));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

private:
    QString path(const QString& name) const { return home.filePath(name); }

    QTemporaryDir home;
};

OBR_TEST_MAIN(TestObrioInterrupt)
#include "tst_obrio_interrupt.moc"
