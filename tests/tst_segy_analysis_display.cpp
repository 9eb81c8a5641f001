#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "base/ui/FileDialogs.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyTraceDump.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/Controls.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cmath>

using obrtest::control;

class TestSegyAnalysisDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // 10 and 100 traces of 200 samples at 2 ms; the amplitude grows with the trace.
        for (int traces : {10, 100}) {
            SegyFormat format;
            segytest::FileLayout layout;
            layout.traces = traces;
            layout.samples = 200;
            layout.intervalMs = 2.0f;
            QVERIFY(segytest::writeFile(
                dir.filePath(QStringLiteral("t%1.sgy").arg(traces)), format, layout,
                [traces](SeismicTrace& trace, int i) {
                    trace.setValue(TraceKey::FieldFile, 100 + i);
                    trace.setValue(TraceKey::Channel, i + 1);
                    for (int j = 0; j < trace.sampleCount(); ++j)
                        trace.data()[j] = traces * std::sin(j * 0.3 + i);
                },
                &console));
        }
    }
    void cleanup() { FileDialogs::answerWith({}); }

    void picturesFollowTheOpenedFile()
    {
        const auto analyzer = open(10);
        control<QPushButton>(*analyzer, "CreateHistogram")->click();
        control<QPushButton>(*analyzer, "CreateSpectra")->click();
        QVERIFY(analyzer->histogramImage());
        QCOMPARE(analyzer->histogramImage()->histogram().total, qint64(10 * 200));
        const float firstLargest = analyzer->histogramImage()->histogram().largest;

        FileDialogs::answerWith(
            [this](const QString&, const QString&) { return dir.filePath(QStringLiteral("t100.sgy")); });
        analyzer->onFileBrowse();
        QVERIFY(analyzer->histogramImage());
        QCOMPARE(analyzer->histogramImage()->histogram().total, qint64(24 * 200));
        QVERIFY(analyzer->histogramImage()->histogram().largest > 5 * firstLargest);
        QVERIFY(analyzer->spectraImage());
        QCOMPARE(analyzer->spectraImage()->spectrum().window.lastTrace, 24);

        // A file that cannot be read leaves no picture of the one before.
        FileDialogs::answerWith(
            [this](const QString&, const QString&) { return dir.filePath(QStringLiteral("missing.sgy")); });
        analyzer->onFileBrowse();
        QVERIFY(!analyzer->histogramImage());
        QVERIFY(!analyzer->spectraImage());
        QVERIFY(!analyzer->seismicImage());
    }

    void clickedTraceShowsItsHeaderWords()
    {
        const auto analyzer = open(10);
        analyzer->show();
        QVERIFY(QTest::qWaitForWindowExposed(analyzer.get()));
        TraceDisplay* view = analyzer->seismicImage();
        QVERIFY(view);
        QVERIFY(analyzer->traceHeaderPanel()->toPlainText().isEmpty());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->mapFromScene(QPointF(view->plot().geometry.traceCentre(2), 100)));
        QStringList expected;
        QVERIFY(SegyTraceDump::lines(*analyzer->dataSet(), 3, expected));
        QCOMPARE(analyzer->traceHeaderPanel()->toPlainText(), expected.join('\n'));
        // After the 3600 header bytes and two traces of 240 + 200 x 4 bytes.
        QVERIFY(expected.first().startsWith(QStringLiteral("Trace 3 at byte 5680")));
    }

    void displayChoicesRedrawTheSameView()
    {
        const auto analyzer = open(10);
        TraceDisplay* view = analyzer->seismicImage();
        QVERIFY(view);
        // 400 ms of traces: several timing labels, not only "0".
        QVERIFY(view->plot().timingLabelRows.size() >= 3);
        QCOMPARE(control<QSpinBox>(*analyzer, "VerticalAnnotation")->value(),
                 view->plot().settings.timingLineInterval);
        view->setZoom(1.5);
        control<QComboBox>(*analyzer, "DisplayMode")->setCurrentIndex(int(TraceDisplayMode::Density));
        QCOMPARE(analyzer->seismicImage(), view);
        QCOMPARE(view->plot().settings.mode, TraceDisplayMode::Density);
        QCOMPARE(view->zoom(), 1.5);
        // The choice stays for the next file.
        FileDialogs::answerWith(
            [this](const QString&, const QString&) { return dir.filePath(QStringLiteral("t100.sgy")); });
        analyzer->onFileBrowse();
        QCOMPARE(analyzer->seismicImage()->plot().settings.mode, TraceDisplayMode::Density);
    }

private:
    std::unique_ptr<SegyAnalysis> open(int traces)
    {
        return std::make_unique<SegyAnalysis>(&console, dir.path(), nullptr,
                                              dir.filePath(QStringLiteral("none.xml")),
                                              dir.filePath(QStringLiteral("t%1.sgy").arg(traces)));
    }

    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegyAnalysisDisplay)
#include "tst_segy_analysis_display.moc"
