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
} // namespace

// obrio copy and obrio merge as a user runs them.
class TestObrioCopy : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(writeFile(path("in.sgy"), input));
    }

    void tapeImages()
    {
        obrtest::writeTapeImage(path("t.tap"), {});
        QCOMPARE(obrio({"copy", "segy", "in.sgy", "tape:t.tap"}).status, 0);
        ObrioRun run = obrio({"copy", "segy", "tape:t.tap", "back.sgy"});
        QCOMPARE(run.status, 0);
        QCOMPARE(readFile(path("back.sgy")), input);
        QVERIFY(run.out.contains("   5 blocks copied"));

        // Raw copy across two tapes; a next tape that is not there ends the job as failed.
        obrtest::writeTapeImage(path("one.tap"), {"first", QByteArray()});
        obrtest::writeTapeImage(path("two.tap"), {"second", QByteArray()});
        QCOMPARE(obrio({"copy", "raw", "tape:one.tap", "out.dat", "--next-tape", "tape:two.tap"}).status, 0);
        QCOMPARE(readFile(path("out.dat")), QByteArray("firstsecond"));
        run = obrio({"copy", "raw", "tape:one.tap", "cut.dat", "--next-tape", "tape:none.tap"});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, QStringList({" *** Error:   no such tape image: none.tap",
                                       " ** Information:   cut.dat is not written: the job did not finish it",
                                       " *** Error:     job failed"}));
        QVERIFY(!QFileInfo::exists(path("cut.dat")));
        QCOMPARE(obrio({"copy", "raw", "in.sgy", "tape:two.tap", "--block", "2000", "--overwrite"}).status,
                 0);
        QCOMPARE(obrtest::blockLengths(obrtest::readTapeImage(path("two.tap"))),
                 QList<int>({2000, 2000, 1520, -1, -1}));
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
        const ObrioRun refused = obrio(arguments);
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.join('\n').contains(output + " exists: --overwrite"),
                 qPrintable(refused.err.join('\n')));
        QCOMPARE(readFile(path(output)), QByteArray("precious"));
        QStringList files{output, "in.sgy"};
        files.sort();
        QCOMPARE(QDir(home->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
        const ObrioRun replaced = obrio(arguments + QStringList{"--overwrite"});
        QCOMPARE(replaced.status, 0);
        const QByteArray written = readFile(path(output));
        QVERIFY(written.size() > 8 && written != "precious");
        if (output.endsWith(".sgy"))
            QVERIFY(written.startsWith(input.left(3600)));
    }

    void tapeHoldingDataKept_data()
    {
        obrtest::columns<QStringList, QList<int>>({"arguments", "third"});
        QTest::newRow("copy segy") << QStringList{"copy", "segy", "in.sgy", "tape:t.tap"}
                                   << QList<int>{3200, 400, 640, 640, 640, -1};
        QTest::newRow("copy raw") << QStringList{"copy", "raw", "in.sgy", "tape:t.tap", "--block", "3000"}
                                  << QList<int>{3000, 2520, -1};
        QTest::newRow("copy segy-dir") << QStringList{"copy", "segy-dir", "dir", "tape:t.tap"}
                                       << QList<int>{3200, 400, 640, 640, 640, -1};
    }
    // A tape that holds two files: refused as it is, written after its last file with --append (the
    // two untouched), or from its start with --overwrite.
    void tapeHoldingDataKept()
    {
        const auto [arguments, third] = obrtest::fetch<QStringList, QList<int>>("arguments", "third");
        QVERIFY(QDir(home->path()).mkdir("dir") && writeFile(path("dir/in.sgy"), input));
        const obrtest::TapeBlocks two{"one", "1", QByteArray(), "two", QByteArray(), QByteArray()};
        obrtest::writeTapeImage(path("t.tap"), two);
        const ObrioRun refused = obrio(arguments);
        QCOMPARE(refused.status, 1);
        const QString said = (refused.out + refused.err).join('\n');
        QVERIFY2(said.contains("holds 2 files") && said.contains("--append"), qPrintable(said));
        QCOMPARE(obrtest::readTapeImage(path("t.tap")), two);

        QCOMPARE(obrio(arguments + QStringList{"--append"}).status, 0);
        const obrtest::TapeBlocks appended = obrtest::readTapeImage(path("t.tap"));
        QCOMPARE(appended.mid(0, 5), two.mid(0, 5));
        QCOMPARE(obrtest::blockLengths(appended.mid(5)), third + QList<int>{-1});

        QCOMPARE(obrio(arguments + QStringList{"--overwrite"}).status, 0);
        QCOMPARE(obrtest::blockLengths(obrtest::readTapeImage(path("t.tap"))), third + QList<int>{-1});
        QCOMPARE(obrio(arguments + QStringList{"--overwrite", "--append"}).status, 2);
    }

    void statusAndMessages_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "status", "message"});
        const auto row = [](const char* name, const QStringList& arguments, int status, const char* message) {
            QTest::newRow(name) << arguments << status << message;
        };
        row("merge", {"merge", "out.sgy", "in.sgy", "in.sgy"}, 0, "   7440 bytes written\n   2 files merged");
        row("merge of different files", {"merge", "out.sgy", "in.sgy", "other.sgy"}, 1,
            "input file other.sgy differs from in.sgy: 50 samples per trace, not 100; sample format 3, not "
            "1");
        row("no output", {"copy", "segy", "in.sgy"}, 2, "obrio: copy segy needs IN OUT");
        row("block size 0", {"copy", "raw", "in.sgy", "out", "--block", "0"}, 2,
            "--block needs a whole number from 1 to 524288, not '0'");
        row("merge of a tape", {"merge", "out", "in.sgy", "tape:0"}, 2,
            "merge works on disk files only: tape:0");
        row("same file", {"copy", "raw", "in.sgy", "./in.sgy"}, 1,
            "output ./in.sgy is the same as the input");
        row("no such folder", {"copy", "segy", "in.sgy", "none/out.sgy"}, 1,
            "error opening output file: none/out.sgy (No such file or directory)");
        row("merge into no such folder", {"merge", "none/out.sgy", "in.sgy", "in.sgy"}, 1,
            "error opening output file: none/out.sgy (No such file or directory)");
    }
    void statusAndMessages()
    {
        const auto [arguments, status, message] =
            obrtest::fetch<QStringList, int, QString>("arguments", "status", "message");
        QVERIFY(writeFile(path("other.sgy"), obrtest::segyFile(3, 50, false, 2)));
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, status);
        const QString output = (run.out + run.err).join('\n');
        QVERIFY2(output.contains(message), qPrintable(output));
        QCOMPARE(readFile(path("in.sgy")), input);
    }

private:
    QString path(const QString& name) const { return home->filePath(name); }
    ObrioRun obrio(const QStringList& arguments) { return obrtest::runObrio(home->path(), arguments); }

    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioCopy)
#include "tst_obrio_copy.moc"
