#include "devices/ui/TapeContinueDlg.h"

#include "base/ui/ScreenFit.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/ui/TapeMiniControl.h"
#include "devices/ui/TapeSelectDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMediaPlaylist>

TapeContinueDlg::TapeContinueDlg(TapeDevice* tape, TapeDriveList* driveList, QWidget* parent)
    : QDialog(parent), drive(tape), registry(driveList), mode(tape ? tape->mode() : 0)
{
    setupUi(this);
    ScreenFit::fitToScreen(this);
    ChangeDrive->setEnabled(registry != nullptr);
    refreshStatus();
    startAlert();
}

TapeContinueDlg::~TapeContinueDlg()
{
    stopAlert();
}

QString TapeContinueDlg::alertSoundPath()
{
    return QDir::homePath() + QStringLiteral("/krd/TapeContinue.mp3");
}

void TapeContinueDlg::startAlert()
{
    const QString path = alertSoundPath();
    if (!QFileInfo::exists(path))
        return;
    player = new QMediaPlayer(this);
    auto* playlist = new QMediaPlaylist(player);
    playlist->addMedia(QUrl::fromLocalFile(path));
    playlist->setPlaybackMode(QMediaPlaylist::CurrentItemInLoop);
    player->setPlaylist(playlist);
    player->setVolume(50);
    player->play();
}

void TapeContinueDlg::stopAlert()
{
    if (player)
        player->stop();
}

void TapeContinueDlg::done(int result)
{
    stopAlert();
    QDialog::done(result);
}

void TapeContinueDlg::refreshStatus()
{
    const bool online = drive && drive->isOpen();
    Status->setText(online ? QStringLiteral("Online") : QStringLiteral("Offline"));
    TapeName->setText(online ? drive->displayLine() : QString());
    Continue->setEnabled(online);
    Unload->setEnabled(online);
    Reposition->setEnabled(online);
    Load->setEnabled(!online && drive);
}

void TapeContinueDlg::on_Continue_clicked()
{
    accept();
}

void TapeContinueDlg::on_Cancel_clicked()
{
    reject();
}

void TapeContinueDlg::on_Load_clicked()
{
    // A drive that cannot be opened says why on the console and stays offline.
    (void)drive->open(mode);
    refreshStatus();
}

void TapeContinueDlg::on_Unload_clicked()
{
    (void)drive->unload();
    drive->close();
    refreshStatus();
}

void TapeContinueDlg::on_ChangeDrive_clicked()
{
    TapeSelectDlg select(drive, registry, this, mode);
    select.exec();
    if (select.selectedDrive())
        drive = select.selectedDrive();
    refreshStatus();
}

void TapeContinueDlg::on_Reposition_clicked()
{
    TapeMiniControl control(this, registry ? registry->console() : drive->console(), drive);
    control.exec();
    refreshStatus();
}

void TapeContinueDlg::on_SilenceAlert_clicked()
{
    stopAlert();
}
