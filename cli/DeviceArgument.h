#pragma once

#include <QString>
#include <memory>

class ObrConsole;
class TapeDevice;
class TapeDriveList;

// A device named on the command line: a disk path, "tape:N" (drive N of the
// registry, counted from 0) or "tape:PATH" (a tape image used as a drive).
struct DeviceArgument {
    enum class Kind { Disk, TapeDrive, TapeImage };

    Kind kind = Kind::Disk;
    QString path;        // the disk file or the tape image
    int driveIndex = -1; // for a drive of the registry

    // False with a reason for an argument that names nothing.
    [[nodiscard]] static bool parse(const QString& text, DeviceArgument* argument, QString* errorText);
    bool isTape() const { return kind != Kind::Disk; }
};

// The drive a tape argument names, with the registry that owns it.
class TapeArgument {
public:
    TapeArgument();
    ~TapeArgument();
    TapeArgument(const TapeArgument&) = delete;
    TapeArgument& operator=(const TapeArgument&) = delete;

    // Finds the drive (a registry of the system's drives for "tape:N", of the one
    // image for "tape:PATH", on the road the settings choose); false with a reason.
    [[nodiscard]] bool resolve(const DeviceArgument& argument, ObrConsole* console, QString* errorText);
    TapeDevice* drive() const { return tape; }

private:
    std::unique_ptr<TapeDriveList> registry;
    TapeDevice* tape = nullptr;
};
