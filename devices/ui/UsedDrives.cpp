#include "devices/ui/UsedDrives.h"

#include "devices/TapeDevice.h"
#include "devices/ui/TapeSelectDlg.h"

UsedDrives::~UsedDrives()
{
    for (TapeDevice* drive : qAsConst(drives))
        drive->close();
}

void UsedDrives::add(TapeDevice* drive)
{
    if (drive)
        drives.insert(drive);
}

TapeDevice* UsedDrives::choose(TapeDevice* current, TapeDriveList* registry, QWidget* parent, unsigned mode)
{
    TapeSelectDlg dialog(current, registry, parent, mode);
    dialog.exec();
    TapeDevice* drive = dialog.selectedDrive();
    add(drive);
    return drive && drive->isOpen() ? drive : nullptr;
}
