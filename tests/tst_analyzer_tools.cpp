#include "analyzers/HeaderGraph.h"
#include "analyzers/TracePlot.h"
#include "analyzers/TraceQcMarks.h"
#include "analyzers/ui/AreaSpectrum.h"
#include "analyzers/ui/HeaderGraphPage.h"
#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TraceHeaderPanel.h"
#include "seismic/SegyData.h"
#include "seismic/TraceKey.h"
#include "tests/support/Controls.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cmath>

using namespace obrtest;

namespace {

constexpr int traceCount = 12;
constexpr int samples = 200;
// Traces (1-based) the QC must find: all zero, held at the peak, twenty times as strong.
constexpr int deadTrace = 3;
constexpr int clippedTrace = 5;
constexpr int noisyTrace = 8;

// Twelve traces of field file 1, 200 IEEE samples at 2 ms of a 20 Hz sine, offsets 100 m apart,
// at the standard's bytes: binary header (interval at its byte 17, samples at 21, format 5 at 25),
// trace headers (sequence number at byte 1, field file at 9, offset at 37, samples at 115).
QByteArray qcFile()
{
    using segdstd::bigEndian;
    using segdstd::put;
    QByteArray bytes(3600, '\0');
    put(bytes, 3217,
        bigEndian(2000, 2) + bigEndian(0, 2) + bigEndian(samples, 2) + bigEndian(0, 2) + bigEndian(5, 2));
    for (int trace = 1; trace <= traceCount; ++trace) {
        QByteArray record(240, '\0');
        put(record, 1, bigEndian(quint64(trace), 4));
        put(record, 9, bigEndian(1, 4));
        put(record, 37, bigEndian(quint64(100 * trace), 4));
        put(record, 115, bigEndian(samples, 2) + bigEndian(2000, 2));
        for (int j = 0; j < samples; ++j) {
            const double value = std::sin(2 * M_PI * 20 * j * 0.002 + trace);
            record += segdstd::ieee(float(trace == deadTrace      ? 0
                                          : trace == clippedTrace ? std::clamp(value, -0.5, 0.5)
                                          : trace == noisyTrace   ? 20 * value
                                                                  : value));
        }
        bytes += record;
    }
    return bytes;
}

// Makes the page holding `widget` the current one of every stack above it, as a click on its tab does.
void bringForward(QWidget* widget)
{
    for (QWidget* w = widget; w->parentWidget(); w = w->parentWidget()) {
        if (auto* pages = qobject_cast<QStackedWidget*>(w->parentWidget()))
            pages->setCurrentWidget(w);
    }
    QCoreApplication::processEvents();
}

} // namespace

