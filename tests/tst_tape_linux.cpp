#include "devices/LinuxScsiBus.h"
#include "devices/LinuxTapeDriver.h"
#include "devices/ScsiSenseData.h"
#include "devices/SgPassThrough.h"
#include "devices/TapeAspi.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeSpti.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMap>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <scsi/sg.h>
#include <sys/mtio.h>

// The kernel as the tests want it: scripted answers to every system call of the
// Linux tape roads, and a record of what was asked.
class FakeKernel : public LinuxSystemCalls {
public:
    struct SgAnswer {
        int status = 0;
        QByteArray sense;
        int resid = 0;
        int hostStatus = 0;
        QByteArray dataIn;
        int result = 0;
    };
    struct SgCommand {
        QByteArray cdb;
        int direction = 0;
        unsigned length = 0;
        unsigned timeout = 0;
        QByteArray dataOut;
    };

    static constexpr long online = GMT_ONLINE(0xFFFFFFFFL);

    int open(const QByteArray& path, int flags) override
    {
        openCalls.append({path, flags});
        QList<int>& answers = opens[path];
        return answers.isEmpty() ? -ENOENT : answers.takeFirst();
    }
    int close(int descriptor) override
    {
        closed.append(descriptor);
        return 0;
    }
    qint64 read(int, void* buffer, qint64 length) override
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursorsDuringReads.append(cursor ? cursor->shape() : Qt::ArrowCursor);
        const qint64 result = reads.isEmpty() ? 0 : reads.takeFirst();
        if (result > 0)
            std::memset(buffer, 'r', static_cast<size_t>(std::min(result, length)));
        return result;
    }
    qint64 write(int, const void*, qint64 length) override
    {
        return writes.isEmpty() ? length : writes.takeFirst();
    }
    int ioctl(int descriptor, unsigned long request, void* argument) override
    {
        if (request == MTIOCTOP) {
            operations.append(*static_cast<mtop*>(argument));
            return operationResults.isEmpty() ? 0 : operationResults.takeFirst();
        }
        if (request == MTIOCGET) {
            if (statusError < 0)
                return statusError;
            static_cast<mtget*>(argument)->mt_gstat = statusBits;
            return 0;
        }
        if (request == SG_GET_SCSI_ID) {
            if (!identities.contains(descriptor))
                return -EINVAL;
            *static_cast<sg_scsi_id*>(argument) = identities.value(descriptor);
            return 0;
        }
        if (request == BLKSECTGET) {
            *static_cast<int*>(argument) = sectorLimits.value(descriptor, 0);
            return sectorLimits.contains(descriptor) ? 0 : -ENOTTY;
        }
        if (request == SG_IO)
            return answerSg(static_cast<sg_io_hdr_t*>(argument));
        return -ENOTTY;
    }
    QStringList entries(const QString&, const QString&) override { return sgNames; }
    bool readText(const QString& path, QString* text) override
    {
        if (!texts.contains(path))
            return false;
        *text = texts.value(path).trimmed();
        return true;
    }

    QList<QPair<QByteArray, int>> openCalls;
    QMap<QByteArray, QList<int>> opens;
    QList<int> closed;
    QList<qint64> reads;
    QList<qint64> writes;
    QList<mtop> operations;
    QList<int> operationResults;
    long statusBits = online;
    int statusError = 0;
    QStringList sgNames;
    QMap<int, sg_scsi_id> identities;
    QMap<int, int> sectorLimits;
    QList<SgAnswer> sgAnswers;
    QList<SgCommand> sgCommands;
    QMap<QString, QString> texts;
    QList<Qt::CursorShape> cursorsDuringReads;

private:
    int answerSg(sg_io_hdr_t* header)
    {
        SgCommand command;
        command.cdb = QByteArray(reinterpret_cast<const char*>(header->cmdp), header->cmd_len);
        command.direction = header->dxfer_direction;
        command.length = header->dxfer_len;
        command.timeout = header->timeout;
        if (header->dxfer_direction == SG_DXFER_TO_DEV)
            command.dataOut =
                QByteArray(static_cast<const char*>(header->dxferp), static_cast<int>(header->dxfer_len));
        sgCommands.append(command);
        const SgAnswer answer = sgAnswers.isEmpty() ? SgAnswer() : sgAnswers.takeFirst();
        if (answer.result < 0)
            return answer.result;
        header->status = static_cast<unsigned char>(answer.status);
        header->host_status = static_cast<unsigned short>(answer.hostStatus);
        header->driver_status = answer.sense.isEmpty() ? 0 : 0x08;
        header->resid = answer.resid;
        const int senseLength = std::min<int>(answer.sense.size(), header->mx_sb_len);
        std::memcpy(header->sbp, answer.sense.constData(), static_cast<size_t>(senseLength));
        header->sb_len_wr = static_cast<unsigned char>(senseLength);
        if (header->dxfer_direction == SG_DXFER_FROM_DEV && !answer.dataIn.isEmpty())
            std::memcpy(header->dxferp, answer.dataIn.constData(),
                        std::min<size_t>(static_cast<size_t>(answer.dataIn.size()), header->dxfer_len));
        return 0;
    }
};

// The Linux tape driver and SG_IO roads, with the kernel's answers faked: errno
// values and status bits become the system's tape codes, sense data the messages.
class TestTapeLinux : public QObject {
    Q_OBJECT
private slots:
    void init();

