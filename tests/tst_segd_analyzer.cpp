#include "analyzers/SegdHexDump.h"
#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/TracePlotView.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTextEdit>
#include <memory>

using segdtest::bigEndian;
using segdtest::put;

namespace {

const QString notSercel = QStringLiteral("Data is not from a Sercel recording system. Unable to do analysis");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QVERIFY(obrtest::writeFile(path, bytes));
}

// A Sercel record of 1 auxiliary and 5 seismic traces of 21 samples, saying 6 traces in all.
QByteArray sercelRecord(int fieldFile = 101, int testRecordType = 0)
{
    segdtest::FieldFile layout;
    layout.fieldFile = fieldFile;
    layout.channelSets = {{1, false, 21}, {5, true, 21}};
    QByteArray bytes = segdtest::build(layout);
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

template <typename T> T* child(const SegdAnalyzer& analyzer, const char* name)
{
    T* widget = analyzer.findChild<T*>(name);
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
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
    child<QPushButton>(analyzer, "DirBrowse")->click();
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

    void helpOpensBesideTheWindow()
    {
        QWidget mainWindow;
        SegdAnalyzer analyzer(&console, &mainWindow, QString());
        // Modal to the main window only, so a help page opened from it takes input.
        QCOMPARE(analyzer.windowModality(), Qt::WindowModal);
        child<QPushButton>(analyzer, "Help")->click();
        OnlineDocumentation* viewer = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* page = qobject_cast<OnlineDocumentation*>(widget); page && page->isVisible())
                viewer = page;
        }
        QVERIFY(viewer);
        QVERIFY(!viewer->parentWidget());
        viewer->close();
    }

    void opensAGeneratedFile()
    {
        writeFile(dir->filePath("a.segd"), sercelRecord(101, 11));
        writeFile(dir->filePath("b.segd"), sercelRecord(102));
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("a.segd"));
        QVERIFY(analyzer.dataSet());
        QVERIFY(!child<QPushButton>(analyzer, "DirBrowse")->isVisibleTo(&analyzer));
        QCOMPARE(text(analyzer, "DirName"), dir->path());
        QCOMPARE(items(child<QComboBox>(analyzer, "FileList")), (QStringList{"a.segd", "b.segd"}));
        QCOMPARE(text(analyzer, "Ffid"), QString("101"));
        QCOMPARE(child<QLineEdit>(analyzer, "TestRecType")->toolTip(), QString("instrument pulse"));
        child<QSpinBox>(analyzer, "ChannelSet")->setValue(2);
        QCOMPARE(text(analyzer, "NumChan"), QString("5"));
        QCOMPARE(text(analyzer, "TraceCountTx"), QString("6 traces in record"));
        const qint64 size = QFileInfo(dir->filePath("a.segd")).size();
        QCOMPARE(text(analyzer, "FileSizeTx"), QString("%1 bytes in file").arg(size));
        QCOMPARE(child<QSpinBox>(analyzer, "HexStartByte")->maximum(), int(size));
        QCOMPARE(child<QTextEdit>(analyzer, "ExternalHeader")->toPlainText(), QString(32, 'E'));
        QCOMPARE(analyzer.recordGather()->count(), 6);
        QCOMPARE(analyzer.seismicImage()->plot().annotations.size(), 6);

        // Another file of the list replaces every view.
        child<QComboBox>(analyzer, "FileList")->setCurrentIndex(1);
        QCOMPARE(text(analyzer, "Ffid"), QString("102"));
        QCOMPARE(child<QSpinBox>(analyzer, "HexStartByte")->text(), QString("1"));
        QCOMPARE(child<QTableView>(analyzer, "TraceHeaderTable")->model()->index(0, 0).data().toInt(), 102);
        QVERIFY(console.errors().isEmpty());
    }

    void onlySgdFilesListedWhenBothKindsExist()
    {
        writeFile(dir->filePath("x.segd"), sercelRecord(1));
        writeFile(dir->filePath("b.sgd"), sercelRecord(2));
        writeFile(dir->filePath("c.sgd"), sercelRecord(3));
        QVERIFY(QDir(dir->path()).mkdir("d.sgd"));
        SegdAnalyzer analyzer(&console, nullptr, dir->path());
        QVERIFY(!analyzer.dataSet());
        browse(analyzer, dir->path());
        QCOMPARE(items(child<QComboBox>(analyzer, "FileList")), (QStringList{"b.sgd", "c.sgd"}));
        QCOMPARE(text(analyzer, "Ffid"), QString("2"));
    }

    void directoryWithoutFieldFiles()
    {
        writeFile(dir->filePath("notes.txt"), "x");
        ModalDialogCloser closer;
        // A start directory that is gone is no error.
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("gone"));
        QVERIFY(closer.seen().isEmpty() && console.lines.isEmpty());
        browse(analyzer, dir->path());
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.seen().first().title, QString("Segd Analysis"));
        QCOMPARE(closer.seen().first().text, QString("No Segd files found in the selected directory."));
        QVERIFY(!analyzer.dataSet());
    }

    void hexDumpOfTheFile()
    {
        const QByteArray bytes = sercelRecord();
        writeFile(dir->filePath("a.segd"), bytes);
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("a.segd"));
        auto* start = child<QSpinBox>(analyzer, "HexStartByte");
        auto* count = child<QSpinBox>(analyzer, "HexNumBytes");
        auto* dump = child<QTextEdit>(analyzer, "HexDump");

        start->setValue(1);
        count->setValue(40);
        child<QPushButton>(analyzer, "HexRefresh")->click();
        QVERIFY(dump->toPlainText().startsWith("Bytes 1 - 40\n\n  0   0101"));
        QCOMPARE(dump->toPlainText(), SegdHexDump::text(bytes.left(40), 1));

        count->setValue(100);
        child<QPushButton>(analyzer, "HexRefresh")->click();
        const QStringList lines = dump->toPlainText().split('\n');
        QCOMPARE(lines.value(5).left(7), QString("  96   "));

        // The count follows the start so the dump stays inside the file.
        start->setValue(int(bytes.size()) - 9);
        QCOMPARE(count->value(), 10);
        child<QPushButton>(analyzer, "HexRefresh")->click();
        QCOMPARE(dump->toPlainText(), SegdHexDump::text(bytes.right(10), bytes.size() - 9));
    }

    void traceHeaderTableAndExport()
    {
        writeFile(dir->filePath("a.segd"), sercelRecord());
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("a.segd"));
        auto* table = child<QTableView>(analyzer, "TraceHeaderTable");
        auto* first = child<QSpinBox>(analyzer, "FirstDumpTrace");
        auto* count = child<QSpinBox>(analyzer, "DumpTraceCount");
        QCOMPARE(table->model()->rowCount(), 6);
        QCOMPARE(table->model()->index(1, 2).data().toInt(), 1); // first seismic channel

        count->setValue(4);
        QCOMPARE(first->maximum(), 3);
        first->setValue(3);
        QCOMPARE(table->model()->rowCount(), 4);
        QCOMPARE(table->model()->index(3, 2).data().toInt(), 5);

        const QString out = dir->filePath("headers.txt");
        FileDialogs::answerWith([out](const QString&, const QString&) { return out; });
        child<QPushButton>(analyzer, "OutputToFile")->click();
        FileDialogs::answerWith({});
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
        QCOMPARE(lines.size(), 1 + 6 + 1); // header, six traces, nothing after the last break
        QVERIFY(lines.first().startsWith("Field File, Channel Set, Trace Number, "));

        // A file that cannot be made is a warning, not a crash.
        ModalDialogCloser closer;
        FileDialogs::answerWith(
            [this](const QString&, const QString&) { return dir->filePath("no/such/x.txt"); });
        child<QPushButton>(analyzer, "OutputToFile")->click();
        FileDialogs::answerWith({});
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.seen().first().text, QString("cannot open text file"));
    }

    void otherManufacturersAreRefused()
    {
        segdtest::FieldFile layout;
        layout.manufacturer = 20;
        writeFile(dir->filePath("a.segd"), segdtest::build(layout));
        layout.majorRevision = 3;
        layout.minorRevision = 0;
        writeFile(dir->filePath("b.segd"), segdtest::build(layout));
        SegdAnalyzer analyzer(&console, nullptr, dir->path());
        ModalDialogCloser closer;
        browse(analyzer, dir->path());
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.seen().first().text, notSercel);
        QVERIFY(!analyzer.dataSet());
        QCOMPARE(items(child<QComboBox>(analyzer, "FileList")), (QStringList{"a.segd", "b.segd"}));

        // A revision 3 file is shown whatever its manufacturer.
        child<QComboBox>(analyzer, "FileList")->setCurrentIndex(1);
        QCOMPARE(closer.count(), 1);
        QVERIFY(analyzer.dataSet());
        QCOMPARE(text(analyzer, "Ffid"), QString("1"));
    }

    void damagedFilesAreReportedNotShown()
    {
        const QByteArray good = sercelRecord(7);
        writeFile(dir->filePath("a.segd"), good.left(50));
        writeFile(dir->filePath("b.segd"), good.left(good.size() - 30));
        QByteArray overrun = good;
        put(overrun, 29, segdtest::bcd(99, 2)); // 99 channel sets in a file that holds two
        writeFile(dir->filePath("c.segd"), overrun);
        writeFile(dir->filePath("d.segd"), good);
        SegdAnalyzer analyzer(&console, nullptr, dir->filePath("a.segd"));
        QVERIFY(!analyzer.dataSet() && !console.errors().isEmpty());
        QCOMPARE(items(child<QComboBox>(analyzer, "FileList")), (QStringList{"a.segd"}));

        SegdAnalyzer browsing(&console, nullptr, dir->path());
        browse(browsing, dir->path());
        auto* list = child<QComboBox>(browsing, "FileList");
        console.lines.clear();
        // The trace data breaks off: the headers and the traces before the break are shown.
        list->setCurrentIndex(1);
        QVERIFY(!console.errors().isEmpty());
        QCOMPARE(text(browsing, "Ffid"), QString("7"));
        QVERIFY(browsing.recordGather() && browsing.recordGather()->count() <= 6);
        console.lines.clear();
        list->setCurrentIndex(2);
        QVERIFY(!console.errors().isEmpty() && !browsing.dataSet());
        QVERIFY(text(browsing, "Ffid").isEmpty());
        // The list is still usable after a bad file.
        list->setCurrentIndex(3);
        QVERIFY(browsing.dataSet());
        QCOMPARE(text(browsing, "TraceCountTx"), QString("6 traces in record"));
    }

    void realSercelFile()
    {
        OBR_REQUIRE_REALDATA();
        const QString path = obrtest::realDataDir() + "/segd/sercel.segd";
        if (!QFileInfo::exists(path))
            QSKIP("sercel.segd is absent");
        SegdAnalyzer analyzer(&console, nullptr, path);
        QVERIFY(analyzer.dataSet());
        QCOMPARE(text(analyzer, "TraceCountTx"), QString("86 traces in record"));
        QCOMPARE(text(analyzer, "NumSamples"), QString("2001"));
        QCOMPARE(text(analyzer, "BaseScanIntvl"), QString("1.00"));
        QCOMPARE(analyzer.recordGather()->count(), 86);
        QVERIFY(!analyzer.seismicImage()->plot().image.isNull());
    }

    void realOtherVendorFileRefused()
    {
        OBR_REQUIRE_REALDATA();
        const QString path = obrtest::realDataDir() + "/segd/other-vendor-rev2.1.segd";
        if (!QFileInfo::exists(path))
            QSKIP("other-vendor-rev2.1.segd is absent");
        ModalDialogCloser closer;
        SegdAnalyzer analyzer(&console, nullptr, path);
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.seen().first().text, notSercel);
        QVERIFY(!analyzer.dataSet());
        QVERIFY(text(analyzer, "Ffid").isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegdAnalyzer)
#include "tst_segd_analyzer.moc"