// The tools of the analyzers' plot: the header panel, the band-pass, the trace QC and the header graph.
class TestAnalyzerTools : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(writeFile(dir.filePath("qc.sgy"), qcFile())); }

    // At the width it opens with, the panel shows the standard's long names and whole values side by side.
    void headerPanelFitsItsWidth()
    {
        const auto analyzer = open("qc.sgy");
        TraceDisplay* view = analyzer->seismicImage();
        bringForward(view);
        QVERIFY(settled(*analyzer));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->mapFromScene(QPointF(view->plot().geometry.traceCentre(1), 60)));
        TraceHeaderPanel* panel = analyzer->traceHeaderPanel();
        QVERIFY(panel->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(panel->title().left(8), QStringLiteral("Trace 2 "));
        const QHeaderView* header = panel->header();
        QVERIFY2(header->length() <= panel->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(header->length()).arg(panel->viewport()->width())));
        QVERIFY(header->sectionSize(0) >= panel->viewport()->width() / 3);
        // Every value whole: the acquisition time "unknown" is the widest.
        const QTreeWidgetItem* times = panel->topLevelItem(panel->topLevelItemCount() - 1);
        QCOMPARE(times->child(times->childCount() - 1)->text(1), QStringLiteral("unknown"));
        QVERIFY(panel->fontMetrics().horizontalAdvance("unknown") < header->sectionSize(1));
        // Ctrl+C copies the rows chosen, name and value.
        panel->topLevelItem(1)->child(2)->setSelected(true);
        QTest::keyClick(panel, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("9  Field file\t1"));
    }

    // The filter is off at first; on, the plot is the one drawn with the band.
    void bandPassFiltersThePlot()
    {
        const auto analyzer = open("qc.sgy");
        TraceDisplay* view = analyzer->seismicImage();
        QVERIFY(!view->plot().settings.band.isOn());
        const QImage plain = view->plot().image;
        control<QCheckBox>(*analyzer, "BandPassOn")->setChecked(true);
        QVERIFY(settled(*analyzer));
        QCOMPARE(view->plot().settings.band.corners, (std::array<double, 4>{5, 10, 60, 80}));
        OBR_COMPARE_PICTURES(view->plot().image,
                             TracePlot::read(*analyzer->dataSet(), view->plot().settings).image);
        // A band far above the 20 Hz sine leaves the traces flat: the picture changes.
        // Typed out of order, the corners are taken in increasing order.
        for (const auto& [name, hertz] :
             {std::pair("BandPassF1", 240), {"BandPassF2", 160}, {"BandPassF3", 200}, {"BandPassF4", 150}})
            control<QDoubleSpinBox>(*analyzer, name)->setValue(hertz);
        QVERIFY(settled(*analyzer));
        QCOMPARE(view->plot().settings.band.corners, (std::array<double, 4>{150, 160, 200, 240}));
        QVERIFY(!obrtest::pictureDifference(view->plot().image, plain).isEmpty());
    }

    // The QC lists the traces, marks each in its own colour over its band, and a row brings its trace
    // into view; in the SEG-D analyzer as well.
    void traceQcListsAndMarks()
    {
        const auto analyzer = open("qc.sgy");
        TraceDisplay* view = analyzer->seismicImage();
        bringForward(view);
        QVERIFY(settled(*analyzer));
        control<QPushButton>(*analyzer, "TraceQcButton")->click();
        auto* table = control<QTableWidget>(*analyzer, "TraceQcTable");
        QVERIFY(table->isVisible());
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 0)->text() + " " + table->item(row, 1)->text();
        QCOMPARE(rows, QStringList({"3 dead", "5 clipped", "8 noisy"}));

        const QImage plain = view->plot().image;
        const QImage marked = view->picture();
        const TracePlotGeometry& geometry = view->plot().geometry;
        for (int index = 0; index < traceCount; ++index) {
            // The trace's centre column: tinted over the plot, the mark's colour in the bar above it.
            const int x = geometry.traceCentre(index);
            int tinted = 0;
            for (int y = TracePlotGeometry::margin; y < TracePlotGeometry::margin + geometry.height; ++y)
                tinted += marked.pixelColor(x, y) != plain.pixelColor(x, y);
            const int number = index + 1;
            if (number != deadTrace && number != clippedTrace && number != noisyTrace) {
                QCOMPARE(tinted, 0);
                continue;
            }
            QCOMPARE(tinted, geometry.height);
            QCOMPARE(marked.pixelColor(x, TracePlotGeometry::margin - 2),
                     TraceQcMarks::colour(number == deadTrace      ? TraceQcMarks::Kind::Dead
                                          : number == clippedTrace ? TraceQcMarks::Kind::Clipped
                                                                   : TraceQcMarks::Kind::Noisy));
        }

        view->setZoom(8);
        QCoreApplication::processEvents();
        view->horizontalScrollBar()->setValue(0);
        emit table->cellClicked(2, 0);
        QVERIFY(view->horizontalScrollBar()->value() > 0);

        // SEG-D: the second of six traces is all zero.
        segdstd::FieldFile layout;
        layout.channelSets = {{6, 101}};
        layout.samples = [](int trace, int count) {
            QByteArray bytes;
            for (int j = 0; j < count; ++j)
                bytes += segdstd::ieee(trace == 1 ? 0.0f : float(segdstd::sampleValue(trace, j)));
            return bytes;
        };
        QVERIFY(writeFile(dir.filePath("qc.sgd"), segdstd::build(layout)));
        ModalDialogCloser closer;
        SegdAnalyzer segd(&console, nullptr, dir.filePath("qc.sgd"));
        control<QPushButton>(segd, "TraceQcButton")->click();
        auto* segdTable = control<QTableWidget>(segd, "TraceQcTable");
        QCOMPARE(segdTable->rowCount(), 1);
        QCOMPARE(segdTable->item(0, 0)->text(), QStringLiteral("2"));
        QCOMPARE(segd.seismicImage()->qc().dead, QVector<int>{2});
    }

    // Shift + drag over the plot: the spectrum of the traces and times inside the rectangle.
    void spectrumOfAnArea()
    {
        const auto analyzer = open("qc.sgy");
        TraceDisplay* view = analyzer->seismicImage();
        bringForward(view);
        QVERIFY(settled(*analyzer));
        const TracePlot& plot = view->plot();
        const auto at = [&](int index, double ms) {
            return view->mapFromScene(QPointF(plot.geometry.traceCentre(index),
                                              plot.geometry.sampleRow(int(ms / plot.sampleInterval))));
        };
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(1, 100));
        QTest::mouseMove(view->viewport(), at(3, 300));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(3, 300));
        auto* window = analyzer->findChild<AreaSpectrum*>();
        QVERIFY(window && window->isVisible() && window->spectra());
        const SampleWindow& chosen = window->spectra()->spectrum().window;
        QCOMPARE(chosen.firstTrace, 2);
        QCOMPARE(chosen.lastTrace, 4);
        QVERIFY2(std::abs(chosen.startSample - 50) <= 1 && std::abs(chosen.endSample - 150) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(chosen.startSample).arg(chosen.endSample)));
        QVERIFY(window->spectra()->showsResult());
    }

    // The page draws the chosen word of the file's traces as the core draws it, and exports it.
    void headerGraphPage()
    {
        const auto analyzer = open("qc.sgy");
        HeaderGraphPage* page = analyzer->headerGraph();
        QVERIFY(page->picture().isNull());
        bringForward(page);
        QCOMPARE(page->graph().key, int(TraceKey::Offset));
        QCOMPARE(page->graph().values.size(), size_t(traceCount));
        QCOMPARE(page->graph().values.back(), 100.0 * traceCount);
        const HeaderGraph expected = HeaderGraph::read(*analyzer->dataSet(), TraceKey::Offset, 1, traceCount);
        OBR_COMPARE_PICTURES(page->picture(), HeaderGraphPicture::draw(expected, page->picture().size()));
        QVERIFY(control<QPushButton>(*analyzer, "ExportHeaderGraph")->isEnabled());
        control<QComboBox>(*analyzer, "HeaderGraphWord")
            ->setCurrentText(TraceKey::info(TraceKey::FieldFile).name);
        QCOMPARE(page->graph().values.front(), 1.0);
    }

private:
    // The plot is drawn in the background: waits for the one an edit started.
    [[nodiscard]] static bool settled(const SegyAnalysis& analyzer)
    {
        return QTest::qWaitFor([&analyzer] { return !analyzer.scanning() && !analyzer.drawing(); }, 30000);
    }

    // Without a format file the built-in standard layout is used.
    std::unique_ptr<SegyAnalysis> open(const QString& name)
    {
        auto analyzer = std::make_unique<SegyAnalysis>(&console, dir.path(), nullptr,
                                                       dir.filePath("none.xml"), dir.filePath(name));
        analyzer->resize(1366, 768);
        analyzer->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(analyzer.get()) && settled(*analyzer)); }();
        return analyzer;
    }

    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestAnalyzerTools)
#include "tst_analyzer_tools.moc"
