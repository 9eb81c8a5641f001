#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
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
} // namespace

// obrio copy and obrio merge as a user runs them: the arguments reach the job, the status and
// the lines say how it went. The copy rules themselves are tst_copy_jobs'.
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
        row("segy from tape", {"copy", "segy", "tape:in.tap", "back.sgy"}, 0, "   5 blocks copied",
            "back.sgy", input);
        row("raw over two tapes", {"copy", "raw", "tape:one.tap", "out.dat", "--next-tape", "tape:two.tap"},
            0, "   2 tapes copied", "out.dat", "firstsecond");
        // A next tape that is not there ends the job as failed.
        row("raw, next tape missing",
            {"copy", "raw", "tape:one.tap", "cut.dat", "--next-tape", "tape:none.tap"}, 1,
            " *** Error:   no such tape image: none.tap", "cut.dat");
        row("raw blocks to tape", {"copy", "raw", "in.sgy", "tape:empty.tap", "--block", "2000"}, 0,
            "   3 blocks copied", "empty.tap", {}, {2000, 2000, 1520, -1, -1});
        // A tape that holds files: refused as it is, written after its last file or from its start.
        row("tape holding files", toTape, 1, "holds data: --overwrite writes from its start, --append",
            "t.tap", {}, twoFiles);
        row("--append", toTape + QStringList{"--append"}, 0, "Appending to output tape", "t.tap", {},
            twoFiles.mid(0, 5) + onTape);
        row("--overwrite", toTape + QStringList{"--overwrite"}, 0, "Writing over output tape", "t.tap", {},
            onTape);
        row("--append to raw", {"copy", "raw", "in.sgy", "tape:t.tap", "--block", "3000", "--append"}, 0,
            "Appending", "t.tap", {}, twoFiles.mid(0, 5) + QList<int>{3000, 2520, -1, -1});
        row("--append to segy-dir", {"copy", "segy-dir", "dir", "tape:t.tap", "--append"}, 0, "Appending",
            "t.tap", {}, twoFiles.mid(0, 5) + onTape);
        row("--overwrite --append", toTape + QStringList{"--overwrite", "--append"}, 2, "obrio: ", "t.tap",
            {}, twoFiles);
        row("merge", {"merge", "out.sgy", "in.sgy", "in.sgy"}, 0, "   7440 bytes written\n   2 files merged",
            "out.sgy", input + input.mid(3600));
        row("merge of different files", {"merge", "out.sgy", "in.sgy", "other.sgy"}, 1,
            "input file other.sgy differs from in.sgy: 50 samples per trace, not 100; sample format 3, not 1",
            "out.sgy");
        row("no output", {"copy", "segy", "in.sgy"}, 2, "obrio: copy segy needs IN OUT");
        row("block size 0", {"copy", "raw", "in.sgy", "out", "--block", "0"}, 2,
            "--block needs a whole number from 1 to 524288, not '0'", "out");
        row("merge of a tape", {"merge", "out", "in.sgy", "tape:0"}, 2,
            "merge works on disk files only: tape:0", "out");
        row("same file", {"copy", "raw", "in.sgy", "./in.sgy"}, 1,
            "output ./in.sgy is the same as the input");
        row("no such folder", {"copy", "segy", "in.sgy", "none/out.sgy"}, 1,
            "error opening output file: none/out.sgy (No such file or directory)");
        row("merge into no such folder", {"merge", "none/out.sgy", "in.sgy", "in.sgy"}, 1,
            "error opening output file: none/out.sgy (No such file or directory)");
    }
    void walk()
    {
        const auto [arguments, status, message, output, bytes, blocks] =
            obrtest::fetch<QStringList, int, QString, QString, QByteArray, QList<int>>(
                "arguments", "status", "message", "output", "bytes", "blocks");
        QVERIFY(writeFile(path("other.sgy"), obrtest::segyFile(3, 50, false, 2)));
        QVERIFY(QDir(home->path()).mkdir("dir") && writeFile(path("dir/in.sgy"), input));
        obrtest::writeTapeImage(path("empty.tap"), {});
        obrtest::writeTapeLayout(path("t.tap"), twoFiles);
        obrtest::writeTapeImage(path("in.tap"), {input.left(3200), input.mid(3200, 400), input.mid(3600, 640),
                                                 input.mid(4240, 640), input.mid(4880), QByteArray()});
        obrtest::writeTapeImage(path("one.tap"), {"first", QByteArray()});
        obrtest::writeTapeImage(path("two.tap"), {"second", QByteArray()});

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
        QTest::newRow("copy raw") << QStringList{"copy", "raw", "in.sgy", "out.sgy"} << "out.sgy";
        QTest::newRow("merge") << QStringList{"merge", "out.sgy", "in.sgy", "in.sgy"} << "out.sgy";
        QTest::newRow("segy sort") << QStringList{"segy", "sort", "--by", "0", "--out", "out.sgy", "in.sgy"}
                                   << "out.sgy";
        QTest::newRow("segy plot") << QStringList{"segy", "plot", "in.sgy", "--out", "p.png"} << "p.png";
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
        QStringList files{output, "in.sgy"};
        files.sort();
        QCOMPARE(QDir(home->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
        QCOMPARE(obrtest::runObrio(home->path(), arguments + QStringList{"--overwrite"}).status, 0);
        const QByteArray written = readFile(path(output));
        QVERIFY(written.size() > 8 && written != "precious");
        if (output.endsWith(".sgy"))
            QVERIFY(written.startsWith(input.left(3600)));
    }

private:
    QString path(const QString& name) const { return home->filePath(name); }

    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioCopy)
#include "tst_obrio_copy.moc"
