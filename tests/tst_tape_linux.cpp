#include "devices/LinuxTapeDriver.h"
#include "devices/ScsiSenseData.h"
#include "devices/SgPassThrough.h"
#include "devices/TapeAspi.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "devices/TapeSpti.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QMap>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <scsi/sg.h>
#include <sys/mtio.h>

// The kernel as the tests want it: scripted answers to every system call of the
// Linux tape roads, and a record of what was asked.
class FakeKernel : public LinuxSystemCalls {
public:
    struct SgAnswer {
        int status = 0;
        QByteArray sense;
        QByteArray dataIn;
        int resid = 0;
        int hostStatus = 0;
        int result = 0;
    };
    struct SgCommand {
        QByteArray cdb;
        unsigned timeout;
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
        const qint64 result = reads.isEmpty() ? 0 : reads.takeFirst();
        std::memset(buffer, 'r', size_t(std::clamp<qint64>(result, 0, length)));
        return result;
    }
    qint64 write(int, const void*, qint64 length) override
    {
        return writes.isEmpty() ? length : writes.takeFirst();
    }
    int ioctl(int, unsigned long request, void* argument) override
    {
        if (request == MTIOCTOP) {
            operations.append(*static_cast<mtop*>(argument));
            return operationResults.isEmpty() ? 0 : operationResults.takeFirst();
        }
        if (request == MTIOCGET) {
            static_cast<mtget*>(argument)->mt_gstat = statusBits;
            return statusError;
        }
        return request == SG_IO ? answerSg(static_cast<sg_io_hdr_t*>(argument)) : -ENOTTY;
    }
    QStringList entries(const QString&, const QString&) override { return {}; }
    bool readText(const QString&, QString*) override { return false; }

    QList<QPair<QByteArray, int>> openCalls;
    QMap<QByteArray, QList<int>> opens;
    QList<int> closed;
    QList<qint64> reads;
    QList<qint64> writes;
    QList<mtop> operations;
    QList<int> operationResults;
    long statusBits = online;
    int statusError = 0;
    QList<SgAnswer> sgAnswers;
    QList<SgCommand> sgCommands;

private:
    int answerSg(sg_io_hdr_t* header)
    {
        const bool out = header->dxfer_direction == SG_DXFER_TO_DEV;
        sgCommands.append({QByteArray(reinterpret_cast<const char*>(header->cmdp), header->cmd_len),
                           header->timeout,
                           out ? QByteArray(static_cast<const char*>(header->dxferp), int(header->dxfer_len))
                               : QByteArray()});
        const SgAnswer answer = sgAnswers.isEmpty() ? SgAnswer() : sgAnswers.takeFirst();
        if (answer.result < 0)
            return answer.result;
        header->status = static_cast<unsigned char>(answer.status);
        header->host_status = static_cast<unsigned short>(answer.hostStatus);
        header->driver_status = answer.sense.isEmpty() ? 0 : 0x08;
        header->resid = answer.resid;
        const int senseLength = std::min<int>(answer.sense.size(), header->mx_sb_len);
        std::memcpy(header->sbp, answer.sense.constData(), size_t(senseLength));
        header->sb_len_wr = static_cast<unsigned char>(senseLength);
        if (header->dxfer_direction == SG_DXFER_FROM_DEV)
            std::memcpy(header->dxferp, answer.dataIn.constData(),
                        std::min<size_t>(size_t(answer.dataIn.size()), header->dxfer_len));
        return 0;
    }
};

using AspiCall = std::function<bool(TapeAspi&)>;
Q_DECLARE_METATYPE(AspiCall)

