#include "analyzers/TimingInterval.h"
#include "analyzers/TracePlot.h"
#include "analyzers/ui/AreaSpectrum.h"
#include "analyzers/ui/SegdAnalyzer.h"
#include "analyzers/ui/TracePlotControls.h"
#include "analyzers/ui/TracePlotView.h"
#include "analyzers/ui/TraceQcPanel.h"
#include "seismic/SegdData.h"
#include "seismic/TraceGather.h"

#include <QLabel>
#include <QLayout>
#include <QSplitter>

// The trace plot of the record: the display choices above a zoomable view, which is given a
// new plot on every change.

void SegdAnalyzer::setUpSeismicView()
{
    displayControls = new TracePlotControls(Display);
    Display->layout()->addWidget(displayControls);
    // The QC list beside the plot, when shown.
    auto* plotAndQc = new QSplitter(Qt::Horizontal, Display);
    plot = new TracePlotView(plotAndQc);
    plot->setObjectName(QStringLiteral("SeismicPlot"));
    plotAndQc->addWidget(plot);
    qcPanel = new TraceQcPanel(plotAndQc, displayControls);
    plotAndQc->addWidget(qcPanel);
    plotAndQc->setStretchFactor(0, 1);
    connect(qcPanel, &TraceQcPanel::checkRequested, this, &SegdAnalyzer::checkTraces);
    // The plot takes the height the controls leave.
    static_cast<QBoxLayout*>(Display->layout())->addWidget(plotAndQc, 1);
    auto* readout = new QLabel(Display);
    readout->setObjectName(QStringLiteral("CursorReadout"));
    Display->layout()->addWidget(readout);
    connect(plot, &TracePlotView::cursorReadout, readout, &QLabel::setText);
    AreaSpectrum::follow(plot, this, [this] { return static_cast<SeismicData*>(data.get()); });
    displayControls->attach(plot);
    connect(plot, &TracePlotView::scalesToFit, this, [this](double horizontal, double vertical) {
        TracePlotControls::takeScales(HorizontalScale, VerticalScale, horizontal, vertical, settings);
        if (loaded)
            redrawSeismicView();
    });
    displayControls->showSettings(settings);
    connect(displayControls, &TracePlotControls::settingsChanged, this, [this] {
        displayControls->applyTo(settings);
        if (loaded)
            redrawSeismicView();
    });
}

// The record in memory is checked: its traces numbered from 1, as the plot counts them.
void SegdAnalyzer::checkTraces()
{
    if (gather)
        qcPanel->showQc(TraceQc::ofGather(*gather), plot);
    else
        qcPanel->clear();
}

// Timing lines that suit the record's length at the vertical scale in force.
void SegdAnalyzer::suitTimingLines()
{
    const double recordMs = double(data->samples() - 1) * double(data->sampleInterval());
    settings.timingLineInterval =
        TimingInterval::suited(recordMs, recordMs / 1000.0 * settings.verticalScale * settings.dotsPerInchY);
    settings.timingLabelInterval = settings.timingLineInterval;
}

void SegdAnalyzer::redrawSeismicView()
{
    plot->setPlot(gather ? TracePlot::build(*gather, settings) : TracePlot());
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
