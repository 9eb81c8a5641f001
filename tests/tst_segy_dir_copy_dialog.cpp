#include "copy/ui/SegyDirCopy.h"
#include "devices/TapeDriveList.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFileInfo>
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

    void inputQueue()
    {
        SegyDirCopy dialog(QString(), false, 21, &console, nullptr, nullptr);
        QVERIFY(!dialog.addInputDirectory(path("empty")));
        QCOMPARE(console.errors(), QStringList{"no SEG-Y (.sgy) files found in directory " + path("empty")});
        QVERIFY(dialog.addInputDirectory(path("in")));
        QVERIFY(!dialog.addInputDirectory(path("in")));
        QCOMPARE(dialog.InputQueueList->count(), 1);
        QCOMPARE(dialog.InputQueueList->item(0)->text(), QStringLiteral("%1   [2 files]  %2 bytes ")
                                                             .arg(path("in"))
                                                             .arg(2 * dirtest::segyFile({}).size()));
        QVERIFY(!dialog.Copy->isEnabled());
    }

    void modes_data()
    {
        // revision: byte 43 of the first SEG-D output
        obrtest::columns<bool, bool, bool, QStringList, int>(
            {"segd", "rev31", "perRecord", "outputs", "revision"});
        QTest::newRow("SEG-Y") << false << false << false << QStringList{"a.sgy", "b.sgy"} << 0;
        QTest::newRow("SEG-D 2.1") << true << false << false << QStringList{"a.sgd", "b.sgd"} << 2;
        QTest::newRow("SEG-D 3.1") << true << true << false << QStringList{"a.sgd", "b.sgd"} << 3;
        QTest::newRow("SEG-D 3.1 per record")
            << true << true << true << QStringList{"a_4567.sgd", "b_4567.sgd"} << 3;
    }
    // The controls of each mode, and the choices reach the job.
    void modes()
    {
        const auto [segd, rev31, perRecord, outputs, revision] =
            obrtest::fetch<bool, bool, bool, QStringList, int>("segd", "rev31", "perRecord", "outputs",
                                                               "revision");
        TapeDriveList drives(&console, {writeTapeImage(path("t.tap"), {})});
        SegyDirCopy dialog(QString(), segd, 21, &console, &drives, nullptr);
        dialog.show();
        QCOMPARE(dialog.Concatenate->isVisible(), !segd);
        QCOMPARE(dialog.OutTapeBrowse->isVisible(), !segd);
        QCOMPARE(dialog.SEGDGroup->isVisible(), segd);
        QCOMPARE(dialog.PerRecord->isVisible(), segd);
        QCOMPARE(dialog.PerRecord->text(), QStringLiteral("One SEG-D file per field record"));
        QVERIFY(dialog.Rev21->isChecked() && !dialog.PerRecord->isChecked());
        if (rev31)
            dialog.Rev31->click();
        if (perRecord)
            dialog.PerRecord->click();
        QVERIFY(dialog.addInputDirectory(path("in")));
        dialog.setOutputDirectory(path("out"));
        dialog.FileName->setText(path("report.txt"));
        dialog.Copy->click();
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), outputs);
        const QByteArray first = readFile(path("out/" + outputs.first()));
        if (segd)
            QCOMPARE(int(first[42]), revision);
        else
            QCOMPARE(first, dirtest::segyFile({}));
        QVERIFY(dialog.ProgressBar->isHidden() && dialog.Copy->isEnabled());
        // The job's lines went to the report file too.
        QVERIFY(readFile(path("report.txt")).contains("Multiple SEG-Y Copy Summary:\n   "));
    }

    void closingStopsTheJobWhenTheUserAgrees()
    {
        ModalDialogCloser closer;
        SegyDirCopy dialog(QString(), false, 21, &console, nullptr, nullptr);
        QVERIFY(dialog.addInputDirectory(path("in")));
        dialog.setOutputDirectory(path("out"));
        closer.answerNext("Yes");
        QTimer::singleShot(0, &dialog, &QDialog::reject);
        dialog.Copy->click();
        QCOMPARE(closer.seen().last().text, QStringLiteral("The job is still running.\nStop it?"));
        QCOMPARE(console.warnings().size(), 1);
        QVERIFY(console.warnings().first().startsWith("copy aborted by user at "));
        QVERIFY(!QFileInfo::exists(path("out/b.sgy")));
        // Nothing runs: the window closes without a question.
        dialog.Close->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(closer.count(), 1);
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegyDirCopyDialog)
#include "tst_segy_dir_copy_dialog.moc"
