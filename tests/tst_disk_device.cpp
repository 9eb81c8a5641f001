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

} // namespace

class TestDiskDevice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFileReportsOnceWithoutBuffer();
    void opensWithZeroFilledBuffer();
    void modes_data();
    void modes();
    void modeFourEmptiesTheFile();
    void readsThenMeetsEndOfFile_data();
    void readsThenMeetsEndOfFile();
    void readErrors_data();
    void readErrors();
    void writeToReadOnlyFileFails();
    void failedFlushIsAFailedWrite();
    void refusesTransfersOutsideTheBuffer_data();
    void refusesTransfersOutsideTheBuffer();
    void seekBounds_data();
    void seekBounds();
    void fileSizeFollowsWrites_data();
    void fileSizeFollowsWrites();
    void writingModesSeeFilesGrow_data();
    void writingModesSeeFilesGrow();
    void seeksBeyondFourGigabytes();
    void namesAndDirectory();
    void baseDeviceDefaults();
    void closeEndsTheDevice();
    void lowLevelLinesOnlyAtLevelThree_data();
    void lowLevelLinesOnlyAtLevelThree();

private:
    QString makeFile(const QString& name, const QByteArray& content);
    void exercise(DiskDevice& device);

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

void TestDiskDevice::opensWithZeroFilledBuffer()
{
    RecordingConsole console;
    DiskDevice device(&console, makeFile(QStringLiteral("a.sgy"), "abc"), 0);
    QVERIFY(device.ok());
    QVERIFY(device.open(0));
    QCOMPARE(device.kind(), int(ObrDevice::DiskKind));
    QCOMPARE(device.status(), 0);
    QCOMPARE(device.bufferSize(), 1024000);
    QVERIFY(device.buffer() != nullptr);
    const char* begin = device.buffer();
    const char* end = begin + device.bufferSize();
    QVERIFY(std::all_of(begin, end, [](char c) { return c == 0; }));
    QCOMPARE(device.fileSize(), qint64(3));
    QVERIFY(console.lines.isEmpty());
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
    QTest::newRow("6 read write") << 6u << true << true << qint64(6);
    QTest::newRow("7 read write") << 7u << true << true << qint64(6);
    QTest::newRow("8 read write") << 8u << true << true << qint64(6);
}

void TestDiskDevice::modes()
{
    QFETCH(unsigned, mode);
    QFETCH(bool, canRead);
    QFETCH(bool, canWrite);
    QFETCH(qint64, sizeAtOpening);
    RecordingConsole console(1);
    DiskDevice device(&console, makeFile(QStringLiteral("m.sgy"), "ABCDEF"), mode);
    QVERIFY(device.ok());
    QCOMPARE(device.mode(), mode);
    QCOMPARE(device.fileSize(), sizeAtOpening);
    char bytes[6] = {};
    QCOMPARE(device.read(bytes, 3), canRead);
    if (canRead)
        QCOMPARE(QByteArray(bytes, 3), QByteArray("ABC"));
    QVERIFY(device.seek(0));
    QCOMPARE(device.write("xy", 2), canWrite);
    QCOMPARE(device.status(), canWrite ? 0 : int(ObrDevice::WriteFailed));
}

void TestDiskDevice::modeFourEmptiesTheFile()
{
    RecordingConsole console;
    const QString path = makeFile(QStringLiteral("old.sgy"), QByteArray(5000, 'x'));
    DiskDevice device(&console, path, 4);
    QVERIFY(device.ok());
    QCOMPARE(device.fileSize(), qint64(0));
    QCOMPARE(device.size(), qint64(0));
    QCOMPARE(QFileInfo(path).size(), qint64(0));
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
    QVERIFY(device.ok());
    char bytes[64] = {};
    auto readSome = [&](int length) {
        return ownBuffer ? device.readToBuffer(length) : device.read(bytes, length);
    };
    const char* landed = ownBuffer ? device.buffer() : bytes;

    QVERIFY(readSome(4));
    QCOMPARE(device.bytesRead(), 4);
    QCOMPARE(QByteArray(landed, 4), QByteArray("0123"));
    QVERIFY(readSome(64)); // a short read is still a read
    QCOMPARE(device.bytesRead(), 6);
    QCOMPARE(QByteArray(landed, 6), QByteArray("456789"));
    QVERIFY(device.atEnd());

    QCOMPARE(readSome(64), resultAtEnd);
    QCOMPARE(device.bytesRead(), 0);
    QCOMPARE(device.status(), 0);
    QVERIFY(console.errors().isEmpty());
    const QStringList expected{QStringLiteral("read 4 bytes from file: ten.sgy"),
                               QStringLiteral("read 6 bytes from file: ten.sgy"),
                               QStringLiteral("read EOF from file: ten.sgy")};
    QCOMPARE(console.texts(RecordingConsole::LowLevel), expected);
}

