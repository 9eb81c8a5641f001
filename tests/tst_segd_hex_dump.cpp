#include "analyzers/SegdHexDump.h"
#include "devices/DiskDevice.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QFile>

namespace {

QByteArray counting(int count, int first = 0)
{
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = char(first + i);
    return bytes;
}

} // namespace

class TestSegdHexDump : public QObject {
    Q_OBJECT
private slots:
    void fortyBytesFromTheFirst()
    {
        const QString expected =
            "Bytes 1 - 40\n"
            "\n"
            "  0   00010203 04050607 08090a0b 0c0d0e0f 10111213 14151617 18191a1b 1c1d1e1f \n"
            " 32   20212223 24252627 \n";
        QCOMPARE(SegdHexDump::text(counting(40), 1), expected);
    }

    void hundredBytesTakeAFourCharacterOffset()
    {
        const QStringList lines = SegdHexDump::text(counting(100, 0xA0), 1).split('\n');
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QString("Bytes 1 - 100"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2].left(7), QString("   0   "));
        QCOMPARE(lines[3].left(7), QString("  32   "));
        QCOMPARE(lines[4].left(7), QString("  64   "));
        QCOMPARE(lines[5], QString("  96   00010203 "));
        QCOMPARE(lines[2].mid(7, 18), QString("a0a1a2a3 a4a5a6a7 "));
        QCOMPARE(lines[6], QString());
    }

    void offsetsCountFromTheStart()
    {
        const QStringList lines = SegdHexDump::text(counting(33), 1001).split('\n');
        QCOMPARE(lines[0], QString("Bytes 1001 - 1033"));
        QCOMPARE(lines[2].left(7), QString("1000   "));
        QCOMPARE(lines[3], QString("1032   20"));
    }

    void offsetWidthGrowsWithTheCount_data()
    {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<int>("width");
        QTest::newRow("1") << qint64(1) << 3;
        QTest::newRow("99") << qint64(99) << 3;
        QTest::newRow("100") << qint64(100) << 4;
        QTest::newRow("9999") << qint64(9999) << 5;
        QTest::newRow("10000") << qint64(10000) << 6;
        QTest::newRow("999999") << qint64(999999) << 7;
        QTest::newRow("1000000") << qint64(1000000) << 8;
        QTest::newRow("5e9") << qint64(5000000000) << 8;
    }
    void offsetWidthGrowsWithTheCount()
    {
        QFETCH(qint64, count);
        QFETCH(int, width);
        QCOMPARE(SegdHexDump::offsetWidth(count), width);
    }

    void readsTheRangeOfAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("f.segd");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(counting(200));
        file.close();
        RecordingConsole console;
        DiskDevice device(&console, path, 0);
        QVERIFY(device.ok());

        QByteArray bytes;
        QCOMPARE(SegdHexDump::read(device, 11, 190, bytes), SegdHexDump::ReadResult::Read);
        QCOMPARE(bytes, counting(190, 10));
        QCOMPARE(SegdHexDump::read(device, 1, 200, bytes), SegdHexDump::ReadResult::Read);
        QCOMPARE(bytes.size(), 200);

        // Past the end, before the start, or nothing at all: refused and empty.
        QCOMPARE(SegdHexDump::read(device, 11, 191, bytes), SegdHexDump::ReadResult::Failed);
        QVERIFY(bytes.isEmpty());
        QCOMPARE(SegdHexDump::read(device, 201, 1, bytes), SegdHexDump::ReadResult::Failed);
        QCOMPARE(SegdHexDump::read(device, 0, 10, bytes), SegdHexDump::ReadResult::Failed);
        QCOMPARE(SegdHexDump::read(device, 1, 0, bytes), SegdHexDump::ReadResult::Failed);
        QCOMPARE(SegdHexDump::read(device, 1, -5, bytes), SegdHexDump::ReadResult::Failed);
    }
};

OBR_TEST_MAIN(TestSegdHexDump)
#include "tst_segd_hex_dump.moc"
