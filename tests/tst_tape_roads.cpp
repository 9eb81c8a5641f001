#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <memory>

// One behaviour suite for every road to a drive: the tape driver over a SIMH or a
// Tape-In-File image, and SCSI commands to the emulated target over either.
class TestTapeRoads : public QObject {
    Q_OBJECT
private slots:
    void readSemantics_data() { addRoads(); }
    void readSemantics();
    void readAtEndOfDataLeavesCounters_data() { addRoads(); }
    void readAtEndOfDataLeavesCounters();
    void skipMessages_data() { addRoads(); }
    void skipMessages();
    void skipBlocksStopsAtFileMark_data() { addRoads(); }
    void skipBlocksStopsAtFileMark();
    void reverseFileSkipEndsBeforeMark_data() { addRoads(); }
    void reverseFileSkipEndsBeforeMark();
    void zeroCountsDoNothing_data() { addRoads(); }
    void zeroCountsDoNothing();
    void oversizedWriteRefused_data() { addRoads(); }
    void oversizedWriteRefused();
    void blockLongerThanRequest_data() { addRoads(); }
    void blockLongerThanRequest();
    void earlyWarning_data() { addRoads(); }
    void earlyWarning();
    void writeProtection_data() { addRoads(); }
    void writeProtection();
    void noTape_data() { addRoads(); }
    void noTape();
    void blockLimitRule_data();
    void blockLimitRule();
    void appendAtEndOfData_data() { addRoads(); }
    void appendAtEndOfData();
    void eraseFromStart_data() { addRoads(); }
    void eraseFromStart();

private:
    enum Road { DriverSimh, DriverTif, ScsiSimh, ScsiTif };
    struct Drive {
        std::unique_ptr<TapeDriveList> list;
        TapeDevice* tape = nullptr;
        QString path;
    };

    static void addRoads();
    static bool scsi(int road) { return road == ScsiSimh || road == ScsiTif; }
    // A new image named `baseName` (the suffix follows the road) as the one drive of a registry.
    Drive makeDrive(int road, const QString& baseName = QStringLiteral("test"),
                    qint64 capacity = TapeImageSettings::defaultCapacity);
    static QByteArray pattern(int length, int seed);
    // Writes blocks of the given lengths; -1 stands for a file mark.
    static void writeTape(TapeDevice* tape, const QList<int>& layout);
    // Reads to the end of the data; each block's length, -1 for a file mark.
    static QList<int> readTape(TapeDevice* tape);

    QTemporaryDir dir;
    RecordingConsole console;
};

void TestTapeRoads::addRoads()
{
    QTest::addColumn<int>("road");
    QTest::newRow("driver road, SIMH") << int(DriverSimh);
    QTest::newRow("driver road, Tape-In-File") << int(DriverTif);
    QTest::newRow("SCSI road, SIMH") << int(ScsiSimh);
    QTest::newRow("SCSI road, Tape-In-File") << int(ScsiTif);
}

TestTapeRoads::Drive TestTapeRoads::makeDrive(int road, const QString& baseName, qint64 capacity)
{
    const bool tif = road == DriverTif || road == ScsiTif;
    Drive drive;
    drive.path = dir.filePath(baseName + (tif ? QStringLiteral(".tif") : QStringLiteral(".tap")));
    QFile::remove(drive.path);
    QFile::remove(TapeImageSettings::settingsPath(drive.path));
    QString errorText;
    if (!TapeImage::create(drive.path, tif ? TapeImage::Format::TapeInFile : TapeImage::Format::Simh,
                           capacity, &errorText))
        qFatal("%s", qPrintable(errorText));
    drive.list = std::make_unique<TapeDriveList>(&console, QStringList{drive.path},
                                                 scsi(road) ? TapeRoad::Scsi : TapeRoad::Driver);
    drive.tape = drive.list->drive(0);
    if (!drive.tape || !drive.tape->open(1))
        qFatal("the image drive could not be set up");
    console.clear();
    return drive;
}

