#include "devices/DiskDevice.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// Counts every low-level call, shown or not, to prove hidden lines are never built.
class CountingConsole : public RecordingConsole {
public:
    using RecordingConsole::RecordingConsole;
    void lowLevel(const QString& text) override
    {
        ++lowLevelCalls;
        RecordingConsole::lowLevel(text);
    }
    int lowLevelCalls = 0;
};

// The smallest device: only what the interface demands.
class BareDevice : public ObrDevice {
public:
    BareDevice() : ObrDevice(nullptr) {}
    bool open(unsigned) override { return true; }
    void close() override {}
    bool read(char*, int) override { return false; }
    bool readToBuffer(int) override { return false; }
    bool write(const char*, int) override { return false; }
    bool writeFromBuffer(int) override { return false; }
};

enum Operation { Read, ReadToBuffer, Write, WriteFromBuffer };

} // namespace

class TestDiskDevice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFileReportsOnceWithoutBuffer();
    void modes_data();
    void modes();
    void readsThenMeetsEndOfFile_data();
    void readsThenMeetsEndOfFile();
    void failedTransfers_data();
    void failedTransfers();
    void failedFlushIsAFailedWrite();
    void seekBounds_data();
    void seekBounds();
    void fileSizeFollowsWrites_data();
    void fileSizeFollowsWrites();
    void writingModesSeeFilesGrow_data();
    void writingModesSeeFilesGrow();
    void seeksBeyondFourGigabytes();
    void namesAndDirectory();
    void lowLevelLinesOnlyAtLevelThree_data();
    void lowLevelLinesOnlyAtLevelThree();

private:
    QString makeFile(const QString& name, const QByteArray& content);

    std::unique_ptr<QTemporaryDir> dir;
};

void TestDiskDevice::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

QString TestDiskDevice::makeFile(const QString& name, const QByteArray& content)
{
    const QString path = dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot create %s", qPrintable(path));
    return path;
}

void TestDiskDevice::missingFileReportsOnceWithoutBuffer()
{
    RecordingConsole console;
    const QString path = dir->filePath(QStringLiteral("absent/line1.sgy"));
    DiskDevice device(&console, path, 0);
    QVERIFY(!device.ok());
    QVERIFY(!device.open(0));
    QCOMPARE(device.buffer(), nullptr);
    QCOMPARE(device.bufferSize(), 0);
    QCOMPARE(console.lines.size(), 1);
    QCOMPARE(console.errors(), QStringList{QStringLiteral("failed to open disk file: ") + path});
    QVERIFY(console.lines.first().popup);
}

void TestDiskDevice::modes_data()
{
    QTest::addColumn<unsigned>("mode");
    QTest::addColumn<bool>("canRead");
    QTest::addColumn<bool>("canWrite");
    QTest::addColumn<qint64>("sizeAtOpening");
    QTest::newRow("0 read only") << 0u << true << false << qint64(6);
    QTest::newRow("1 write only") << 1u << false << true << qint64(0);
    QTest::newRow("5 write only") << 5u << false << true << qint64(0);
    QTest::newRow("2 read write") << 2u << true << true << qint64(6);
    QTest::newRow("3 read write") << 3u << true << true << qint64(6);
    QTest::newRow("4 read write, emptied") << 4u << false << true << qint64(0);
    QTest::newRow("8 read write") << 8u << true << true << qint64(6);
}

void TestDiskDevice::modes()
{
    QFETCH(unsigned, mode);
    QFETCH(bool, canRead);
    QFETCH(bool, canWrite);
    QFETCH(qint64, sizeAtOpening);
    RecordingConsole console(1);
    const QString path = makeFile(QStringLiteral("m.sgy"), "ABCDEF");
    DiskDevice device(&console, path, mode);
    QVERIFY(device.ok());
    QVERIFY(device.open(mode));
    QCOMPARE(device.kind(), int(ObrDevice::DiskKind));
    QCOMPARE(device.mode(), mode);
    QCOMPARE(device.fileSize(), sizeAtOpening);
    QCOMPARE(QFileInfo(path).size(), sizeAtOpening);
    QCOMPARE(device.bufferSize(), 1024000);
    const char* buffer = device.buffer();
    QVERIFY(std::all_of(buffer, buffer + device.bufferSize(), [](char c) { return c == 0; }));

    char bytes[6] = {};
    if (mode == 1 || mode == 5)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QIODevice::read.*WriteOnly")));
    QCOMPARE(device.read(bytes, 3), canRead);
    if (canRead)
        QCOMPARE(QByteArray(bytes, 3), QByteArray("ABC"));
    QVERIFY(device.seek(0));
    if (!canWrite)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QIODevice::write.*ReadOnly")));
    QCOMPARE(device.write("xy", 2), canWrite);
    QCOMPARE(device.status(), canWrite ? 0 : int(ObrDevice::WriteFailed));

    device.close();
    QVERIFY(!device.ok());
    QVERIFY(!device.open(mode));
}

