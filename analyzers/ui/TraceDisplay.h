#pragma once

#include "analyzers/ui/TracePlotView.h"

// The SEG-Y analyzer's seismic view: a trace plot view placed on its parent widget, filling
// it.
class TraceDisplay : public TracePlotView {
    Q_OBJECT
public:
    TraceDisplay(QWidget* parent, TracePlot plot);
};