QByteArray TestTapeRoads::pattern(int length, int seed)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed * 13) & 0xFF);
    return bytes;
}

void TestTapeRoads::writeTape(TapeDevice* tape, const QList<int>& layout)
{
    int seed = 0;
    for (const int length : layout) {
        if (length < 0)
            QVERIFY(tape->writeFileMarks(1));
        else
            QVERIFY(tape->write(pattern(length, ++seed).constData(), length));
    }
}

QList<int> TestTapeRoads::readTape(TapeDevice* tape)
{
    QList<int> layout;
    while (layout.size() < 1000) {
        if (!tape->readBlock())
            return layout << -999;
        if (tape->atEndOfData())
            return layout;
        layout << (tape->atFileMark() ? -1 : tape->bytesRead());
    }
    return layout;
}

void TestTapeRoads::readSemantics()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {100, 37, -1, 5});
    QCOMPARE(tape->fileNumber(), 2);
    QCOMPARE(tape->blockNumber(), 2);
    QVERIFY(tape->rewind());
    QCOMPARE(tape->fileNumber(), 1);
    console.clear();

    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 100);
    QCOMPARE(QByteArray(tape->buffer(), 100), pattern(100, 1));
    QCOMPARE(tape->blockNumber(), 2);
    QVERIFY(!tape->atFileMark());
    QVERIFY(!tape->atEnd());

    char odd[64] = {};
    QVERIFY(tape->read(odd, 64));
    QCOMPARE(tape->bytesRead(), 37);
    QCOMPARE(QByteArray(odd, 37), pattern(37, 2));
    QCOMPARE(tape->blockNumber(), 3);

    QVERIFY(tape->readBlock());
    QVERIFY(tape->atFileMark());
    QVERIFY(tape->atEnd());
    QCOMPARE(tape->bytesRead(), 0);
    QCOMPARE(tape->fileNumber(), 2);
    QCOMPARE(tape->blockNumber(), 1);

    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 5);
    QVERIFY(!tape->atFileMark());

    QVERIFY(tape->readBlock());
    QVERIFY(tape->atEndOfData());
    QVERIFY(!tape->atFileMark());
    QCOMPARE(tape->bytesRead(), 0);
    QCOMPARE(console.texts(RecordingConsole::LowLevel),
             QStringList({"Read 100 bytes", "Read 37 bytes", "Read EOF", "Read 5 bytes", "Read EOD"}));
    QVERIFY(console.errors().isEmpty());
}

void TestTapeRoads::readAtEndOfDataLeavesCounters()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    writeTape(drive.tape, {10, 10, -1, 10});
    QVERIFY(drive.tape->rewind());
    QCOMPARE(readTape(drive.tape), QList<int>({10, 10, -1, 10}));
    QCOMPARE(drive.tape->fileNumber(), 2);
    QCOMPARE(drive.tape->blockNumber(), 2);
    QVERIFY(drive.tape->readBlock());
    QVERIFY(drive.tape->atEndOfData());
    QCOMPARE(drive.tape->fileNumber(), 2);
    QCOMPARE(drive.tape->blockNumber(), 2);
}

void TestTapeRoads::skipMessages()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {11, 12, 13, 14, 15, -1, 21});
    QVERIFY(tape->rewind());
    console.clear();

    QVERIFY(tape->skipBlocks(1));
    QCOMPARE(tape->blockNumber(), 2);
    QVERIFY(tape->skipBlocks(3));
    QCOMPARE(tape->blockNumber(), 5);
    QVERIFY(tape->skipBlocks(-3));
    QCOMPARE(tape->blockNumber(), 2);
    QVERIFY(tape->skipFiles(1));
    QCOMPARE(tape->fileNumber(), 2);
    QCOMPARE(tape->blockNumber(), 1);
    const QString name = tape->name();
    QCOMPARE(name, QFileInfo(drive.path).fileName().prepend("VIRTUAL "));
    QCOMPARE(
        console.texts(RecordingConsole::LowLevel),
        QStringList({"1 block skipped forward on drive " + name, "3 blocks skipped forward on drive " + name,
                     "3 blocks skipped backward on drive " + name,
                     "1 file skipped forward on drive " + tape->displayLine()}));
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 21);

    // Back to the second block of the first file: three blocks back from the fifth.
    QVERIFY(tape->rewind());
    QVERIFY(tape->skipBlocks(4));
    QVERIFY(tape->skipBlocks(-3));
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 12);
}