    void openAnswers_data();
    void openAnswers();
    void openOfWriteProtectedTape();
    void readAnswers_data();
    void readAnswers();
    void writeAnswers_data();
    void writeAnswers();
    void operationsSent_data();
    void operationsSent();
    void positioningFailures_data();
    void positioningFailures();
    void tapeStatus_data();
    void tapeStatus();
    void identificationMessages_data();
    void identificationMessages();
    void driveNameFromSysfs();
    void openLoadsAndReportsMissingTape();
    void registryStopsAtFirstMissingDrive();
    void waitCursorDuringOperations();

    void sgBusAdapters();
    void sgBusWithoutDevices();
    void sgDeviceTypeByInquiry();
    void sgCompletions_data();
    void sgCompletions();
    void aspiIdentification();
    void aspiSenseMessages_data();
    void aspiSenseMessages();
    void aspiSpaceResidue_data();
    void aspiSpaceResidue();
    void aspiShortBlock();
    void aspiFileMarkCommand();
    void aspiWriteProtectCheck();
    void aspiNotReady();

private:
    static QByteArray nst(int index) { return LinuxTapeDriver::devicePath(index).toLocal8Bit(); }
    // A driver for /dev/nst0 that has been opened.
    std::unique_ptr<LinuxTapeDriver> openedDriver();
    // Queues the answers of a drive's identification (vendor "ACME", product "Streamer 9").
    void queueAspiIdentification();
    std::unique_ptr<TapeAspi> identifiedAspi();
    static FakeKernel::SgAnswer checkCondition(int key, unsigned char flags = 0, bool valid = false,
                                               qint32 info = 0);

    std::shared_ptr<FakeKernel> kernel;
    RecordingConsole console;
};

void TestTapeLinux::init()
{
    kernel = std::make_shared<FakeKernel>();
    console.clear();
}

std::unique_ptr<LinuxTapeDriver> TestTapeLinux::openedDriver()
{
    kernel->opens[nst(0)] = {5};
    auto driver = std::make_unique<LinuxTapeDriver>(0, kernel);
    if (driver->openDevice(false) != TapeError::Success)
        qFatal("fake drive did not open");
    return driver;
}

void TestTapeLinux::openAnswers_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("code");
    QTest::newRow("EACCES: access denied") << EACCES << 5;
    QTest::newRow("EPERM: access denied") << EPERM << 5;
    QTest::newRow("EBUSY: sharing violation") << EBUSY << 32;
    QTest::newRow("ENOMEDIUM: no tape") << ENOMEDIUM << 1112;
    QTest::newRow("ENOENT: no drive") << ENOENT << 2;
    QTest::newRow("ENXIO: no drive") << ENXIO << 2;
    QTest::newRow("EIO") << EIO << 1117;
}

void TestTapeLinux::openAnswers()
{
    QFETCH(int, error);
    QFETCH(int, code);
    kernel->opens[nst(2)] = {-error};
    LinuxTapeDriver driver(2, kernel);
    QCOMPARE(driver.openDevice(true), code);
    QCOMPARE(kernel->openCalls.size(), 1);
    QCOMPARE(kernel->openCalls.first().first, QByteArray("/dev/nst2"));
    QCOMPARE(kernel->openCalls.first().second, O_RDWR | O_NONBLOCK);
    // Nothing is open: every operation finds the drive not ready.
    int transferred = 0;
    QCOMPARE(driver.readData(nullptr, 10, &transferred), 21);
}

void TestTapeLinux::openOfWriteProtectedTape()
{
    kernel->opens[nst(0)] = {-EROFS, 6};
    LinuxTapeDriver driver(0, kernel);
    QCOMPARE(driver.openDevice(false), 0);
    QCOMPARE(kernel->openCalls.at(1).second, O_RDONLY | O_NONBLOCK);
    TapeMediaInformation media;
    QCOMPARE(driver.mediaInformation(&media), 0);
    QVERIFY(media.writeProtected);
    int transferred = 0;
    QCOMPARE(driver.writeData("abc", 3, &transferred), 19);
    QCOMPARE(driver.writeFileMarks(1), 19);
    QVERIFY(kernel->operations.isEmpty());
    driver.closeDevice();
    QCOMPARE(kernel->closed, QList<int>{6});
}

void TestTapeLinux::readAnswers_data()
{
    QTest::addColumn<QList<qint64>>("reads");
    QTest::addColumn<long>("statusBits");
    QTest::addColumn<QList<int>>("codes");
    const long online = FakeKernel::online;
    QTest::newRow("data block") << QList<qint64>{100} << online << QList<int>{0};
    QTest::newRow("0 bytes: file mark") << QList<qint64>{0} << online << QList<int>{1101};
    QTest::newRow("0 bytes twice: end of data") << QList<qint64>{0, 0} << online << QList<int>{1101, 1104};
    QTest::newRow("EIO after a mark: end of data")
        << QList<qint64>{0, -EIO} << online << QList<int>{1101, 1104};
    QTest::newRow("data clears the mark") << QList<qint64>{0, 5, 0} << online << QList<int>{1101, 0, 1101};
    QTest::newRow("0 bytes at EOD bit") << QList<qint64>{0} << (online | GMT_EOD(-1L)) << QList<int>{1104};
    QTest::newRow("ENOMEM: block too long") << QList<qint64>{-ENOMEM} << online << QList<int>{234};
    QTest::newRow("ENOMEDIUM") << QList<qint64>{-ENOMEDIUM} << online << QList<int>{1112};
    QTest::newRow("EIO with door open") << QList<qint64>{-EIO} << GMT_DR_OPEN(-1L) << QList<int>{1112};
    QTest::newRow("EIO at end of data bit")
        << QList<qint64>{-EIO} << (online | GMT_EOD(-1L)) << QList<int>{1104};
    QTest::newRow("EIO otherwise") << QList<qint64>{-EIO} << online << QList<int>{1117};
    QTest::newRow("EINVAL") << QList<qint64>{-EINVAL} << online << QList<int>{87};
}

