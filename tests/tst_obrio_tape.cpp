#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>

// `obrio tape` as a user runs it: the lines it prints and its exit status.
class TestObrioTape : public QObject {
    Q_OBJECT
private slots:
    void init() { home = std::make_unique<QTemporaryDir>(); }

    void mapListsRunsOfBlocks()
    {
        image("survey.tif", {3200, 400, 1000, 1000, 1000, -1, -1, 77});
        Output output = obrio({"tape", "map", "tape:survey.tif"});
        QCOMPARE(output.status, 0);
        QCOMPARE(output.out.value(2), QStringLiteral("file 1: block size 1000: 3 blocks"));
        QCOMPARE(output.out.mid(4), QStringList({"file 2: file mark after 0 blocks: 0 bytes",
                                                 "end of data: 2 files, 6600 bytes"}));

        // A block too long to read ends the map with an error.
        image("long.tap", {10, 200000, 20});
        output = obrio({"tape", "map", "tape:long.tap"});
        QCOMPARE(output.status, 1);
        QVERIFY(output.err.value(0).contains("longer than the read buffer"));
    }

    void createMarkSkipStatus()
    {
        Output output = obrio({"tape", "create", "new.tap", "--capacity", "50000"});
        QCOMPARE(output.out, QStringList{"Created SIMH tape image new.tap, capacity 50000 bytes"});
        QCOMPARE(obrio({"tape", "mark", "tape:new.tap", "3"}).out,
                 QStringList{"Wrote 3 file marks on VIRTUAL new.tap"});
        // The image stays where the marks left it.
        output = obrio({"tape", "status", "tape:new.tap"});
        QCOMPARE(output.status, 0);
        QVERIFY(output.out.contains("Position:        byte 12"));
    }

    void refusalsLeaveImagesAlone()
    {
        const QString full = image("full.tap", {100, -1});
        Output output = obrio({"tape", "create", "full.tap"});
        QCOMPARE(output.status, 1);
        QVERIFY(output.err.first().startsWith(" *** Error:   cannot create tape image full.tap"));
        QCOMPARE(QFileInfo(full).size(), 112);

        const QString locked = image("locked.tap", {100});
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner));
        output = obrio({"tape", "mark", "tape:locked.tap"});
        QCOMPARE(output.status, 1);
        QVERIFY(output.err.first().contains("write protected"));
        QCOMPARE(QFileInfo(locked).size(), 108);
    }

    // Usage errors (status 2, "obrio: ...") and device arguments that name no tape (status 1).
    void statusAndFirstLine_data()
    {
        obrtest::columns<QString, int, QString>({"arguments", "status", "line"});
        const auto usage = [](const char* name, const char* arguments) {
            QTest::newRow(name) << arguments << 2 << "obrio: ";
        };
        usage("no device", "tape map");
        usage("skip back beyond a SPACE", "tape skip tape:a.tap --blocks -8388608");
        const auto device = [](const char* name, const char* device, const QString& error) {
            QTest::newRow(name) << QStringLiteral("tape status ") + device << 1 << " *** Error:   " + error;
        };
        device("drive number", "tape:7", "there is no tape drive 7 (obrio tape list shows the drives)");
    }
    void statusAndFirstLine()
    {
        const auto [arguments, status, line] =
            obrtest::fetch<QString, int, QString>("arguments", "status", "line");
        const Output output = obrio(arguments.split(' '));
        QCOMPARE(output.status, status);
        QVERIFY(output.out.isEmpty());
        QCOMPARE(output.err.size(), 1);
        QVERIFY2(output.err.first().startsWith(line) && (status == 2 || output.err.first() == line),
                 qPrintable(output.err.first()));
    }

    // `tape list` on the configured road, images after the system's drives; a listed number addresses its
    // drive.
    void listFollowsTheRoadSetting()
    {
        QVERIFY(QDir().mkpath(home->filePath("Documents/krd/Tapes")));
        image("Documents/krd/Tapes/b.tif", {});
        image("Documents/krd/Tapes/a.tap", {});
        QVERIFY(QDir().mkpath(home->filePath(".config/Corvane")));
        QVERIFY(obrtest::writeFile(home->filePath(".config/Corvane/Trevalo.conf"),
                                   "[Tapes]\nUseScsiPassThrough=true\n"));
        const Output output = obrio({"tape", "list"});
        QVERIFY(output.status == 0 && output.out.size() >= 2);
        QVERIFY(output.out.at(output.out.size() - 2).endsWith(":0)            VIRTUAL a.tap"));
        const QString last = output.out.last();
        QVERIFY2(last.startsWith(QStringLiteral("tape:%1    (").arg(output.out.size() - 1)),
                 qPrintable(last));
        QVERIFY(last.endsWith(":1)            VIRTUAL b.tif"));
        const QString scsiId = last.section(' ', 1, 1, QString::SectionSkipEmpty);
        QCOMPARE(obrio({"tape", "status", last.left(last.indexOf(' '))}).out.first(),
                 "Drive:           " + scsiId + " VIRTUAL b.tif");
    }

private:
    using Output = obrtest::ObrioRun;
    Output obrio(const QStringList& arguments) { return obrtest::runObrio(home->path(), arguments); }

    QString image(const QString& name, const QList<int>& layout)
    {
        return obrtest::writeTapeLayout(home->filePath(name), layout, 1000000);
    }

    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioTape)
#include "tst_obrio_tape.moc"
