#include "devices/TapeImage.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <memory>

using Result = TapeImage::Result;

namespace {

QByteArray le(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray simhRecord(const QByteArray& data)
{
    return le(quint32(data.size())) + data + QByteArray(data.size() & 1, '\0') + le(quint32(data.size()));
}

QByteArray tifHeader(quint32 type, quint32 previous, quint32 next)
{
    return le(type) + le(previous) + le(next);
}

const QByteArray mark("<mark>");
const QByteArray damage("<damaged>");

} // namespace

// Tape image files, byte by byte: hand-built files of both formats read exactly,
// written files laid out exactly, and damaged or random files refused safely.
class TestTapeImages : public QObject {
    Q_OBJECT
private slots:
    void handBuiltSimhReadsBlockExact()
    {
        const QByteArray bytes = simhRecord("abc") + simhRecord("defg") + le(0) + le(0xFFFEFFFF) +
                                 simhRecord("h") + le(0) + le(0xFFFFFFFF) + QByteArray("left over");
        auto image = open(write("hand.tap", bytes));
        QCOMPARE(readAll(image.get()), QList<QByteArray>({"abc", "defg", mark, "h", mark}));
        const qint64 end = bytes.indexOf(le(0xFFFFFFFF));
        QCOMPARE(image->position(), end);
        // Backward: over the mark, the record and the erase gap before it, to the first mark.
        QCOMPARE(spaced(image->spaceRecords(-5, &count)), qMakePair(Result::FileMark, qint64(0)));
        QCOMPARE(spaced(image->spaceRecords(-5, &count)), qMakePair(Result::FileMark, qint64(1)));
        QCOMPARE(image->position(), 24);
    }

    void handBuiltTifReadsBlockExact()
    {
        const QByteArray bytes = tifHeader(0, 0, 15) + "abc" + tifHeader(0, 0, 31) + "defg" +
                                 tifHeader(1, 15, 43) + tifHeader(0, 31, 57) + "hi" + tifHeader(1, 43, 69) +
                                 tifHeader(1, 57, 81) + tifHeader(0, 69, 95) + "after the end";
        auto image = open(write("hand.tif", bytes));
        // Two marks in a row end the data: the record behind them is not read.
        QCOMPARE(readAll(image.get()), QList<QByteArray>({"abc", "defg", mark, "hi", mark, mark}));
        QCOMPARE(image->position(), 81);
        QCOMPARE(image->spaceFileMarks(-2, &count), Result::Ok);
        QCOMPARE(image->position(), 57);
        QCOMPARE(spaced(image->spaceRecords(-3, &count)), qMakePair(Result::FileMark, qint64(1)));
        QCOMPARE(image->position(), 31);
        QCOMPARE(image->spaceToEndOfData(), Result::Ok);
        QCOMPARE(image->position(), 81);
    }

    void writtenLayout_data()
    {
        obrtest::columns<QString, QByteArray>({"name", "bytes"});
        // An odd record is padded to an even length; the length words do not count the pad.
        QTest::newRow("SIMH") << "layout.tap" << simhRecord("abc") + le(0) + le(0) + simhRecord("de");
        QTest::newRow("Tape-In-File") << "layout.tif"
                                      << tifHeader(0, 0, 15) + "abc" + tifHeader(1, 0, 27) +
                                             tifHeader(1, 15, 39) + tifHeader(0, 27, 53) + "de";
    }
    void writtenLayout()
    {
        const auto [name, bytes] = obrtest::fetch<QString, QByteArray>("name", "bytes");
        const QString path = write(name, QByteArray());
        auto image = open(path);
        int written = 0;
        QCOMPARE(image->writeRecord("abc", 3), Result::Ok);
        QCOMPARE(image->writeFileMarks(2, &written), Result::Ok);
        QCOMPARE(written, 2);
        QCOMPARE(image->writeRecord("de", 2), Result::Ok);
        image.reset();
        QCOMPARE(obrtest::readFile(path).toHex(), bytes.toHex());
    }

