#include "devices/TapeImage.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <memory>

using Result = TapeImage::Result;
Q_DECLARE_METATYPE(TapeImage::Result)

// Tape image files, byte by byte: hand-built files of both formats read exactly,
// written files laid out exactly, and damaged or random files refused safely.
class TestTapeImages : public QObject {
    Q_OBJECT
private slots:
    void handBuiltSimhReadsBlockExact();
    void handBuiltTifReadsBlockExact();
    void writtenSimhLayout();
    void writtenTifLayout();
    void writtenImagesReadBack_data();
    void writtenImagesReadBack();
    void damagedSimh_data();
    void damagedSimh();
    void damagedTif_data();
    void damagedTif();
    void badRecordIsPassed();
    void randomFilesNeverCrash_data();
    void randomFilesNeverCrash();
    void settingsBesideImage();
    void createNeverReplaces();
    void offlineLastsUntilLoad();
    void positionKeptBetweenUses();

private:
    QString write(const QString& name, const QByteArray& bytes);
    std::unique_ptr<TapeImage> open(const QString& path);
    // Reads to the end: each record's bytes, "<mark>" for a tape mark, "<damaged>" when stopped by damage.
    static QList<QByteArray> readAll(TapeImage* image);

    QTemporaryDir dir;
};

namespace {

QByteArray le(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray simhRecord(const QByteArray& data)
{
    QByteArray record = le(static_cast<quint32>(data.size())) + data;
    if (data.size() & 1)
        record.append('\0');
    return record + le(static_cast<quint32>(data.size()));
}

QByteArray tifHeader(quint32 type, quint32 previous, quint32 next)
{
    return le(type) + le(previous) + le(next);
}

const QByteArray mark("<mark>");
const QByteArray damaged("<damaged>");

} // namespace

QString TestTapeImages::write(const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile::remove(TapeImageSettings::settingsPath(path));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

std::unique_ptr<TapeImage> TestTapeImages::open(const QString& path)
{
    QString errorText;
    auto image = TapeImage::open(path, &errorText);
    if (!image)
        qFatal("%s", qPrintable(errorText));
    return image;
}

QList<QByteArray> TestTapeImages::readAll(TapeImage* image)
{
    QList<QByteArray> items;
    QByteArray buffer(1 << 16, '\0');
    for (int guard = 0; guard < 100000; ++guard) {
        int length = 0;
        const Result result = image->readRecord(buffer.data(), buffer.size(), &length);
        if (result == Result::Ok)
            items << buffer.left(length);
        else if (result == Result::FileMark)
            items << mark;
        else if (result == Result::EndOfData)
            return items;
        else
            return items << damaged;
    }
    return items;
}

void TestTapeImages::handBuiltSimhReadsBlockExact()
{
    const QByteArray bytes = simhRecord("abc") + simhRecord("defg") + le(0) + le(0xFFFEFFFF) +
                             simhRecord("h") + le(0) + le(0xFFFFFFFF) +
                             QByteArray("left over after the end of medium");
    auto image = open(write("hand.tap", bytes));
    QCOMPARE(image->format(), TapeImage::Format::Simh);
    QCOMPARE(readAll(image.get()), QList<QByteArray>({"abc", "defg", mark, "h", mark}));
    QCOMPARE(image->position(), bytes.indexOf(le(0xFFFFFFFF)));

    // Backward: over the mark, the record and the erase gap before it, to the first mark.
    qint64 spaced = 0;
    QCOMPARE(image->spaceRecords(-5, &spaced), Result::FileMark);
    QCOMPARE(spaced, 0);
    QCOMPARE(image->spaceRecords(-5, &spaced), Result::FileMark);
    QCOMPARE(spaced, 1);
    QCOMPARE(image->position(), 24);
    QCOMPARE(image->spaceRecords(-5, &spaced), Result::BeginningOfTape);
    QCOMPARE(spaced, 2);
    QCOMPARE(image->position(), 0);
    QCOMPARE(image->spaceFileMarks(2, &spaced), Result::Ok);
    QCOMPARE(image->position(), bytes.indexOf(le(0xFFFFFFFF)));
}

void TestTapeImages::handBuiltTifReadsBlockExact()
{
    QByteArray bytes;
    bytes += tifHeader(0, 0, 15) + "abc";
    bytes += tifHeader(0, 0, 31) + "defg";
    bytes += tifHeader(1, 15, 43);
    bytes += tifHeader(0, 31, 57) + "hi";
    bytes += tifHeader(1, 43, 69);
    bytes += tifHeader(1, 57, 81);
    bytes += tifHeader(0, 69, 95) + "after the end";
    QCOMPARE(bytes.size(), 81 + 12 + 13);
    auto image = open(write("hand.tif", bytes));
    QCOMPARE(image->format(), TapeImage::Format::TapeInFile);
    // Two marks in a row end the data: the record behind them is not read.
    QCOMPARE(readAll(image.get()), QList<QByteArray>({"abc", "defg", mark, "hi", mark, mark}));
    QCOMPARE(image->position(), 81);

    qint64 spaced = 0;
    QCOMPARE(image->spaceFileMarks(-2, &spaced), Result::Ok);
    QCOMPARE(image->position(), 57);
    QCOMPARE(image->spaceRecords(-3, &spaced), Result::FileMark);
    QCOMPARE(spaced, 1);
    QCOMPARE(image->position(), 31);
    QCOMPARE(image->spaceToEndOfData(), Result::Ok);
    QCOMPARE(image->position(), 81);
}

void TestTapeImages::writtenSimhLayout()
{
    const QString path = write("layout.tap", QByteArray());
    auto image = open(path);
    QCOMPARE(image->writeRecord("abc", 3), Result::Ok);
    int written = 0;
    QCOMPARE(image->writeFileMarks(1, &written), Result::Ok);
    QCOMPARE(image->writeRecord("defg", 4), Result::Ok);
    image.reset();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The odd record is padded to an even length; the length words do not count the pad.
    QCOMPARE(file.readAll(), QByteArray::fromHex("03000000616263000300000000000000040000006465666704000000"));
}

void TestTapeImages::writtenTifLayout()
{
    const QString path = write("layout.tif", QByteArray());
    auto image = open(path);
    QCOMPARE(image->writeRecord("abc", 3), Result::Ok);
    int written = 0;
    QCOMPARE(image->writeFileMarks(2, &written), Result::Ok);
    QCOMPARE(written, 2);
    QCOMPARE(image->writeRecord("de", 2), Result::Ok);
    image.reset();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), tifHeader(0, 0, 15) + "abc" + tifHeader(1, 0, 27) + tifHeader(1, 15, 39) +
                                 tifHeader(0, 27, 53) + "de");
}