void TestTapeRoads::skipBlocksStopsAtFileMark()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {11, 12, 13, -1, 21});
    QVERIFY(tape->rewind());
    console.clear();
    QVERIFY(!tape->skipBlocks(10));
    const QString expected = scsi(road)
                                 ? QStringLiteral("filemark encountered during tape search.")
                                 : "a filemark was reached during an operation on: " + tape->displayLine();
    QCOMPARE(console.errors(), QStringList{expected});
    // The tape stands past the mark, at the first block of the second file.
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 21);

    // Forward over the end of the data.
    console.clear();
    QVERIFY(!tape->skipBlocks(5));
    QCOMPARE(console.errors().size(), 1);
    QCOMPARE(console.errors().first(),
             scsi(road)
                 ? QStringLiteral("blank tape encountered during tape search.")
                 : "the end-of-data marker was reached during an operation on: " + tape->displayLine());
}

void TestTapeRoads::reverseFileSkipEndsBeforeMark()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {11, 12, -1, 21, 22, -1, 31});
    QVERIFY(tape->skipFiles(-1));
    QCOMPARE(tape->fileNumber(), 2);
    // Backward over a mark ends on its beginning-of-tape side: the next read meets the mark.
    QVERIFY(tape->readBlock());
    QVERIFY(tape->atFileMark());
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 31);

    console.clear();
    QVERIFY(!tape->skipFiles(-5));
    // The SCSI road counts the marks it passed before the beginning stopped it; the driver cannot tell.
    QCOMPARE(tape->fileNumber(), scsi(road) ? 1 : 3);
    QCOMPARE(console.errors().size(), 1);
    if (scsi(road))
        QCOMPARE(console.errors().first(),
                 QStringLiteral("beginning of tape encountered during tape search."));
    else
        QCOMPARE(console.errors().first(),
                 "an attempt to access data before the beginning-of-medium marker failed on: " +
                     tape->displayLine());
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 11);
}

void TestTapeRoads::zeroCountsDoNothing()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {11, 12});
    console.clear();
    const qint64 size = QFileInfo(drive.path).size();
    QVERIFY(tape->writeFileMarks(0));
    QVERIFY(tape->writeFileMarks(-2));
    QVERIFY(tape->skipBlocks(0));
    QVERIFY(tape->skipFiles(0));
    QCOMPARE(QFileInfo(drive.path).size(), size);
    QCOMPARE(tape->fileNumber(), 1);
    QCOMPARE(tape->blockNumber(), 3);
    QVERIFY(console.lines.isEmpty());
}

void TestTapeRoads::oversizedWriteRefused()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    const int maximum = tape->maxBlockSize();
    QCOMPARE(maximum, scsi(road) ? 524288 : 131072);
    const QByteArray block(maximum + 1, 'x');
    QVERIFY(!tape->write(block.constData(), block.size()));
    QCOMPARE(console.errors(), QStringList{"block size too large for drive " + tape->displayLine()});
    QVERIFY(console.lines.first().popup);
    QCOMPARE(QFileInfo(drive.path).size(), 0);
    QCOMPARE(tape->blockNumber(), 1);
    // The largest block the drive takes is written whole.
    QVERIFY(tape->write(block.constData(), maximum));
    QVERIFY(tape->rewind());
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), maximum);
}

void TestTapeRoads::blockLongerThanRequest()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {100, 7});
    QVERIFY(tape->rewind());
    console.clear();
    char small[10];
    QVERIFY(!tape->read(small, 10));
    const QString expected =
        scsi(road) ? QStringLiteral("block size (10) too large for drive.")
                   : "the block on tape is longer than the read buffer on: " + tape->displayLine();
    QCOMPARE(console.errors(), QStringList{expected});
    // The long block has been passed, as a drive passes it.
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 7);
}

