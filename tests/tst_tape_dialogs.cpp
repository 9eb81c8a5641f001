#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/ui/TapeContinueDlg.h"
#include "devices/ui/TapeMiniControl.h"
#include "devices/ui/TapeSelectDlg.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <memory>

// The three operator dialogs, offscreen, on image drives.
class TestTapeDialogs : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        list = std::make_unique<TapeDriveList>(
            &console,
            QStringList{obrtest::writeTapeLayout(path("first.tap"), {10, 11, 12, -1, 20, 21, -1, 30}),
                        obrtest::writeTapeLayout(path("second.tap"), {})});
        QCOMPARE(list->count(), 2);
        console.clear();
    }
    void cleanup()
    {
        list.reset();
        dir.reset();
    }

    void selectWithoutRowGivesNull()
    {
        TapeSelectDlg dialog(nullptr, list.get(), nullptr, 0);
        dialog.show();
        // The list may hold a current row from the focus alone; nothing is chosen until a row is highlighted.
        dialog.DriveList->selectionModel()->setCurrentIndex(dialog.DriveList->model()->index(0, 0),
                                                            QItemSelectionModel::NoUpdate);
        dialog.Close->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.selectedDrive());
    }

    void selectStoresOptions()
    {
        TapeSelectDlg dialog(nullptr, list.get(), nullptr, 1);
        dialog.DriveList->setCurrentRow(1);
        dialog.NoRewOption->setChecked(true);
        dialog.UnloadEodOption->setChecked(true);
        dialog.AutoLoaderOption->setChecked(true);
        dialog.M4Option->setChecked(true);
        dialog.Close->click();
        TapeDevice* drive = list->drive(1);
        QCOMPARE(dialog.selectedDrive(), drive);
        QVERIFY(drive->isOpen() && drive->autoLoader() && drive->noRewind() && drive->unloadAtEnd());
        QCOMPARE(drive->mode(), 1u);
        QCOMPARE(drive->maxBlockSize(), 64000);
    }

    // A typed count is made one a skip takes; a skip says what it did.
    void miniControlSkips()
    {
        TapeDevice* drive = list->drive(0);
        QVERIFY(drive->open(0));
        TapeMiniControl control(nullptr, &console, drive);
        for (const auto& [typed, shown] : {std::pair{"0", "1"}, {"-5", "5"}, {"-2147483648", "8388607"}}) {
            control.SkipCount->setText(QStringLiteral("3"));
            control.SkipCount->setText(typed);
            QCOMPARE(control.SkipCount->text(), QString(shown));
        }
        control.SkipCount->setText(QStringLiteral("2"));
        control.ForwardSkipBlock->click();
        QCOMPARE(control.CurrentBlock->text(), QStringLiteral("3"));
        control.SkipCount->setText(QStringLiteral("1"));
        control.ForwardSkipFile->click();
        QCOMPARE(control.CurrentFile->text(), QStringLiteral("2"));
    }

    void continueButtons()
    {
        TapeDevice* first = list->drive(0);
        QVERIFY(first->open(0));
        TapeContinueDlg dialog(first, list.get(), nullptr);
        // Reposition works the drive with the mini controller; the registry's console carries the line.
        closer.actOnNext([](QWidget* modal) {
            auto* control = qobject_cast<TapeMiniControl*>(modal);
            QVERIFY(control);
            control->ForwardSkipFile->click();
            control->Close->click();
        });
        dialog.Reposition->click();
        QCOMPARE(first->fileNumber(), 2);
        QCOMPARE(console.messages(), QStringList{"Forward skipped 1 file"});

        // Another drive is chosen with the select dialog, in the mode of the job.
        first->close();
        QVERIFY(first->open(1));
        TapeContinueDlg writing(first, list.get(), nullptr);
        closer.actOnNext([](QWidget* modal) {
            auto* select = qobject_cast<TapeSelectDlg*>(modal);
            QVERIFY(select);
            select->DriveList->setCurrentRow(1);
            select->Close->click();
        });
        writing.ChangeDrive->click();
        QCOMPARE(writing.currentDrive(), list->drive(1));
        QCOMPARE(list->drive(1)->mode(), 1u);
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TapeDriveList> list;
    RecordingConsole console;
    ModalDialogCloser closer;
};

OBR_TEST_MAIN(TestTapeDialogs)
#include "tst_tape_dialogs.moc"
