#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TraceHeaderPanel.h"
#include "analyzers/ui/TraceScanRanges.h"
#include "base/ui/FileDialogs.h"
#include "devices/DiskDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/SegyTraceDump.h"
#include "seismic/SeismicTrace.h"
#include "seismic/ui/SegyFormatViewer.h"
#include "tests/support/Controls.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/Responsiveness.h"
#include "tests/support/SegyExtensionFixture.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>

using obrtest::answersQuickly;
using obrtest::control;
using obrtest::edit;
using obrtest::SlowDisk;

namespace {

const QAbstractItemModel& table(const QObject& window, const char* name)
{
    return *control<QTableView>(window, name)->model();
}

// Waits for the background scan and pictures that an edit started.
[[nodiscard]] bool settled(const SegyAnalysis& analyzer)
{
    return QTest::qWaitFor([&analyzer] { return !analyzer.scanning() && !analyzer.drawing(); }, 30000);
}

// Sets a scan range spin box and leaves it.
[[nodiscard]] bool setScanBound(const SegyAnalysis& analyzer, const char* name, int value)
{
    auto* box = control<QSpinBox>(analyzer, name);
    box->setValue(value);
    emit box->editingFinished();
    return settled(analyzer);
}

// The "min/max" of a field row.
QString range(const QObject& window, const QString& row)
{
    return control<QLineEdit>(window, row + "_Min")->text() + '/' +
           control<QLineEdit>(window, row + "_Max")->text();
}

} // namespace

