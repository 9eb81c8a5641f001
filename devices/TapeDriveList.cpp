#include "devices/TapeDriveList.h"

#include "base/ObrConsole.h"
#include "base/WorkingRoot.h"
#include "devices/ImageScsiBus.h"
#include "devices/LinuxScsiBus.h"
#include "devices/LinuxTapeDriver.h"
#include "devices/TapeAspi.h"
#include "devices/TapeImageDriver.h"
#include "devices/TapeSpti.h"

#include <QDir>

TapeDriveSources TapeDriveSources::system(TapeRoad road)
{
    TapeDriveSources sources;
    sources.road = road;
    const auto calls = std::make_shared<LinuxSystemCalls>();
    if (road == TapeRoad::Driver)
        sources.systemDriver = [calls](int index) { return std::make_unique<LinuxTapeDriver>(index, calls); };
    else
        sources.systemBuses.push_back(std::make_unique<LinuxScsiBus>(calls));
    sources.imagePaths = workingRootImages();
    return sources;
}

QStringList TapeDriveSources::workingRootImages()
{
    const QDir tapes(WorkingRoot::path() + QStringLiteral("/Tapes"));
    QStringList paths;
    const QStringList names =
        tapes.entryList({QStringLiteral("*.tap"), QStringLiteral("*.tif")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        paths.append(tapes.filePath(name));
    return paths;
}

TapeDriveList::TapeDriveList(ObrConsole* console)
    : TapeDriveList(console, TapeDriveSources::system(TapeRoadSetting::configured()))
{}

TapeDriveList::TapeDriveList(ObrConsole* console, const QStringList& imagePaths, TapeRoad road)
    : TapeDriveList(console, [&] {
          TapeDriveSources sources;
          sources.road = road;
          sources.imagePaths = imagePaths;
          return sources;
      }())
{}

TapeDriveList::TapeDriveList(ObrConsole* console, TapeDriveSources sources)
    : console_(console), road_(sources.road)
{
    if (road_ == TapeRoad::Driver)
        discoverDriverRoad(sources);
    else
        discoverScsiRoad(sources);
}

TapeDriveList::~TapeDriveList()
{
    qDeleteAll(drives_);
}

void TapeDriveList::discoverDriverRoad(TapeDriveSources& sources)
{
    int index = 0;
    // System drives are numbered without gaps: the first that fails ends them.
    for (; sources.systemDriver; ++index) {
        auto* drive = new TapeSpti(console_, index, sources.systemDriver(index));
        if (index == 0)
            deviceExists = drive->deviceOpened();
        if (!drive->ok()) {
            delete drive;
            break;
        }
        drives_.append(drive);
    }
    for (const QString& path : sources.imagePaths) {
        auto* drive = new TapeSpti(console_, index, std::make_unique<TapeImageDriver>(path));
        deviceExists = deviceExists || drive->deviceOpened();
        if (!drive->ok()) {
            delete drive;
            continue;
        }
        drives_.append(drive);
        ++index;
    }
}

void TapeDriveList::discoverScsiRoad(TapeDriveSources& sources)
{
    std::vector<std::unique_ptr<ScsiBus>> buses = std::move(sources.systemBuses);
    if (!sources.imagePaths.isEmpty())
        buses.push_back(std::make_unique<ImageScsiBus>(sources.imagePaths));
    std::vector<int> adapterCounts;
    bool anyWithoutAdapters = false;
    for (const auto& bus : buses) {
        int adapters = 0;
        const ScsiBus::Support support = bus->support(&adapters);
        if (support == ScsiBus::NoAdapters)
            anyWithoutAdapters = true;
        else if (support != ScsiBus::Ready)
            console_->error(QStringLiteral("ASPI Manager failed to initialize."), true);
        adapterCounts.push_back(support == ScsiBus::Ready ? adapters : 0);
        hostAdapters += adapterCounts.back();
    }
    if (hostAdapters == 0) {
        if (anyWithoutAdapters)
            console_->error(QStringLiteral("no SCSI adapters found."), true);
        return;
    }
    chooseTransferBuffer(buses);
    int adapterNumber = 0;
    for (size_t busIndex = 0; busIndex < buses.size(); ++busIndex) {
        for (int adapter = 0; adapter < adapterCounts[busIndex]; ++adapter, ++adapterNumber)
            scanAdapter(*buses[busIndex], adapter, adapterNumber);
    }
}

void TapeDriveList::chooseTransferBuffer(const std::vector<std::unique_ptr<ScsiBus>>& buses)
{
    int limit = 0;
    for (const auto& bus : buses) {
        const int busLimit = bus->largestTransfer();
        if (busLimit > 0)
            limit = limit == 0 ? busLimit : std::min(limit, busLimit);
    }
    for (const int size : largeBufferSizes) {
        if (limit == 0 || size <= limit) {
            bufferSize = size;
            bufferOrigin = ManagerBuffer;
            return;
        }
    }
    bufferSize = smallBufferSize;
    bufferOrigin = OwnBuffer;
}

void TapeDriveList::scanAdapter(ScsiBus& bus, int adapter, int adapterNumber)
{
    if (!bus.rescan(adapter)) {
        console_->warning(QStringLiteral("srbRescanPort failed on host adapter %1.").arg(adapterNumber),
                          false);
        return;
    }
    int targets = 0;
    if (!bus.adapterInquiry(adapter, &targets)) {
        console_->warning(QStringLiteral("srbHAInquiry failed on host adapter %1.").arg(adapterNumber),
                          false);
        return;
    }
    if (targets != 8 && targets != 16)
        targets = 8;
    for (int target = 0; target < targets; ++target) {
        int type = 0;
        if (!bus.deviceType(adapter, target, &type) || type != ScsiBus::sequentialAccess)
            continue;
        deviceExists = true;
        std::unique_ptr<ScsiPassThrough> passThrough = bus.connect(adapter, target);
        if (!passThrough)
            continue;
        auto* drive = new TapeAspi(console_, adapterNumber, target, std::move(passThrough), bufferSize);
        if (drive->ok())
            drives_.append(drive);
        else
            delete drive;
    }
}
