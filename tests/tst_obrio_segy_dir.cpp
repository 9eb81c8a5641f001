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

// obrio copy segy-dir and obrio convert segy-to-segd as a user runs them.
class TestObrioSegyDir : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        for (const char* sub : {"in", "out", "back"})
            QDir(home->path()).mkdir(sub);
        QVERIFY(writeFile(path("in/a.sgy"), file()));
        QVERIFY(writeFile(path("in/b.sgy"), file()));
    }

    void directoryToTapeAndBack()
    {
        obrtest::writeTapeImage(path("t.tap"), {});
        ObrioRun run = obrio({"copy", "segy-dir", "in", "tape:t.tap"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("   2 files copied"));
        run = obrio({"copy", "segy-dir", "tape:t.tap", "back", "--base-name", "shot"});
        QCOMPARE(run.status, 0);
        QCOMPARE(readFile(path("back/shot-1.sgy")), file());
        QCOMPARE(readFile(path("back/shot-2.sgy")), file());
        QVERIFY(run.out.contains("   1 tape copied"));
    }

    void concatenateAndRefuseTheInputAsOutput()
    {
        QCOMPARE(obrio({"copy", "segy-dir", "in", "out", "--concatenate"}).status, 0);
        QCOMPARE(readFile(path("out/a.sgy")), file() + file().mid(3600));
        const ObrioRun run = obrio({"copy", "segy-dir", "in", "in"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.join('\n').contains("input and output directories cannot be the same."));
        QCOMPARE(QDir(path("in")).entryList(QDir::Files).size(), 2);
    }

    void convert()
    {
        for (const QString revision : {"2.1", "3.1"}) {
            const QString out = "out" + revision;
            QVERIFY(QDir(home->path()).mkdir(out));
            QCOMPARE(obrio({"convert", "segy-to-segd", "in", out, "--rev", revision}).status, 0);
            QCOMPARE(QDir(path(out)).entryList(QDir::Files), QStringList({"a.sgd", "b.sgd"}));
            const QByteArray segd = readFile(path(out + "/a.sgd"));
            QCOMPARE(int(segd[42]), revision == "2.1" ? 2 : 3);
            QCOMPARE(segd.size(), (revision == "2.1" ? 1664 : 2688) + 3 * (84 + 4 * 50));
        }
    }

    void convertByFieldRecord_data()
    {
        obrtest::columns<QStringList, bool, int, QStringList, QString>(
            {"options", "refusedFile", "status", "files", "message"});
        QTest::newRow("--per-record") << QStringList{"--rev", "3.1", "--per-record"} << false << 0
                                      << QStringList{"a_4567.sgd",     "b_4567.sgd",     "shots_1001.sgd",
                                                     "shots_1002.sgd", "shots_1003.sgd", "shots_1004.sgd"}
                                      << QString();
        QTest::newRow("one field file per input")
            << QStringList{"--rev", "2.1"} << false << 0 << QStringList{"a.sgd", "b.sgd", "shots.sgd"}
            << "shots.sgy holds 4 field records";
        QTest::newRow("a file passed over")
            << QStringList{"--rev", "2.1", "--per-record"} << true << 1
            << QStringList{"a_4567.sgd",     "b_4567.sgd",     "shots_1001.sgd",
                           "shots_1002.sgd", "shots_1003.sgd", "shots_1004.sgd"}
            << "c.sgy: sample interval of 300 microseconds cannot be written as a SEG-D 2.1 base scan "
               "interval - file passed over";
    }
    void convertByFieldRecord()
    {
        const auto [options, refusedFile, status, files, message] =
            obrtest::fetch<QStringList, bool, int, QStringList, QString>("options", "refusedFile", "status",
                                                                         "files", "message");
        dirtest::SegyParams params;
        params.traces = 12;
        params.tracesPerRecord = 3;
        params.fieldRecord = 1001;
        QVERIFY(writeFile(path("in/shots.sgy"), dirtest::segyFile(params)));
        dirtest::SegyParams refused;
        refused.interval = 300;
        if (refusedFile)
            QVERIFY(writeFile(path("in/c.sgy"), dirtest::segyFile(refused)));
        const ObrioRun run = obrio(QStringList{"convert", "segy-to-segd", "in", "out"} + options);
        QCOMPARE(run.status, status);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), files);
        const QString err = run.err.join('\n');
        if (message.isEmpty())
            QVERIFY2(err.isEmpty(), qPrintable(err));
        else
            QVERIFY2(err.contains(message), qPrintable(err));
        // General header block 2 bytes 1 to 3: the field file number.
        const QString third = files.contains("shots.sgd") ? "out/shots.sgd" : "out/shots_1003.sgd";
        QCOMPARE(readFile(path(third)).mid(32, 3),
                 QByteArray::fromHex(files.contains("shots.sgd") ? "0003e9" : "0003eb"));
    }

    void usageErrors()
    {
        const QList<QStringList> wrong{{"convert", "segy-to-segd", "in", "out"},
                                       {"convert", "segy-to-segd", "in", "out", "--rev", "2.2"},
                                       {"convert", "segy-to-segd", "in", "tape:t.tap", "--rev", "2.1"},
                                       {"copy", "segy-dir", "in", "out", "--tape-limit", "0.5"},
                                       {"copy", "segy-dir", "in", "out", "--per-record"},
                                       {"copy", "segy-dir", "in", "out", "--record-size", "3"}};
        const QList<ObrioRun> runs = obrtest::runObrioEach(home->path(), wrong);
        for (int k = 0; k < wrong.size(); ++k)
            QVERIFY2(runs[k].status == 2 && runs[k].out.isEmpty(), qPrintable(wrong[k].join(' ')));
        QVERIFY(QDir(path("out")).entryList(QDir::Files).isEmpty());
    }

private:
    static QByteArray file() { return dirtest::segyFile({}); }
    QString path(const QString& name) const { return home->filePath(name); }
    ObrioRun obrio(const QStringList& arguments) const { return obrtest::runObrio(home->path(), arguments); }

    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioSegyDir)
#include "tst_obrio_segy_dir.moc"
