#include "analyzers/ui/TraceDisplay.h"

#include <QLayout>

TraceDisplay::TraceDisplay(QWidget* parent, TracePlot plot) : TracePlotView(parent)
{
    setPlot(std::move(plot));
    // In a laid-out parent the plot follows the parent's size; otherwise it takes it once.
    if (parent && parent->layout())
        parent->layout()->addWidget(this);
    else if (parent)
        resize(parent->size());
    show();
}
