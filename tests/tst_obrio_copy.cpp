#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>

using obrtest::ObrioRun;
using obrtest::readFile;
using obrtest::writeFile;

namespace {
// Three traces of 640 bytes (format 1, 100 samples) behind the headers.
const QByteArray input = obrtest::segyFile(1, 100, false, 3);
// The SEG-Y file on tape: a block per header and per trace, two file marks.
const QList<int> onTape{3200, 400, 640, 640, 640, -1, -1};
// t.tap: two files.
const QList<int> twoFiles{3, 1, -1, 3, -1, -1};
// Three traces of 440 bytes, and four field records of three traces each.
const QByteArray dirFile = dirtest::segyFile({});
QByteArray shots()
{
    dirtest::SegyParams params;
    params.traces = 12;
    params.tracesPerRecord = 3;
    params.fieldRecord = 1001;
    return dirtest::segyFile(params);
}
} // namespace

// obrio copy, merge and convert segy-to-segd as a user runs them: the arguments reach the job, the
// status and the lines say how it went. The rules themselves are tst_copy_jobs' and tst_segy_dir_copy's.
class TestObrioCopy : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(writeFile(path("in.sgy"), input));
    }

    void walk_data()
    {
        // output: a file compared with `bytes`, or a tape image (.tap) whose block lengths are `blocks`
        obrtest::columns<QStringList, int, QString, QString, QByteArray, QList<int>>(
            {"arguments", "status", "message", "output", "bytes", "blocks"});
        const auto row = [](const char* name, const QStringList& arguments, int status,
                            const QString& message, const QString& output = QString(),
                            const QByteArray& bytes = QByteArray(), const QList<int>& blocks = {}) {
            QTest::newRow(name) << arguments << status << message << output << bytes << blocks;
        };
        const QStringList toTape{"copy", "segy", "in.sgy", "tape:t.tap"};
        row("segy to tape", {"copy", "segy", "in.sgy", "tape:empty.tap"}, 0, "   1 file copied", "empty.tap",
            {}, onTape);
        // A next tape that is not there ends the job as failed.
        row("raw, next tape missing",
            {"copy", "raw", "tape:one.tap", "cut.dat", "--next-tape", "tape:none.tap"}, 1,
            " *** Error:   no such tape image: none.tap", "cut.dat");
        // A tape that holds files: refused as it is, written after its last file; not both options.
        row("tape holding files", toTape, 1, "holds data: --overwrite writes from its start, --append",
            "t.tap", {}, twoFiles);
        row("--append", toTape + QStringList{"--append"}, 0, "Appending to output tape", "t.tap", {},
            twoFiles.mid(0, 5) + onTape);
        row("merge", {"merge", "out.sgy", "in.sgy", "in.sgy"}, 0, "   7440 bytes written\n   2 files merged",
            "out.sgy", input + input.mid(3600));
    }
    void walk()
    {
        const auto [arguments, status, message, output, bytes, blocks] =
            obrtest::fetch<QStringList, int, QString, QString, QByteArray, QList<int>>(
                "arguments", "status", "message", "output", "bytes", "blocks");
        QVERIFY(QDir(home->path()).mkdir("dir") && writeFile(path("dir/in.sgy"), input));
        obrtest::writeTapeImage(path("empty.tap"), {});
        obrtest::writeTapeLayout(path("t.tap"), twoFiles);
        obrtest::writeTapeImage(path("one.tap"), {"first", QByteArray()});

        const ObrioRun run = obrtest::runObrio(home->path(), arguments);
        QCOMPARE(run.status, status);
        const QString said = (run.out + run.err).join('\n');
        QVERIFY2(said.contains(message), qPrintable(said));
        if (output.endsWith(".tap"))
            QCOMPARE(obrtest::blockLengths(obrtest::readTapeImage(path(output))), blocks);
        else if (!output.isEmpty() && bytes.isEmpty())
            QVERIFY(!QFileInfo::exists(path(output)));
        else if (!output.isEmpty())
            QCOMPARE(readFile(path(output)), bytes);
        QCOMPARE(readFile(path("in.sgy")), input);
    }

    void existingOutputKept_data()
    {
        obrtest::columns<QStringList, QString>({"arguments", "output"});
        QTest::newRow("copy segy") << QStringList{"copy", "segy", "in.sgy", "out.sgy"} << "out.sgy";
        QTest::newRow("histogram csv")
            << QStringList{"segy", "histogram", "in.sgy", "--out", "h.png", "--csv", "h.csv"} << "h.csv";
    }
    // An output file that exists is replaced only with --overwrite, and then whole.
    void existingOutputKept()
    {
        const auto [arguments, output] = obrtest::fetch<QStringList, QString>("arguments", "output");
        QVERIFY(writeFile(path(output), "precious"));
        const ObrioRun refused = obrtest::runObrio(home->path(), arguments);
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.join('\n').contains(output + " exists: --overwrite"),
                 qPrintable(refused.err.join('\n')));
        QCOMPARE(readFile(path(output)), QByteArray("precious"));
        QCOMPARE(QDir(home->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QCOMPARE(obrtest::runObrio(home->path(), arguments + QStringList{"--overwrite"}).status, 0);
        const QByteArray written = readFile(path(output));
        QVERIFY(written.size() > 8 && written != "precious");
    }

    void segyDirWalk_data()
    {
        // outputs: the files of out/; the first of them is `size` bytes long
        obrtest::columns<QStringList, int, QString, QStringList, qint64>(
            {"arguments", "status", "message", "outputs", "size"});
        const auto row = [](const char* name, const QStringList& arguments, int status,
                            const QString& message, const QStringList& outputs = {}, qint64 size = 0) {
            QTest::newRow(name) << arguments << status << message << outputs << size;
        };
        const QStringList perRecord{"a_4567.sgd",     "b_4567.sgd",     "shots_1001.sgd",
                                    "shots_1002.sgd", "shots_1003.sgd", "shots_1004.sgd"};
        row("directory to tape", {"copy", "segy-dir", "in", "tape:t.tap"}, 0, "   3 files copied");
        row("a file passed over",
            {"convert", "segy-to-segd", "in", "bad", "out", "--rev", "2.1", "--per-record"}, 1,
            "c.sgy: sample interval of 300 microseconds", perRecord, 1664 + 3 * (84 + 4 * 50));
    }
    void segyDirWalk()
    {
        const auto [arguments, status, message, outputs, size] =
            obrtest::fetch<QStringList, int, QString, QStringList, qint64>("arguments", "status", "message",
                                                                           "outputs", "size");
        for (const char* sub : {"in", "bad", "out"})
            QVERIFY(QDir(home->path()).mkdir(sub));
        QVERIFY(writeFile(path("in/a.sgy"), dirFile) && writeFile(path("in/b.sgy"), dirFile));
        QVERIFY(writeFile(path("in/shots.sgy"), shots()));
        dirtest::SegyParams refused;
        refused.interval = 300;
        QVERIFY(writeFile(path("bad/c.sgy"), dirtest::segyFile(refused)));
        obrtest::writeTapeImage(path("t.tap"), {});

        const ObrioRun run = obrtest::runObrio(home->path(), arguments);
        QCOMPARE(run.status, status);
        const QString said = (run.out + run.err).join('\n');
        QVERIFY2(said.contains(message), qPrintable(said));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), outputs);
        if (!outputs.isEmpty())
            QCOMPARE(QFileInfo(path("out/" + outputs.first())).size(), size);
        QCOMPARE(QDir(path("in")).entryList(QDir::Files).size(), 3);
    }

private:
    QString path(const QString& name) const { return home->filePath(name); }

    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioCopy)
#include "tst_obrio_copy.moc"
