#pragma once

#include "analyzers/TracePlot.h"

#include <QGraphicsView>

class QGraphicsPixmapItem;

// Shows a trace plot on its parent widget, filling it, and offers the plot for export; a
// new plot needs a new view.
class TraceDisplay : public QGraphicsView {
    Q_OBJECT
public:
    TraceDisplay(QWidget* parent, TracePlot plot);
    ~TraceDisplay() override;

    const TracePlot& plot() const { return plot_; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TracePlot plot_;
    QGraphicsScene* scene_;
    QGraphicsPixmapItem* pixmapItem = nullptr;
};
