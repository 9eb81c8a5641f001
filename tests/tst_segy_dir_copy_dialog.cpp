#include "base/ui/FileDialogs.h"
#include "copy/ui/SegyDirCopy.h"
#include "devices/TapeDriveList.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using namespace obrtest;

// The multi-file copy window offscreen in both modes, over directories.
class TestSegyDirCopyDialog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
        for (const char* sub : {"in", "empty", "out"})
            QDir(dir->path()).mkdir(sub);
        QVERIFY(writeFile(path("in/a.sgy"), dirtest::segyFile({})));
        QVERIFY(writeFile(path("in/b.sgy"), dirtest::segyFile({})));
    }

    void segyMode()
    {
        SegyDirCopy dialog(QString(), false, 21, &console, nullptr, nullptr);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Multi-file SEGY Copy"));
        QVERIFY(dialog.Concatenate->isVisible() && dialog.OutTapeBrowse->isVisible());
        QVERIFY(!dialog.SEGDGroup->isVisible());
        // Without a drive registry there are no tapes to choose.
        QVERIFY(!dialog.InTapeBrowse->isEnabled() && !dialog.OutTapeBrowse->isEnabled());
        QVERIFY(!dialog.Copy->isEnabled() && !dialog.FileCount->isVisible());

        QVERIFY(!dialog.addInputDirectory(path("empty")));
        QCOMPARE(console.errors(), QStringList{"no SEG-Y (.sgy) files found in directory " + path("empty")});
        QVERIFY(dialog.addInputDirectory(path("in")));
        QVERIFY(!dialog.addInputDirectory(path("in")));
        QCOMPARE(dialog.InputQueueList->count(), 1);
        const qint64 bytes = 2 * dirtest::segyFile({}).size();
        QCOMPARE(dialog.InputQueueList->item(0)->text(),
                 QStringLiteral("%1   [2 files]  %2 bytes ").arg(path("in")).arg(bytes));
        QCOMPARE(dialog.FileCount->text(), QStringLiteral("2"));
        QCOMPARE(dialog.FileSize->text(), QStringLiteral("%1 Bytes").arg(bytes));
        QVERIFY(dialog.FileCount->isVisible() && !dialog.Copy->isEnabled());

        dialog.setOutputDirectory(path("out"));
        QVERIFY(dialog.Copy->isEnabled() && !dialog.OutputLimit->isEnabled());
        QVERIFY(!dialog.RecordGroup->isVisible());
        dialog.FileName->setText(path("report.txt"));
        dialog.Copy->click();
        QCOMPARE(readFile(path("out/a.sgy")), dirtest::segyFile({}));
        QCOMPARE(readFile(path("out/b.sgy")), dirtest::segyFile({}));
        QCOMPARE(dialog.Copy->text(), QStringLiteral("Copy"));
        QVERIFY(dialog.ProgressBar->isHidden());
        // The job's lines went to the report file too.
        const QByteArray report = readFile(path("report.txt"));
        QVERIFY(report.contains("Multiple SEG-Y Copy Summary:\n"));
        QVERIFY(report.contains("   2 files copied\n"));

        dialog.RemoveInputDir->click();
        QCOMPARE(dialog.InputQueueList->count(), 0);
        QVERIFY(!dialog.Copy->isEnabled());
    }

    void foldersAskedThroughTheSharedQuestion()
    {
        QStringList asked;
        FileDialogs::answerWith([&](const QString& caption, const QString&) {
            asked << caption;
            return caption.contains("input") ? path("in") : path("out");
        });
        const auto answerLater = qScopeGuard([] { FileDialogs::answerWith({}); });
        SegyDirCopy dialog(QString(), false, 21, &console, nullptr, nullptr);
        dialog.AddInputDir->click();
        dialog.OutDirBrowse->click();
        QCOMPARE(asked, QStringList({"Select input directory", "Select output directory"}));
        QCOMPARE(dialog.InputQueueList->count(), 1);
        QCOMPARE(dialog.OutputName->text(), path("out"));
        QVERIFY(dialog.Copy->isEnabled());
    }

    void segdMode()
    {
        TapeDriveList drives(&console, {writeTapeImage(path("t.tap"), {})});
        SegyDirCopy dialog(QString(), true, 21, &console, &drives, nullptr);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Copy multiple SEGY files to SEGD files"));
        QVERIFY(!dialog.Concatenate->isVisible() && !dialog.OutTapeBrowse->isVisible());
        QVERIFY(dialog.SEGDGroup->isVisible() && dialog.SEGDGroup->isEnabled());
        QVERIFY(dialog.Rev21->isChecked() && !dialog.Rev31->isChecked());
        QVERIFY(dialog.InTapeBrowse->isEnabled());
        dialog.Rev31->click();
        QCOMPARE(dialog.segdRevision(), 31);
        QVERIFY(dialog.addInputDirectory(path("in")));
        dialog.setOutputDirectory(path("out"));
        dialog.Copy->click();
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), QStringList({"a.sgd", "b.sgd"}));
        QCOMPARE(readFile(path("out/a.sgd")).mid(42, 2), QByteArray("\x03\x01", 2));
    }

    void closingAsksBeforeStoppingTheJob()
    {
        ModalDialogCloser closer;
        SegyDirCopy dialog(QString(), false, 21, &console, nullptr, nullptr);
        QVERIFY(dialog.addInputDirectory(path("in")));
        dialog.setOutputDirectory(path("out"));
        // "No": the job goes on to its end.
        QString asked;
        closer.actOnNext([&asked](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            asked = box->text();
            box->button(QMessageBox::No)->click();
        });
        QTimer::singleShot(0, &dialog, &QDialog::reject);
        dialog.Copy->click();
        QCOMPARE(closer.count(), 1);
        QCOMPARE(asked, QStringLiteral("The job is still running.\nStop it?"));
        QCOMPARE(console.warnings(), QStringList());
        QCOMPARE(readFile(path("out/b.sgy")), dirtest::segyFile({}));
        QCOMPARE(dialog.result(), 0);

        // "Yes": it stops.
        QVERIFY(QDir(dir->path()).mkdir("out2"));
        dialog.setOutputDirectory(path("out2"));
        closer.actOnNext([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            box->button(QMessageBox::Yes)->click();
        });
        QTimer::singleShot(0, &dialog, &QDialog::reject);
        dialog.Copy->click();
        QCOMPARE(console.warnings().size(), 1);
        QVERIFY(console.warnings().first().startsWith("copy aborted by user at "));
        QVERIFY(!QFileInfo::exists(path("out2/b.sgy")));
        QCOMPARE(dialog.result(), 0);
        // Nothing runs: the window closes without a question.
        dialog.Close->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(closer.count(), 2);
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegyDirCopyDialog)
#include "tst_segy_dir_copy_dialog.moc"