void TestTapeLinux::readAnswers()
{
    QFETCH(QList<qint64>, reads);
    QFETCH(long, statusBits);
    QFETCH(QList<int>, codes);
    auto driver = openedDriver();
    kernel->reads = reads;
    kernel->statusBits = statusBits;
    char buffer[200];
    QList<int> answers;
    for (int i = 0; i < reads.size(); ++i) {
        int transferred = -1;
        answers << driver->readData(buffer, 200, &transferred);
        QCOMPARE(transferred, reads.at(i) > 0 ? int(reads.at(i)) : 0);
    }
    QCOMPARE(answers, codes);
}

void TestTapeLinux::writeAnswers_data()
{
    QTest::addColumn<qint64>("result");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("transferred");
    QTest::newRow("written") << qint64(100) << 0 << 100;
    QTest::newRow("ENOSPC: early warning, written") << qint64(-ENOSPC) << 1100 << 100;
    QTest::newRow("EROFS: write protected") << qint64(-EROFS) << 19 << 0;
    QTest::newRow("EACCES: write protected") << qint64(-EACCES) << 19 << 0;
    QTest::newRow("ENOMEDIUM: no tape") << qint64(-ENOMEDIUM) << 1112 << 0;
    QTest::newRow("cut short") << qint64(60) << 1117 << 0;
    QTest::newRow("EIO") << qint64(-EIO) << 1117 << 0;
}

void TestTapeLinux::writeAnswers()
{
    QFETCH(qint64, result);
    QFETCH(int, code);
    QFETCH(int, transferred);
    auto driver = openedDriver();
    kernel->writes = {result};
    const QByteArray block(100, 'w');
    int written = -1;
    QCOMPARE(driver->writeData(block.constData(), 100, &written), code);
    QCOMPARE(written, transferred);
}

void TestTapeLinux::operationsSent_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("count");
    QTest::newRow("rewind") << 0 << int(MTREW) << 1;
    QTest::newRow("3 blocks forward") << 1 << int(MTFSR) << 3;
    QTest::newRow("3 blocks backward") << 2 << int(MTBSR) << 3;
    QTest::newRow("2 files forward") << 3 << int(MTFSF) << 2;
    QTest::newRow("1 file backward") << 4 << int(MTBSF) << 1;
    QTest::newRow("end of data") << 5 << int(MTEOM) << 1;
    QTest::newRow("2 file marks") << 6 << int(MTWEOF) << 2;
    QTest::newRow("load") << 7 << int(MTLOAD) << 1;
    QTest::newRow("unload") << 8 << int(MTOFFL) << 1;
    QTest::newRow("long erase") << 9 << int(MTERASE) << 1;
    QTest::newRow("variable blocks") << 10 << int(MTSETBLK) << 0;
}

void TestTapeLinux::operationsSent()
{
    QFETCH(int, call);
    QFETCH(int, operation);
    QFETCH(int, count);
    auto driver = openedDriver();
    using Position = TapeDriver::Position;
    int code = -1;
    switch (call) {
    case 0:
        code = driver->setPosition(Position::Rewind, 0);
        break;
    case 1:
        code = driver->setPosition(Position::RelativeBlocks, 3);
        break;
    case 2:
        code = driver->setPosition(Position::RelativeBlocks, -3);
        break;
    case 3:
        code = driver->setPosition(Position::FileMarks, 2);
        break;
    case 4:
        code = driver->setPosition(Position::FileMarks, -1);
        break;
    case 5:
        code = driver->setPosition(Position::EndOfData, 0);
        break;
    case 6:
        code = driver->writeFileMarks(2);
        break;
    case 7:
        code = driver->prepare(TapeDriver::Preparation::Load);
        break;
    case 8:
        code = driver->prepare(TapeDriver::Preparation::Unload);
        break;
    case 9:
        code = driver->erase();
        break;
    default:
        code = driver->setMediaBlockSize(0);
        break;
    }
    QCOMPARE(code, 0);
    QCOMPARE(kernel->operations.size(), 1);
    QCOMPARE(int(kernel->operations.first().mt_op), operation);
    QCOMPARE(kernel->operations.first().mt_count, count);
}