class TestSegyAnalysis : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Field file 100 + i, CMP 500 + i; a sine in the samples.
        const auto fill = [](SeismicTrace& trace, int i) {
            trace.setValue(TraceKey::FieldFile, 100 + i);
            trace.setValue(TraceKey::Cmp, 500 + i);
            for (int j = 0; j < trace.sampleCount(); ++j)
                trace.data()[j] = std::sin(j * 0.3 + i);
        };
        for (int traces : {10, 100}) {
            SegyFormat format;
            segytest::FileLayout layout;
            layout.traces = traces;
            layout.samples = 200;
            layout.intervalMs = 2.0f;
            QVERIFY(segytest::writeFile(dir.filePath(QStringLiteral("t%1.sgy").arg(traces)), format, layout,
                                        fill, &console));
        }
    }
    void cleanup() { FileDialogs::answerWith({}); }

    void fieldEditsReadTheRangesAgain()
    {
        const auto analyzer = open(10);
        // The byte order chosen applies to the binary header's sample interval word, 2000 microseconds;
        // the trace headers keep the order of the data.
        control<QRadioButton>(*analyzer, "IsLittleEndian")->setChecked(true);
        QCOMPARE(table(*analyzer, "BinaryHeader_TwoByteTable").index(8, 2).data().toString(),
                 QString::number(qint16(0xD007)));
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("100/109"));
        control<QRadioButton>(*analyzer, "GetEndian")->setChecked(true);
        edit(*analyzer, "FFID_StartByte", QStringLiteral("21"));
        QVERIFY(settled(*analyzer));
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("500/509"));
        edit(*analyzer, "FFID_StartByte", QStringLiteral("9"));
        // The upper half of the 32-bit word at byte 9.
        control<QComboBox>(*analyzer, "FFID_Type")->setCurrentIndex(1);
        QVERIFY(settled(*analyzer));
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("0/0"));
        QCOMPARE(analyzer->formatInForce()->keySlot(0).type, int(HeaderDataType::Int16));
        // The scan range narrows the ranges too.
        control<QComboBox>(*analyzer, "FFID_Type")->setCurrentIndex(2);
        QVERIFY(settled(*analyzer));
        QVERIFY(setScanBound(*analyzer, "FirstTraceInRange", 4));
        QCOMPARE(range(*analyzer, "FFID"), QStringLiteral("103/109"));
        // A range past the end of the file stops at its last trace.
        console.clear();
        control<QSpinBox>(*analyzer, "LastTraceInRange")->setMaximum(1000);
        QVERIFY(setScanBound(*analyzer, "LastTraceInRange", 500));
        QCOMPARE(console.errors(), QStringList());
        QCOMPARE(table(*analyzer, "TraceHeader_FourByteTable").columnCount(), 7 + 3);
        // A sample format of the user's reads the file again.
        control<QCheckBox>(*analyzer, "SampleFormat_Override")->click();
        control<QComboBox>(*analyzer, "SampleFormat")->setCurrentIndex(2);
        QCOMPARE(analyzer->dataSet()->traceLength(), 240 + 2 * 200);
        control<QComboBox>(*analyzer, "SampleFormat")->setCurrentText(QStringLiteral("8-byte IEEE double"));
        QCOMPARE(analyzer->dataSet()->traceLength(), 240 + 8 * 200);
        control<QCheckBox>(*analyzer, "SampleFormat_Override")->click();
        QCOMPARE(analyzer->dataSet()->sampleFormat(), 5);
    }

    void staysResponsiveWhileScanning()
    {
        // Many short traces read through a slow disk: a scan of all of them takes a while on any
        // machine and in any build.
        const QString path = dir.filePath(QStringLiteral("many.sgy"));
        SegyFormat format;
        segytest::FileLayout layout;
        layout.traces = 10000;
        layout.samples = 4;
        QVERIFY(segytest::writeFile(
            path, format, layout,
            [](SeismicTrace& trace, int i) { trace.setValue(TraceKey::FieldFile, 100 + i); }, &console));
        SegyAnalysis analyzer(&console, dir.path(), nullptr, dir.filePath(QStringLiteral("none.xml")), path);
        analyzer.scanRanges()->readThrough([](ObrConsole* console, const QString& file) {
            return std::make_unique<SlowDisk>(console, file, 0u);
        });
        analyzer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&analyzer));
        QSignalSpy started(&analyzer, &SegyAnalysis::traceScanStarted);
        auto* first = control<QSpinBox>(analyzer, "FirstTraceInRange");
        auto* last = control<QSpinBox>(analyzer, "LastTraceInRange");

        // Typing "414": no key waits for a scan, and only the whole number is read.
        last->setFocus();
        last->selectAll();
        for (const QChar key : QStringLiteral("414"))
            QVERIFY(answersQuickly([&] { QTest::keyClick(last, key.toLatin1()); }));
        QVERIFY(answersQuickly([] {}, 1000, [&] { return started.count() == 1; }));
        QVERIFY(answersQuickly([] {}, 30000, [&] { return !analyzer.scanning(); }));
        QCOMPARE(started.count(), 1);
        QCOMPARE(started.first(), (QVariantList{1, 414}));
        QCOMPARE(table(analyzer, "TraceHeader_FourByteTable").columnCount(), 414 + 3);

        // Paging through the range, then the whole file: the window answers throughout.
        for (int press = 0; press < 25; ++press)
            QVERIFY(answersQuickly([&] { QTest::keyClick(last, Qt::Key_PageUp); }));
        last->setValue(10000);
        emit last->editingFinished();
        QVERIFY(analyzer.scanning());
        QVERIFY(answersQuickly([] {}, 300));
        // The scan shows how far it has come.
        auto* progress = control<QProgressBar>(analyzer, "ScanProgress");
        QVERIFY(progress->isVisible());
        // A newer range makes the long scan stale: its result never reaches the tables.
        first->setValue(50);
        emit first->editingFinished();
        last->setValue(600);
        emit last->editingFinished();
        QVERIFY(answersQuickly([] {}, 30000, [&] { return !analyzer.scanning(); }));
        QCOMPARE(started.last(), (QVariantList{50, 600}));
        QVERIFY(!progress->isVisible());
        QCOMPARE(table(analyzer, "TraceHeader_FourByteTable").columnCount(), 551 + 3);
        QCOMPARE(range(analyzer, "FFID"), QStringLiteral("149/699"));
    }

    // The tab of extension 1 is there while the scanned headers hold it, and a scan with it in view
    // fills the other tables too.
    void extensionOneTab()
    {
        const QString path = dir.filePath(QStringLiteral("extended.sgy"));
        const QString formatPath = dir.filePath(QStringLiteral("extended.xml"));
        QVERIFY(obrtest::writeFile(path, segytest::extensionOneFile()));
        QVERIFY(obrtest::writeFile(formatPath, segytest::extensionOneFormat));
        SegyAnalysis analyzer(&console, dir.path(), nullptr, formatPath, path);
        QVERIFY(settled(analyzer));
        auto* tabs = control<QTabWidget>(analyzer, "TraceHeader_WordDump");
        auto* view = control<QTableView>(analyzer, "TraceHeader_ExtensionOneTable");
        QVERIFY(tabs->isTabVisible(tabs->indexOf(view)));
        const QAbstractItemModel& words = *view->model();
        QCOMPARE(words.rowCount(), 25);
        QCOMPARE(words.index(12, 4).data().toString(), QStringLiteral("-12.25"));

        tabs->setCurrentWidget(view);
        QVERIFY(setScanBound(analyzer, "FirstTraceInRange", 2));
        QCOMPARE(words.columnCount(), 3 + 1);
        QCOMPARE(table(analyzer, "TraceHeader_FourByteTable").columnCount(), 3 + 1);
    }

    // The analyzer's controls reach the format file through the viewer it opens.
    void createFormatFileSavesTheControls()
    {
        const auto analyzer = open(10);
        const QString path = dir.filePath(QStringLiteral("Field layout.xml"));
        FileDialogs::answerWith([&](const QString&, const QString&) { return path; });
        control<QRadioButton>(*analyzer, "IsLittleEndian")->setChecked(true);
        edit(*analyzer, "Offset_StartByte", QStringLiteral("181"));
        control<QComboBox>(*analyzer, "Offset_Type")->setCurrentIndex(4);
        QTimer::singleShot(0, [] {
            auto* viewer = qobject_cast<SegyFormatViewer*>(QApplication::activeModalWidget());
            QVERIFY(viewer);
            control<QPushButton>(*viewer, "Save")->click();
            viewer->accept();
        });
        control<QPushButton>(*analyzer, "CreateFormatFile")->click();
        // Saved, the edits are no longer at risk.
        QVERIFY(!analyzer->isWindowModified());
        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        QCOMPARE(file.format().endianOrder, int(SegyFormat::LittleEndian));
        QCOMPARE(file.format().keySlot(26).startByte, 181);
        QCOMPARE(file.format().keySlot(26).type, int(HeaderDataType::IeeeFloat));
        // The standard's unsigned sample count stays unsigned through both windows.
        QCOMPARE(file.format().samplesPerTrace.type, int(HeaderDataType::UInt16));
    }

    // Found when the range fields cut coordinates off.
    void rangeFieldsHoldCoordinates()
    {
        // A desktop font of the usual size, whatever the test platform's default is.
        const QFont platformFont = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        const auto restoreFont = qScopeGuard([&platformFont] { QApplication::setFont(platformFont); });
        const auto analyzer = open(10);
        analyzer->show();
        QVERIFY(QTest::qWaitForWindowExposed(analyzer.get()));
        const QWidget* view = control<QScrollArea>(*analyzer, "TraceHeaderScroll")->viewport();
        for (const char* field : {"CMP_Easting_Min", "Receiver_Northing_Max", "FFID_Min"}) {
            auto* edit = control<QLineEdit>(*analyzer, field);
            // Ten digits, one decimal and a sign in the room the line edit leaves its text: inside its
            // frame, less its text margins and the two pixels it keeps free on either side.
            QStyleOptionFrame frame;
            frame.initFrom(edit);
            frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
            const QRect room = edit->style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &frame, edit)
                                   .marginsRemoved(edit->textMargins());
            const int text = edit->fontMetrics().horizontalAdvance(QStringLiteral("-9999999999.9"));
            QVERIFY2(text <= room.width() - 4, field);
            // The rows scroll up and down only: no field lies beyond the right edge of the view.
            QVERIFY2(edit->mapTo(view, QPoint(edit->width(), 0)).x() <= view->width(), field);
        }
    }

    void picturesFollowTheOpenedFile()
    {
        const auto analyzer = open(10);
        control<QPushButton>(*analyzer, "CreateHistogram")->click();
        control<QPushButton>(*analyzer, "CreateSpectra")->click();
        QVERIFY(settled(*analyzer));
        QCOMPARE(analyzer->histogramImage()->histogram().total, qint64(10 * 200));
        browse(*analyzer, QStringLiteral("t100.sgy"));
        QVERIFY(settled(*analyzer));
        QCOMPARE(analyzer->histogramImage()->histogram().total, qint64(24 * 200));
        QCOMPARE(analyzer->spectraImage()->spectrum().window.lastTrace, 24);
        // Each file opened refills the type lists: they do not grow.
        for (const QComboBox* combo : analyzer->findChildren<QComboBox*>(QRegularExpression("_Type$")))
            QVERIFY2(combo->count() == HeaderDataType::codeCount, qPrintable(combo->objectName()));
        // A picture that only says why there is none has nothing to export.
        auto* exportSpectra = control<QPushButton>(*analyzer, "ExportSpectra");
        QVERIFY(exportSpectra->isEnabled());
        control<QLineEdit>(*analyzer, "Spectra_StartTime")->setText("100");
        control<QLineEdit>(*analyzer, "Spectra_EndTime")->setText("100");
        control<QPushButton>(*analyzer, "CreateSpectra")->click();
        QVERIFY(settled(*analyzer));
        QVERIFY(!analyzer->spectraImage()->spectrum().problem().isEmpty());
        QVERIFY(!exportSpectra->isEnabled());

        // A file that cannot be read leaves no picture of the one before.
        browse(*analyzer, QStringLiteral("missing.sgy"));
        QVERIFY(!analyzer->histogramImage());
        QVERIFY(!analyzer->spectraImage());
        QVERIFY(!analyzer->seismicImage());
    }

    void displayChoicesAndClickedTrace()
    {
        const auto analyzer = open(10);
        analyzer->show();
        QVERIFY(QTest::qWaitForWindowExposed(analyzer.get()));
        QVERIFY(settled(*analyzer));
        TraceDisplay* view = analyzer->seismicImage();
        QVERIFY(view);
        for (QWidget* w = view; w->parentWidget(); w = w->parentWidget()) {
            if (auto* pages = qobject_cast<QStackedWidget*>(w->parentWidget()))
                pages->setCurrentWidget(w);
        }
        // A click on a trace shows the dump of its header words, and opens the closed panel again.
        const auto click = [view](int trace) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->mapFromScene(QPointF(view->plot().geometry.traceCentre(trace), 100)));
        };
        click(2);
        SegyTraceDump::Dump expected;
        QVERIFY(SegyTraceDump::read(*analyzer->dataSet(), 3, expected));
        QCOMPARE(analyzer->traceHeaderPanel()->title(),
                 QStringLiteral("Trace 3 at byte %1").arg(expected.position));
        control<QToolButton>(*analyzer, "CloseTraceHeaderPanel")->click();
        QVERIFY(!analyzer->traceHeaderPanel()->isVisible());
        click(1);
        QVERIFY(analyzer->traceHeaderPanel()->isVisible());
        // A new display mode redraws the same view at its zoom, and stays for the next file.
        view->setZoom(1.5);
        control<QComboBox>(*analyzer, "DisplayMode")->setCurrentIndex(int(TraceDisplayMode::Density));
        QVERIFY(settled(*analyzer));
        QCOMPARE(analyzer->seismicImage(), view);
        QCOMPARE(view->zoom(), 1.5);
        browse(*analyzer, QStringLiteral("t100.sgy"));
        QVERIFY(settled(*analyzer));
        QCOMPARE(analyzer->seismicImage()->plot().settings.mode, TraceDisplayMode::Density);
    }

    void plotGetsTheWindow()
    {
        const auto analyzer = open(10);
        analyzer->resize(1600, 1000);
        analyzer->show();
        QVERIFY(QTest::qWaitForWindowActive(analyzer.get()));
        auto* tabs = control<QTabWidget>(*analyzer, "HeaderTab");
        auto* formatPanel = control<QWidget>(*analyzer, "FormatPanel");
        auto* plotArea = control<QWidget>(*analyzer, "SeismicWidget");
        auto* ok = control<QPushButton>(*analyzer, "OK");
        // The format controls make way for the seismic view, and come back with the tables.
        tabs->setCurrentWidget(control<QWidget>(*analyzer, "SeismicViewTab"));
        QCoreApplication::processEvents();
        QVERIFY(!formatPanel->isVisible());
        QVERIFY2(plotArea->width() > analyzer->width() * 9 / 10,
                 qPrintable(QString::number(plotArea->width())));
        // Shown there by choice, they stay with the seismic view.
        control<QPushButton>(*analyzer, "FormatControlsShown")->click();
        tabs->setCurrentIndex(0);
        tabs->setCurrentWidget(control<QWidget>(*analyzer, "SeismicViewTab"));
        QVERIFY(formatPanel->isVisible());
        // F11: the plot alone in the window; Esc brings the rest back and leaves the window open.
        QTest::keyClick(analyzer.get(), Qt::Key_F11);
        QVERIFY(!formatPanel->isVisible() && !ok->isVisible() && !tabs->tabBar()->isVisible());
        QVERIFY(plotArea->isVisible());
        QTest::keyClick(analyzer.get(), Qt::Key_Escape);
        QVERIFY(analyzer->isVisible());
        QVERIFY(formatPanel->isVisible() && ok->isVisible() && tabs->tabBar()->isVisible());
    }

private:
    void browse(SegyAnalysis& analyzer, const QString& name)
    {
        FileDialogs::answerWith([path = dir.filePath(name)](const QString&, const QString&) { return path; });
        analyzer.onFileBrowse();
    }
    std::unique_ptr<SegyAnalysis> open(int traces)
    {
        // No standard format file: the built-in standard layout is used.
        return std::make_unique<SegyAnalysis>(&console, dir.path(), nullptr,
                                              dir.filePath(QStringLiteral("none.xml")),
                                              dir.filePath(QStringLiteral("t%1.sgy").arg(traces)));
    }

    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegyAnalysis)
#include "tst_segy_analysis.moc"
