#include "copy/ui/SegyCopy.h"
#include "copy/ui/SegyDirCopy.h"
#include "copy/ui/SegyMerge.h"
#include "copy/ui/UnfmtCopy.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "devices/ui/TapeSelectDlg.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using namespace obrtest;

namespace {
// Four traces of 280 bytes behind headers of IBM floats, ten samples each.
const QByteArray input = segyFile(1, 10, false, 4);
} // namespace

// The copy, merge and multi-file copy windows offscreen, on disk files, directories and tape images.
class TestCopyDialogs : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
        closer.clear();
        QVERIFY(writeFile(path("in.sgy"), input));
    }

    // The tape chosen in the select window is the job's input; at its end the continue window asks
    // for the next, and the closer answers "No more tapes".
    void tapeInput()
    {
        TapeDriveList drives(&console, {writeTapeImage(path("a.tap"), {"one", "two", QByteArray()})});
        UnfmtCopy dialog(QString(), &console, &drives, nullptr);
        closer.actOnNext([](QWidget* modal) {
            auto* select = qobject_cast<TapeSelectDlg*>(modal);
            QVERIFY(select);
            select->DriveList->setCurrentRow(0);
            select->Close->click();
        });
        dialog.InTapeBrowse->click();
        QCOMPARE(dialog.InputName->text(), drives.drive(0)->displayLine());
        dialog.setOutputFile(path("out.dat"));
        dialog.Copy->click();
        QCOMPARE(closer.titles(), QStringList({"Tape Select", "Tape Continue"}));
        QCOMPARE(readFile(path("out.dat")), QByteArray("onetwo"));
    }

    // Closed while the job runs: "Yes" stops it, and its output is not written.
    void closingStopsTheJob()
    {
        SegyCopy dialog(QString(), &console, nullptr, nullptr);
        dialog.setInputFile(path("in.sgy"));
        dialog.setOutputFile(path("stopped.sgy"));
        closer.answerNext("Yes");
        QTimer::singleShot(0, &dialog, &QDialog::reject);
        dialog.Copy->click();
        QCOMPARE(QDir(dir->path()).entryList(QDir::Hidden | QDir::Files), QStringList({"in.sgy"}));
    }

    // A typed output name that exists is replaced only when the operator says so; a tape holding
    // files is written after them, or from its start, as the operator chooses.
    void outputQuestions()
    {
        QVERIFY(writeFile(path("out.sgy"), "precious"));
        SegyCopy dialog(QString(), &console, nullptr, nullptr);
        dialog.setInputFile(path("in.sgy"));
        dialog.setOutputFile(path("out.sgy"));
        dialog.Copy->click();
        QCOMPARE(readFile(path("out.sgy")), QByteArray("precious"));
        closer.answerNext("Yes");
        dialog.Copy->click();
        QCOMPARE(readFile(path("out.sgy")), input);

        const TapeBlocks two{"one", QByteArray(), "two", QByteArray(), QByteArray()};
        TapeDriveList drives(&console, {writeTapeImage(path("t.tap"), two)});
        QVERIFY(drives.drive(0)->open(1));
        UnfmtCopy raw(QString(), &console, &drives, nullptr);
        raw.setInputFile(path("in.sgy"));
        raw.setOutputTape(drives.drive(0));
        closer.answerNext("Append after the last file");
        raw.Copy->click();
        const TapeBlocks appended = readTapeImage(path("t.tap"));
        QCOMPARE(appended.mid(0, 4), two.mid(0, 4));
        QCOMPARE(appended.mid(4).join(), input);
    }

    void mergeKeepsFullPaths()
    {
        QVERIFY(QDir(dir->path()).mkdir("elsewhere"));
        QVERIFY(writeFile(path("more.sgy"), input));
        SegyMerge dialog(&console, nullptr, dir->path());
        QCOMPARE(dialog.DirectoryList->count(), 2);
        dialog.Add_All->click();

        auto* model = qobject_cast<QFileSystemModel*>(dialog.DirectoryView->model());
        emit dialog.DirectoryView->clicked(model->index(path("elsewhere")));
        QCOMPARE(dialog.currentDirectory(), path("elsewhere"));
        dialog.FileName->setText("merged.sgy");
        dialog.Merge->click();
        QCOMPARE(readFile(path("elsewhere/merged.sgy")), input + input.mid(3600));
    }

    // One run of each kind: the choices reach the job, and its lines the report file.
    void dirModes_data()
    {
        obrtest::columns<bool, QStringList>({"segd", "outputs"});
        QTest::newRow("SEG-Y") << false << QStringList{"a.sgy", "b.sgy"};
        QTest::newRow("SEG-D 3.1 per record") << true << QStringList{"a_4567.sgd", "b_4567.sgd"};
    }
    void dirModes()
    {
        const auto [segd, outputs] = obrtest::fetch<bool, QStringList>("segd", "outputs");
        for (const char* sub : {"in", "out"})
            QVERIFY(QDir(dir->path()).mkdir(sub));
        QVERIFY(writeFile(path("in/a.sgy"), dirtest::segyFile({})) &&
                writeFile(path("in/b.sgy"), dirtest::segyFile({})));
        SegyDirCopy dialog(QString(), segd, 21, &console, nullptr, nullptr);
        if (segd) {
            dialog.Rev31->click();
            dialog.PerRecord->click();
        }
        QVERIFY(dialog.addInputDirectory(path("in")));
        dialog.setOutputDirectory(path("out"));
        dialog.FileName->setText(path("report.txt"));
        dialog.Copy->click();
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), outputs);
        const QByteArray first = readFile(path("out/" + outputs.first()));
        QVERIFY(segd ? first[42] == 3 : first == dirtest::segyFile({}));
        QVERIFY(readFile(path("report.txt")).contains("Multiple SEG-Y Copy Summary:\n   "));
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    ModalDialogCloser closer;
};

OBR_TEST_MAIN(TestCopyDialogs)
#include "tst_copy_dialogs.moc"
