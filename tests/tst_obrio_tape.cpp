#include "tests/support/ObrioProcess.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>

// `obrio tape` as a user runs it: the lines it prints and its exit status.
class TestObrioTape : public QObject {
    Q_OBJECT
private slots:
    void init();

    void mapListsRunsOfBlocks();
    void mapStopsAtUnreadableBlock();
    void createMarkSkipStatus();
    void createNeverReplaces();
    void writeProtectedImage();
    void usageErrors_data();
    void usageErrors();
    void deviceArguments_data();
    void deviceArguments();
    void listFollowsTheRoadSetting();
    void help_data();
    void help();

private:
    using Output = obrtest::ObrioRun;
    Output obrio(const QStringList& arguments);
    QString image(const QString& name, const QList<int>& layout);

    std::unique_ptr<QTemporaryDir> home;
};

void TestObrioTape::init()
{
    home = std::make_unique<QTemporaryDir>();
}

TestObrioTape::Output TestObrioTape::obrio(const QStringList& arguments)
{
    return obrtest::runObrio(home->path(), arguments);
}

QString TestObrioTape::image(const QString& name, const QList<int>& layout)
{
    return obrtest::writeTapeLayout(home->filePath(name), layout, 1000000);
}

void TestObrioTape::mapListsRunsOfBlocks()
{
    image("survey.tif", {3200, 400, 1000, 1000, 1000, -1, -1, 77});
    const Output output = obrio({"tape", "map", "tape:survey.tif"});
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out,
             QStringList({"file 1: block size 3200: 1 block", "file 1: block size 400: 1 block",
                          "file 1: block size 1000: 3 blocks", "file 1: file mark after 5 blocks: 6600 bytes",
                          "file 2: file mark after 0 blocks: 0 bytes", "end of data: 2 files, 6600 bytes"}));
    QVERIFY(output.err.isEmpty());

    image("open.tap", {500, 500, -1, 77});
    QCOMPARE(obrio({"tape", "map", "tape:open.tap"}).out,
             QStringList({"file 1: block size 500: 2 blocks", "file 1: file mark after 2 blocks: 1000 bytes",
                          "file 2: block size 77: 1 block", "file 2: end of data after 1 block: 77 bytes",
                          "end of data: 2 files, 1077 bytes"}));
}

void TestObrioTape::mapStopsAtUnreadableBlock()
{
    image("long.tap", {10, 200000, 20});
    const Output output = obrio({"tape", "map", "tape:long.tap"});
    QCOMPARE(output.status, 1);
    QCOMPARE(output.out,
             QStringList({"file 1: block size 10: 1 block", "file 1: end of data after 1 block: 10 bytes",
                          "end of data: 1 file, 10 bytes"}));
    QCOMPARE(output.err,
             QStringList{" *** Error:   the block on tape is longer than the read buffer on:     Tape0"
                         "            VIRTUAL long.tap"});
}

