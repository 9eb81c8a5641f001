#include "devices/DiskDevice.h"
#include "devices/MemoryDevice.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <algorithm>

namespace {

enum Operation { Read, ReadToBuffer, Write, WriteFromBuffer };

} // namespace

class TestDiskDevice : public QObject {
    Q_OBJECT
private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void modes_data()
    {
        obrtest::columns<unsigned, bool, bool, qint64>({"mode", "canRead", "canWrite", "sizeAtOpening"});
        QTest::newRow("0 read only") << 0u << true << false << qint64(6);
        QTest::newRow("5 write only") << 5u << false << true << qint64(0);
        QTest::newRow("4 read write, emptied") << 4u << false << true << qint64(0);
    }
    void modes()
    {
        const auto [mode, canRead, canWrite, sizeAtOpening] =
            obrtest::fetch<unsigned, bool, bool, qint64>("mode", "canRead", "canWrite", "sizeAtOpening");
        RecordingConsole console(1);
        const QString path = makeFile(QStringLiteral("m.sgy"), "ABCDEF");
        DiskDevice device(&console, path, mode);
        QVERIFY(device.open(mode));
        QCOMPARE(QFileInfo(path).size(), sizeAtOpening);
        char bytes[6] = {};
        if (mode == 5)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("QIODevice::read.*WriteOnly")));
        QCOMPARE(device.read(bytes, 3) && QByteArray(bytes, 3) == "ABC", canRead);
        QVERIFY(device.seek(0));
        if (!canWrite)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("QIODevice::write.*ReadOnly")));
        QCOMPARE(device.write("xy", 2), canWrite);
        QCOMPARE(device.status(), canWrite ? 0 : int(ObrDevice::WriteFailed));
        device.close();
        QVERIFY(!device.ok() && !device.open(mode));
    }

    // Both reads meet the end of the file.
    void readsAndLowLevelLines_data()
    {
        QTest::addColumn<bool>("ownBuffer");
        QTest::newRow("read") << false;
        QTest::newRow("readToBuffer") << true;
    }
    void readsAndLowLevelLines()
    {
        QFETCH(bool, ownBuffer);
        RecordingConsole console(3);
        DiskDevice device(&console, makeFile(QStringLiteral("ten.sgy"), "0123456789"), 2);
        char bytes[64] = {};
        const auto readSome = [&](int length) {
            return ownBuffer ? device.readToBuffer(length) : device.read(bytes, length);
        };
        const char* landed = ownBuffer ? device.buffer() : bytes;
        QVERIFY(readSome(4));
        QCOMPARE(QByteArray(landed, device.bytesRead()), QByteArray("0123"));
        QVERIFY(readSome(64)); // a short read is still a read
        QCOMPARE(QByteArray(landed, device.bytesRead()), QByteArray("456789"));
        QVERIFY(device.atEnd());
        QCOMPARE(readSome(64), ownBuffer);
        QCOMPARE(device.bytesRead(), 0);
        QVERIFY(device.seek(2));
        QVERIFY(device.write("zz", 2));
        QVERIFY(device.writeFromBuffer(4));
    }

    void failedTransfers_data()
    {
        // message: the start of the error line
        obrtest::columns<int, unsigned, int, QString>({"operation", "mode", "length", "message"});
        QTest::newRow("readToBuffer of a write-only file")
            << int(ReadToBuffer) << 1u << 8 << "error occurred";
        QTest::newRow("read of a negative count") << int(Read) << 2u << -1 << "requested a transfer of -1";
        QTest::newRow("writeFromBuffer beyond the buffer")
            << int(WriteFromBuffer) << 2u << 1024001 << "requested a transfer of 1024001";
    }
    void failedTransfers()
    {
        const auto [operation, mode, length, message] =
            obrtest::fetch<int, unsigned, int, QString>("operation", "mode", "length", "message");
        RecordingConsole console;
        const QByteArray content(1100000, 'q');
        const QString path = makeFile(QStringLiteral("f.sgy"), content);
        DiskDevice device(&console, path, mode);
        if (!message.startsWith(QLatin1String("requested"))) // refused lengths never reach the file
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("QIODevice::.*Only device")));
        char bytes[8] = {};
        const bool result = operation == Read           ? device.read(bytes, length)
                            : operation == ReadToBuffer ? device.readToBuffer(length)
                            : operation == Write        ? device.write(bytes, length)
                                                        : device.writeFromBuffer(length);
        QVERIFY(!result);
        QCOMPARE(device.status(), int(operation < Write ? ObrDevice::ReadFailed : ObrDevice::WriteFailed));
        QCOMPARE(device.bytesRead(), 0);
        QCOMPARE(console.errors().size(), 1);
        QVERIFY2(console.errors().first().startsWith(message), qPrintable(console.errors().first()));
        QCOMPARE(device.pos(), qint64(0));
        QVERIFY(obrtest::readFile(path) == (mode == 1 ? QByteArray() : content));
    }

    void failedFlushIsAFailedWrite()
    {
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        RecordingConsole console;
        DiskDevice device(&console, QStringLiteral("/dev/full"), 1);
        // The bytes fit the file's own buffer; only the flush meets the full disk.
        QVERIFY(!device.write("seismic", 7));
        QCOMPARE(device.status(), int(ObrDevice::WriteFailed));
    }

    void seekBounds_data()
    {
        obrtest::columns<qint64, bool>({"position", "refused"});
        QTest::newRow("end of file") << qint64(10) << false;
        QTest::newRow("negative") << qint64(-1) << true;
        QTest::newRow("one beyond the end") << qint64(11) << true;
    }
    void seekBounds()
    {
        const auto [position, refused] = obrtest::fetch<qint64, bool>("position", "refused");
        RecordingConsole console;
        DiskDevice device(&console, makeFile(QStringLiteral("s.sgy"), "0123456789"), 0);
        QVERIFY(device.seek(3));
        console.clear();
        QCOMPARE(device.seek(position), !refused);
        QCOMPARE(device.status(), refused ? int(ObrDevice::OutOfRange) : 0);
        // A refused seek leaves the position alone.
        QCOMPARE(device.pos(), refused ? qint64(3) : position);
    }

    // The size follows the device's own writes; writing modes also see what another writer adds.
    void fileSizeFollowsWrites_data()
    {
        obrtest::columns<unsigned, bool>({"mode", "seesGrowth"});
        QTest::newRow("mode 0 keeps the size of the opening") << 0u << false;
        QTest::newRow("mode 2 looks again") << 2u << true;
        QTest::newRow("mode 7, appending, keeps its size") << 7u << false;
    }
    void fileSizeFollowsWrites()
    {
        const auto [mode, seesGrowth] = obrtest::fetch<unsigned, bool>("mode", "seesGrowth");
        RecordingConsole console(1);
        const QString path = makeFile(QStringLiteral("grow.sgy"), "0123456789");
        DiskDevice device(&console, path, mode);
        qint64 size = device.fileSize();
        if (mode != 0) {
            QVERIFY(device.seek(size));
            QVERIFY(device.write(QByteArray(3600, 'h').constData(), 3600));
            std::fill_n(device.buffer(), 240, 't');
            QVERIFY(device.writeFromBuffer(240));
            size += 3600 + 240;
            QCOMPARE(device.fileSize(), size);
            QCOMPARE(QFileInfo(path).size(), size); // flushed, not waiting in a buffer
        }
        QFile other(path);
        QVERIFY(other.open(QIODevice::Append) && other.write(QByteArray(90, 'a')) == 90);
        other.close();
        QCOMPARE(device.seek(size + 90), seesGrowth);
        QCOMPARE(device.fileSize(), seesGrowth ? size + 90 : size);
    }

    // The same bytes in memory read as they do in a file: results, counts, positions, statuses
    // and errors.
    void memoryDeviceReadsAsADiskFile()
    {
        const auto script = [](ObrDevice& device) {
            QStringList seen;
            char bytes[16] = {};
            const auto note = [&](bool result) {
                seen << QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(result)
                            .arg(device.bytesRead())
                            .arg(device.pos())
                            .arg(device.status())
                            .arg(device.atEnd());
            };
            note(device.read(bytes, 4));
            seen << QString::fromLatin1(bytes, 4);
            note(device.read(bytes, 16));
            note(device.read(bytes, 1));
            note(device.readToBuffer(3));
            note(device.seek(2));
            note(device.readToBuffer(3));
            seen << QString::fromLatin1(device.buffer(), device.bytesRead());
            note(device.seek(11));
            note(device.seek(-1));
            note(device.read(bytes, -1));
            note(device.readToBuffer(DiskDevice::transferBufferSize + 1));
            seen << QString::number(device.size());
            return seen;
        };
        RecordingConsole diskConsole;
        RecordingConsole memoryConsole;
        DiskDevice disk(&diskConsole, makeFile(QStringLiteral("m.sgy"), "0123456789"), 0);
        MemoryDevice memory(&memoryConsole, disk.path(), "0123456789");
        QCOMPARE(script(memory), script(disk));
        QCOMPARE(memoryConsole.errors(), diskConsole.errors());
    }

private:
    QString makeFile(const QString& name, const QByteArray& content)
    {
        const QString path = dir->filePath(name);
        if (!obrtest::writeFile(path, content))
            qFatal("cannot create %s", qPrintable(path));
        return path;
    }

    std::unique_ptr<QTemporaryDir> dir;
};

OBR_TEST_MAIN(TestDiskDevice)
#include "tst_disk_device.moc"