    void damaged_data()
    {
        obrtest::columns<QString, QByteArray, int>({"suffix", "bytes", "goodRecords"});
        const QByteArray tif = tifHeader(0, 0, 15) + "abc";
        const auto row = [](const char* name, const char* suffix, const QByteArray& bytes, int good) {
            QTest::newRow(name) << suffix << bytes << good;
        };
        row("SIMH record cut short", "tap", simhRecord("abcd") + le(100) + QByteArray(50, 'x'), 1);
        row("SIMH trailing length differs", "tap", simhRecord("ab") + le(3) + "abc" + '\0' + le(4), 1);
        row("SIMH reserved class", "tap", simhRecord("xy") + le(0x30000002) + "ab" + le(0x30000002), 1);
        row("TIF next header behind", "tif", tif + tifHeader(0, 0, 10) + "xyz", 1);
        row("TIF unknown type", "tif", tif + tifHeader(7, 0, 30) + "xyz", 1);
        row("TIF mark with an extent", "tif", tif + tifHeader(1, 0, 30) + "xyz", 1);
        row("TIF empty record", "tif", tifHeader(0, 0, 12) + tif, 0);
    }
    void damaged()
    {
        const auto [suffix, bytes, goodRecords] =
            obrtest::fetch<QString, QByteArray, int>("suffix", "bytes", "goodRecords");
        auto image = open(write("damaged." + suffix, bytes));
        const QList<QByteArray> items = readAll(image.get());
        QCOMPARE(items.size(), goodRecords + 1);
        QCOMPARE(items.last(), damage);
        // A damaged element stops the tape where it is, for reading and spacing alike.
        const qint64 stuck = image->position();
        QCOMPARE(image->spaceRecords(1, &count), Result::Damaged);
        QCOMPARE(image->spaceFileMarks(1, &count), Result::Damaged);
        QCOMPARE(image->spaceToEndOfData(), Result::Damaged);
        QCOMPARE(image->position(), stuck);
        // Writing over the damage repairs the tape from there on.
        QCOMPARE(image->writeRecord("new", 3), Result::Ok);
        QCOMPARE(image->rewind(), Result::Ok);
        QCOMPARE(readAll(image.get()).last(), QByteArray("new"));
    }

    void randomFilesNeverCrash()
    {
        QRandomGenerator random(99);
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes(int(random.bounded(0, 400)), '\0');
            // Small values make plausible lengths and types now and then.
            for (char& byte : bytes)
                byte = char(random.bounded(4) == 0 ? random.bounded(256) : random.bounded(3));
            auto image = open(write(round % 2 ? "random.tap" : "random.tif", bytes));
            readAll(image.get());
            image->spaceRecords(-100, &count);
            image->spaceFileMarks(3, &count);
            image->spaceFileMarks(-3, &count);
            image->spaceToEndOfData();
            QVERIFY(image->position() >= 0 && image->position() <= bytes.size());
        }
    }

    void positionKeptBetweenUses()
    {
        const QString path =
            write("kept.tif", tifHeader(0, 0, 13) + "a" + tifHeader(1, 0, 25) + tifHeader(0, 13, 39) + "bc");
        QCOMPARE(open(path)->spaceFileMarks(1, &count), Result::Ok);
        auto image = open(path);
        QCOMPARE(image->position(), 25);
        QCOMPARE(readAll(image.get()), QList<QByteArray>({"bc"}));
        image.reset();
        // Another program changed the file: the tape is taken from its beginning.
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append) && file.write(tifHeader(1, 25, 51)) == 12);
        file.close();
        QCOMPARE(open(path)->position(), 0);
        // A stored position inside a block (the settings of another image, say) is not taken.
        const QString inside = write("inside.tif", tifHeader(0, 0, 13) + "a" + tifHeader(0, 0, 27) + "bc");
        TapeImageSettings settings = TapeImageSettings::load(inside);
        settings.position = 20;
        settings.positionFileSize = 27;
        QVERIFY(settings.save(inside));
        QCOMPARE(open(inside)->position(), 0);
        settings.position = 13;
        QVERIFY(settings.save(inside));
        QCOMPARE(open(inside)->position(), 13);
    }

    void recordBeyondIntIsRefused()
    {
        // A sparse file: a Tape-In-File record of 2 GiB + 4 bytes costs no disk.
        const qint64 length = (qint64(1) << 31) + 4;
        const QString path = write("huge.tif", tifHeader(0, 0, quint32(12 + length)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(12 + length));
        file.close();
        auto image = open(path);
        char buffer[16];
        int recordLength = -1;
        QCOMPARE(image->readRecord(buffer, sizeof buffer, &recordLength), Result::Damaged);
        QCOMPARE(recordLength, 0);
        QCOMPARE(image->position(), 0);
    }

private:
    QPair<Result, qint64> spaced(Result result) const { return {result, count}; }
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile::remove(TapeImageSettings::settingsPath(path));
        if (!obrtest::writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    static std::unique_ptr<TapeImage> open(const QString& path)
    {
        QString errorText;
        auto image = TapeImage::open(path, &errorText);
        if (!image)
            qFatal("%s", qPrintable(errorText));
        return image;
    }
    // Reads to the end: each record's bytes, "<mark>" for a tape mark, "<damaged>" when stopped by damage.
    static QList<QByteArray> readAll(TapeImage* image)
    {
        QList<QByteArray> items;
        QByteArray buffer(1 << 16, '\0');
        while (items.size() < 100000 && (items.isEmpty() || items.last() != damage)) {
            int length = 0;
            const Result result = image->readRecord(buffer.data(), buffer.size(), &length);
            if (result == Result::EndOfData)
                break;
            items << (result == Result::Ok         ? buffer.left(length)
                      : result == Result::FileMark ? mark
                                                   : damage);
        }
        return items;
    }

    QTemporaryDir dir;
    qint64 count = 0; // what the last space passed
};

OBR_TEST_MAIN(TestTapeImages)
#include "tst_tape_images.moc"