void TestDiskDevice::readsThenMeetsEndOfFile_data()
{
    QTest::addColumn<bool>("ownBuffer");
    QTest::addColumn<bool>("resultAtEnd");
    QTest::newRow("read") << false << false;
    QTest::newRow("readToBuffer") << true << true;
}

void TestDiskDevice::readsThenMeetsEndOfFile()
{
    QFETCH(bool, ownBuffer);
    QFETCH(bool, resultAtEnd);
    RecordingConsole console;
    DiskDevice device(&console, makeFile(QStringLiteral("ten.sgy"), "0123456789"), 0);
    char bytes[64] = {};
    auto readSome = [&](int length) {
        return ownBuffer ? device.readToBuffer(length) : device.read(bytes, length);
    };
    const char* landed = ownBuffer ? device.buffer() : bytes;

    QVERIFY(readSome(4));
    QCOMPARE(QByteArray(landed, device.bytesRead()), QByteArray("0123"));
    QVERIFY(readSome(64)); // a short read is still a read
    QCOMPARE(QByteArray(landed, device.bytesRead()), QByteArray("456789"));
    QVERIFY(device.atEnd());

    QCOMPARE(readSome(64), resultAtEnd);
    QCOMPARE(device.bytesRead(), 0);
    QCOMPARE(device.status(), 0);
    const QStringList expected{QStringLiteral("read 4 bytes from file: ten.sgy"),
                               QStringLiteral("read 6 bytes from file: ten.sgy"),
                               QStringLiteral("read EOF from file: ten.sgy")};
    QCOMPARE(console.texts(RecordingConsole::LowLevel), expected);
    QCOMPARE(console.lines.size(), 3);
}

void TestDiskDevice::failedTransfers_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<unsigned>("mode");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // the error line up to any error code
    const int readFailed = ObrDevice::ReadFailed;
    const int writeFailed = ObrDevice::WriteFailed;
    QTest::newRow("read of a write-only file")
        << int(Read) << 1u << 8 << readFailed
        << "Error occurred reading from file: f.sgy - QFileDevice Error code ";
    QTest::newRow("readToBuffer of a write-only file")
        << int(ReadToBuffer) << 1u << 8 << readFailed << "error occurred reading from file: f.sgy";
    QTest::newRow("write to a read-only file")
        << int(Write) << 0u << 8 << writeFailed
        << "Error occurred writing to file: f.sgy - QFileDevice Error code ";
    QTest::newRow("read of a negative count")
        << int(Read) << 2u << -1 << readFailed
        << "requested a transfer of -1 bytes, outside 0 to 2147483647, with disk file: f.sgy";
    QTest::newRow("readToBuffer beyond the buffer")
        << int(ReadToBuffer) << 2u << 1024001 << readFailed
        << "requested a transfer of 1024001 bytes, outside 0 to 1024000, with disk file: f.sgy";
    QTest::newRow("write of a negative count")
        << int(Write) << 2u << -4 << writeFailed
        << "requested a transfer of -4 bytes, outside 0 to 2147483647, with disk file: f.sgy";
    QTest::newRow("writeFromBuffer beyond the buffer")
        << int(WriteFromBuffer) << 2u << 1024001 << writeFailed
        << "requested a transfer of 1024001 bytes, outside 0 to 1024000, with disk file: f.sgy";
}