// The Linux tape driver and SG_IO roads, with the kernel's answers faked: errno values and status
// bits become the system's tape codes, sense data the messages; and how the registry finds its
// drives on each road.
class TestTapeLinux : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        kernel = std::make_shared<FakeKernel>();
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
    }

    // The drive's answers to an open become codes; with nothing open every operation finds the
    // drive not ready.
    void openAnswers_data()
    {
        obrtest::columns<int, int>({"error", "code"});
        QTest::newRow("EACCES: access denied") << EACCES << 5;
        QTest::newRow("EBUSY: sharing violation") << EBUSY << 32;
        QTest::newRow("ENOMEDIUM: no tape") << ENOMEDIUM << 1112;
    }
    void openAnswers()
    {
        const auto [error, code] = obrtest::fetch<int, int>("error", "code");
        kernel->opens[nst(2)] = {-error};
        LinuxTapeDriver driver(2, kernel);
        QCOMPARE(driver.openDevice(true), code);
        QCOMPARE(kernel->openCalls, (QList<QPair<QByteArray, int>>{{"/dev/nst2", O_RDWR | O_NONBLOCK}}));
        int transferred = 0;
        QCOMPARE(driver.readData(nullptr, 10, &transferred), 21);
    }

    void openOfWriteProtectedTape()
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
        QCOMPARE(driver.erase(), 19);
        QVERIFY(kernel->operations.isEmpty());
    }

    // errno values and status bits become the system's tape codes: a call per kernel result.
    void kernelAnswers_data()
    {
        obrtest::columns<int, QList<qint64>, long, QList<int>, QList<int>>(
            {"call", "results", "statusBits", "codes", "transferred"});
        const long on = FakeKernel::online;
        const auto row = [](const char* name, Call call, QList<qint64> results, long bits, QList<int> codes,
                            QList<int> transferred = {}) {
            QTest::newRow(name) << int(call) << results << bits << codes << transferred;
        };
        row("read: EIO after a mark, end of data", Read, {0, -EIO}, on, {1101, 1104}, {0, 0});
        row("read: data clears the mark", Read, {0, 5, 0}, on, {1101, 0, 1101}, {0, 5, 0});
        row("read: ENOMEM, block too long", Read, {-ENOMEM}, on, {234}, {0});
        row("read: EIO with door open", Read, {-EIO}, GMT_DR_OPEN(-1L), {1112}, {0});
        row("write: ENOSPC, early warning, written", Write, {-ENOSPC}, on, {1100}, {100});
        row("write: EACCES, write protected", Write, {-EACCES}, on, {19}, {0});
        row("write: cut short", Write, {60}, on, {1117}, {0});
        row("space: EIO at a file mark", Space, {-EIO}, on | GMT_EOF(-1L), {1101});
        row("space: EIO at end of data", Space, {-EIO}, on | GMT_EOD(-1L), {1104});
        row("space: EIO at the end of tape", Space, {-EIO}, on | GMT_EOT(-1L), {1100});
        row("space: EIO otherwise", Space, {-EIO}, on, {1117});
        row("status: door open", Status, {0}, on | GMT_DR_OPEN(-1L), {1112});
    }
    void kernelAnswers()
    {
        const auto [call, results, statusBits, codes, transferred] =
            obrtest::fetch<int, QList<qint64>, long, QList<int>, QList<int>>("call", "results", "statusBits",
                                                                             "codes", "transferred");
        auto driver = openedDriver();
        kernel->statusBits = statusBits;
        kernel->reads = kernel->writes = results;
        char buffer[200] = {};
        QList<int> answers;
        QList<int> moved;
        for (const qint64 result : results) {
            int bytes = -1;
            kernel->operationResults = {int(result)};
            kernel->statusError = call == Status ? int(result) : 0;
            answers << (call == Read    ? driver->readData(buffer, 200, &bytes)
                        : call == Write ? driver->writeData(buffer, 100, &bytes)
                        : call == Space ? driver->setPosition(TapeDriver::Position::RelativeBlocks, 4)
                                        : driver->tapeStatus());
            if (call == Read || call == Write)
                moved << bytes;
        }
        QCOMPARE(answers, codes);
        QCOMPARE(moved, transferred);
    }

    // A backward count gives the backward operation; each call sends one operation.
    void operationsSent()
    {
        auto driver = openedDriver();
        QCOMPARE(driver->setPosition(TapeDriver::Position::RelativeBlocks, -3), 0);
        QCOMPARE(driver->setPosition(TapeDriver::Position::EndOfData, 0), 0);
        QCOMPARE(driver->writeFileMarks(2), 0);
        QList<QPair<int, int>> sent;
        for (const mtop& operation : kernel->operations)
            sent.append({operation.mt_op, operation.mt_count});
        QCOMPARE(sent, (QList<QPair<int, int>>{{MTBSR, 3}, {MTEOM, 1}, {MTWEOF, 2}}));
    }

    // A drive without a tape is asked to load one and closed; with a tape it opens in variable blocks.
    void openLoadsAndSetsVariableBlocks()
    {
        kernel->opens[nst(1)] = {9};
        TapeSpti drive(&console, 1, std::make_unique<LinuxTapeDriver>(1, kernel));
        kernel->statusBits = GMT_DR_OPEN(-1L);
        QVERIFY(!drive.open(0) && !drive.isOpen());
        QCOMPARE(int(kernel->operations.value(0).mt_op), MTLOAD);
        QCOMPARE(kernel->closed, QList<int>{9});

        kernel->statusBits = FakeKernel::online;
        kernel->opens[nst(1)] = {7};
        kernel->operations.clear();
        QVERIFY(drive.open(0));
        QCOMPARE(kernel->operations.size(), 1);
        QVERIFY(kernel->operations.first().mt_op == MTSETBLK && kernel->operations.first().mt_count == 0);
    }

    void sgCompletions_data()
    {
        obrtest::columns<int, int, int, int, int, int>(
            {"ioctlResult", "scsiStatus", "hostStatus", "resid", "completion", "transferred"});
        QTest::newRow("good, short") << 0 << 0 << 0 << 24 << int(ScsiCompletion::Done) << 40;
        QTest::newRow("check condition") << 0 << 2 << 0 << 64 << int(ScsiCompletion::Failed) << 0;
        QTest::newRow("timed out") << 0 << 0 << 3 << 64 << int(ScsiCompletion::Aborted) << 0;
        QTest::newRow("ioctl refused") << -EINVAL << 0 << 0 << 0 << int(ScsiCompletion::Failed) << 0;
    }
    void sgCompletions()
    {
        const auto [ioctlResult, scsiStatus, hostStatus, resid, completion, transferred] =
            obrtest::fetch<int, int, int, int, int, int>("ioctlResult", "scsiStatus", "hostStatus", "resid",
                                                         "completion", "transferred");
        const QByteArray sense = scsiStatus ? ScsiSenseData::build(ScsiSense::MediumError, 0, false, 0) : "";
        kernel->sgAnswers = {{scsiStatus, sense, QByteArray(), resid, hostStatus, ioctlResult}};
        char data[64];
        const ScsiRequest request{QByteArray("\x08\x00\x00\x00\x40\x00", 6), ScsiRequest::Direction::In, data,
                                  64, 120000};
        const ScsiCompletion result = SgPassThrough(kernel, 40).execute(request);
        QCOMPARE(result.status, completion);
        QCOMPARE(result.targetStatus, scsiStatus);
        QCOMPARE(result.transferred, transferred);
    }

    // Identification sets variable blocks (mode select) and takes the drive's block limits.
    void aspiIdentification()
    {
        auto drive = identifiedAspi(true);
        QCOMPARE(drive->maxBlockSize(), 131072);
        QCOMPARE(drive->minBlockSize(), 2);
        QCOMPARE(kernel->sgCommands.value(2).dataOut.toHex(), QByteArray("00000010000000085200000000000000"));
    }

    // Sense data decide the result and the end of data; a wrong answer here loses blocks.
    void aspiSense_data()
    {
        obrtest::columns<AspiCall, int, int, bool, bool>({"call", "key", "flags", "result", "endOfData"});
        const AspiCall read = [](TapeAspi& d) { return d.readBlock(); };
        const AspiCall write = [](TapeAspi& d) { return d.write("abcd", 4); };
        const AspiCall marks = [](TapeAspi& d) { return d.writeFileMarks(1); };
        const AspiCall skip = [](TapeAspi& d) { return d.skipBlocks(2); };
        QTest::newRow("read: illegal") << read << 5 << 0 << false << false;
        QTest::newRow("read: volume overflow") << read << 0x0D << 0x40 << true << true;
        QTest::newRow("write: overflow without EOM") << write << 0x0D << 0 << false << false;
        QTest::newRow("marks: physical end") << marks << 0x0D << 0x40 << false << false;
        QTest::newRow("skip: end of tape") << skip << 3 << 0x40 << false << true;
    }
    void aspiSense()
    {
        const auto [call, key, flags, result, endOfData] =
            obrtest::fetch<AspiCall, int, int, bool, bool>("call", "key", "flags", "result", "endOfData");
        auto drive = identifiedAspi();
        kernel->sgAnswers = {checkCondition(key, static_cast<unsigned char>(flags))};
        QCOMPARE(call(*drive), result);
        QCOMPARE(drive->atEndOfData(), endOfData);
        QCOMPARE(console.errors().size(), 1);
        QCOMPARE(drive->status(), endOfData ? -9 : (result ? 0 : -999));
    }

    // A skip stopped by a file mark counts only the blocks it passed.
    void aspiSpaceResidue()
    {
        for (const auto& [count, residue] : {std::pair{5, 2}, std::pair{3, 3}}) {
            auto drive = identifiedAspi();
            kernel->sgAnswers = {checkCondition(0, ScsiSense::fileMark, true, residue)};
            QVERIFY(!drive->skipBlocks(count));
            QCOMPARE(drive->blockNumber(), 1 + count - residue);
        }
    }

    void imagesThatCannotOpenAreSkipped()
    {
        const QString good = makeImage("good.tap");
        QVERIFY(QDir(dir->path()).mkdir("folder.tap"));
        TapeDriveList list(&console, {dir->filePath("missing.tap"), dir->filePath("folder.tap"), good});
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.drive(0)->displayLine(), QStringLiteral("    Tape0            VIRTUAL good.tap"));
    }