void TestTapeLinux::positioningFailures_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<long>("statusBits");
    QTest::addColumn<int>("code");
    const long online = FakeKernel::online;
    QTest::newRow("EIO at a file mark") << EIO << (online | GMT_EOF(-1L)) << 1101;
    QTest::newRow("EIO at end of data") << EIO << (online | GMT_EOD(-1L)) << 1104;
    QTest::newRow("EIO at the beginning") << EIO << (online | GMT_BOT(-1L)) << 1102;
    QTest::newRow("EIO at the end of tape") << EIO << (online | GMT_EOT(-1L)) << 1100;
    QTest::newRow("EIO with no tape") << EIO << 0L << 1112;
    QTest::newRow("EIO otherwise") << EIO << online << 1117;
    QTest::newRow("ENOSPC") << ENOSPC << online << 1100;
    QTest::newRow("EACCES: write protected") << EACCES << online << 19;
    QTest::newRow("ENOMEDIUM") << ENOMEDIUM << online << 1112;
}

void TestTapeLinux::positioningFailures()
{
    QFETCH(int, error);
    QFETCH(long, statusBits);
    QFETCH(int, code);
    auto driver = openedDriver();
    kernel->statusBits = statusBits;
    kernel->operationResults = {-error};
    QCOMPARE(driver->setPosition(TapeDriver::Position::RelativeBlocks, 4), code);
}

void TestTapeLinux::tapeStatus_data()
{
    QTest::addColumn<long>("statusBits");
    QTest::addColumn<int>("statusError");
    QTest::addColumn<int>("code");
    QTest::newRow("online") << FakeKernel::online << 0 << 0;
    QTest::newRow("door open") << (FakeKernel::online | GMT_DR_OPEN(-1L)) << 0 << 1112;
    QTest::newRow("offline") << 0L << 0 << 1112;
    QTest::newRow("ENOMEDIUM") << 0L << -ENOMEDIUM << 1112;
    QTest::newRow("EIO") << 0L << -EIO << 1117;
}

void TestTapeLinux::tapeStatus()
{
    QFETCH(long, statusBits);
    QFETCH(int, statusError);
    QFETCH(int, code);
    auto driver = openedDriver();
    kernel->statusBits = statusBits;
    kernel->statusError = statusError;
    QCOMPARE(driver->tapeStatus(), code);
}

void TestTapeLinux::identificationMessages_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("access denied")
        << EACCES << QStringList{"  "}
        << QStringList{
               "this user account does not have system access to tape drives.  \n   Please run Trevalo as "
               "Administrator in order to access tape drives. "};
    QTest::newRow("busy") << EBUSY << QStringList{"  "}
                          << QStringList{"Tape device is already in use - system sharing violation. "};
    QTest::newRow("missing drive: silent") << ENOENT << QStringList() << QStringList();
}

void TestTapeLinux::identificationMessages()
{
    QFETCH(int, error);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, errors);
    kernel->opens[nst(0)] = {-error};
    TapeSpti drive(&console, 0, std::make_unique<LinuxTapeDriver>(0, kernel));
    QVERIFY(!drive.ok());
    QVERIFY(!drive.deviceOpened());
    QCOMPARE(console.messages(), messages);
    QCOMPARE(console.errors(), errors);
    for (const RecordingConsole::Line& line : console.lines)
        QCOMPARE(line.popup, line.kind == RecordingConsole::Error);
}

void TestTapeLinux::driveNameFromSysfs()
{
    kernel->opens[nst(1)] = {9};
    kernel->texts[QStringLiteral("/sys/class/scsi_tape/nst1/device/vendor")] = QStringLiteral("HP      \n");
    kernel->texts[QStringLiteral("/sys/class/scsi_tape/nst1/device/model")] =
        QStringLiteral("Ultrium 5-SCSI  \n");
    TapeSpti drive(&console, 1, std::make_unique<LinuxTapeDriver>(1, kernel));
    QVERIFY(drive.ok());
    QCOMPARE(drive.name(), QStringLiteral("HP Ultrium 5-SCSI"));
    QCOMPARE(drive.scsiId(), QStringLiteral("Tape1"));
    QCOMPARE(drive.displayLine(), QStringLiteral("    Tape1            HP Ultrium 5-SCSI"));
    QCOMPARE(drive.maxBlockSize(), TapeSpti::transferBufferSize);
    drive.setNoRewind(true);
    drive.setUnloadAtEnd(true);
    QCOMPARE(drive.displayLine(),
             QStringLiteral("    Tape1            HP Ultrium 5-SCSI      Nrew      Unld"));
    QVERIFY(console.lines.isEmpty());
}

void TestTapeLinux::openLoadsAndReportsMissingTape()
{
    kernel->opens[nst(0)] = {5};
    TapeSpti drive(&console, 0, std::make_unique<LinuxTapeDriver>(0, kernel));
    QVERIFY(drive.ok());
    kernel->statusBits = GMT_DR_OPEN(-1L);
    QVERIFY(!drive.open(0));
    // Opening a drive without a tape asks it to load one first.
    QCOMPARE(kernel->operations.size(), 1);
    QCOMPARE(int(kernel->operations.first().mt_op), int(MTLOAD));
    QCOMPARE(drive.status(), 1112);
    QCOMPARE(console.errors(), QStringList{"there is no tape in the drive on: " + drive.displayLine()});
    QVERIFY(!drive.isOpen());
    QCOMPARE(kernel->closed, QList<int>{5});

    // With a tape in, the drive opens again, in variable-block mode.
    kernel->statusBits = FakeKernel::online;
    kernel->opens[nst(0)] = {7};
    kernel->operations.clear();
    QVERIFY(drive.open(0));
    QVERIFY(drive.isOpen());
    QCOMPARE(kernel->operations.size(), 1);
    QCOMPARE(int(kernel->operations.first().mt_op), int(MTSETBLK));
    QCOMPARE(kernel->operations.first().mt_count, 0);
}