void TestTapeRoads::earlyWarning()
{
    QFETCH(int, road);
    // 10,000 bytes: the early warning begins at 9,000, a 1,000-byte block takes 1,008 or 1,012.
    Drive drive = makeDrive(road, QStringLiteral("small"), 10000);
    TapeDevice* tape = drive.tape;
    const QByteArray block(1000, 'b');
    for (int i = 0; i < 8; ++i)
        QVERIFY(tape->write(block.constData(), block.size()));
    QVERIFY(!tape->atEndOfTape());
    QVERIFY(console.messages().isEmpty());

    QVERIFY(!tape->write(block.constData(), block.size()));
    QVERIFY(tape->atEndOfTape());
    QCOMPARE(console.messages(), QStringList{"EOT encountered on tape"});
    QVERIFY(console.errors().isEmpty());

    // No room for another block: it is refused and not written.
    console.clear();
    QVERIFY(!tape->write(block.constData(), block.size()));
    if (scsi(road)) {
        QCOMPARE(console.errors(), QStringList{"physical end of tape encountered during write."});
        QVERIFY(!tape->atEndOfTape());
    } else {
        QVERIFY(tape->atEndOfTape());
        QCOMPARE(console.messages(), QStringList{"EOT encountered on tape"});
    }
    QVERIFY(tape->rewind());
    QVERIFY(!tape->atEndOfTape());
    QCOMPARE(readTape(tape), QVector<int>(9, 1000).toList());
}