void TestTapeImages::writtenImagesReadBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("SIMH") << "roundtrip.tap";
    QTest::newRow("Tape-In-File") << "roundtrip.tif";
}

void TestTapeImages::writtenImagesReadBack()
{
    QFETCH(QString, name);
    auto image = open(write(name, QByteArray()));
    QRandomGenerator random(1234);
    QList<QByteArray> expected;
    for (int i = 0; i < 60; ++i) {
        if (i % 9 == 8) {
            int written = 0;
            QCOMPARE(image->writeFileMarks(1, &written), Result::Ok);
            expected << mark;
            continue;
        }
        QByteArray record(static_cast<int>(random.bounded(1, 3000)), '\0');
        for (char& byte : record)
            byte = static_cast<char>(random.bounded(256));
        QCOMPARE(image->writeRecord(record.constData(), record.size()), Result::Ok);
        expected << record;
    }
    const qint64 end = image->position();
    QCOMPARE(image->rewind(), Result::Ok);
    QCOMPARE(readAll(image.get()), expected);
    QCOMPARE(image->position(), end);

    // Walking back record by record reaches the start with every record and mark counted.
    qint64 records = 0;
    qint64 marks = 0;
    for (;;) {
        qint64 spaced = 0;
        const Result result = image->spaceRecords(-1000, &spaced);
        records += spaced;
        if (result == Result::FileMark)
            ++marks;
        else
            break;
    }
    QCOMPARE(image->position(), 0);
    QCOMPARE(records + marks, expected.size());
    QCOMPARE(marks, expected.count(mark));
}