void TestDiskDevice::readErrors_data()
{
    QTest::addColumn<bool>("ownBuffer");
    QTest::addColumn<QString>("expectedStart");
    QTest::newRow("read gives the error code")
        << false << "Error occurred reading from file: w.sgy - QFileDevice Error code ";
    QTest::newRow("readToBuffer gives none") << true << "error occurred reading from file: w.sgy";
}

void TestDiskDevice::readErrors()
{
    QFETCH(bool, ownBuffer);
    QFETCH(QString, expectedStart);
    RecordingConsole console;
    DiskDevice device(&console, makeFile(QStringLiteral("w.sgy"), "abc"), 1); // write only
    QVERIFY(device.ok());
    char bytes[8];
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QIODevice::read.*")));
    QVERIFY(!(ownBuffer ? device.readToBuffer(8) : device.read(bytes, 8)));
    QCOMPARE(device.status(), int(ObrDevice::ReadFailed));
    QCOMPARE(device.bytesRead(), 0);
    const QStringList errors = console.errors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(expectedStart), qPrintable(errors.first()));
    if (ownBuffer) {
        QCOMPARE(errors.first(), expectedStart);
    } else {
        bool isNumber = false;
        errors.first().mid(expectedStart.size()).toInt(&isNumber);
        QVERIFY(isNumber);
    }
    QVERIFY(console.lines.last().popup);
}

void TestDiskDevice::writeToReadOnlyFileFails()
{
    RecordingConsole console;
    const QString path = makeFile(QStringLiteral("r.sgy"), "abc");
    DiskDevice device(&console, path, 0);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QIODevice::write.*")));
    QVERIFY(!device.write("xyz", 3));
    QCOMPARE(device.status(), int(ObrDevice::WriteFailed));
    QVERIFY(console.errors().value(0).startsWith(
        QStringLiteral("Error occurred writing to file: r.sgy - QFileDevice Error code ")));
    QCOMPARE(device.fileSize(), qint64(3));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("abc"));
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

void TestDiskDevice::refusesTransfersOutsideTheBuffer_data()
{
    QTest::addColumn<int>("operation"); // 0 read, 1 readToBuffer, 2 write, 3 writeFromBuffer
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("expectedStatus");
    QTest::newRow("read of a negative count") << 0 << -1 << int(ObrDevice::ReadFailed);
    QTest::newRow("readToBuffer beyond the buffer") << 1 << 1024001 << int(ObrDevice::ReadFailed);
    QTest::newRow("readToBuffer of a negative count") << 1 << -5 << int(ObrDevice::ReadFailed);
    QTest::newRow("write of a negative count") << 2 << -1 << int(ObrDevice::WriteFailed);
    QTest::newRow("writeFromBuffer beyond the buffer") << 3 << 1024001 << int(ObrDevice::WriteFailed);
}

void TestDiskDevice::refusesTransfersOutsideTheBuffer()
{
    QFETCH(int, operation);
    QFETCH(int, length);
    QFETCH(int, expectedStatus);
    RecordingConsole console;
    const QString path = makeFile(QStringLiteral("big.sgy"), QByteArray(1100000, 'q'));
    DiskDevice device(&console, path, 2);
    char bytes[4];
    bool result = true;
    switch (operation) {
    case 0:
        result = device.read(bytes, length);
        break;
    case 1:
        result = device.readToBuffer(length);
        break;
    case 2:
        result = device.write(bytes, length);
        break;
    default:
        result = device.writeFromBuffer(length);
        break;
    }
    QVERIFY(!result);
    QCOMPARE(device.status(), expectedStatus);
    QCOMPARE(console.errors().size(), 1);
    QVERIFY(console.errors().first().contains(QString::number(length)));
    QCOMPARE(device.pos(), qint64(0));
    QCOMPARE(QFileInfo(path).size(), qint64(1100000));
}