void TestTapeRoads::writeProtection()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    writeTape(drive.tape, {50, -1});
    drive.list.reset();
    const QByteArray before = [&] {
        QFile file(drive.path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QVERIFY(QFile::setPermissions(drive.path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    TapeDriveList list(&console, {drive.path}, scsi(road) ? TapeRoad::Scsi : TapeRoad::Driver);
    TapeDevice* tape = list.drive(0);
    QVERIFY(tape);
    console.clear();
    QVERIFY(!tape->open(1));
    QVERIFY(!tape->isOpen());
    if (scsi(road)) {
        QCOMPARE(console.errors(),
                 QStringList{"tape in drive \"" + tape->displayLine() + "\" is write protected."});
    } else {
        QCOMPARE(tape->status(), 19);
        QCOMPARE(console.errors(), QStringList{"the tape is write protected on: " + tape->displayLine()});
    }

    // Open for reading, a write still fails and leaves the image alone.
    QVERIFY(tape->open(0));
    console.clear();
    QVERIFY(!tape->write("abc", 3));
    QVERIFY(!tape->writeFileMarks(1));
    QVERIFY(!tape->erase());
    const QString refused = scsi(road) ? QStringLiteral("write failed. Tape is write protected.")
                                       : "the tape is write protected on: " + tape->displayLine();
    QCOMPARE(console.errors().first(), refused);
    QFile file(drive.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    // The tape is where the last user left it: behind the mark.
    QVERIFY(tape->readBlock());
    QVERIFY(tape->atEndOfData());
    QVERIFY(tape->rewind());
    QVERIFY(tape->readBlock());
    QCOMPARE(tape->bytesRead(), 50);
}

void TestTapeRoads::noTape()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {40, 41});
    QVERIFY(tape->unload());
    QCOMPARE(tape->blockNumber(), 1);
    QVERIFY(!tape->isReady());
    console.clear();
    QVERIFY(!tape->readBlock());
    const QString expected = scsi(road) ? QStringLiteral("error (2) occurred during read.")
                                        : "there is no tape in the drive on: " + tape->displayLine();
    QCOMPARE(console.errors(), QStringList{expected});
    if (!scsi(road))
        QCOMPARE(tape->status(), 1112);

    // The tape stays out for another registry too, until a drive opens it again.
    TapeDriveList other(&console, {drive.path}, TapeRoad::Driver);
    QVERIFY(other.drive(0));
    QVERIFY(!other.drive(0)->isReady());

    QVERIFY(tape->open(0));
    QVERIFY(tape->isReady());
    QCOMPARE(readTape(tape), QList<int>({40, 41}));
}

void TestTapeRoads::blockLimitRule_data()
{
    QTest::addColumn<int>("road");
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<bool>("limited");
    const QList<Road> roads = {DriverSimh, DriverTif, ScsiSimh, ScsiTif};
    const QStringList roadNames = {"driver/SIMH", "driver/TIF", "SCSI/SIMH", "SCSI/TIF"};
    for (int i = 0; i < roads.size(); ++i) {
        QTest::addRow("%s, 9914", qPrintable(roadNames[i])) << int(roads[i]) << "HP 9914" << true;
        QTest::addRow("%s, M-4", qPrintable(roadNames[i])) << int(roads[i]) << "M-4 drive" << true;
        QTest::addRow("%s, open reel", qPrintable(roadNames[i])) << int(roads[i]) << "OPEN REEL" << true;
        QTest::addRow("%s, lower-case m4", qPrintable(roadNames[i])) << int(roads[i]) << "m4 drive" << false;
        QTest::addRow("%s, LTO", qPrintable(roadNames[i])) << int(roads[i]) << "LTO" << false;
    }
}

void TestTapeRoads::blockLimitRule()
{
    QFETCH(int, road);
    QFETCH(QString, baseName);
    QFETCH(bool, limited);
    Drive drive = makeDrive(road, baseName);
    TapeDevice* tape = drive.tape;
    QCOMPARE(tape->blockLimit64000(), limited);
    const int driveMaximum = scsi(road) ? 524288 : 131072;
    QCOMPARE(tape->maxBlockSize(), limited ? 64000 : driveMaximum);
    const QByteArray block(64001, 'x');
    QCOMPARE(tape->write(block.constData(), 64001), !limited);
    QVERIFY(tape->write(block.constData(), 64000));

    // The M4 override limits any drive; taking it away gives the drive's own limit back.
    tape->setM4Option(true);
    tape->applyBlockSizeLimit();
    QVERIFY(tape->blockLimit64000());
    QCOMPARE(tape->maxBlockSize(), 64000);
    tape->setM4Option(false);
    tape->applyBlockSizeLimit();
    QCOMPARE(tape->maxBlockSize(), limited ? 64000 : driveMaximum);
}

void TestTapeRoads::appendAtEndOfData()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {10, -1, 20});
    QVERIFY(tape->rewind());
    QVERIFY(tape->skipToEndOfData());
    QVERIFY(tape->atEndOfData());
    QCOMPARE(tape->fileNumber(), -1);
    QCOMPARE(tape->blockNumber(), -1);
    writeTape(tape, {30, -1});
    QVERIFY(tape->rewind());
    QCOMPARE(readTape(tape), QList<int>({10, -1, 20, 30, -1}));

    // Writing in the middle drops everything after the new block.
    QVERIFY(tape->rewind());
    QVERIFY(tape->skipFiles(1));
    writeTape(tape, {44});
    QVERIFY(tape->rewind());
    QCOMPARE(readTape(tape), QList<int>({10, -1, 44}));
}

void TestTapeRoads::eraseFromStart()
{
    QFETCH(int, road);
    Drive drive = makeDrive(road);
    TapeDevice* tape = drive.tape;
    writeTape(tape, {10, -1, 20});
    QVERIFY(tape->rewind());
    QVERIFY(tape->skipBlocks(1));
    QVERIFY(tape->erase());
    QVERIFY(tape->rewind());
    QCOMPARE(readTape(tape), QList<int>({10}));
    QVERIFY(tape->rewind());
    QVERIFY(tape->erase());
    QCOMPARE(readTape(tape), QList<int>());
    QCOMPARE(QFileInfo(drive.path).size(), 0);
}

OBR_TEST_MAIN(TestTapeRoads)
#include "tst_tape_roads.moc"
