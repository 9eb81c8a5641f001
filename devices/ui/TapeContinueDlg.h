#pragma once

#include "ui_TapeContinueDlg.h"

#include <QDialog>

class QMediaPlayer;
class QMediaPlaylist;
class TapeDevice;
class TapeDriveList;

// The prompt for the next tape: the operator loads it and continues, or ends the
// job with "No more tapes". An alert sound calls the operator while it is shown.
// exec() gives Accepted for "Continue" and Rejected for "No more tapes".
class TapeContinueDlg : public QDialog, public Ui::TapeContinueDlgUi {
    Q_OBJECT
public:
    TapeContinueDlg(TapeDevice* drive, TapeDriveList* registry, QWidget* parent);
    ~TapeContinueDlg() override;

    // The drive in use now, which "Change drive..." may have replaced.
    TapeDevice* currentDrive() const { return drive; }
    // The alert sound: "/krd/TapeContinue.mp3" under the home directory.
    static QString alertSoundPath();

    void done(int result) override;

private slots:
    void on_Continue_clicked();
    void on_Cancel_clicked();
    void on_Load_clicked();
    void on_Unload_clicked();
    void on_ChangeDrive_clicked();
    void on_Reposition_clicked();
    void on_SilenceAlert_clicked();

private:
    void refreshStatus();
    void startAlert();
    void stopAlert();

    TapeDevice* drive;
    TapeDriveList* registry;
    unsigned mode;
    QMediaPlayer* player = nullptr;
};
