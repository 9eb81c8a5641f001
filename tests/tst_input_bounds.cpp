#include "devices/DiskDevice.h"
#include "seismic/SegdData.h"
#include "seismic/TraceGather.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Far above what a bounded reading takes (some 40 to 60 MiB under AddressSanitizer, whose shadow
// memory and quarantine swell every process), far below the 0.6 to 0.9 GiB a gather sized from
// the headers alone takes and the 1 GiB of an SPS file read up to its limit.
constexpr long boundedMiB = 300;

struct ChildRun {
    int status = -1; // -1: ended by a signal, such as the alarm after a minute
    long peakMiB = 0;
};

// Runs body in a child process (the fork holds what the test process held) and gives its exit
// status and the most memory it held resident.
ChildRun inChild(const std::function<int()>& body)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(60);
        _exit(body());
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return {};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss / 1024};
}

} // namespace

class TestInputBounds : public QObject {
    Q_OBJECT
private slots:
    // The 47 KB file announces 2,001 traces of up to 30,247 samples; the set of the long traces
    // lies beyond its end, so the record is read in the memory of the traces it holds.
    void segdGatherBoundedByTheFile()
    {
        const QString path = write(segdstd::build(segdstd::shortTracesThenLongCut()), "cut.segd");
        QCOMPARE(QFileInfo(path).size(), qint64(48200));
        const ChildRun run = inChild([&] {
            RecordingConsole console;
            SegdData data(new DiskDevice(&console, path, 0), false, false);
            if (!data.open(path))
                return 2;
            const auto gather = data.makeGather(false);
            if (!gather || data.readRecord(*gather) || gather->count() != 2000)
                return 3;
            return console.errors().last().contains("trace 2001 of Field File 1 is cut short") ? 0 : 4;
        });
        QCOMPARE(run.status, 0);
        QVERIFY2(run.peakMiB < boundedMiB, qPrintable(QString::number(run.peakMiB)));

        // Held whole, the long trace would pad 2,000 one-sample traces to 30,247 samples each:
        // refused before anything is taken.
        segdstd::FieldFile whole = segdstd::shortTracesThenLongCut();
        whole.keepBytes.reset();
        const QString wholePath = write(segdstd::build(whole), "whole.segd");
        RecordingConsole console;
        SegdData data(new DiskDevice(&console, wholePath, 0), false, false);
        QVERIFY(data.open(wholePath));
        QVERIFY(!data.makeGather(false));
        QVERIFY(console.errors().last().startsWith(wholePath + ": the headers announce 2,001 traces"));
    }

    // A FIFO blocks its reader for ever and /dev/zero never ends: both are refused at once.
    void nonRegularInputsRefused()
    {
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QList<QStringList> commands = {
            {"segy", "info", fifo}, {"segd", "info", fifo}, {"sps", "ranges", "--kind", "S", "/dev/zero"}};
        const QList<obrtest::ObrioRun> runs = obrtest::runObrioEach(dir.path(), commands);
        for (int i = 0; i < runs.size(); ++i) {
            const QString input = commands.at(i).last();
            QCOMPARE(runs.at(i).status, 1);
            QVERIFY2(runs.at(i).err.join('\n').contains(input + " is not a regular file"),
                     qPrintable(runs.at(i).err.join('\n')));
        }
    }

    // The size is told by the file system: a file beyond the limit is refused unread.
    void spsSizeCheckedBeforeReading()
    {
        const QString big = dir.filePath("big.sps");
        {
            QFile file(big);
            if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64(1536) << 20))
                QSKIP("the file system refuses a sparse 1.5 GiB file");
        }
        const QByteArray errors = QFile::encodeName(dir.filePath("errors.txt"));
        const QByteArray program = OBR_BIN_DIR "/obrio";
        const QByteArray input = QFile::encodeName(big);
        const ChildRun run = inChild([&] {
            const int out = open(errors.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, STDERR_FILENO);
            execl(program.constData(), "obrio", "sps", "ranges", "--kind", "S", input.constData(),
                  static_cast<char*>(nullptr));
            return 127;
        });
        QCOMPARE(run.status, 1);
        QVERIFY2(run.peakMiB < boundedMiB, qPrintable(QString::number(run.peakMiB)));
        QVERIFY(obrtest::readFile(QFile::decodeName(errors)).contains(input + " is larger than 1024 MiB"));
    }

private:
    QString write(const QByteArray& bytes, const char* name)
    {
        const QString path = dir.filePath(QLatin1String(name));
        if (!obrtest::writeFile(path, bytes))
            qFatal("cannot write %s", name);
        return path;
    }

    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestInputBounds)
#include "tst_input_bounds.moc"