void TestDiskDevice::failedTransfers()
{
    QFETCH(int, operation);
    QFETCH(unsigned, mode);
    QFETCH(int, length);
    QFETCH(int, status);
    QFETCH(QString, message);
    RecordingConsole console;
    const QByteArray content(1100000, 'q');
    const QString path = makeFile(QStringLiteral("f.sgy"), content);
    DiskDevice device(&console, path, mode);
    QVERIFY(device.ok());
    if (!message.startsWith(QLatin1String("requested"))) // refused lengths never reach the file
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QIODevice::.*Only device")));
    char bytes[8] = {};
    const bool result = operation == Read           ? device.read(bytes, length)
                        : operation == ReadToBuffer ? device.readToBuffer(length)
                        : operation == Write        ? device.write(bytes, length)
                                                    : device.writeFromBuffer(length);
    QVERIFY(!result);
    QCOMPARE(device.status(), status);
    QCOMPARE(device.bytesRead(), 0);
    QCOMPARE(console.errors().size(), 1);
    QVERIFY2(console.errors().first().startsWith(message), qPrintable(console.errors().first()));
    QVERIFY(console.lines.first().popup);
    if (message.endsWith(QLatin1Char(' '))) {
        bool isNumber = false;
        console.errors().first().mid(message.size()).toInt(&isNumber);
        QVERIFY(isNumber);
    } else {
        QCOMPARE(console.errors().first(), message);
    }
    QCOMPARE(device.pos(), qint64(0));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == (mode == 1 ? QByteArray() : content));
}

void TestDiskDevice::failedFlushIsAFailedWrite()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full on this system");
    RecordingConsole console;
    DiskDevice device(&console, QStringLiteral("/dev/full"), 1);
    QVERIFY(device.ok());
    // The bytes fit the file's own buffer; only the flush meets the full disk.
    QVERIFY(!device.write("seismic", 7));
    QCOMPARE(device.status(), int(ObrDevice::WriteFailed));
    QCOMPARE(console.errors().size(), 1);
    QVERIFY(console.errors().first().startsWith(QStringLiteral("Error occurred writing to file: full")));
}

void TestDiskDevice::seekBounds_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("message");
    QTest::newRow("start") << qint64(0) << true << "seek to byte position 0 in file: s.sgy";
    QTest::newRow("end of file") << qint64(10) << true << "seek to byte position 10 in file: s.sgy";
    QTest::newRow("negative") << qint64(-1) << false
                              << "requested a seek to a negative byte position [-1] within disk file: s.sgy";
    QTest::newRow("one beyond the end")
        << qint64(11) << false
        << "requested a seek to a byte position [11] beyond size of the disk file: s.sgy";
    QTest::newRow("beyond 32 bits")
        << (qint64(1) << 40) << false
        << "requested a seek to a byte position [1099511627776] beyond size of the "
           "disk file: s.sgy";
}

void TestDiskDevice::seekBounds()
{
    QFETCH(qint64, position);
    QFETCH(bool, succeeds);
    QFETCH(QString, message);
    RecordingConsole console;
    DiskDevice device(&console, makeFile(QStringLiteral("s.sgy"), "0123456789"), 0);
    QVERIFY(device.seek(3));
    console.clear();
    QCOMPARE(device.seek(position), succeeds);
    QCOMPARE(console.lines.size(), 1);
    QCOMPARE(console.lines.first().text, message);
    QCOMPARE(device.status(), succeeds ? 0 : int(ObrDevice::OutOfRange));
    QCOMPARE(device.pos(), succeeds ? position : qint64(3)); // a refused seek leaves the position alone
    QCOMPARE(console.lines.first().kind, succeeds ? RecordingConsole::LowLevel : RecordingConsole::Error);
    QCOMPARE(console.lines.first().popup, !succeeds);
}

void TestDiskDevice::fileSizeFollowsWrites_data()
{
    QTest::addColumn<unsigned>("mode");
    QTest::addColumn<QByteArray>("initial");
    QTest::newRow("mode 4, emptied") << 4u << QByteArray("old contents");
    QTest::newRow("mode 1, new file") << 1u << QByteArray();
    QTest::newRow("mode 7, appending") << 7u << QByteArray("0123456789");
}

void TestDiskDevice::fileSizeFollowsWrites()
{
    QFETCH(unsigned, mode);
    QFETCH(QByteArray, initial);
    RecordingConsole console;
    const QString path = makeFile(QStringLiteral("grow.sgy"), initial);
    DiskDevice device(&console, path, mode);
    const qint64 start = device.fileSize();
    QVERIFY(device.seek(start));
    const QByteArray block(3600, 'h');
    QVERIFY(device.write(block.constData(), block.size()));
    std::fill_n(device.buffer(), 240, 't');
    QVERIFY(device.writeFromBuffer(240));
    const qint64 end = start + 3600 + 240;
    QCOMPARE(device.fileSize(), end);
    QCOMPARE(QFileInfo(path).size(), end); // flushed, not waiting in a buffer
    QVERIFY(device.seek(end));
    QVERIFY(!device.seek(end + 1));
    QCOMPARE(console.texts(RecordingConsole::LowLevel).mid(1, 2),
             (QStringList{QStringLiteral("wrote 3600 bytes to file: grow.sgy"),
                          QStringLiteral("wrote 240 bytes to file: grow.sgy")}));
}

