#include "devices/ui/TapeSelectDlg.h"

#include "base/ui/ScreenFit.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"

TapeSelectDlg::TapeSelectDlg(TapeDevice* drive, TapeDriveList* driveList, QWidget* parent, unsigned openMode)
    : QDialog(parent), registry(driveList), mode(openMode)
{
    setupUi(this);
    ScreenFit::fitToScreen(this);
    if (registry) {
        for (TapeDevice* listed : registry->drives())
            DriveList->addItem(listed->displayLine());
    }
    if (drive) {
        NoRewOption->setChecked(drive->noRewind());
        UnloadEodOption->setChecked(drive->unloadAtEnd());
        // The drive in use stays chosen unless the operator picks another.
        const int row = registry ? static_cast<int>(registry->drives().indexOf(drive)) : -1;
        if (row >= 0)
            DriveList->setCurrentRow(row);
    }
}

void TapeSelectDlg::on_NoRewOption_stateChanged(int) {}

void TapeSelectDlg::on_UnloadEodOption_stateChanged(int)
{
    updateAutoLoaderControls();
}

void TapeSelectDlg::on_AutoLoaderOption_stateChanged(int)
{
    updateAutoLoaderControls();
}

void TapeSelectDlg::updateAutoLoaderControls()
{
    AutoLoaderOption->setEnabled(UnloadEodOption->isChecked());
    const bool timeout = UnloadEodOption->isChecked() && AutoLoaderOption->isChecked();
    TimeoutTx1->setEnabled(timeout);
    Timeout->setEnabled(timeout);
    TimeoutTx2->setEnabled(timeout);
}

void TapeSelectDlg::on_M4Option_stateChanged(int)
{
    IsM4->setEnabled(M4Option->isChecked());
    NotM4->setEnabled(M4Option->isChecked());
}

void TapeSelectDlg::on_DriveList_doubleClicked(const QModelIndex&)
{
    selectCurrentRow();
    accept();
}

void TapeSelectDlg::on_Close_clicked()
{
    selectCurrentRow();
}

void TapeSelectDlg::selectCurrentRow()
{
    selected = nullptr;
    // A row counts as chosen only when it is highlighted; a list that merely has the focus chooses nothing.
    const QListWidgetItem* item = DriveList->currentItem();
    if (!registry || !item || !item->isSelected())
        return;
    TapeDevice* drive = registry->drive(DriveList->row(item));
    if (!drive)
        return;
    if (drive->isOpen())
        drive->close();
    // A drive that fails to open reports why itself and stays closed; the caller sees that.
    (void)drive->open(mode);
    drive->setNoRewind(NoRewOption->isChecked());
    drive->setUnloadAtEnd(UnloadEodOption->isChecked());
    drive->setAutoLoader(AutoLoaderOption->isChecked());
    drive->setM4Option(M4Option->isChecked());
    drive->applyBlockSizeLimit();
    selected = drive;
}