private:
    enum Call { Read, Write, Space, Status };

    QString makeImage(const QString& name)
    {
        const QString path = dir->filePath(name);
        QString errorText;
        if (!TapeImage::create(path, TapeImageSettings::formatBySuffix(path), 100000, &errorText))
            qFatal("%s", qPrintable(errorText));
        return path;
    }

    static QByteArray nst(int index) { return LinuxTapeDriver::devicePath(index).toLocal8Bit(); }
    static FakeKernel::SgAnswer checkCondition(int key, unsigned char flags = 0, bool valid = false,
                                               qint32 info = 0)
    {
        return {2, ScsiSenseData::build(key, flags, valid, info), QByteArray()};
    }
    // A driver for /dev/nst0 that has been opened.
    std::unique_ptr<LinuxTapeDriver> openedDriver()
    {
        kernel->opens[nst(0)] = {5};
        auto driver = std::make_unique<LinuxTapeDriver>(0, kernel);
        if (driver->openDevice(false) != TapeError::Success)
            qFatal("fake drive did not open");
        return driver;
    }
    // A drive identified as vendor "ACME", product "Streamer 9", blocks of 2 to 262,144 bytes; what was sent
    // and reported on the way is forgotten unless kept.
    std::unique_ptr<TapeAspi> identifiedAspi(bool keep = false)
    {
        QByteArray inquiry = QByteArray(8, ' ') + "ACME    Streamer 9      ";
        inquiry[0] = 1;
        kernel->sgAnswers = {{0, {}, inquiry}, {}, {}, {0, {}, QByteArray("\x00\x04\x00\x00\x00\x02", 6)}};
        auto drive =
            std::make_unique<TapeAspi>(&console, 0, 3, std::make_unique<SgPassThrough>(kernel, 50), 131072);
        if (!drive->ok())
            qFatal("fake SCSI drive not identified");
        if (!keep) {
            kernel->sgCommands.clear();
            console.clear();
        }
        return drive;
    }

    std::shared_ptr<FakeKernel> kernel;
    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestTapeLinux)
#include "tst_tape_linux.moc"
