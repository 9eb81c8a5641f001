#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <memory>

// One behaviour suite for every road to a drive: the tape driver over a SIMH or a
// Tape-In-File image, and SCSI commands to the emulated target over either.
class TestTapeRoads : public QObject {
    Q_OBJECT
private slots:
    void readSemantics_data() { addRoads(); }
    void readSemantics()
    {
        TapeDevice* tape = makeDrive();
        writeTape({100, 37, -1, 5});
        QVERIFY(tape->rewind());
        QCOMPARE(tape->fileNumber(), 1);
        console.clear();

        // A block longer than the request is an error, and passed as a drive passes it.
        char small[10];
        QVERIFY(!tape->read(small, 10));
        console.clear();
        char odd[64] = {};
        QVERIFY(tape->read(odd, 64));
        QCOMPARE(tape->bytesRead(), 37);
        QCOMPARE(QByteArray(odd, 37), pattern(37, 2));
        QVERIFY(!tape->atFileMark() && !tape->atEnd());

        QVERIFY(tape->readBlock());
        QVERIFY(tape->atFileMark() && tape->atEnd());
        QCOMPARE(tape->bytesRead(), 0);
        QCOMPARE(position(), (QPair<int, int>(2, 1)));
        QVERIFY(tape->readBlock());
        QCOMPARE(QByteArray(tape->buffer(), tape->bytesRead()), pattern(5, 3));
        QVERIFY(!tape->atFileMark());

        // At the end of the data the counters stay, however often it is read.
        for (int i = 0; i < 2; ++i) {
            QVERIFY(tape->readBlock());
            QVERIFY(tape->atEndOfData() && !tape->atFileMark());
            QCOMPARE(tape->bytesRead(), 0);
            QCOMPARE(position(), (QPair<int, int>(2, 2)));
        }
    }

    void skips_data() { addRoads(); }
    void skips()
    {
        TapeDevice* tape = makeDrive();
        writeTape({11, 12, 13, 14, 15, -1, 21, 22, -1, 31});
        // Counts of 0 (or less, for marks) do nothing.
        console.clear();
        const qint64 size = QFileInfo(path).size();
        QVERIFY(tape->writeFileMarks(0) && tape->writeFileMarks(-2) && tape->skipBlocks(0) &&
                tape->skipFiles(0));
        QCOMPARE(QFileInfo(path).size(), size);
        QCOMPARE(position(), (QPair<int, int>(3, 2)));

        QVERIFY(tape->skipFiles(-1));
        QCOMPARE(tape->fileNumber(), 2);
        // Backward over a mark ends on its beginning-of-tape side: the next read meets the mark.
        QVERIFY(tape->readBlock() && tape->atFileMark());
        QVERIFY(tape->readBlock());
        QCOMPARE(tape->bytesRead(), 31);

        QVERIFY(!tape->skipFiles(-5));
        // The SCSI road counts the marks it passed before the beginning stopped it; the driver cannot tell.
        QCOMPARE(tape->fileNumber(), scsi() ? 1 : 3);
        QVERIFY(tape->readBlock());
        QCOMPARE(tape->bytesRead(), 11);

        QVERIFY(tape->rewind() && tape->skipBlocks(1) && tape->skipBlocks(3));
        QCOMPARE(tape->blockNumber(), 5);
        QVERIFY(tape->skipBlocks(-3));
        QCOMPARE(tape->blockNumber(), 2);
        QVERIFY(tape->readBlock());
        QCOMPARE(tape->bytesRead(), 12);
        QVERIFY(tape->skipFiles(1));
        QCOMPARE(position(), (QPair<int, int>(2, 1)));

        // A block skip stops past the mark it meets, at the first block of the next file.
        QVERIFY(!tape->skipBlocks(10));
        QVERIFY(tape->readBlock());
        QCOMPARE(tape->bytesRead(), 31);
        QVERIFY(!tape->skipBlocks(5));
    }

    // The largest block a drive takes, and the 64,000-byte limit of drives named "9914", "M-4" or "OPEN
    // REEL": on one road, as the others share the code above the driver.
    void blockLimits_data()
    {
        obrtest::columns<int, QString, bool>({"road", "baseName", "limited"});
        QTest::newRow("9914") << int(DriverSimh) << "HP 9914" << true;
        QTest::newRow("lower-case m4") << int(DriverSimh) << "m4 drive" << false;
        QTest::newRow("M-4") << int(DriverSimh) << "M-4 drive" << true;
    }
    void blockLimits()
    {
        const auto [baseName, limited] = obrtest::fetch<QString, bool>("baseName", "limited");
        TapeDevice* tape = makeDrive(baseName);
        QCOMPARE(tape->blockLimit64000(), limited);
        const int maximum = tape->maxBlockSize();
        QCOMPARE(maximum, limited ? 64000 : 131072);
        const QByteArray block(maximum + 1, 'x');
        QVERIFY(!tape->write(block.constData(), block.size()));
        QCOMPARE(QFileInfo(path).size(), 0);
        // The largest block the drive takes is written whole.
        QVERIFY(tape->write(block.constData(), maximum));
        QVERIFY(tape->rewind());
        QVERIFY(tape->readBlock());
        QCOMPARE(tape->bytesRead(), maximum);

        // Taking the M4 override away gives the drive its own limit back.
        tape->setM4Option(true);
        tape->applyBlockSizeLimit();
        tape->setM4Option(false);
        tape->applyBlockSizeLimit();
        QCOMPARE(tape->maxBlockSize(), maximum);
    }

