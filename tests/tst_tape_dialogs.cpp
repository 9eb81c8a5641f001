#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/TapeImage.h"
#include "devices/ui/TapeContinueDlg.h"
#include "devices/ui/TapeMiniControl.h"
#include "devices/ui/TapeSelectDlg.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestMain.h"

#include <QMediaPlayer>
#include <QTemporaryDir>
#include <memory>

// The three operator dialogs, offscreen, on image drives.
class TestTapeDialogs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void selectListsDrives();
    void closeWithoutRowGivesNull();
    void selectStoresOptions();
    void selectReopensWithNewMode();
    void selectKeepsDrivePassedIn();
    void selectOfDriveInUseElsewhere();
    void doubleClickSelects();
    void selectEnableLogic_data();
    void selectEnableLogic();
    void m4OverrideLimitsBlocks();

    void countNormalisation_data();
    void countNormalisation();
    void miniControlSkips();
    void miniControlFailureWritesNoLine();

    void continueOnline();
    void continueUnloadAndLoad();
    void continueLoadFailureStaysOffline();
    void continueResult();
    void continueChangeDrive();
    void continueReposition();
    void continueSilentWithoutSound();
    void continueAlertSound();

private:
    QString makeImage(const QString& name, const QList<int>& blocks);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TapeDriveList> list;
    RecordingConsole console;
    ModalDialogCloser closer;
};

QString TestTapeDialogs::makeImage(const QString& name, const QList<int>& blocks)
{
    return obrtest::writeTapeLayout(dir->filePath(name), blocks);
}

void TestTapeDialogs::init()
{
    dir = std::make_unique<QTemporaryDir>();
    const QString first = makeImage("first.tap", {10, 11, 12, -1, 20, 21, -1, 30});
    const QString second = makeImage("second.tap", {});
    list = std::make_unique<TapeDriveList>(&console, QStringList{first, second});
    QCOMPARE(list->count(), 2);
    console.clear();
}

void TestTapeDialogs::cleanup()
{
    list.reset();
    dir.reset();
}

void TestTapeDialogs::selectListsDrives()
{
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 0);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tape Select"));
    QCOMPARE(dialog.Title->text(), QStringLiteral("Select Tape Drive"));
    QCOMPARE(dialog.DriveList->count(), 2);
    QCOMPARE(dialog.DriveList->item(0)->text(), QStringLiteral("    Tape0            VIRTUAL first.tap"));
    QCOMPARE(dialog.DriveList->item(1)->text(), list->drive(1)->displayLine());
    QVERIFY(dialog.NoRewOption->isEnabled());
    QVERIFY(!dialog.AutoLoaderOption->isEnabled());
    QVERIFY(!dialog.M4Option->isEnabled());
    QVERIFY(!dialog.IsM4->isEnabled());
    QVERIFY(!dialog.Timeout->isEnabled());
}

void TestTapeDialogs::closeWithoutRowGivesNull()
{
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 0);
    dialog.show();
    // The list may hold a current row from the focus alone; nothing is chosen until a row is highlighted.
    dialog.DriveList->selectionModel()->setCurrentIndex(dialog.DriveList->model()->index(0, 0),
                                                        QItemSelectionModel::NoUpdate);
    dialog.Close->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.selectedDrive());
    QVERIFY(dialog.isHidden());

    TapeSelectDlg withoutRegistry(nullptr, nullptr, nullptr, 0);
    QCOMPARE(withoutRegistry.DriveList->count(), 0);
    withoutRegistry.Close->click();
    QVERIFY(!withoutRegistry.selectedDrive());
}

void TestTapeDialogs::selectStoresOptions()
{
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 1);
    dialog.DriveList->setCurrentRow(1);
    dialog.NoRewOption->setChecked(true);
    dialog.UnloadEodOption->setChecked(true);
    dialog.AutoLoaderOption->setChecked(true);
    dialog.Close->click();
    TapeDevice* drive = list->drive(1);
    QCOMPARE(dialog.selectedDrive(), drive);
    QVERIFY(drive->isOpen());
    QCOMPARE(drive->mode(), 1u);
    QVERIFY(drive->noRewind());
    QVERIFY(drive->unloadAtEnd());
    QVERIFY(drive->autoLoader());
    QVERIFY(!drive->m4Option());
    QCOMPARE(drive->displayLine(),
             QStringLiteral("    Tape1            VIRTUAL second.tap      Nrew      Unld"));
    QVERIFY(!list->drive(0)->noRewind());
}