void TestTapeImages::damagedSimh_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("goodRecords");
    QTest::newRow("record cut short") << simhRecord("abcd") + le(100) + QByteArray(50, 'x') << 1;
    QTest::newRow("trailing length differs")
        << simhRecord("ab") + le(3) + "abc" + QByteArray(1, '\0') + le(4) << 1;
    QTest::newRow("length word cut short") << simhRecord("ab") + QByteArray("\x05\x00", 2) << 1;
    QTest::newRow("private marker class") << le(0x70000005) + QByteArray(20, 'x') << 0;
    QTest::newRow("reserved class") << simhRecord("xy") + le(0x30000002) + "ab" + le(0x30000002) << 1;
    QTest::newRow("huge length") << le(0x0FFFFFFF) + QByteArray(16, 'x') << 0;
}

void TestTapeImages::damagedSimh()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, goodRecords);
    auto image = open(write("damaged.tap", bytes));
    const QList<QByteArray> items = readAll(image.get());
    QCOMPARE(items.size(), goodRecords + 1);
    QCOMPARE(items.last(), damaged);
    // A damaged element stops the tape where it is, for reading and spacing alike.
    const qint64 stuck = image->position();
    qint64 spaced = 0;
    QCOMPARE(image->spaceRecords(1, &spaced), Result::Damaged);
    QCOMPARE(image->spaceToEndOfData(), Result::Damaged);
    QCOMPARE(image->position(), stuck);
    // Writing over the damage repairs the tape from there on.
    QCOMPARE(image->writeRecord("new", 3), Result::Ok);
    QCOMPARE(image->rewind(), Result::Ok);
    QCOMPARE(readAll(image.get()).last(), QByteArray("new"));
}

void TestTapeImages::damagedTif_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("goodRecords");
    const QByteArray first = tifHeader(0, 0, 15) + "abc";
    QTest::newRow("next header behind") << first + tifHeader(0, 0, 10) + "xyz" << 1;
    QTest::newRow("next header beyond the file") << first + tifHeader(0, 0, 500) + "xyz" << 1;
    QTest::newRow("unknown type") << first + tifHeader(7, 0, 30) + "xyz" << 1;
    QTest::newRow("header cut short") << first + QByteArray(7, '\0') << 1;
    QTest::newRow("empty record") << tifHeader(0, 0, 12) + first << 0;
    QTest::newRow("previous header ahead") << tifHeader(0, 40, 15) + "abc" << 0;
}

void TestTapeImages::damagedTif()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, goodRecords);
    auto image = open(write("damaged.tif", bytes));
    const QList<QByteArray> items = readAll(image.get());
    QCOMPARE(items.size(), goodRecords + 1);
    QCOMPARE(items.last(), damaged);
    const qint64 stuck = image->position();
    qint64 spaced = 0;
    QCOMPARE(image->spaceFileMarks(1, &spaced), Result::Damaged);
    QCOMPARE(image->position(), stuck);
}

void TestTapeImages::badRecordIsPassed()
{
    // A record flagged bad by the program that wrote it: an error, and the tape moves past it.
    const QByteArray bytes = le(0x80000002) + "ab" + le(0x80000002) + simhRecord("ok");
    auto image = open(write("bad.tap", bytes));
    char buffer[16];
    int length = 0;
    QCOMPARE(image->readRecord(buffer, 16, &length), Result::Damaged);
    QCOMPARE(image->readRecord(buffer, 16, &length), Result::Ok);
    QCOMPARE(QByteArray(buffer, length), QByteArray("ok"));
    qint64 spaced = 0;
    QCOMPARE(image->spaceRecords(-2, &spaced), Result::Ok);
    QCOMPARE(image->position(), 0);
}

void TestTapeImages::randomFilesNeverCrash_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("SIMH") << "tap";
    QTest::newRow("Tape-In-File") << "tif";
}

