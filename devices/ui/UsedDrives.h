#pragma once

#include <QSet>

class QWidget;
class TapeDevice;
class TapeDriveList;

// The drives a window's jobs used: chosen through the drive selection, closed when the window goes.
class UsedDrives {
public:
    UsedDrives() = default;
    UsedDrives(const UsedDrives&) = delete;
    UsedDrives& operator=(const UsedDrives&) = delete;
    ~UsedDrives();

    void add(TapeDevice* drive);
    // Asks for a drive, opened with the mode (0 to read, 1 to write); null when none was chosen or
    // the chosen one failed to open, which is no choice.
    TapeDevice* choose(TapeDevice* current, TapeDriveList* registry, QWidget* parent, unsigned mode);

private:
    QSet<TapeDevice*> drives;
};
