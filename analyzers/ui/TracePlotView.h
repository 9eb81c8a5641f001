#pragma once

#include "analyzers/TracePlot.h"
#include "analyzers/TraceQc.h"

#include <QGraphicsView>

class QGraphicsPixmapItem;
class QRubberBand;

// Shows a trace plot of any data set with zoom (Ctrl+wheel, fit to window, 1:1) and panning
// (drag, scroll bars). The time labels and the trace annotation stay in view while the plot
// scrolls under them. A click on a trace reports it; the context menu exports the picture.
class TracePlotView : public QGraphicsView {
    Q_OBJECT
public:
    explicit TracePlotView(QWidget* parent = nullptr);
    ~TracePlotView() override;

    // Shows a new plot, keeping the zoom.
    void setPlot(TracePlot plot);
    const TracePlot& plot() const { return plot_; }
    // The picture as shown, with the trace QC marks: what "Export image" saves.
    QImage picture() const;
    // Marks the traces of the QC on this plot and the plots that follow; an empty QC marks none.
    void setQc(const TraceQc& qc);
    const TraceQc& qc() const { return qc_; }
    // Scrolls trace `number` of the data set into the middle of the view, when it is plotted.
    void showTrace(int number);
    // Screen pixels per plot pixel.
    double zoom() const;
    void setZoom(double factor);

    // Shows 1:1 now and fits as "Fit" does once the view is shown with room for the plot: a
    // new file starts fitted, also when its view is on a page not shown yet.
    void fitWhenShown();

public slots:
    void fitToWindow();
    void actualSize();

signals:
    // A left click on plotted trace index (0-based); its trace number in the data set the
    // plot was read from is plot().traceNumber(index).
    void traceClicked(int index);
    // "Fit": the scales at which a plot of these traces fills the view, width and height
    // apart, at 1:1 so that its labels keep their size. The owner of the scales redraws.
    void scalesToFit(double horizontalScale, double verticalScale);
    // The pointer moved over the plot: what it points at (TracePlot::readout), empty off the traces.
    void cursorReadout(const QString& text);
    // Shift + drag chose a rectangle of the plot: its traces and times.
    void areaChosen(const TracePlot::Area& area);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TracePlot plot_;
    TraceQc qc_;
    QGraphicsScene* scene_;
    QGraphicsPixmapItem* pixmapItem = nullptr;
    QPoint pressPosition;
    QRubberBand* areaBand = nullptr;
    bool fitPending = false;

    void fitIfPending();
    void showPicture();
};
