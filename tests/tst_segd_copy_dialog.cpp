#include "base/ui/FileDialogs.h"
#include "copy/ui/SegdCopy.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <memory>

using namespace obrtest;

// The SEG-D copy window offscreen: what it enables, its list options and a copy.
class TestSegdCopyDialog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
        closer.clear();
        QVERIFY(QDir(dir->path()).mkpath("in") && QDir(dir->path()).mkpath("out"));
        for (int number = 1; number <= 3; ++number) {
            segdstd::FieldFile layout = segdstd::sercelRevision21();
            layout.fieldFile = number;
            QVERIFY(writeFile(path(QStringLiteral("in/%1.sgd").arg(number)), segdstd::build(layout)));
        }
    }

    // The folders, the range and the report file reach the job.
    void foldersRangeAndReport()
    {
        SegdCopy dialog(QString(), &console, nullptr, nullptr);
        FileDialogs::answerWith([&](const QString& caption, const QString&) {
            return caption.contains("input") ? path("in") : path("out");
        });
        const auto answerLater = qScopeGuard([] { FileDialogs::answerWith({}); });
        dialog.InDirBrowse->click();
        dialog.OutDirBrowse->click();

        dialog.RangeLimit->setChecked(true);
        closer.actOnNext([](QWidget* widget) {
            auto* options = qobject_cast<QDialog*>(widget);
            options->findChild<QLineEdit*>("ListText")->setText("2");
            options->findChild<QCheckBox*>("ExcludeOption")->setChecked(true);
            QMetaObject::invokeMethod(options, "accept");
        });
        dialog.RangeOptions->click();

        dialog.ReportFile->setChecked(true);
        dialog.ReportName->setText(path("report.txt"));
        dialog.Copy->click();
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), (QStringList{"00001.sgd", "00002.sgd"}));
        QCOMPARE(readFile(path("out/00002.sgd")), readFile(path("in/3.sgd")));
        const QString report = QString::fromUtf8(readFile(path("report.txt")));
        QVERIFY(report.contains("\n   2 field files copied\n"));
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    ModalDialogCloser closer;
};

OBR_TEST_MAIN(TestSegdCopyDialog)
#include "tst_segd_copy_dialog.moc"
