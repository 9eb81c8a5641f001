#include "analyzers/TracePlot.h"
#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/TraceDisplay.h"
#include "seismic/TraceGather.h"

// The trace plot of the record and its controls; the plot is rebuilt on every change.

void SegdAnalyzer::redrawSeismicView()
{
    if (!gather)
        return;
    delete plot;
    plot = new TraceDisplay(Display, TracePlot::build(*gather, settings));
}

void SegdAnalyzer::on_HorizontalScale_changed(double value)
{
    settings.horizontalScale = value;
    if (loaded)
        redrawSeismicView();
}

void SegdAnalyzer::on_VerticalScale_changed(double value)
{
    settings.verticalScale = value;
    if (loaded)
        redrawSeismicView();
}

void SegdAnalyzer::on_Gain_changed(double value)
{
    settings.gainDb = value;
    if (loaded)
        redrawSeismicView();
}

void SegdAnalyzer::on_FirstDisplayTrace_changed(int value)
{
    settings.firstTrace = value;
    if (loaded)
        redrawSeismicView();
}

void SegdAnalyzer::on_LastDisplayTrace_changed(int value)
{
    settings.lastTrace = value;
    if (loaded)
        redrawSeismicView();
}