void TestDiskDevice::writingModesSeeFilesGrow_data()
{
    QTest::addColumn<unsigned>("mode");
    QTest::addColumn<bool>("seesGrowth");
    QTest::newRow("mode 0 keeps the size of the opening") << 0u << false;
    QTest::newRow("mode 2 looks again") << 2u << true;
    QTest::newRow("mode 5 looks again") << 5u << true;
    QTest::newRow("mode 7 keeps its size") << 7u << false;
    QTest::newRow("mode 9 keeps its size") << 9u << false;
}

void TestDiskDevice::writingModesSeeFilesGrow()
{
    QFETCH(unsigned, mode);
    QFETCH(bool, seesGrowth);
    RecordingConsole console;
    const QString path = makeFile(QStringLiteral("shared.sgy"), "0123456789");
    DiskDevice device(&console, path, mode);
    const qint64 opened = device.fileSize();
    // Another writer appends to the same file.
    QFile other(path);
    QVERIFY(other.open(QIODevice::Append));
    QCOMPARE(other.write(QByteArray(90, 'a')), qint64(90));
    other.close();
    QCOMPARE(device.seek(opened + 90), seesGrowth);
    QCOMPARE(device.fileSize(), seesGrowth ? opened + 90 : opened);
}

void TestDiskDevice::seeksBeyondFourGigabytes()
{
    const QString path = dir->filePath(QStringLiteral("huge.sgy"));
    const qint64 fiveGiB = qint64(5) << 30;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (!file.resize(fiveGiB))
            QSKIP("the file system refuses a sparse 5 GiB file");
        QVERIFY(file.seek(fiveGiB - 4));
        QCOMPARE(file.write("tail", 4), qint64(4));
    }
    RecordingConsole console;
    DiskDevice device(&console, path, 0);
    QCOMPARE(device.fileSize(), fiveGiB);
    QVERIFY(device.seek(fiveGiB - 4));
    QCOMPARE(device.pos(), fiveGiB - 4);
    QVERIFY(device.readToBuffer(100));
    QCOMPARE(QByteArray(device.buffer(), device.bytesRead()), QByteArray("tail"));
    QVERIFY(console.contains(QStringLiteral("seek to byte position 5368709116 in file: huge.sgy")));
}

void TestDiskDevice::namesAndDirectory()
{
    RecordingConsole console;
    const QString path = makeFile(QStringLiteral("line 7.segy.sgy"), "x");
    DiskDevice device(&console, path, 0);
    QCOMPARE(device.name(), QStringLiteral("line 7.segy.sgy"));
    QCOMPARE(device.path(), path);
    QCOMPARE(device.dirPath(), dir->path());
    QCOMPARE(DiskDevice(&console, QStringLiteral("nowhere.sgy"), 0).dirPath(), QStringLiteral("."));
    QCOMPARE(BareDevice().dirPath(), QString());
}

void TestDiskDevice::lowLevelLinesOnlyAtLevelThree_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("calls");
    QTest::newRow("level 1") << 1 << 0;
    QTest::newRow("level 2") << 2 << 0;
    QTest::newRow("level 3") << 3 << 6;
}

void TestDiskDevice::lowLevelLinesOnlyAtLevelThree()
{
    QFETCH(int, level);
    QFETCH(int, calls);
    CountingConsole console(level);
    DiskDevice device(&console, makeFile(QStringLiteral("l.sgy"), "0123456789"), 2);
    char bytes[16];
    QVERIFY(device.read(bytes, 4));
    QVERIFY(device.readToBuffer(100));
    QVERIFY(!device.read(bytes, 4));
    QVERIFY(device.seek(2));
    QVERIFY(device.write("zz", 2));
    QVERIFY(device.writeFromBuffer(4));
    QCOMPARE(console.lowLevelCalls, calls);
    QVERIFY(console.errors().isEmpty());
}

OBR_TEST_MAIN(TestDiskDevice)
#include "tst_disk_device.moc"