void TestTapeDialogs::selectReopensWithNewMode()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(0));
    QVERIFY(drive->skipFiles(1));
    QCOMPARE(drive->mode(), 0u);
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 1);
    dialog.DriveList->setCurrentRow(0);
    dialog.Close->click();
    QCOMPARE(dialog.selectedDrive(), drive);
    QVERIFY(drive->isOpen());
    QCOMPARE(drive->mode(), 1u);

    // A tape that cannot be written fails the reopen for writing: the drive is closed and says why.
    list.reset();
    const QString path = dir->filePath("first.tap");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    list = std::make_unique<TapeDriveList>(&console, QStringList{path});
    QVERIFY(list->drive(0)->open(0));
    console.clear();
    TapeSelectDlg writing(nullptr, list.get(), nullptr, 1);
    writing.DriveList->setCurrentRow(0);
    writing.Close->click();
    QCOMPARE(writing.selectedDrive(), list->drive(0));
    QVERIFY(!list->drive(0)->isOpen());
    QCOMPARE(console.errors(),
             QStringList{"the tape is write protected on: " + list->drive(0)->displayLine()});
}

void TestTapeDialogs::selectKeepsDrivePassedIn()
{
    TapeDevice* drive = list->drive(1);
    drive->setNoRewind(true);
    TapeSelectDlg dialog(drive, list.get(), nullptr, 0);
    QVERIFY(dialog.NoRewOption->isChecked());
    QVERIFY(!dialog.UnloadEodOption->isChecked());
    QCOMPARE(dialog.DriveList->currentRow(), 1);
    dialog.Close->click();
    QCOMPARE(dialog.selectedDrive(), drive);
    QVERIFY(drive->noRewind());
}

void TestTapeDialogs::selectOfDriveInUseElsewhere()
{
    // Another user has the image open for a job of its own.
    RecordingConsole otherConsole;
    TapeDriveList other(&otherConsole, {dir->filePath("second.tap")});
    other.drive(0)->close();
    QVERIFY(other.drive(0)->open(0));
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 0);
    dialog.DriveList->setCurrentRow(1);
    dialog.Close->click();
    QCOMPARE(dialog.selectedDrive(), list->drive(1));
    QVERIFY(!list->drive(1)->isOpen());
    QCOMPARE(console.messages(), QStringList{"  "});
    QCOMPARE(console.errors(), QStringList{"Tape device is already in use - system sharing violation. "});
    QCOMPARE(list->drive(1)->status(), 32);
}

void TestTapeDialogs::doubleClickSelects()
{
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 0);
    dialog.show();
    dialog.DriveList->setCurrentRow(0);
    emit dialog.DriveList->doubleClicked(dialog.DriveList->currentIndex());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedDrive(), list->drive(0));
    QVERIFY(list->drive(0)->isOpen());
}

void TestTapeDialogs::selectEnableLogic_data()
{
    QTest::addColumn<bool>("unload");
    QTest::addColumn<bool>("autoLoader");
    QTest::addColumn<bool>("autoLoaderEnabled");
    QTest::addColumn<bool>("timeoutEnabled");
    QTest::newRow("neither") << false << false << false << false;
    QTest::newRow("unload only") << true << false << true << false;
    QTest::newRow("both") << true << true << true << true;
    QTest::newRow("auto-loader left checked, unload cleared") << false << true << false << false;
}

void TestTapeDialogs::selectEnableLogic()
{
    QFETCH(bool, unload);
    QFETCH(bool, autoLoader);
    QFETCH(bool, autoLoaderEnabled);
    QFETCH(bool, timeoutEnabled);
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 0);
    dialog.UnloadEodOption->setChecked(true);
    dialog.AutoLoaderOption->setChecked(autoLoader);
    dialog.UnloadEodOption->setChecked(unload);
    QCOMPARE(dialog.AutoLoaderOption->isEnabled(), autoLoaderEnabled);
    QCOMPARE(dialog.TimeoutTx1->isEnabled(), timeoutEnabled);
    QCOMPARE(dialog.Timeout->isEnabled(), timeoutEnabled);
    QCOMPARE(dialog.TimeoutTx2->isEnabled(), timeoutEnabled);
}

void TestTapeDialogs::m4OverrideLimitsBlocks()
{
    TapeSelectDlg dialog(nullptr, list.get(), nullptr, 0);
    dialog.M4Option->setChecked(true);
    QVERIFY(dialog.IsM4->isEnabled());
    QVERIFY(dialog.NotM4->isEnabled());
    dialog.DriveList->setCurrentRow(0);
    dialog.Close->click();
    QVERIFY(list->drive(0)->m4Option());
    QVERIFY(list->drive(0)->blockLimit64000());
    QCOMPARE(list->drive(0)->maxBlockSize(), 64000);
    dialog.M4Option->setChecked(false);
    QVERIFY(!dialog.IsM4->isEnabled());
}

