#include "analyzers/SegdHexDump.h"
#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/TracePlotView.h"
#include "base/ui/FileDialogs.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/support/Controls.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTextEdit>
#include <memory>

using obrtest::control;
using segdstd::bigEndian;
using segdstd::put;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(obrtest::writeFile(path, bytes));
}

// A Sercel record of 1 auxiliary and 5 seismic traces of 21 samples, saying 6 traces in all.
QByteArray sercelRecord(int fieldFile = 101, int testRecordType = 0)
{
    segdstd::FieldFile layout = segdstd::sercelRevision21();
    layout.fieldFile = fieldFile;
    layout.channelSets = {{1, 21, 9}, {5, 21}};
    QByteArray bytes = segdstd::build(layout);
    const int extended = 96 + 2 * 32; // after the general header and two channel sets
    put(bytes, extended + 9, bigEndian(6, 4));
    put(bytes, extended + 45, bigEndian(quint64(testRecordType), 4));
    return bytes;
}

QString text(const SegdAnalyzer& analyzer, const char* name)
{
    if (auto* edit = analyzer.findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* label = analyzer.findChild<QLabel*>(name))
        return label->text();
    return QStringLiteral("<no field %1>").arg(name);
}

QStringList items(const QComboBox* box)
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    return names;
}

// Chooses a directory through the analyzer's own button.
void browse(SegdAnalyzer& analyzer, const QString& directory)
{
    FileDialogs::answerWith([directory](const QString&, const QString&) { return directory; });
    control<QPushButton>(analyzer, "DirBrowse")->click();
    FileDialogs::answerWith({});
}

} // namespace