void TestTapeLinux::registryStopsAtFirstMissingDrive()
{
    kernel->opens[nst(0)] = {3};
    kernel->opens[nst(1)] = {4};
    kernel->opens[nst(3)] = {5};
    TapeDriveSources sources;
    auto calls = kernel;
    sources.systemDriver = [calls](int index) { return std::make_unique<LinuxTapeDriver>(index, calls); };
    TapeDriveList list(&console, std::move(sources));
    QVERIFY(list.ok());
    QVERIFY(list.tapeDeviceExists());
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.drive(1)->scsiId(), QStringLiteral("Tape1"));
    // Drive 3 exists, but the search ended at the missing drive 2.
    QVERIFY(!kernel->openCalls.contains({QByteArray("/dev/nst3"), O_RDWR | O_NONBLOCK}));

    init();
    TapeDriveSources none;
    calls = kernel;
    none.systemDriver = [calls](int index) { return std::make_unique<LinuxTapeDriver>(index, calls); };
    TapeDriveList empty(&console, std::move(none));
    QVERIFY(!empty.ok());
    QVERIFY(!empty.tapeDeviceExists());
}

void TestTapeLinux::waitCursorDuringOperations()
{
    kernel->opens[nst(0)] = {5};
    TapeSpti drive(&console, 0, std::make_unique<LinuxTapeDriver>(0, kernel));
    kernel->reads = {10};
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(drive.readBlock());
    QCOMPARE(kernel->cursorsDuringReads, QList<Qt::CursorShape>{Qt::WaitCursor});
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestTapeLinux::sgBusAdapters()
{
    kernel->sgNames = QStringList{"sg10", "sg2", "sg0", "sg1"};
    kernel->opens["/dev/sg0"] = {20, 30};
    kernel->opens["/dev/sg1"] = {21};
    kernel->opens["/dev/sg2"] = {22};
    kernel->opens["/dev/sg10"] = {-EACCES};
    sg_scsi_id id{};
    id.host_no = 4;
    id.scsi_id = 3;
    kernel->identities[20] = id;
    id.host_no = 1;
    id.scsi_id = 6;
    kernel->identities[21] = id;
    id.lun = 1;
    kernel->identities[22] = id;
    kernel->sectorLimits[20] = 262144;
    kernel->sectorLimits[21] = 1048576;
    LinuxScsiBus bus(kernel);
    int adapters = 0;
    QCOMPARE(bus.support(&adapters), ScsiBus::Ready);
    QCOMPARE(adapters, 2);
    QCOMPARE(bus.largestTransfer(), 262144);
    // Names in numeric order.
    QStringList opened;
    for (const auto& call : kernel->openCalls)
        opened << QString::fromLocal8Bit(call.first);
    QCOMPARE(opened, QStringList({"/dev/sg0", "/dev/sg1", "/dev/sg2", "/dev/sg10"}));
    int targets = 0;
    QVERIFY(bus.adapterInquiry(0, &targets));
    QCOMPARE(targets, 16);
    QVERIFY(!bus.adapterInquiry(2, &targets));
    // Host 1 is adapter 0, host 4 adapter 1; logical unit 1 is not a target of its own.
    QVERIFY(!bus.connect(0, 3));
    QVERIFY(bus.connect(1, 3));
    QCOMPARE(kernel->openCalls.last().first, QByteArray("/dev/sg0"));
}

void TestTapeLinux::sgBusWithoutDevices()
{
    LinuxScsiBus bus(kernel);
    int adapters = -1;
    QCOMPARE(bus.support(&adapters), ScsiBus::NoAdapters);
    QCOMPARE(adapters, 0);

    kernel->sgNames = QStringList{"sg0"};
    kernel->opens["/dev/sg0"] = {-EACCES};
    QCOMPARE(bus.support(&adapters), ScsiBus::Failed);

    // Through the registry: the manager's messages.
    TapeDriveSources sources;
    sources.road = TapeRoad::Scsi;
    kernel->opens["/dev/sg0"] = {-EACCES};
    sources.systemBuses.push_back(std::make_unique<LinuxScsiBus>(kernel));
    TapeDriveList list(&console, std::move(sources));
    QVERIFY(!list.ok());
    QCOMPARE(console.errors(), QStringList{"ASPI Manager failed to initialize."});

    init();
    TapeDriveSources empty;
    empty.road = TapeRoad::Scsi;
    empty.systemBuses.push_back(std::make_unique<LinuxScsiBus>(kernel));
    TapeDriveList none(&console, std::move(empty));
    QCOMPARE(console.errors(), QStringList{"no SCSI adapters found."});
    QVERIFY(console.lines.first().popup);
}

void TestTapeLinux::sgDeviceTypeByInquiry()
{
    kernel->sgNames = QStringList{"sg0"};
    kernel->opens["/dev/sg0"] = {20, 21, 22};
    sg_scsi_id id{};
    id.scsi_id = 2;
    kernel->identities[20] = id;
    LinuxScsiBus bus(kernel);
    int adapters = 0;
    QCOMPARE(bus.support(&adapters), ScsiBus::Ready);
    FakeKernel::SgAnswer tape;
    tape.dataIn = QByteArray("\x01\x80", 2);
    FakeKernel::SgAnswer disk;
    disk.dataIn = QByteArray("\x00\x00", 2);
    kernel->sgAnswers = {tape, disk};
    int type = -1;
    QVERIFY(bus.deviceType(0, 2, &type));
    QCOMPARE(type, 1);
    const FakeKernel::SgCommand inquiry = kernel->sgCommands.first();
    QCOMPARE(inquiry.cdb, QByteArray("\x12\x00\x00\x00\x24\x00", 6));
    QCOMPARE(inquiry.direction, SG_DXFER_FROM_DEV);
    QCOMPARE(inquiry.length, 36u);
    QVERIFY(bus.deviceType(0, 2, &type));
    QCOMPARE(type, 0);
    QVERIFY(!bus.deviceType(0, 5, &type));
    // Each pass-through closes its device when done.
    QCOMPARE(kernel->closed, QList<int>({20, 21, 22}));
}

void TestTapeLinux::sgCompletions_data()
{
    QTest::addColumn<int>("ioctlResult");
    QTest::addColumn<int>("scsiStatus");
    QTest::addColumn<int>("hostStatus");
    QTest::addColumn<int>("resid");
    QTest::addColumn<int>("completion");
    QTest::addColumn<int>("targetStatus");
    QTest::addColumn<int>("transferred");
    QTest::newRow("good") << 0 << 0 << 0 << 0 << int(ScsiCompletion::Done) << 0 << 64;
    QTest::newRow("good, short") << 0 << 0 << 0 << 24 << int(ScsiCompletion::Done) << 0 << 40;
    QTest::newRow("check condition") << 0 << 2 << 0 << 64 << int(ScsiCompletion::Failed) << 2 << 0;
    QTest::newRow("timed out") << 0 << 0 << 3 << 64 << int(ScsiCompletion::Aborted) << 0 << 0;
    QTest::newRow("ioctl refused") << -EINVAL << 0 << 0 << 0 << int(ScsiCompletion::Failed) << 0 << 0;
}

void TestTapeLinux::sgCompletions()
{
    QFETCH(int, ioctlResult);
    QFETCH(int, scsiStatus);
    QFETCH(int, hostStatus);
    QFETCH(int, resid);
    QFETCH(int, completion);
    QFETCH(int, targetStatus);
    QFETCH(int, transferred);
    FakeKernel::SgAnswer answer;
    answer.result = ioctlResult;
    answer.status = scsiStatus;
    answer.hostStatus = hostStatus;
    answer.resid = resid;
    if (scsiStatus == 2)
        answer.sense = ScsiSenseData::build(ScsiSense::MediumError, 0, false, 0);
    kernel->sgAnswers = {answer};
    SgPassThrough passThrough(kernel, 40);
    char data[64];
    ScsiRequest request;
    request.cdb = QByteArray("\x08\x00\x00\x00\x40\x00", 6);
    request.direction = ScsiRequest::Direction::In;
    request.data = data;
    request.length = 64;
    request.timeLimitMs = 120000;
    const ScsiCompletion result = passThrough.execute(request);
    QCOMPARE(result.status, completion);
    QCOMPARE(result.targetStatus, targetStatus);
    QCOMPARE(result.transferred, transferred);
    QCOMPARE(kernel->sgCommands.first().timeout, 120000u);
    if (scsiStatus == 2)
        QCOMPARE(ScsiSenseData::parse(result.sense).key, int(ScsiSense::MediumError));
}

void TestTapeLinux::queueAspiIdentification()
{
    FakeKernel::SgAnswer inquiry;
    inquiry.dataIn = QByteArray(32, ' ');
    inquiry.dataIn[0] = 1;
    inquiry.dataIn.replace(8, 8, "ACME    ");
    inquiry.dataIn.replace(16, 16, "Streamer 9      ");
    FakeKernel::SgAnswer limits;
    limits.dataIn = QByteArray("\x00\x04\x00\x00\x00\x02", 6); // up to 262,144 bytes, at least 2
    kernel->sgAnswers = {inquiry, FakeKernel::SgAnswer(), FakeKernel::SgAnswer(), limits};
}

std::unique_ptr<TapeAspi> TestTapeLinux::identifiedAspi()
{
    queueAspiIdentification();
    auto drive =
        std::make_unique<TapeAspi>(&console, 0, 3, std::make_unique<SgPassThrough>(kernel, 50), 131072);
    if (!drive->ok())
        qFatal("fake SCSI drive not identified");
    kernel->sgCommands.clear();
    console.clear();
    return drive;
}

FakeKernel::SgAnswer TestTapeLinux::checkCondition(int key, unsigned char flags, bool valid, qint32 info)
{
    FakeKernel::SgAnswer answer;
    answer.status = 2;
    answer.sense = ScsiSenseData::build(key, flags, valid, info);
    return answer;
}

void TestTapeLinux::aspiIdentification()
{
    queueAspiIdentification();
    TapeAspi drive(&console, 0, 3, std::make_unique<SgPassThrough>(kernel, 50), 131072);
    QVERIFY(drive.ok());
    QCOMPARE(drive.name(), QStringLiteral("ACME Streamer 9"));
    QCOMPARE(drive.displayLine(), QStringLiteral("    (0:3)            ACME Streamer 9"));
    QCOMPARE(drive.maxBlockSize(), 131072);
    QCOMPARE(drive.minBlockSize(), 2);
    const QList<FakeKernel::SgCommand>& sent = kernel->sgCommands;
    QCOMPARE(sent.size(), 4);
    QCOMPARE(sent[0].cdb, QByteArray("\x12\x00\x00\x00\x20\x00", 6));
    QCOMPARE(sent[0].timeout, 500u);
    QCOMPARE(sent[1].cdb, QByteArray(6, '\0'));
    QCOMPARE(sent[1].timeout, 90u);
    QCOMPARE(sent[2].cdb, QByteArray("\x55\x10\x00\x00\x00\x00\x00\x00\x10\x00", 10));
    QCOMPARE(sent[2].direction, SG_DXFER_TO_DEV);
    QCOMPARE(sent[2].dataOut, QByteArray::fromHex("00000010000000085200000000000000"));
    QCOMPARE(sent[3].cdb, QByteArray("\x05\x00\x00\x00\x00\x00", 6));
    QCOMPARE(sent[3].length, 12u);
    QVERIFY(console.lines.isEmpty());
}

void TestTapeLinux::aspiSenseMessages_data()
{
    QTest::addColumn<int>("operation"); // 0 read, 1 write, 2 file marks, 3 skip blocks
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("endOfData");
    QTest::newRow("read: illegal") << 0 << 5 << 0 << "illegal READ request." << false << false;
    QTest::newRow("read: blank check") << 0 << 8 << 0 << "" << true << true;
    QTest::newRow("read: volume overflow")
        << 0 << 0x0D << 0x40 << "end of tape encountered during read." << true << true;
    QTest::newRow("read: medium error") << 0 << 3 << 0 << "error (3) occurred during read." << false << false;
    QTest::newRow("write: illegal") << 1 << 5 << 0 << "illegal WRITE request." << false << false;
    QTest::newRow("write: protected")
        << 1 << 7 << 0 << "write failed. Tape is write protected." << false << false;
    QTest::newRow("write: physical end")
        << 1 << 0x0D << 0x40 << "physical end of tape encountered during write." << false << false;
    QTest::newRow("write: overflow without EOM")
        << 1 << 0x0D << 0 << "error (13) occurred during write." << false << false;
    QTest::newRow("write: hardware") << 1 << 4 << 0 << "error (4) occurred during write." << false << false;
    QTest::newRow("marks: illegal") << 2 << 5 << 0 << "illegal WEOF request." << false << false;
    QTest::newRow("marks: protected")
        << 2 << 7 << 0 << "write EOF failed. Tape is write protected." << false << false;
    QTest::newRow("marks: physical end")
        << 2 << 0x0D << 0x40 << "physical end of tape encountered during write EOF." << false << false;
    QTest::newRow("marks: other") << 2 << 3 << 0 << "error (3) occurred during write EOF." << false << false;
    QTest::newRow("skip: end of tape")
        << 3 << 3 << 0x40 << "end of tape encountered during tape search." << false << true;
    QTest::newRow("skip: illegal") << 3 << 5 << 0 << "illegal SKIP request." << false << false;
    QTest::newRow("skip: blank") << 3 << 8 << 0 << "blank tape encountered during tape search." << false
                                 << true;
    QTest::newRow("skip: other") << 3 << 4 << 0 << "error (4) occurred during tape search." << false << false;
}

void TestTapeLinux::aspiSenseMessages()
{
    QFETCH(int, operation);
    QFETCH(int, key);
    QFETCH(int, flags);
    QFETCH(QString, error);
    QFETCH(bool, result);
    QFETCH(bool, endOfData);
    auto drive = identifiedAspi();
    kernel->sgAnswers = {checkCondition(key, static_cast<unsigned char>(flags))};
    bool done = false;
    switch (operation) {
    case 0:
        done = drive->readBlock();
        break;
    case 1:
        done = drive->write("abcd", 4);
        break;
    case 2:
        done = drive->writeFileMarks(1);
        break;
    default:
        done = drive->skipBlocks(2);
        break;
    }
    QCOMPARE(done, result);
    QCOMPARE(drive->atEndOfData(), endOfData);
    QCOMPARE(console.errors(), error.isEmpty() ? QStringList() : QStringList{error});
    for (const RecordingConsole::Line& line : console.lines)
        QVERIFY(!line.popup);
    QCOMPARE(drive->status(), endOfData ? -9 : (result ? 0 : -999));
}

void TestTapeLinux::aspiSpaceResidue_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("residue");
    QTest::addColumn<int>("passed");
    QTest::addColumn<QString>("lowLevel");
    QTest::newRow("5 forward, 2 left") << 5 << 2 << 3 << "3 blocks skipped forward on drive ACME Streamer 9";
    QTest::newRow("2 forward, 1 left") << 2 << 1 << 1 << "1 block skipped forward on drive ACME Streamer 9";
    QTest::newRow("4 backward, 1 left")
        << -4 << -1 << -3 << "3 blocks skipped backward on drive ACME Streamer 9";
    QTest::newRow("nothing passed") << 3 << 3 << 0 << "";
}

