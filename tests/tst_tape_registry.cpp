#include "base/WorkingRoot.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "devices/TapeImageScsiTarget.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"

#include <QMap>
#include <QTemporaryDir>

namespace {

// A SCSI manager with scripted adapters and targets; a tape target answers over an image.
class FakeBus : public ScsiBus {
public:
    int adapters = 1;
    QList<int> failingRescans;
    QList<int> failingInquiries;
    int targets = 8;
    QMap<QPair<int, int>, int> types;
    QMap<QPair<int, int>, QString> images;
    int transferLimit = 0;
    // Outlives the bus, which the registry drops after discovery.
    QList<QPair<int, int>>* typeQueries = nullptr;

    Support support(int* count) override
    {
        *count = adapters;
        return Ready;
    }
    bool rescan(int adapter) override { return !failingRescans.contains(adapter); }
    bool adapterInquiry(int adapter, int* count) override
    {
        *count = targets;
        return !failingInquiries.contains(adapter);
    }
    bool deviceType(int adapter, int target, int* type) override
    {
        if (typeQueries)
            typeQueries->append({adapter, target});
        if (!types.contains({adapter, target}))
            return false;
        *type = types.value({adapter, target});
        return true;
    }
    std::unique_ptr<ScsiPassThrough> connect(int adapter, int target) override
    {
        if (!images.contains({adapter, target}))
            return nullptr;
        return std::make_unique<TapeImageScsiTarget>(images.value({adapter, target}));
    }
    int largestTransfer() override { return transferLimit; }
};

} // namespace

// How the registry finds its drives on each road.
class TestTapeRegistry : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
    }

    void scsiDiscovery()
    {
        auto bus = std::make_unique<FakeBus>();
        FakeBus* fake = bus.get();
        fake->adapters = 3;
        fake->failingRescans = {0};
        fake->failingInquiries = {2};
        fake->types[{1, 2}] = 1;
        fake->types[{1, 5}] = 5; // not a tape
        fake->images[{1, 2}] = makeImage("scsi.tap");
        const auto list = scsiList(std::move(bus), {makeImage("extra.tif")});
        QVERIFY(list->ok() && list->tapeDeviceExists());
        QCOMPARE(list->hostAdapterCount(), 4);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->drive(0)->displayLine(), QStringLiteral("    (1:2)            VIRTUAL scsi.tap"));
        // The image adapters follow the system's.
        QCOMPARE(list->drive(1)->displayLine(), QStringLiteral("    (3:0)            VIRTUAL extra.tif"));
        QCOMPARE(console.warnings(), QStringList({"srbRescanPort failed on host adapter 0.",
                                                  "srbHAInquiry failed on host adapter 2."}));
        QVERIFY(console.errors().isEmpty());
    }

    void scsiTargetCountRule_data()
    {
        obrtest::columns<int, int>({"reported", "scanned"});
        QTest::newRow("16") << 16 << 16;
        QTest::newRow("12 is read as 8") << 12 << 8;
    }
    void scsiTargetCountRule()
    {
        const auto [reported, scanned] = obrtest::fetch<int, int>("reported", "scanned");
        QList<QPair<int, int>> queries;
        auto bus = std::make_unique<FakeBus>();
        bus->targets = reported;
        bus->typeQueries = &queries;
        const auto list = scsiList(std::move(bus));
        QCOMPARE(queries.size(), scanned);
        QVERIFY(!list->ok() && !list->tapeDeviceExists());
    }

    void scsiTransferBuffer_data()
    {
        obrtest::columns<int, int, int>({"limit", "size", "origin"});
        QTest::newRow("no limit") << 0 << 524288 << int(TapeDriveList::ManagerBuffer);
        QTest::newRow("300,000 bytes") << 300000 << 262144 << int(TapeDriveList::ManagerBuffer);
        QTest::newRow("100,000 bytes") << 100000 << 65536 << int(TapeDriveList::OwnBuffer);
    }
    void scsiTransferBuffer()
    {
        const auto [limit, size, origin] = obrtest::fetch<int, int, int>("limit", "size", "origin");
        auto bus = std::make_unique<FakeBus>();
        bus->transferLimit = limit;
        const auto list = scsiList(std::move(bus), {makeImage("buffered.tap")});
        QCOMPARE(list->transferBufferSize(), size);
        QCOMPARE(int(list->transferBufferOrigin()), origin);
        QCOMPARE(list->drive(0)->maxBlockSize(), size);
    }

    void scsiTapeNotReady()
    {
        const QString path = makeImage("out.tap");
        QCOMPARE(TapeImage::open(path, nullptr)->unload(), TapeImage::Result::Ok);
        TapeDriveList list(&console, {path}, TapeRoad::Scsi);
        QVERIFY(!list.ok() && list.tapeDeviceExists());
        QCOMPARE(console.warnings(),
                 QStringList{"drive     (0:0)            VIRTUAL out.tap is not ready.\n   Make sure the "
                             "tape is loaded and the unit is online."});
        // On the driver road a drive without a tape is still a drive.
        console.clear();
        TapeDriveList driver(&console, {path}, TapeRoad::Driver);
        QVERIFY(driver.count() == 1 && !driver.drive(0)->isReady());
        QVERIFY(console.lines.isEmpty());
    }

    void imagesThatCannotOpenAreSkipped()
    {
        const QString good = makeImage("good.tap");
        QVERIFY(QDir(dir->path()).mkdir("folder.tap"));
        TapeDriveList list(&console, {dir->filePath("missing.tap"), dir->filePath("folder.tap"), good});
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.drive(0)->displayLine(), QStringLiteral("    Tape0            VIRTUAL good.tap"));
        // An image that cannot be used says why, not the drives' permission text.
        QCOMPARE(console.errors(),
                 QStringList{dir->filePath("folder.tap") + " is a directory, not a tape image"});
    }

    // The images of the working root follow the system's drives; the SCSI road is `obrio tape list`'s.
    void workingRootImages()
    {
        const QString tapes = WorkingRoot::path() + "/Tapes";
        QVERIFY(QDir().mkpath(tapes));
        for (const char* name : {"b.TIF", "a.tap", "c.txt"}) {
            QFile file(tapes + '/' + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(TapeDriveSources::workingRootImages(), QStringList({tapes + "/a.tap", tapes + "/b.TIF"}));
        TapeDriveList list(&console);
        QCOMPARE(list.road(), TapeRoad::Driver);
        QVERIFY(list.count() >= 2);
        QCOMPARE(list.drive(list.count() - 1)->name(), QStringLiteral("VIRTUAL b.TIF"));
    }

private:
    // A registry on the SCSI road over the bus and, behind its adapters, the images.
    std::unique_ptr<TapeDriveList> scsiList(std::unique_ptr<FakeBus> bus, const QStringList& images = {})
    {
        TapeDriveSources sources;
        sources.road = TapeRoad::Scsi;
        sources.systemBuses.push_back(std::move(bus));
        sources.imagePaths = images;
        return std::make_unique<TapeDriveList>(&console, std::move(sources));
    }
    QString makeImage(const QString& name)
    {
        const QString path = dir->filePath(name);
        QString errorText;
        if (!TapeImage::create(path, TapeImageSettings::formatBySuffix(path), 100000, &errorText))
            qFatal("%s", qPrintable(errorText));
        return path;
    }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestTapeRegistry)
#include "tst_tape_registry.moc"
