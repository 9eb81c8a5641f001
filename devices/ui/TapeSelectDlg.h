#pragma once

#include "ui_TapeSelectDlg.h"

#include <QDialog>

class TapeDevice;
class TapeDriveList;

// Chooses a drive from the registry for a job and sets its options. The chosen
// drive is opened with the dialog's mode (0 to read, 1 to write); the caller
// takes it after exec(), null when no drive was chosen.
class TapeSelectDlg : public QDialog, public Ui::TapeSelectDlgUi {
    Q_OBJECT
public:
    TapeSelectDlg(TapeDevice* drive, TapeDriveList* registry, QWidget* parent, unsigned mode);

    TapeDevice* selectedDrive() const { return selected; }

private slots:
    void on_NoRewOption_stateChanged(int state);
    void on_UnloadEodOption_stateChanged(int state);
    void on_AutoLoaderOption_stateChanged(int state);
    void on_M4Option_stateChanged(int state);
    void on_DriveList_doubleClicked(const QModelIndex& index);
    void on_Close_clicked();

private:
    void selectCurrentRow();
    void updateAutoLoaderControls();

    TapeDriveList* registry;
    unsigned mode;
    TapeDevice* selected = nullptr;
};
