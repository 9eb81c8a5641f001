#include "analyzers/HistogramPicture.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TracePlotControls.h"
#include "analyzers/ui/TracePlotView.h"
#include "base/ui/FileDialogs.h"
#include "tests/support/MemoryData.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWheelEvent>
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

void wheel(QGraphicsView& view, int delta, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    const QPointF at(view.viewport()->width() / 2.0, view.viewport()->height() / 2.0);
    QWheelEvent event(at, view.viewport()->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &event);
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

    void clickOnABarShowsItsBin()
    {
        // 24 traces x 1000 samples: 15 bins.
        const int bin = 7;
        MemoryData data(24, 1000, 2.0f, sine);
        Histogram view(parent.get(), SampleHistogram::compute(data, 1, 24, 0, 2000));
        const QRectF bar = HistogramPicture::barRect(view.histogram(), view.picture().size(), bin);
        const QPoint inside = bar.center().toPoint();
        const auto& b = view.histogram().bins[size_t(bin)];
        const QStringList entries =
            popupEntries([&] { QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, inside); });
        QCOMPARE(entries.value(0), QStringLiteral("Minimum value : ") + QString::number(b.lower, 'g', 6));
        QCOMPARE(entries.value(2), QStringLiteral("Percent of all samples : ") +
                                       QString::number(100.0 * double(b.count) / 24000.0, 'g', 6));
        // Above the bar and in the margin nothing opens.
        for (const QPoint& outside : {QPoint(inside.x(), int(bar.top()) - 3), QPoint(10, 10)})
            QCOMPARE(popupEntries([&] { QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, outside); }),
                     QStringList());
    }

    void zoomsWithCtrlWheelFitAndActualSize()
    {
        wheel(*plotView, 120);
        QCOMPARE(plotView->zoom(), 1.25);
        wheel(*plotView, -240);
        QCOMPARE(plotView->zoom(), 0.8);
        // "Fit" asks for the scales at which the plot fills the view, width and height apart, at 1:1:
        // drawn at them, the plot is as high as the view and at most 31 columns narrower.
        QSignalSpy fitted(plotView.get(), &TracePlotView::scalesToFit);
        plotView->fitToWindow();
        QCOMPARE(plotView->zoom(), 1.0);
        QCOMPARE(fitted.size(), 1);
        TraceDisplaySettings settings = plotView->plot().settings;
        settings.horizontalScale = fitted[0][0].toDouble();
        settings.verticalScale = fitted[0][1].toDouble();
        const TracePlotGeometry g = TracePlotGeometry::compute(60, 1000, 2.0, settings);
        const QSize view = plotView->viewport()->size();
        QVERIFY2(std::abs(g.imageHeight() - view.height()) <= 1,
                 qPrintable(QString::number(g.imageHeight())));
        QVERIFY2(g.imageWidth() <= view.width() && g.imageWidth() > view.width() - 32,
                 qPrintable(QString::number(g.imageWidth())));
        plotView->setZoom(0.8);
        plotView->actualSize();
        // A wheel without Ctrl scrolls and keeps the zoom.
        const int before = plotView->verticalScrollBar()->value();
        wheel(*plotView, -120, Qt::NoModifier);
        QCOMPARE(plotView->zoom(), 1.0);
        QVERIFY(plotView->verticalScrollBar()->value() > before);
    }

    // Moving the pointer over the plot tells what it points at; leaving it says nothing.
    void cursorReadoutFollowsThePointer()
    {
        QSignalSpy told(plotView.get(), &TracePlotView::cursorReadout);
        const TracePlotGeometry& g = plotView->plot().geometry;
        const QPoint at = plotView->mapFromScene(QPointF(g.traceCentre(1), g.sampleRow(10)));
        QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plotView->viewport(), &move);
        QVERIFY(!told.isEmpty());
        QVERIFY2(told.last()[0].toString().startsWith("Trace 2 "), qPrintable(told.last()[0].toString()));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(plotView.get(), &leave);
        QCOMPARE(told.last()[0].toString(), QString());
    }

    void scalesStayInViewWhilePanning()
    {
        const QImage plot = plotView->plot().image;
        const int m = TracePlotGeometry::margin;
        // Scrolled right and down: the annotation stays at the top, over the traces now in view, and
        // the time labels of the rows in view stay at the left edge.
        plotView->horizontalScrollBar()->setValue(plotView->horizontalScrollBar()->maximum());
        QVERIFY(plotView->horizontalScrollBar()->value() > 2 * m);
        plotView->verticalScrollBar()->setValue(300);
        const QImage after = shown(*plotView);
        const int left = plotView->horizontalScrollBar()->value();
        QCOMPARE(after.copy(m, 0, 100, m), plot.copy(left + m, 0, 100, m));
        QCOMPARE(after.copy(0, m, m, 100), plot.copy(0, 300 + m, m, 100));
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

    void controlsEditTheDisplayChoices()
    {
        TracePlotControls controls;
        controls.attach(plotView.get());
        QSignalSpy changed(&controls, &TracePlotControls::settingsChanged);
        TraceDisplaySettings shownSettings;
        shownSettings.mode = TraceDisplayMode::Density;
        shownSettings.agcWindowMs = 250;
        controls.showSettings(shownSettings);
        controls.findChild<QComboBox*>(QStringLiteral("ColourMap"))->setCurrentIndex(1);
        QCOMPARE(changed.size(), 1);
        controls.findChild<QComboBox*>(QStringLiteral("Normalisation"))->setCurrentIndex(1);
        // The choices made join those shown.
        TraceDisplaySettings applied;
        controls.applyTo(applied);
        QCOMPARE(applied.colourMap, DensityColourMap::RedWhiteBlue);
        QCOMPARE(applied.traceNormalization, 0);
        QCOMPARE(applied.agcWindowMs, 250.0);
    }

private:
    std::unique_ptr<QWidget> parent;
    std::unique_ptr<MemoryData> data;
    std::unique_ptr<TracePlotView> plotView;
};

OBR_TEST_MAIN(TestAnalyzerViews)
#include "tst_analyzer_views.moc"