    void earlyWarning_data() { addRoads(); }
    void earlyWarning()
    {
        // 10,000 bytes: the early warning begins at 9,000, a 1,000-byte block takes 1,008 or 1,012.
        TapeDevice* tape = makeDrive(QStringLiteral("small"), 10000);
        const QByteArray block(1000, 'b');
        for (int i = 0; i < 8; ++i)
            QVERIFY(tape->write(block.constData(), block.size()));
        QVERIFY(!tape->atEndOfTape() && console.messages().isEmpty());
        QVERIFY(!tape->write(block.constData(), block.size()));
        QVERIFY(tape->atEndOfTape());

        // No room for another block: it is refused and not written.
        console.clear();
        QVERIFY(!tape->write(block.constData(), block.size()));
        QCOMPARE(tape->atEndOfTape(), !scsi());
        QVERIFY(tape->rewind() && !tape->atEndOfTape());
        QCOMPARE(readTape(), QVector<int>(9, 1000).toList());
    }

    void writeProtection_data() { addRoads(); }
    void writeProtection()
    {
        makeDrive();
        writeTape({50, -1});
        list.reset();
        const QByteArray before = obrtest::readFile(path);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        list = std::make_unique<TapeDriveList>(&console, QStringList{path},
                                               scsi() ? TapeRoad::Scsi : TapeRoad::Driver);
        TapeDevice* tape = list->drive(0);
        QVERIFY(tape);
        console.clear();
        QVERIFY(!tape->open(1) && !tape->isOpen());

        // Open for reading, a write still fails and leaves the image alone.
        QVERIFY(tape->open(0));
        QVERIFY(!tape->write("abc", 3) && !tape->writeFileMarks(1) && !tape->erase());
        QCOMPARE(obrtest::readFile(path), before);
    }

    void writingCutsTheTape_data() { addRoads(); }
    void writingCutsTheTape()
    {
        TapeDevice* tape = makeDrive();
        writeTape({10, -1, 20});
        QVERIFY(tape->rewind() && tape->skipToEndOfData() && tape->atEndOfData());
        writeTape({30, -1});
        QVERIFY(tape->rewind());
        QCOMPARE(readTape(), QList<int>({10, -1, 20, 30, -1}));

        // Writing in the middle drops everything after the new block; so does an erase.
        QVERIFY(tape->rewind() && tape->skipFiles(1));
        writeTape({44});
        QVERIFY(tape->rewind());
        QCOMPARE(readTape(), QList<int>({10, -1, 44}));
        QVERIFY(tape->rewind() && tape->skipBlocks(1) && tape->erase() && tape->rewind());
        QCOMPARE(readTape(), QList<int>({10}));
    }

private:
    enum Road { DriverSimh, DriverTif, ScsiSimh, ScsiTif };

    static void addRoads()
    {
        QTest::addColumn<int>("road");
        QTest::newRow("driver road, SIMH") << int(DriverSimh);
        QTest::newRow("driver road, Tape-In-File") << int(DriverTif);
        QTest::newRow("SCSI road, SIMH") << int(ScsiSimh);
        QTest::newRow("SCSI road, Tape-In-File") << int(ScsiTif);
    }
    static int road() { return *static_cast<int*>(QTest::qData("road", qMetaTypeId<int>())); }
    static bool scsi() { return road() == ScsiSimh || road() == ScsiTif; }
    QPair<int, int> position() const { return {tape_->fileNumber(), tape_->blockNumber()}; }
    static QByteArray pattern(int length, int seed)
    {
        QByteArray bytes(length, '\0');
        for (int i = 0; i < length; ++i)
            bytes[i] = static_cast<char>((i * 7 + seed * 13) & 0xFF);
        return bytes;
    }
    // A new image named `baseName` (the suffix follows the road) as the one drive of a registry, open for
    // writing.
    TapeDevice* makeDrive(const QString& baseName = QStringLiteral("test"),
                          qint64 capacity = TapeImageSettings::defaultCapacity)
    {
        const bool tif = road() == DriverTif || road() == ScsiTif;
        path = dir.filePath(baseName + (tif ? QStringLiteral(".tif") : QStringLiteral(".tap")));
        list.reset();
        QFile::remove(path);
        QFile::remove(TapeImageSettings::settingsPath(path));
        QString errorText;
        if (!TapeImage::create(path, tif ? TapeImage::Format::TapeInFile : TapeImage::Format::Simh, capacity,
                               &errorText))
            qFatal("%s", qPrintable(errorText));
        list = std::make_unique<TapeDriveList>(&console, QStringList{path},
                                               scsi() ? TapeRoad::Scsi : TapeRoad::Driver);
        tape_ = list->drive(0);
        if (!tape_ || !tape_->open(1))
            qFatal("the image drive could not be set up");
        console.clear();
        return tape_;
    }
    // Writes blocks of the given lengths; -1 stands for a file mark.
    void writeTape(const QList<int>& layout)
    {
        int seed = 0;
        for (const int length : layout)
            QVERIFY(length < 0 ? tape_->writeFileMarks(1)
                               : tape_->write(pattern(length, ++seed).constData(), length));
    }
    // Reads to the end of the data; each block's length, -1 for a file mark, -999 for a failed read.
    QList<int> readTape()
    {
        QList<int> layout;
        bool read = true;
        while (layout.size() < 1000 && (read = tape_->readBlock()) && !tape_->atEndOfData())
            layout << (tape_->atFileMark() ? -1 : tape_->bytesRead());
        return read ? layout : layout << -999;
    }

    QTemporaryDir dir;
    RecordingConsole console;
    std::unique_ptr<TapeDriveList> list;
    TapeDevice* tape_ = nullptr;
    QString path;
};

OBR_TEST_MAIN(TestTapeRoads)
#include "tst_tape_roads.moc"
