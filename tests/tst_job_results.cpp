#include "copy/ui/JobResultView.h"
#include "copy/ui/SegdCopy.h"
#include "copy/ui/SegyCopy.h"
#include "copy/ui/SegyDirCopy.h"
#include "copy/ui/SegyMerge.h"
#include "copy/ui/UnfmtCopy.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <memory>

using namespace obrtest;

// Every copy window shows how its last job ended, with the counts of the job's summary, and the
// SEG-D copy names the field files it wrote and skipped.
class TestJobResults : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
        closer.clear();
        for (const char* sub : {"in", "segd", "out"})
            QVERIFY(QDir(dir->path()).mkdir(sub));
        QVERIFY(writeFile(path("in/a.sgy"), dirtest::segyFile({})));
        QVERIFY(writeFile(path("in/b.sgy"), dirtest::segyFile({})));
        for (int number = 1; number <= 3; ++number) {
            segdstd::FieldFile layout = segdstd::sercelRevision21();
            layout.fieldFile = number;
            QVERIFY(writeFile(path(QStringLiteral("segd/line_%1.sgd").arg(number)), segdstd::build(layout)));
        }
    }

    void outcomeShown_data()
    {
        // run: "ok", "missing" (the input is gone), "stop" (the operator stops the job)
        columns<QString, QString, QString, QString>({"window", "run", "outcome", "count"});
        const auto row = [](const char* name, const char* window, const char* run, const char* outcome,
                            const char* count) { QTest::newRow(name) << window << run << outcome << count; };
        row("SEG-Y copy", "segy", "ok", "Done", "1 file copied");
        row("SEG-Y copy, input gone", "segy", "missing", "Failed (the console says why)", "0 files copied");
        row("raw copy", "raw", "ok", "Done", "1 field file copied");
        row("merge", "merge", "ok", "Done", "2 files merged");
        row("multi-file copy", "dir", "ok", "Done", "2 files copied");
        row("multi-file copy, stopped", "dir", "stop", "Aborted", "0 files copied");
        row("conversion", "convert", "ok", "Done", "2 SEG-D field files written");
        row("SEG-D copy", "segd", "ok", "Done", "3 field files copied");
        row("SEG-D copy, stopped", "segd", "stop", "Aborted", "0 field files copied");
    }
    void outcomeShown()
    {
        const auto [window, run, outcome, count] =
            fetch<QString, QString, QString, QString>("window", "run", "outcome", "count");
        const QString head =
            QMap<QString, QString>{
                {"segy", "Single SEG-Y Copy Summary:"},      {"raw", "Unformatted Copy Summary:"},
                {"merge", "SEG-Y Merge Summary:"},           {"dir", "Multiple SEG-Y Copy Summary:"},
                {"convert", "Multiple SEG-Y Copy Summary:"}, {"segd", "SEG-D Copy Summary:"}}
                .value(window);
        const QString input = run == "missing" ? path("none.sgy") : path("in/a.sgy");
        std::unique_ptr<QDialog> dialog;
        QAbstractButton* start = nullptr;
        if (window == "segy" || window == "raw") {
            auto* copy =
                window == "segy"
                    ? static_cast<CopyToolDialog*>(new SegyCopy(QString(), &console, nullptr, nullptr))
                    : new UnfmtCopy(QString(), &console, nullptr, nullptr);
            copy->setInputFile(input);
            copy->setOutputFile(path("out/copy"));
            dialog.reset(copy);
            start = copy->findChild<QPushButton*>("Copy");
        } else if (window == "merge") {
            auto* merge = new SegyMerge(&console, nullptr, path("in"));
            merge->Add_All->click();
            merge->FileName->setText(path("out/merged.sgy"));
            dialog.reset(merge);
            start = merge->Merge;
        } else if (window == "dir" || window == "convert") {
            auto* copy = new SegyDirCopy(QString(), window == "convert", 21, &console, nullptr, nullptr);
            QVERIFY(copy->addInputDirectory(path("in")));
            copy->setOutputDirectory(path("out"));
            dialog.reset(copy);
            start = copy->Copy;
        } else {
            auto* copy = new SegdCopy(QString(), &console, nullptr, nullptr);
            copy->setInputFile(path("segd"));
            copy->setOutputFile(path("out"));
            dialog.reset(copy);
            start = copy->Copy;
        }
        if (run == "stop") {
            closer.answerNext("Yes");
            QTimer::singleShot(0, dialog.get(), &QDialog::reject);
        }
        start->click();

        const auto* view = dialog->findChild<JobResultView*>("JobResult");
        QVERIFY(view && !view->isHidden());
        QStringList counts;
        for (const QString& line : console.summary(head))
            counts.append(line.trimmed());
        QVERIFY2(counts.contains(count), qPrintable(counts.join('|')));
        QCOMPARE(view->line(), outcome + ": " + counts.join(", "));
    }

    // Written and skipped field files by the names of their files, in and out.
    void segdFieldFilesByName()
    {
        SegdCopy dialog(QString(), &console, nullptr, nullptr);
        dialog.setInputFile(path("segd"));
        dialog.setOutputFile(path("out"));
        dialog.RangeLimit->setChecked(true);
        closer.actOnNext([](QWidget* widget) {
            widget->findChild<QLineEdit*>("ListText")->setText("2");
            widget->findChild<QCheckBox*>("ExcludeOption")->setChecked(true);
            QMetaObject::invokeMethod(widget, "accept");
        });
        dialog.RangeOptions->click();
        dialog.Copy->click();
        const auto* view = dialog.findChild<JobResultView*>("JobResult");
        QCOMPARE(view->fieldFiles(), QStringList({"Field File 1  line_1.sgd written to 00001.sgd",
                                                  "Field File 2  line_2.sgd skipped",
                                                  "Field File 3  line_3.sgd written to 00002.sgd"}));
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    ModalDialogCloser closer;
};

OBR_TEST_MAIN(TestJobResults)
#include "tst_job_results.moc"
