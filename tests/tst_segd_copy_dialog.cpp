#include "base/ui/FileDialogs.h"
#include "copy/ui/SegdCopy.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QLabel>
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

    // The folders, the range (a bad list refused in place) and the report file reach the job.
    void foldersRangeAndReport()
    {
        SegdCopy dialog(QString(), &console, nullptr, nullptr);
        QVERIFY(!dialog.Copy->isEnabled());
        FileDialogs::answerWith([&](const QString& caption, const QString&) {
            return caption.contains("input") ? path("in") : path("out");
        });
        const auto answerLater = qScopeGuard([] { FileDialogs::answerWith({}); });
        dialog.InDirBrowse->click();
        dialog.OutDirBrowse->click();
        QCOMPARE(dialog.InputName->text(), QStringLiteral("%1   [3 files]").arg(path("in")));
        QVERIFY(dialog.Copy->isEnabled());

        dialog.RangeLimit->setChecked(true);
        bool refusedInPlace = false;
        closer.actOnNext([&refusedInPlace](QWidget* widget) {
            auto* options = qobject_cast<QDialog*>(widget);
            options->findChild<QLineEdit*>("ListText")->setText("1-2, two");
            QMetaObject::invokeMethod(options, "accept");
            auto* error = options->findChild<QLabel*>("ListError");
            refusedInPlace =
                options->isVisible() && error->isVisibleTo(options) && error->text().contains("\"two\"");
            options->findChild<QLineEdit*>("ListText")->setText("2");
            options->findChild<QCheckBox*>("ExcludeOption")->setChecked(true);
            QMetaObject::invokeMethod(options, "accept");
        });
        dialog.RangeOptions->click();
        QVERIFY(refusedInPlace);

        dialog.ReportFile->setChecked(true);
        dialog.ReportName->setText(path("report.txt"));
        dialog.Copy->click();
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), (QStringList{"00001.sgd", "00002.sgd"}));
        QCOMPARE(readFile(path("out/00002.sgd")), readFile(path("in/3.sgd")));
        const QString report = QString::fromUtf8(readFile(path("report.txt")));
        QVERIFY(report.contains("\n   2 field files copied\n"));
        QVERIFY(dialog.Copy->isEnabled() && !dialog.Abort->isEnabled() && dialog.ProgressBar->isHidden());
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    ModalDialogCloser closer;
};

OBR_TEST_MAIN(TestSegdCopyDialog)
#include "tst_segd_copy_dialog.moc"