void TestTapeDialogs::countNormalisation_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << "0"
                       << "1";
    QTest::newRow("-5") << "-5"
                        << "5";
    QTest::newRow("not a number") << "abc"
                                  << "1";
    QTest::newRow("empty") << ""
                           << "1";
    QTest::newRow("7") << "7"
                       << "7";
    QTest::newRow("larger than a skip takes") << "99999999999"
                                              << "8388607";
    QTest::newRow("most negative int") << "-2147483648"
                                       << "8388607";
}

void TestTapeDialogs::countNormalisation()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TapeMiniControl control(nullptr, &console, list->drive(0));
    control.SkipCount->setText(QStringLiteral("3"));
    control.SkipCount->setText(typed);
    QCOMPARE(control.SkipCount->text(), shown);
}

void TestTapeDialogs::miniControlSkips()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(0));
    TapeMiniControl control(nullptr, &console, drive);
    QCOMPARE(control.windowTitle(), QStringLiteral("Tape Mini Controller"));
    QCOMPARE(control.DeviceName->text(), QStringLiteral("VIRTUAL first.tap"));
    QCOMPARE(control.SkipCount->text(), QStringLiteral("1"));
    QVERIFY(!control.Rewind->icon().isNull());
    QVERIFY(!control.ForwardSkipFile->icon().isNull());

    control.ForwardSkipBlock->click();
    control.SkipCount->setText(QStringLiteral("2"));
    control.ForwardSkipBlock->click();
    QCOMPARE(control.CurrentBlock->text(), QStringLiteral("4"));
    control.ReverseSkipBlock->click();
    control.SkipCount->setText(QStringLiteral("1"));
    control.ForwardSkipFile->click();
    QCOMPARE(control.CurrentFile->text(), QStringLiteral("2"));
    QCOMPARE(control.CurrentBlock->text(), QStringLiteral("1"));
    control.ReverseSkipFile->click();
    control.SkipEOD->click();
    QCOMPARE(control.CurrentFile->text(), QStringLiteral("-1"));
    control.Rewind->click();
    QCOMPARE(control.CurrentFile->text(), QStringLiteral("1"));
    QCOMPARE(console.messages(),
             QStringList({"Forward skipped 1 block", "Forward skipped 2 blocks", "Reverse skipped 2 blocks",
                          "Forward skipped 1 file", "Reverse skipped 1 file",
                          "Skipped to EOD on VIRTUAL first.tap", "Rewind VIRTUAL first.tap"}));
    QVERIFY(console.errors().isEmpty());

    control.show();
    control.Close->click();
    QCOMPARE(control.result(), int(QDialog::Rejected));
}

void TestTapeDialogs::miniControlFailureWritesNoLine()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(0));
    TapeMiniControl control(nullptr, &console, drive);
    control.SkipCount->setText(QStringLiteral("5"));
    control.ReverseSkipFile->click();
    control.ForwardSkipBlock->click();
    QVERIFY(console.messages().isEmpty());
    QCOMPARE(console.errors().size(), 2);
}

void TestTapeDialogs::continueOnline()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(1));
    TapeContinueDlg dialog(drive, list.get(), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tape Continue"));
    QCOMPARE(dialog.Status->text(), QStringLiteral("Online"));
    QCOMPARE(dialog.TapeName->text(), drive->displayLine());
    QVERIFY(dialog.Continue->isEnabled());
    QVERIFY(dialog.Unload->isEnabled());
    QVERIFY(dialog.Reposition->isEnabled());
    QVERIFY(!dialog.Load->isEnabled());
    QCOMPARE(dialog.Cancel->text(), QStringLiteral("No more tapes"));
}

void TestTapeDialogs::continueUnloadAndLoad()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(1));
    TapeContinueDlg dialog(drive, list.get(), nullptr);
    dialog.Unload->click();
    QCOMPARE(dialog.Status->text(), QStringLiteral("Offline"));
    QVERIFY(dialog.TapeName->text().isEmpty());
    QVERIFY(dialog.Load->isEnabled());
    QVERIFY(!dialog.Continue->isEnabled());
    QVERIFY(!dialog.Unload->isEnabled());
    QVERIFY(!dialog.Reposition->isEnabled());
    QVERIFY(!drive->isOpen());
    QVERIFY(!TapeImage::open(dir->filePath("first.tap"), nullptr)->loaded());

    dialog.Load->click();
    QCOMPARE(dialog.Status->text(), QStringLiteral("Online"));
    QCOMPARE(drive->mode(), 1u);
    QVERIFY(drive->isReady());
    QVERIFY(dialog.Continue->isEnabled());
}

