#include "analyzers/ui/TracePlotControls.h"
#include "analyzers/ui/TracePlotView.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QWheelEvent>
#include <cmath>

namespace {

double sine(int trace, int j)
{
    return std::sin(2 * M_PI * 30.0 * j * 0.002 + trace);
}

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

class TestTracePlotView : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        // 60 traces of 2 s: larger than the view both ways.
        data = std::make_unique<MemoryData>(60, 1000, 2.0f, sine);
        view = std::make_unique<TracePlotView>();
        view->resize(400, 300);
        TraceDisplaySettings settings;
        settings.lastTrace = 60;
        view->showTraces(*data, settings);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    void cleanup()
    {
        view.reset();
        data.reset();
    }

    void zoomsWithCtrlWheelFitAndActualSize()
    {
        wheel(*view, 120);
        QCOMPARE(view->zoom(), 1.25);
        wheel(*view, -240);
        QCOMPARE(view->zoom(), 0.8);
        // Fitted, the taller plot fills the height of the view.
        view->fitToWindow();
        QVERIFY(std::abs(view->zoom() * view->plot().image.height() - view->viewport()->height()) < 1);
        QVERIFY(view->zoom() * view->plot().image.width() <= view->viewport()->width() + 0.5);
        view->actualSize();
        // A wheel without Ctrl scrolls and keeps the zoom.
        const int before = view->verticalScrollBar()->value();
        wheel(*view, -120, Qt::NoModifier);
        QCOMPARE(view->zoom(), 1.0);
        QVERIFY(view->verticalScrollBar()->value() > before);
    }

    void scalesStayInViewWhilePanning()
    {
        const QImage plot = view->plot().image;
        const int m = TracePlotGeometry::margin;
        // Scrolled right and down: the annotation stays at the top, over the traces now in view, and
        // the time labels of the rows in view stay at the left edge.
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        QVERIFY(view->horizontalScrollBar()->value() > 2 * m);
        view->verticalScrollBar()->setValue(300);
        const QImage after = shown(*view);
        const int left = view->horizontalScrollBar()->value();
        QCOMPARE(after.copy(m, 0, 100, m), plot.copy(left + m, 0, 100, m));
        QCOMPARE(after.copy(0, m, m, 100), plot.copy(0, 300 + m, m, 100));
    }

    void clickReportsTheTraceAndDragPans()
    {
        QSignalSpy clicked(view.get(), &TracePlotView::traceClicked);
        const TracePlot& plot = view->plot();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->mapFromScene(QPointF(plot.geometry.traceCentre(5), 200)));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().toInt(), 5);
        // Left of the first trace there is none to report.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(QPointF(5, 200)));
        QCOMPARE(clicked.size(), 1);
        // A drag moves the plot and reports no trace.
        const int before = view->verticalScrollBar()->value();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(100, 200));
        QMouseEvent move(QEvent::MouseMove, QPointF(100, 100), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &move);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QVERIFY(view->verticalScrollBar()->value() > before);
        QCOMPARE(clicked.size(), 1);
    }

    void controlsEditTheDisplayChoices()
    {
        TracePlotControls controls;
        controls.attach(view.get());
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
        // The zoom buttons act on the attached view.
        controls.findChild<QPushButton*>(QStringLiteral("FitToWindow"))->click();
        QVERIFY(view->zoom() < 1.0);
    }

private:
    std::unique_ptr<MemoryData> data;
    std::unique_ptr<TracePlotView> view;
};

OBR_TEST_MAIN(TestTracePlotView)
#include "tst_trace_plot_view.moc"