void TestObrioTape::createMarkSkipStatus()
{
    Output output = obrio({"tape", "create", "new.tap", "--capacity", "50000"});
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out, QStringList{"Created SIMH tape image new.tap, capacity 50000 bytes"});
    QCOMPARE(obrio({"tape", "mark", "tape:new.tap", "3"}).out,
             QStringList{"Wrote 3 file marks on VIRTUAL new.tap"});
    // The image stays where the marks left it.
    output = obrio({"tape", "status", "tape:new.tap"});
    QCOMPARE(output.status, 0);
    QCOMPARE(
        output.out,
        QStringList({"Drive:           Tape0 VIRTUAL new.tap", "Ready:           yes",
                     "Largest block:   131072 bytes", "Image:           " + home->filePath("new.tap"),
                     "Format:          SIMH", "Recorded:        12 bytes of 50000 (early warning at 45000)",
                     "Position:        byte 12", "Write protected: no"}));
    QCOMPARE(obrio({"tape", "skip", "tape:new.tap", "--files", "-2"}).out,
             QStringList{"Reverse skipped 2 files"});
    QCOMPARE(obrio({"tape", "mark", "tape:new.tap"}).out,
             QStringList{"Wrote 1 file mark on VIRTUAL new.tap"});
    QCOMPARE(obrio({"tape", "map", "tape:new.tap"}).out.last(),
             QStringLiteral("end of data: 2 files, 0 bytes"));
    output = obrio({"tape", "skip", "tape:new.tap", "--blocks", "1"});
    QCOMPARE(output.status, 1);
    QVERIFY(output.out.isEmpty());
    QCOMPARE(obrio({"tape", "rewind", "tape:new.tap"}).out, QStringList{"Rewind VIRTUAL new.tap"});
    QCOMPARE(obrio({"tape", "skip", "tape:new.tap", "--files", "1"}).out,
             QStringList{"Forward skipped 1 file"});
    QCOMPARE(obrio({"tape", "eod", "tape:new.tap"}).out, QStringList{"Skipped to EOD on VIRTUAL new.tap"});

    QCOMPARE(obrio({"tape", "unload", "tape:new.tap"}).out, QStringList{"Unloaded tape on VIRTUAL new.tap"});
    QCOMPARE(obrio({"tape", "status", "tape:new.tap"}).out.at(1), QStringLiteral("Ready:           no"));
    QCOMPARE(obrio({"tape", "load", "tape:new.tap"}).out, QStringList{"Loaded tape on VIRTUAL new.tap"});
    QCOMPARE(obrio({"tape", "status", "tape:new.tap"}).out.at(1), QStringLiteral("Ready:           yes"));
    QCOMPARE(obrio({"tape", "erase", "tape:new.tap"}).out, QStringList{"Erased tape on VIRTUAL new.tap"});
    QCOMPARE(QFileInfo(home->filePath("new.tap")).size(), 0);

    QCOMPARE(obrio({"tape", "create", "other.tap", "--tif"}).out,
             QStringList{"Created Tape-In-File tape image other.tap, capacity 1099511627776 bytes"});
    QCOMPARE(obrio({"tape", "status", "tape:other.tap"}).out.at(4),
             QStringLiteral("Format:          Tape-In-File"));
}

void TestObrioTape::createNeverReplaces()
{
    const QString path = image("full.tap", {100, -1});
    const qint64 size = QFileInfo(path).size();
    const Output output = obrio({"tape", "create", "full.tap"});
    QCOMPARE(output.status, 1);
    QVERIFY(output.err.first().startsWith(" *** Error:   cannot create tape image full.tap"));
    QCOMPARE(QFileInfo(path).size(), size);
}

void TestObrioTape::writeProtectedImage()
{
    const QString path = image("locked.tap", {100});
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    Output output = obrio({"tape", "mark", "tape:locked.tap"});
    QCOMPARE(output.status, 1);
    QCOMPARE(
        output.err,
        QStringList{" *** Error:   the tape is write protected on:     Tape0            VIRTUAL locked.tap"});
    output = obrio({"tape", "erase", "tape:locked.tap"});
    QCOMPARE(output.status, 1);
    QCOMPARE(QFileInfo(path).size(), 108);
    QCOMPARE(obrio({"tape", "status", "tape:locked.tap"}).out.last(), QStringLiteral("Write protected: yes"));
}

void TestObrioTape::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no action") << QStringList{"tape"};
    QTest::newRow("unknown action") << QStringList{"tape", "spin"};
    QTest::newRow("no device") << QStringList{"tape", "map"};
    QTest::newRow("empty tape name") << QStringList{"tape", "map", "tape:"};
    QTest::newRow("two devices") << QStringList{"tape", "rewind", "tape:a", "tape:b"};
    QTest::newRow("skip without count") << QStringList{"tape", "skip", "tape:a.tap"};
    QTest::newRow("skip of 0") << QStringList{"tape", "skip", "tape:a.tap", "--blocks", "0"};
    QTest::newRow("skip of words") << QStringList{"tape", "skip", "tape:a.tap", "--files", "many"};
    QTest::newRow("skip beyond a SPACE") << QStringList{"tape", "skip", "tape:a.tap", "--files", "9000000"};
    QTest::newRow("skip back beyond a SPACE")
        << QStringList{"tape", "skip", "tape:a.tap", "--blocks", "-8388608"};
    QTest::newRow("two counts") << QStringList{"tape", "skip", "tape:a.tap", "--files", "1", "--blocks", "1"};
    QTest::newRow("mark 0") << QStringList{"tape", "mark", "tape:a.tap", "0"};
    QTest::newRow("create without path") << QStringList{"tape", "create"};
    QTest::newRow("negative capacity") << QStringList{"tape", "create", "x.tap", "--capacity", "-5"};
    QTest::newRow("capacity missing") << QStringList{"tape", "create", "x.tap", "--capacity"};
    QTest::newRow("list with argument") << QStringList{"tape", "list", "extra"};
}