class TestSegdAnalyzer : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
    }

    void opensAGeneratedFile()
    {
        const QByteArray bytes = sercelRecord(101, 11);
        writeFile(dir->filePath("a.segd"), bytes);
        writeFile(dir->filePath("b.segd"), sercelRecord(102));
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("a.segd"));
        QCOMPARE(items(control<QComboBox>(analyzer, "FileList")), (QStringList{"a.segd", "b.segd"}));
        QCOMPARE(text(analyzer, "Ffid"), QString("101"));
        control<QSpinBox>(analyzer, "ChannelSet")->setValue(2);
        QCOMPARE(text(analyzer, "NumChan"), QString("5"));
        QCOMPARE(analyzer.recordGather()->count(), 6);
        QCOMPARE(analyzer.seismicImage()->plot().annotations.size(), 6);
        // Enter in a field applies it and leaves the plot's zoom alone: no plot button is the
        // dialog's default.
        analyzer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&analyzer));
        auto* agc = control<QSpinBox>(analyzer, "AgcWindow");
        for (QWidget* w = agc; w->parentWidget(); w = w->parentWidget()) {
            if (auto* pages = qobject_cast<QStackedWidget*>(w->parentWidget()))
                pages->setCurrentWidget(w);
        }
        QVERIFY(control<QPushButton>(analyzer, "FitToWindow")->isVisible());
        // Shown, the new file's plot is fitted at 1:1.
        QCOMPARE(analyzer.seismicImage()->zoom(), 1.0);
        QVERIFY(std::abs(analyzer.seismicImage()->plot().image.height() -
                         analyzer.seismicImage()->viewport()->height()) <= 1);
        analyzer.seismicImage()->setZoom(2.5);
        QTest::keyClick(agc, Qt::Key_Return);
        QCOMPARE(analyzer.seismicImage()->zoom(), 2.5);
        QVERIFY(analyzer.isVisible());

        // The hex dump's count follows its start, so the dump stays inside the file.
        control<QSpinBox>(analyzer, "HexStartByte")->setValue(int(bytes.size()) - 9);
        QCOMPARE(control<QSpinBox>(analyzer, "HexNumBytes")->value(), 10);
        control<QPushButton>(analyzer, "HexRefresh")->click();
        QCOMPARE(control<QTextEdit>(analyzer, "HexDump")->toPlainText(),
                 SegdHexDump::text(bytes.right(10), bytes.size() - 9));

        // The trace header table, and its export to a file that cannot be made: a warning naming it.
        auto* table = control<QTableView>(analyzer, "TraceHeaderTable");
        auto* first = control<QSpinBox>(analyzer, "FirstDumpTrace");
        control<QSpinBox>(analyzer, "DumpTraceCount")->setValue(4);
        first->setValue(3);
        QCOMPARE(table->model()->rowCount(), 4);
        QCOMPARE(table->model()->index(3, 2).data().toInt(), 5);
        ModalDialogCloser closer;
        FileDialogs::answerWith([this](const QString&, const QString&) { return dir->filePath("no/x.txt"); });
        control<QPushButton>(analyzer, "OutputToFile")->click();
        FileDialogs::answerWith({});
        QCOMPARE(closer.seen().value(0).text,
                 QStringLiteral("cannot write %1: No such file or directory").arg(dir->filePath("no/x.txt")));

        // Another file of the list replaces every view.
        control<QComboBox>(analyzer, "FileList")->setCurrentIndex(1);
        QCOMPARE(text(analyzer, "Ffid"), QString("102"));
        // The table starts again at the first trace of the new file.
        QCOMPARE(first->value(), 1);
        QCOMPARE(table->model()->index(0, 0).data().toInt(), 102);
        QVERIFY(console.errors().isEmpty());
    }

    // A start directory that is gone is no error; one without field files is said.
    void directoryWithoutFieldFiles()
    {
        writeFile(dir->filePath("notes.txt"), "x");
        ModalDialogCloser closer;
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("gone"));
        QVERIFY(closer.seen().isEmpty() && console.lines.isEmpty());
        browse(analyzer, dir->path());
        QCOMPARE(closer.titles(), QStringList{"Segd Analysis"});
        QCOMPARE(closer.seen().first().text, QString("No Segd files found in the selected directory."));
        QVERIFY(!analyzer.dataSet());
    }

    // The warning stays; after it the window shows what the standard says, the Sercel fields blank.
    void otherManufacturersShownAsTheStandardReadsThem()
    {
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.manufacturer = 20;
        writeFile(dir->filePath("a.segd"), segdstd::build(layout));
        SegdAnalyzer analyzer(&console, nullptr, dir->path());
        ModalDialogCloser closer;
        browse(analyzer, dir->path());
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.seen().first().text,
                 QStringLiteral("Data is not from a Sercel recording system. Unable to do analysis"));
        QVERIFY(analyzer.dataSet() && analyzer.dataSet()->ok());
        QCOMPARE(text(analyzer, "TraceCountTx"), QString("4 traces in record"));
        QVERIFY(text(analyzer, "TotalTraces").isEmpty());
        const QAbstractItemModel* table = control<QTableView>(analyzer, "TraceHeaderTable")->model();
        QCOMPARE(table->index(1, 2).data().toInt(), 1);
        QVERIFY(!table->index(1, 12).data().isValid());
        QCOMPARE(analyzer.recordGather()->count(), 4);
    }

    // A file that cannot be read whole still shows its hex dump and the headers it holds, and
    // the console names it and says what is missing.
    void damagedFilesShowWhatTheyHold()
    {
        const QByteArray good = sercelRecord(7);
        writeFile(dir->filePath("a.segd"), good.left(50));
        writeFile(dir->filePath("b.segd"), good.left(good.size() - 30));
        writeFile(dir->filePath("c.segd"), good);
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("a.segd"));
        QVERIFY(analyzer.dataSet() && !analyzer.dataSet()->ok());
        QVERIFY2(console.errors().join('\n').contains(
                     "a.segd: the header takes 256 bytes; the file holds 50 bytes"),
                 qPrintable(console.errors().join('\n')));
        QCOMPARE(text(analyzer, "Ffid"), QString("7"));
        QCOMPARE(text(analyzer, "FileSizeTx"), QString("50 bytes in file"));
        QCOMPARE(control<QTextEdit>(analyzer, "HexDump")->toPlainText().left(12), QString("Bytes 1 - 50"));
        auto* list = control<QComboBox>(analyzer, "FileList");
        console.lines.clear();
        // The trace data breaks off: the headers and the traces before the break are shown.
        list->setCurrentIndex(1);
        QVERIFY(console.errors().join('\n').contains("b.segd is cut short at trace 6 of Field File 7"));
        QCOMPARE(text(analyzer, "Ffid"), QString("7"));
        QCOMPARE(analyzer.recordGather()->count(), 5);
        QCOMPARE(text(analyzer, "TraceCountTx"), QString("5 traces in record"));
        // The list is still usable after a bad file.
        list->setCurrentIndex(2);
        QVERIFY(analyzer.dataSet()->ok());
        QCOMPARE(text(analyzer, "TraceCountTx"), QString("6 traces in record"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegdAnalyzer)
#include "tst_segd_analyzer.moc"
