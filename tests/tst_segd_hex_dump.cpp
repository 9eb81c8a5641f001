#include "analyzers/SegdHexDump.h"
#include "devices/DiskDevice.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>

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
    void text()
    {
        QCOMPARE(SegdHexDump::text(counting(40), 1),
                 QString("Bytes 1 - 40\n"
                         "\n"
                         "  0   00010203 04050607 08090a0b 0c0d0e0f 10111213 14151617 18191a1b 1c1d1e1f \n"
                         " 32   20212223 24252627 \n"));
        // The offsets count from the start and take the width of the largest.
        const QStringList lines = SegdHexDump::text(counting(100, 0xA0), 1001).split('\n');
        QCOMPARE(lines[0], QString("Bytes 1001 - 1100"));
        QCOMPARE(lines[2].left(25), QString("1000   a0a1a2a3 a4a5a6a7 "));
        QCOMPARE(lines[5], QString("1096   00010203 "));
    }

    void offsetWidthGrowsWithTheCount()
    {
        const std::pair<qint64, int> widths[] = {{99, 3},     {100, 4},     {9999, 5},      {10000, 6},
                                                 {999999, 7}, {1000000, 8}, {5000000000, 8}};
        for (const auto& [count, width] : widths)
            QCOMPARE(SegdHexDump::offsetWidth(count), width);
    }

    void readsTheRangeOfAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("f.segd");
        QVERIFY(obrtest::writeFile(path, counting(200)));
        RecordingConsole console;
        DiskDevice device(&console, path, 0);
        QVERIFY(device.ok());

        QByteArray bytes;
        QCOMPARE(SegdHexDump::read(device, 11, 190, bytes), SegdHexDump::ReadResult::Read);
        QCOMPARE(bytes, counting(190, 10));

        // Past the end, before the start, or nothing at all: refused and empty.
        QCOMPARE(SegdHexDump::read(device, 11, 191, bytes), SegdHexDump::ReadResult::Failed);
        QVERIFY(bytes.isEmpty());
        for (const auto& [start, count] : {std::pair{201, 1}, {0, 10}, {1, 0}, {1, -5}})
            QCOMPARE(SegdHexDump::read(device, start, count, bytes), SegdHexDump::ReadResult::Failed);
    }
};

OBR_TEST_MAIN(TestSegdHexDump)
#include "tst_segd_hex_dump.moc"
