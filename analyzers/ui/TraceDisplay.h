#pragma once

#include "analyzers/TracePlot.h"

#include <QGraphicsView>

class QGraphicsPixmapItem;
class TraceGather;

// The trace plot of a gather, drawn once in the constructor; new settings need a new view.
class TraceDisplay : public QGraphicsView {
    Q_OBJECT
public:
    TraceDisplay(QWidget* parent, const TraceGather& gather, const TraceDisplaySettings& settings);
    ~TraceDisplay() override;

    const TracePlot& plot() const { return plot_; }
    // The plot as an image for saving; null when nothing was plotted.
    QImage picture() const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TracePlot plot_;
    QGraphicsScene* scene_;
    QGraphicsPixmapItem* pixmapItem = nullptr;
};