void TestTapeLinux::aspiSpaceResidue()
{
    QFETCH(int, count);
    QFETCH(int, residue);
    QFETCH(int, passed);
    QFETCH(QString, lowLevel);
    auto drive = identifiedAspi();
    kernel->sgAnswers = {checkCondition(0, ScsiSense::fileMark, true, residue)};
    QVERIFY(!drive->skipBlocks(count));
    QCOMPARE(drive->blockNumber(), 1 + passed);
    QCOMPARE(console.errors(), QStringList{"filemark encountered during tape search."});
    QCOMPARE(console.texts(RecordingConsole::LowLevel),
             lowLevel.isEmpty() ? QStringList() : QStringList{lowLevel});
    const QByteArray cdb = kernel->sgCommands.first().cdb;
    QCOMPARE(cdb.left(2), QByteArray("\x11\x00", 2));
    const qint32 sent = ((static_cast<uchar>(cdb[2]) << 24) | (static_cast<uchar>(cdb[3]) << 16) |
                         (static_cast<uchar>(cdb[4]) << 8)) >>
                        8;
    QCOMPARE(sent, count);
}

void TestTapeLinux::aspiShortBlock()
{
    auto drive = identifiedAspi();
    FakeKernel::SgAnswer answer = checkCondition(0, ScsiSense::incorrectLength, true, 131072 - 60);
    kernel->sgAnswers = {answer, checkCondition(0, ScsiSense::incorrectLength, true, -20)};
    QVERIFY(drive->readBlock());
    QCOMPARE(drive->bytesRead(), 60);
    QCOMPARE(kernel->sgCommands.first().cdb, QByteArray("\x08\x00\x02\x00\x00\x00", 6));
    QCOMPARE(kernel->sgCommands.first().timeout, 120000u);
    char small[100];
    QVERIFY(!drive->read(small, 100));
    QCOMPARE(console.errors(), QStringList{"block size (100) too large for drive."});
}