void TestDiskDevice::seekBounds_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("message");
    QTest::newRow("start") << qint64(0) << true << "seek to byte position 0 in file: s.sgy";
    QTest::newRow("inside") << qint64(7) << true << "seek to byte position 7 in file: s.sgy";
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
    if (succeeds) {
        QCOMPARE(device.status(), 0);
        QCOMPARE(device.pos(), position);
        QCOMPARE(console.lines.first().kind, RecordingConsole::LowLevel);
    } else {
        QCOMPARE(device.status(), int(ObrDevice::OutOfRange));
        QCOMPARE(device.pos(), qint64(3)); // a refused seek leaves the position alone
        QCOMPARE(console.lines.first().kind, RecordingConsole::Error);
        QVERIFY(console.lines.first().popup);
    }
}

void TestDiskDevice::fileSizeFollowsWrites_data()
{
    QTest::addColumn<unsigned>("mode");
    QTest::addColumn<QByteArray>("initial");
    QTest::newRow("mode 4, emptied") << 4u << QByteArray("old contents");
    QTest::newRow("mode 1, new file") << 1u << QByteArray();
    QTest::newRow("mode 2, appending") << 2u << QByteArray("0123456789");
    QTest::newRow("mode 7, appending") << 7u << QByteArray("0123456789");
}

void TestDiskDevice::fileSizeFollowsWrites()
{
    QFETCH(unsigned, mode);
    QFETCH(QByteArray, initial);
    RecordingConsole console;
    const QString path = makeFile(QStringLiteral("grow.sgy"), initial);
    DiskDevice device(&console, path, mode);
    QVERIFY(device.ok());
    const qint64 start = mode == 4 || mode == 1 ? 0 : initial.size();
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
    QVERIFY(device.ok());
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
    QCOMPARE(device.size(), fiveGiB);
    QVERIFY(device.seek(fiveGiB - 4));
    QCOMPARE(device.pos(), fiveGiB - 4);
    QVERIFY(device.readToBuffer(100));
    QCOMPARE(device.bytesRead(), 4);
    QCOMPARE(QByteArray(device.buffer(), 4), QByteArray("tail"));
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

    DiskDevice missing(&console, QStringLiteral("nowhere.sgy"), 0);
    QCOMPARE(missing.dirPath(), QStringLiteral("."));
}

void TestDiskDevice::baseDeviceDefaults()
{
    BareDevice device;
    QCOMPARE(device.dirPath(), QString());
    QCOMPARE(device.size(), qint64(0));
    QCOMPARE(device.pos(), qint64(0));
    QVERIFY(!device.seek(0));
    QVERIFY(!device.atEnd());
    QCOMPARE(device.kind(), int(ObrDevice::DiskKind));
    QCOMPARE(device.mode(), 0u);
    QVERIFY(!device.ok());
}

void TestDiskDevice::closeEndsTheDevice()
{
    RecordingConsole console;
    DiskDevice device(&console, makeFile(QStringLiteral("c.sgy"), "abc"), 0);
    device.close();
    QVERIFY(!device.ok());
    QVERIFY(!device.open(0));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QIODevice::read.*")));
    QVERIFY(!device.readToBuffer(3));
    QCOMPARE(device.status(), int(ObrDevice::ReadFailed));
}

void TestDiskDevice::exercise(DiskDevice& device)
{
    char bytes[16];
    QVERIFY(device.read(bytes, 4));
    QVERIFY(device.readToBuffer(100));
    QVERIFY(!device.read(bytes, 4));
    QVERIFY(device.seek(2));
    QVERIFY(device.write("zz", 2));
    QVERIFY(device.writeFromBuffer(4));
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
    exercise(device);
    QCOMPARE(console.lowLevelCalls, calls);
    QVERIFY(console.errors().isEmpty());
}

OBR_TEST_MAIN(TestDiskDevice)
#include "tst_disk_device.moc"