void TestTapeDialogs::continueLoadFailureStaysOffline()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(1));
    TapeContinueDlg dialog(drive, list.get(), nullptr);
    dialog.Unload->click();
    QVERIFY(QFile::setPermissions(dir->filePath("first.tap"), QFile::ReadOwner));
    console.clear();
    dialog.Load->click();
    QCOMPARE(dialog.Status->text(), QStringLiteral("Offline"));
    QVERIFY(!dialog.Continue->isEnabled());
    QVERIFY(dialog.Load->isEnabled());
    QCOMPARE(console.errors(), QStringList{"the tape is write protected on: " + drive->displayLine()});
}

void TestTapeDialogs::continueResult()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(0));
    TapeContinueDlg dialog(drive, list.get(), nullptr);
    closer.actOnNext([](QWidget* modal) { modal->findChild<QPushButton*>("Continue")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    closer.actOnNext([](QWidget* modal) { modal->findChild<QPushButton*>("Cancel")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

void TestTapeDialogs::continueChangeDrive()
{
    TapeDevice* first = list->drive(0);
    QVERIFY(first->open(1));
    TapeContinueDlg dialog(first, list.get(), nullptr);
    closer.actOnNext([](QWidget* modal) {
        auto* select = qobject_cast<TapeSelectDlg*>(modal);
        QVERIFY(select);
        select->DriveList->setCurrentRow(1);
        select->Close->click();
    });
    dialog.ChangeDrive->click();
    TapeDevice* second = list->drive(1);
    QCOMPARE(dialog.currentDrive(), second);
    QCOMPARE(second->mode(), 1u);
    QCOMPARE(dialog.TapeName->text(), second->displayLine());

    // Nothing chosen: the drive stays.
    closer.actOnNext([](QWidget* modal) {
        auto* select = qobject_cast<TapeSelectDlg*>(modal);
        QVERIFY(select);
        select->DriveList->clearSelection();
        select->Close->click();
    });
    dialog.ChangeDrive->click();
    QCOMPARE(dialog.currentDrive(), second);
}

void TestTapeDialogs::continueReposition()
{
    TapeDevice* drive = list->drive(0);
    QVERIFY(drive->open(0));
    TapeContinueDlg dialog(drive, list.get(), nullptr);
    QString shownName;
    closer.actOnNext([&shownName](QWidget* modal) {
        auto* control = qobject_cast<TapeMiniControl*>(modal);
        QVERIFY(control);
        shownName = control->DeviceName->text();
        control->ForwardSkipFile->click();
        control->Close->click();
    });
    dialog.Reposition->click();
    QCOMPARE(shownName, drive->name());
    QCOMPARE(drive->fileNumber(), 2);
    // The registry's console carries the line.
    QCOMPARE(console.messages(), QStringList{"Forward skipped 1 file"});
}

void TestTapeDialogs::continueSilentWithoutSound()
{
    QVERIFY(!QFileInfo::exists(TapeContinueDlg::alertSoundPath()));
    TapeContinueDlg dialog(list->drive(0), list.get(), nullptr);
    QVERIFY(!dialog.findChild<QMediaPlayer*>());
    QVERIFY(dialog.alertOn());
    dialog.SilenceAlert->click();
    QVERIFY(!dialog.alertOn());
    QVERIFY(console.lines.isEmpty());
}

void TestTapeDialogs::continueAlertSound()
{
    const QString path = TapeContinueDlg::alertSoundPath();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile sound(path);
    QVERIFY(sound.open(QIODevice::WriteOnly));
    sound.close();
    {
        TapeContinueDlg dialog(list->drive(0), list.get(), nullptr);
        auto* player = dialog.findChild<QMediaPlayer*>();
        QVERIFY(player);
        QCOMPARE(player->volume(), 50);
        dialog.SilenceAlert->click();
        QVERIFY(!dialog.alertOn());
        QCOMPARE(player->state(), QMediaPlayer::StoppedState);
    }
    QVERIFY(QFile::remove(path));
}

OBR_TEST_MAIN(TestTapeDialogs)
#include "tst_tape_dialogs.moc"