void TestTapeLinux::aspiFileMarkCommand()
{
    auto drive = identifiedAspi();
    QVERIFY(drive->writeFileMarks(2));
    QVERIFY(drive->writeFileMarks(300));
    QCOMPARE(kernel->sgCommands[0].cdb, QByteArray("\x10\x01\x00\x00\x02\x00", 6));
    // More than 255 marks do not fit byte 4 alone.
    QCOMPARE(kernel->sgCommands[1].cdb, QByteArray("\x10\x01\x00\x01\x2C\x00", 6));
    QCOMPARE(drive->fileNumber(), 303);
    QCOMPARE(console.texts(RecordingConsole::LowLevel),
             QStringList({"wrote 2 filemarks on drive " + drive->displayLine(),
                          "wrote 300 filemarks on drive " + drive->displayLine()}));

    // Early warning on the marks: written, counted and flagged.
    console.clear();
    kernel->sgAnswers = {checkCondition(0, ScsiSense::endOfMedium, true, 0)};
    QVERIFY(!drive->writeFileMarks(1));
    QVERIFY(drive->atEndOfTape());
    QCOMPARE(drive->fileNumber(), 304);
    QCOMPARE(console.messages(), QStringList{"EOT encountered on tape"});
}

void TestTapeLinux::aspiWriteProtectCheck()
{
    auto drive = identifiedAspi();
    // Mode sense fails: the tape counts as write-protected.
    kernel->sgAnswers = {FakeKernel::SgAnswer(), checkCondition(5)};
    QVERIFY(!drive->open(1));
    QCOMPARE(kernel->sgCommands[1].cdb, QByteArray("\x1A\x00\x00\x00\x08\x00", 6));
    QCOMPARE(console.errors(),
             QStringList({"failed checking write protection for drive at SCSI ID (0:3)",
                          "tape in drive \"" + drive->displayLine() + "\" is write protected."}));
    QCOMPARE(console.warnings(), QStringList{"defaulting write-protect to true"});
    QVERIFY(!drive->isOpen());

    console.clear();
    FakeKernel::SgAnswer header;
    header.dataIn = QByteArray("\x0b\x00\x10\x08", 4);
    kernel->sgAnswers = {FakeKernel::SgAnswer(), header};
    QVERIFY(drive->open(1));
    QVERIFY(drive->isOpen());
    QVERIFY(console.lines.isEmpty());

    header.dataIn[2] = static_cast<char>(0x90);
    kernel->sgAnswers = {FakeKernel::SgAnswer(), header};
    QVERIFY(!drive->open(1));
    QVERIFY(drive->open(0));
}

void TestTapeLinux::aspiNotReady()
{
    queueAspiIdentification();
    kernel->sgAnswers = {kernel->sgAnswers.first(), checkCondition(2), checkCondition(2)};
    TapeAspi drive(&console, 1, 4, std::make_unique<SgPassThrough>(kernel, 50), 65536);
    QVERIFY(!drive.ok());
    QCOMPARE(console.warnings(),
             QStringList{"drive     (1:4)            ACME Streamer 9 is not ready.\n   Make sure "
                         "the tape is loaded and the unit is online."});
    QVERIFY(console.lines.first().popup);
    QCOMPARE(kernel->sgCommands.size(), 3);
}

OBR_TEST_MAIN(TestTapeLinux)
#include "tst_tape_linux.moc"
