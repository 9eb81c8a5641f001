#pragma once

#include "devices/ScsiBus.h"
#include "devices/TapeDriver.h"
#include "devices/TapeRoad.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class ObrConsole;
class TapeDevice;

// Where the drives of a registry come from: the system's drives on the chosen
// road, and tape images, each of which becomes one more drive.
struct TapeDriveSources {
    TapeRoad road = TapeRoad::Driver;
    // Driver road: the driver of system drive N (null: no system drives).
    std::function<std::unique_ptr<TapeDriver>(int index)> systemDriver;
    // SCSI road: the system's SCSI buses.
    std::vector<std::unique_ptr<ScsiBus>> systemBuses;
    QStringList imagePaths;

    // The Linux tape driver's drives (/dev/nst0, 1, ...) or SCSI generic devices,
    // and the images in the working root's "Tapes" directory.
    static TapeDriveSources system(TapeRoad road);
    // The tape images (*.tap, *.tif) in the working root's "Tapes" directory, by name.
    static QStringList workingRootImages();
};

// The registry of tape drives, built once: it finds the drives at construction and
// owns them until it is destroyed. Tools borrow the drives.
class TapeDriveList {
public:
    // Transfer buffer sizes a SCSI-road drive may get, largest first.
    static constexpr int largeBufferSizes[] = {524288, 262144, 131072};
    static constexpr int smallBufferSize = 65536;
    enum BufferOrigin { NoBuffer = 0, BufferDriver = 1, ManagerBuffer = 2, OwnBuffer = 3 };

    // The system's drives on the road chosen in the settings, and the working root's images.
    explicit TapeDriveList(ObrConsole* console);
    // Only the given tape images, as drives on `road`.
    TapeDriveList(ObrConsole* console, const QStringList& imagePaths, TapeRoad road = TapeRoad::Driver);
    TapeDriveList(ObrConsole* console, TapeDriveSources sources);
    ~TapeDriveList();
    TapeDriveList(const TapeDriveList&) = delete;
    TapeDriveList& operator=(const TapeDriveList&) = delete;

    // At least one drive was found.
    bool ok() const { return !drives_.isEmpty(); }
    // Some tape device answered, even if none could be set up.
    bool tapeDeviceExists() const { return deviceExists; }
    ObrConsole* console() const { return console_; }
    TapeRoad road() const { return road_; }
    const QList<TapeDevice*>& drives() const { return drives_; }
    int count() const { return static_cast<int>(drives_.size()); }
    TapeDevice* drive(int index) const { return index >= 0 && index < count() ? drives_.at(index) : nullptr; }
    int transferBufferSize() const { return bufferSize; }
    BufferOrigin transferBufferOrigin() const { return bufferOrigin; }
    int hostAdapterCount() const { return hostAdapters; }

private:
    void discoverDriverRoad(TapeDriveSources& sources);
    void discoverScsiRoad(TapeDriveSources& sources);
    void chooseTransferBuffer(const std::vector<std::unique_ptr<ScsiBus>>& buses);
    void scanAdapter(ScsiBus& bus, int adapter, int adapterNumber);

    ObrConsole* console_;
    TapeRoad road_;
    QList<TapeDevice*> drives_;
    bool deviceExists = false;
    int bufferSize = 0;
    BufferOrigin bufferOrigin = NoBuffer;
    int hostAdapters = 0;
};