void TestTapeImages::randomFilesNeverCrash()
{
    QFETCH(QString, suffix);
    QRandomGenerator random(99);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(static_cast<int>(random.bounded(0, 400)), '\0');
        for (char& byte : bytes) {
            // Small values make plausible lengths and types now and then.
            byte = static_cast<char>(random.bounded(4) == 0 ? random.bounded(256) : random.bounded(3));
        }
        auto image = open(write(QStringLiteral("random.") + suffix, bytes));
        readAll(image.get());
        qint64 spaced = 0;
        image->spaceRecords(-100, &spaced);
        image->spaceFileMarks(3, &spaced);
        image->spaceFileMarks(-3, &spaced);
        image->spaceToEndOfData();
        QVERIFY(image->position() >= 0);
        QVERIFY(image->position() <= bytes.size());
    }
}

void TestTapeImages::settingsBesideImage()
{
    QString errorText;
    const QString path = dir.filePath("sized.tap");
    QVERIFY2(TapeImage::create(path, TapeImage::Format::TapeInFile, 5000, &errorText), qPrintable(errorText));
    auto image = open(path);
    // The settings, not the suffix, tell the format of a created image.
    QCOMPARE(image->format(), TapeImage::Format::TapeInFile);
    QCOMPARE(image->capacity(), 5000);
    QCOMPARE(image->earlyWarningPosition(), 4500);

    // Without settings: the suffix decides and the capacity is the default, within what the format addresses.
    auto plain = open(write("plain.tif", QByteArray()));
    QCOMPARE(plain->format(), TapeImage::Format::TapeInFile);
    QCOMPARE(plain->capacity(), 0xFFFFFFFFLL);
    auto simh = open(write("plain.tap", QByteArray()));
    QCOMPARE(simh->capacity(), TapeImageSettings::defaultCapacity);
    QCOMPARE(simh->earlyWarningPosition(), TapeImageSettings::defaultCapacity - (64LL << 20));
    QVERIFY(!TapeImage::create(dir.filePath("zero.tap"), TapeImage::Format::Simh, 0, &errorText));
}

void TestTapeImages::createNeverReplaces()
{
    const QString path = write("precious.tap", simhRecord("keep me"));
    QString errorText;
    QVERIFY(!TapeImage::create(path, TapeImage::Format::Simh, 1000, &errorText));
    QVERIFY(errorText.contains(path));
    auto image = open(path);
    QCOMPARE(readAll(image.get()), QList<QByteArray>({"keep me"}));
}

void TestTapeImages::offlineLastsUntilLoad()
{
    const QString path = write("offline.tap", simhRecord("data"));
    auto image = open(path);
    QCOMPARE(image->unload(), Result::Ok);
    char buffer[8];
    int length = 0;
    QCOMPARE(image->readRecord(buffer, 8, &length), Result::Offline);
    QCOMPARE(image->writeRecord("x", 1), Result::Offline);
    QVERIFY(!open(path)->loaded());
    QCOMPARE(image->load(), Result::Ok);
    QVERIFY(open(path)->loaded());
    QCOMPARE(image->readRecord(buffer, 8, &length), Result::Ok);
}

void TestTapeImages::positionKeptBetweenUses()
{
    const QString path =
        write("kept.tif", tifHeader(0, 0, 13) + "a" + tifHeader(1, 0, 25) + tifHeader(0, 13, 39) + "bc");
    auto image = open(path);
    qint64 spaced = 0;
    QCOMPARE(image->spaceFileMarks(1, &spaced), Result::Ok);
    image.reset();
    image = open(path);
    QCOMPARE(image->position(), 25);
    QCOMPARE(readAll(image.get()), QList<QByteArray>({"bc"}));
    // Backward from a restored position finds the element before it.
    QCOMPARE(image->spaceRecords(-2, &spaced), Result::FileMark);
    QCOMPARE(image->position(), 13);
    image.reset();

    // Another program changed the file: the tape is taken from its beginning.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(tifHeader(1, 25, 51));
    file.close();
    QCOMPARE(open(path)->position(), 0);
}

OBR_TEST_MAIN(TestTapeImages)
#include "tst_tape_images.moc"
