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
#include <QTemporaryDir>
#include <cmath>

using obrtest::control;

class TestSegyAnalysisDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // 10 and 100 traces of 200 samples at 2 ms.
        for (int traces : {10, 100}) {
            SegyFormat format;
            segytest::FileLayout layout;
            layout.traces = traces;
            layout.samples = 200;
            layout.intervalMs = 2.0f;
            QVERIFY(segytest::writeFile(
                dir.filePath(QStringLiteral("t%1.sgy").arg(traces)), format, layout,
                [](SeismicTrace& trace, int i) {
                    for (int j = 0; j < trace.sampleCount(); ++j)
                        trace.data()[j] = std::sin(j * 0.3 + i);
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
        QCOMPARE(analyzer->histogramImage()->histogram().total, qint64(10 * 200));
        browse(*analyzer, QStringLiteral("t100.sgy"));
        QCOMPARE(analyzer->histogramImage()->histogram().total, qint64(24 * 200));
        QCOMPARE(analyzer->spectraImage()->spectrum().window.lastTrace, 24);

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
        TraceDisplay* view = analyzer->seismicImage();
        QVERIFY(view);
        // 400 ms of traces: several timing labels, not only "0".
        QVERIFY(view->plot().timingLabelRows.size() >= 3);
        // A click on a trace shows the dump of its header words.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->mapFromScene(QPointF(view->plot().geometry.traceCentre(2), 100)));
        QStringList expected;
        QVERIFY(SegyTraceDump::lines(*analyzer->dataSet(), 3, expected));
        QCOMPARE(analyzer->traceHeaderPanel()->toPlainText(), expected.join('\n'));
        // A new display mode redraws the same view at its zoom, and stays for the next file.
        view->setZoom(1.5);
        control<QComboBox>(*analyzer, "DisplayMode")->setCurrentIndex(int(TraceDisplayMode::Density));
        QCOMPARE(analyzer->seismicImage(), view);
        QCOMPARE(view->zoom(), 1.5);
        browse(*analyzer, QStringLiteral("t100.sgy"));
        QCOMPARE(analyzer->seismicImage()->plot().settings.mode, TraceDisplayMode::Density);
    }

private:
    void browse(SegyAnalysis& analyzer, const QString& name)
    {
        FileDialogs::answerWith([path = dir.filePath(name)](const QString&, const QString&) { return path; });
        analyzer.onFileBrowse();
    }
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
