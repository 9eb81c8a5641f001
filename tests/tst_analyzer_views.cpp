#include "analyzers/HistogramPicture.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TracePlotView.h"
#include "base/ui/FileDialogs.h"
#include "tests/support/MemoryData.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/TestMain.h"

#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>
#include <functional>

namespace {

// Runs `open`, which shows a popup menu and waits for it, and returns the menu's entries;
// the entry `choose` is chosen, or none when it is -1.
QStringList popupEntries(const std::function<void()>& open, int choose = -1)
{
    QStringList entries;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            entries.append(action->text());
        if (choose >= 0 && choose < entries.size()) {
            menu->setActiveAction(menu->actions().at(choose));
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    });
    timer.start(0);
    open();
    return entries;
}

double sine(int trace, int j)
{
    return std::sin(2 * M_PI * 30.0 * j * 0.002 + trace);
}

// What a view shows on the screen.
QImage shown(const QGraphicsView& view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestAnalyzerViews : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        parent = std::make_unique<QWidget>();
        parent->resize(800, 400);
        parent->show();
        // 60 traces of 2 s: larger than the view both ways.
        data = std::make_unique<MemoryData>(60, 1000, 2.0f, sine);
        plotView = std::make_unique<TracePlotView>();
        plotView->resize(400, 300);
        TraceDisplaySettings settings;
        settings.lastTrace = 60;
        plotView->setPlot(TracePlot::read(*data, settings));
        plotView->show();
        QVERIFY(QTest::qWaitForWindowExposed(plotView.get()));
    }
    void cleanup()
    {
        FileDialogs::answerWith({});
        plotView.reset();
        data.reset();
        parent.reset();
    }

    void traceDisplayShowsAndExportsThePlot()
    {
        QTemporaryDir dir;
        MemoryData data(30, 500, 2.0f, sine);
        TraceDisplaySettings settings;
        settings.firstTrace = 5;
        settings.lastTrace = 14;
        TraceDisplay display(parent.get(), TracePlot::read(data, settings));
        QCOMPARE(display.size(), parent->size());
        const QImage picture = display.plot().picture();
        // The plot is narrower than the view and taller: its top left part is on the screen.
        const QSize visible = picture.size().boundedTo(display.viewport()->size());
        QVERIFY(visible.height() < picture.height());
        OBR_COMPARE_PICTURES(shown(display).copy(QRect(QPoint(0, 0), visible)),
                             picture.copy(QRect(QPoint(0, 0), visible)));
        // The whole plot is exported from the context menu, the extension added.
        FileDialogs::answerWith(
            [&](const QString&, const QString&) { return dir.filePath(QStringLiteral("p")); });
        popupEntries(
            [&] {
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                        display.viewport()->mapToGlobal(QPoint(20, 20)));
                QApplication::sendEvent(display.viewport(), &event);
            },
            3);
        OBR_COMPARE_PICTURES(QImage(dir.filePath(QStringLiteral("p.png"))), picture);
    }

    void viewsShowTheCorePictures()
    {
        MemoryData data(24, 1000, 2.0f, sine);
        // A window of samples, and an empty one whose pictures say why they show nothing.
        for (const double endMs : {2000.0, 0.0}) {
            auto spectrum = AmplitudeSpectrum::compute(data, 1, 24, 0, endMs);
            const QImage spectrumDrawn = SpectrumPicture::draw(spectrum, parent->size());
            OBR_COMPARE_PICTURES(shown(Spectra(parent.get(), std::move(spectrum))), spectrumDrawn);
            auto histogram = SampleHistogram::compute(data, 1, 24, 0, endMs);
            const QImage histogramDrawn = HistogramPicture::draw(histogram, parent->size());
            OBR_COMPARE_PICTURES(shown(Histogram(parent.get(), std::move(histogram))), histogramDrawn);
        }
    }

    void clickReportsTheTraceAndDragPans()
    {
        QSignalSpy clicked(plotView.get(), &TracePlotView::traceClicked);
        const TracePlot& plot = plotView->plot();
        QTest::mouseClick(plotView->viewport(), Qt::LeftButton, {},
                          plotView->mapFromScene(QPointF(plot.geometry.traceCentre(5), 200)));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().toInt(), 5);
        // Left of the first trace there is none to report.
        QTest::mouseClick(plotView->viewport(), Qt::LeftButton, {}, plotView->mapFromScene(QPointF(5, 200)));
        QCOMPARE(clicked.size(), 1);
        // A drag moves the plot and reports no trace.
        const int before = plotView->verticalScrollBar()->value();
        QTest::mousePress(plotView->viewport(), Qt::LeftButton, {}, QPoint(100, 200));
        QMouseEvent move(QEvent::MouseMove, QPointF(100, 100), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(plotView->viewport(), &move);
        QTest::mouseRelease(plotView->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY(plotView->verticalScrollBar()->value() > before);
        QCOMPARE(clicked.size(), 1);
    }

private:
    std::unique_ptr<QWidget> parent;
    std::unique_ptr<MemoryData> data;
    std::unique_ptr<TracePlotView> plotView;
};

OBR_TEST_MAIN(TestAnalyzerViews)
#include "tst_analyzer_views.moc"
