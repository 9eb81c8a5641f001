#pragma once

#include "analyzers/TraceQc.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QTableWidget;
class TracePlotControls;
class TracePlotView;

// The trace QC beside a plot: what was looked at, and a table of the dead, clipped and noisy
// traces; the plot marks them. A click on a row brings its trace into the middle of the plot.
class TraceQcPanel : public QWidget {
    Q_OBJECT
public:
    // Hidden until the "Trace QC" button of `controls` shows it; each time it is shown the traces
    // are checked again.
    TraceQcPanel(QWidget* parent, TracePlotControls* controls);

    // Lists the QC and marks it on the view.
    void showQc(const TraceQc& qc, TracePlotView* view);
    // A new file: nothing checked yet.
    void clear();
    QTableWidget* table() const { return table_; }

signals:
    // "Check shown traces" was pressed: the owner runs the QC and shows it.
    void checkRequested();

private:
    void makeRoom();

    QLabel* summary;
    QTableWidget* table_;
    QPointer<TracePlotView> view;
};