void TestObrioTape::usageErrors()
{
    QFETCH(QStringList, arguments);
    const Output output = obrio(arguments);
    QCOMPARE(output.status, 2);
    QVERIFY(output.out.isEmpty());
    QCOMPARE(output.err.size(), 1);
    QVERIFY(output.err.first().startsWith("obrio: "));
    QVERIFY(!QFileInfo::exists(home->filePath("x.tap")));
}

void TestObrioTape::deviceArguments_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("error");
    QTest::newRow("drive number") << "tape:7"
                                  << "there is no tape drive 7 (obrio tape list shows the drives)";
    QTest::newRow("missing image") << "tape:gone.tap"
                                   << "no such tape image: gone.tap";
    QTest::newRow("digits as a path") << "tape:./7"
                                      << "no such tape image: ./7";
    QTest::newRow("signed number is a path") << "tape:+2"
                                             << "no such tape image: +2";
    QTest::newRow("disk path") << "/data/line.sgy"
                               << "/data/line.sgy is not a tape (use tape:N or tape:PATH)";
    QTest::newRow("directory") << "tape:."
                               << "no such tape image: .";
}

void TestObrioTape::deviceArguments()
{
    QFETCH(QString, device);
    QFETCH(QString, error);
    const Output output = obrio({"tape", "status", device});
    QCOMPARE(output.status, 1);
    QCOMPARE(output.err, QStringList{" *** Error:   " + error});
}

void TestObrioTape::listFollowsTheRoadSetting()
{
    QVERIFY(QDir().mkpath(home->filePath("Documents/krd/Tapes")));
    image("Documents/krd/Tapes/b.tif", {});
    image("Documents/krd/Tapes/a.tap", {});
    image("Documents/krd/Tapes/notes.txt", {});
    Output output = obrio({"tape", "list"});
    QCOMPARE(output.status, 0);
    // Images follow the system's drives, of which this machine may have some.
    QVERIFY(output.out.size() >= 2);
    QVERIFY(output.out.at(output.out.size() - 2).endsWith("            VIRTUAL a.tap"));
    QVERIFY(output.out.last().endsWith("            VIRTUAL b.tif"));
    QVERIFY(output.out.last().startsWith(QStringLiteral("tape:%1    Tape").arg(output.out.size() - 1)));

    QVERIFY(QDir().mkpath(home->filePath(".config/Corvane")));
    QFile settings(home->filePath(".config/Corvane/Trevalo.conf"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Tapes]\nUseScsiPassThrough=true\n");
    settings.close();
    output = obrio({"tape", "list"});
    QCOMPARE(output.status, 0);
    QVERIFY(output.out.last().endsWith(":1)            VIRTUAL b.tif"));
    const QString last = output.out.last();
    const QString scsiId = last.section(' ', 1, 1, QString::SectionSkipEmpty);
    QVERIFY(scsiId.startsWith('('));
    QCOMPARE(obrio({"tape", "status", last.left(last.indexOf(' '))}).out.first(),
             "Drive:           " + scsiId + " VIRTUAL b.tif");
}

void TestObrioTape::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("tool") << QStringList{"tape", "--help"} << "Usage: obrio tape <action> [options] ARGS";
    QTest::newRow("skip") << QStringList{"tape", "skip", "--help"}
                          << "Usage: obrio tape skip DEV --files N | --blocks N";
    QTest::newRow("create") << QStringList{"tape", "create", "--help"}
                            << "Usage: obrio tape create IMAGE [--capacity BYTES] [--tif]";
}

void TestObrioTape::help()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, firstLine);
    const Output output = obrio(arguments);
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out.first(), firstLine);
}

OBR_TEST_MAIN(TestObrioTape)
#include "tst_obrio_tape.moc"
