// The pictures of the SEG-Y analyzer: the seismic view and its controls, the spectra and the
// histograms with their window corrections.
#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/SampleHistogram.h"
#include "analyzers/TracePlot.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/ImageExport.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "seismic/SegyData.h"
#include "seismic/SegyTraceDump.h"

#include <QPlainTextEdit>
#include <QSplitter>
#include <algorithm>

namespace {

QString general(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

double SegyAnalysis::recordTime() const
{
    return data ? double(data->samples()) * double(data->sampleInterval()) : 0.0;
}

void SegyAnalysis::redrawSeismicView()
{
    if (updating)
        return;
    if (!data) {
        delete seismicView;
        seismicView = nullptr;
        return;
    }
    // One view for the whole run, so that its zoom and position survive a change of settings.
    if (seismicView) {
        seismicView->showTraces(*data, settings);
        return;
    }
    seismicView = new TraceDisplay(plotSplitter, TracePlot::read(*data, settings));
    plotSplitter->insertWidget(0, seismicView);
    plotSplitter->setStretchFactor(0, 1);
    connect(seismicView, &TracePlotView::traceClicked, this, &SegyAnalysis::showTraceHeader);
}

void SegyAnalysis::showTraceHeader(int index)
{
    if (!data || !seismicView)
        return;
    const int number = seismicView->plot().settings.firstTrace + index;
    if (headerPanel->isHidden()) {
        // The panel opens beside the plot with room for about 75 columns of header words.
        headerPanel->show();
        const int panelWidth = headerPanel->fontMetrics().horizontalAdvance(QString(75, QLatin1Char('0')));
        const int total = plotSplitter->width();
        plotSplitter->setSizes({std::max(total - panelWidth, total / 2), std::min(panelWidth, total / 2)});
    }
    QStringList lines;
    headerPanel->setPlainText(SegyTraceDump::lines(*data, number, lines)
                                  ? lines.join(QLatin1Char('\n'))
                                  : QStringLiteral("Trace %1 could not be read").arg(number));
    static_cast<void>(data->seekSequentialTrace(1));
}

void SegyAnalysis::replaceFilePictures()
{
    const bool spectraShown = spectraView;
    const bool histogramShown = histogramView;
    delete spectraView;
    spectraView = nullptr;
    delete histogramView;
    histogramView = nullptr;
    ExportSpectra->setEnabled(false);
    ExportHistogram->setEnabled(false);
    if (spectraShown)
        createSpectra();
    if (histogramShown)
        createHistogram();
}

void SegyAnalysis::on_FirstDisplayTrace_valueChanged(int value)
{
    if (value > LastDisplayTrace->value())
        LastDisplayTrace->setValue(value);
    settings.firstTrace = value;
    redrawSeismicView();
}

void SegyAnalysis::on_LastDisplayTrace_valueChanged(int value)
{
    settings.lastTrace = value;
    redrawSeismicView();
}

void SegyAnalysis::on_HorizontalScale_changed(double value)
{
    settings.horizontalScale = value;
    redrawSeismicView();
}

void SegyAnalysis::on_VerticalScale_changed(double value)
{
    settings.verticalScale = value;
    redrawSeismicView();
}

void SegyAnalysis::on_Gain_changed(double value)
{
    settings.gainDb = value;
    redrawSeismicView();
}

void SegyAnalysis::on_VerticalAnnotation_changed(int value)
{
    settings.timingLineInterval = value;
    settings.timingLabelInterval = value;
    redrawSeismicView();
}

void SegyAnalysis::on_PrimaryHorizontalAnnotationIncr_changed(int value)
{
    settings.primaryIncrement = value;
    redrawSeismicView();
}

void SegyAnalysis::on_SecondaryHorizontalAnnotationIncr_changed(int value)
{
    settings.secondaryIncrement = value;
    redrawSeismicView();
}

void SegyAnalysis::on_PrimaryHeaderLabel_changed(int index)
{
    settings.primaryHeader = index;
    redrawSeismicView();
}

void SegyAnalysis::on_SecondaryHeaderLabel_changed(int index)
{
    settings.secondaryHeader = index;
    redrawSeismicView();
}

void SegyAnalysis::correctTraceRange(QSpinBox* first, QSpinBox* last, bool firstChanged)
{
    if (firstChanged && first->value() > last->value())
        last->setValue(first->value());
    else if (!firstChanged && last->value() < first->value())
        first->setValue(last->value());
}

void SegyAnalysis::correctTimeRange(QLineEdit* start, QLineEdit* end, bool startChanged)
{
    if (!data)
        return;
    // The field just edited is kept within the traces; the other one makes way for it.
    const double interval = data->sampleInterval();
    double startMs = start->text().toDouble();
    double endMs = end->text().toDouble();
    if (startChanged) {
        if (startMs < 0) {
            startMs = 0;
            start->setText(QStringLiteral("0"));
        }
        if (endMs < startMs)
            end->setText(general(startMs + interval));
    } else {
        if (endMs > recordTime()) {
            endMs = recordTime();
            end->setText(general(endMs));
        }
        if (startMs > endMs)
            start->setText(general(std::max(0.0, endMs - interval)));
    }
}

void SegyAnalysis::createSpectra()
{
    if (updating || !data)
        return;
    delete spectraView;
    spectraView = new Spectra(SpectraWidget, AmplitudeSpectrum::compute(*data, Spectra_FirstTrace->value(),
                                                                        Spectra_LastTrace->value(),
                                                                        Spectra_StartTime->text().toDouble(),
                                                                        Spectra_EndTime->text().toDouble()));
    ExportSpectra->setEnabled(true);
}

void SegyAnalysis::createHistogram()
{
    if (updating || !data)
        return;
    delete histogramView;
    histogramView =
        new Histogram(HistogramWidget, SampleHistogram::compute(*data, Histogram_FirstTrace->value(),
                                                                Histogram_LastTrace->value(),
                                                                Histogram_StartTime->text().toDouble(),
                                                                Histogram_EndTime->text().toDouble()));
    ExportHistogram->setEnabled(true);
}

void SegyAnalysis::on_CreateSpectra_clicked()
{
    createSpectra();
}

void SegyAnalysis::on_Spectra_LastTrace_valueChanged(int)
{
    correctTraceRange(Spectra_FirstTrace, Spectra_LastTrace, false);
}

void SegyAnalysis::on_Spectra_FirstTrace_valueChanged(int)
{
    correctTraceRange(Spectra_FirstTrace, Spectra_LastTrace, true);
}

void SegyAnalysis::on_Spectra_EndTime_editingFinished()
{
    correctTimeRange(Spectra_StartTime, Spectra_EndTime, false);
}

void SegyAnalysis::on_Spectra_StartTime_editingFinished()
{
    correctTimeRange(Spectra_StartTime, Spectra_EndTime, true);
}

void SegyAnalysis::on_CreateHistogram_clicked()
{
    createHistogram();
}

void SegyAnalysis::on_Histogram_LastTrace_editingFinished()
{
    correctTraceRange(Histogram_FirstTrace, Histogram_LastTrace, false);
    createHistogram();
}

void SegyAnalysis::on_Histogram_FirstTrace_editingFinished()
{
    correctTraceRange(Histogram_FirstTrace, Histogram_LastTrace, true);
    createHistogram();
}

void SegyAnalysis::on_Histogram_StartTime_editingFinished()
{
    correctTimeRange(Histogram_StartTime, Histogram_EndTime, true);
    createHistogram();
}

void SegyAnalysis::on_Histogram_EndTime_editingFinished()
{
    correctTimeRange(Histogram_StartTime, Histogram_EndTime, false);
    createHistogram();
}

void SegyAnalysis::on_ExportSpectra_clicked()
{
    if (spectraView)
        static_cast<void>(
            ImageExport::saveWithDialog(this, spectraView->picture(), QStringLiteral("spectra.png")));
}

void SegyAnalysis::on_ExportHistogram_clicked()
{
    if (histogramView)
        static_cast<void>(
            ImageExport::saveWithDialog(this, histogramView->picture(), QStringLiteral("histogram.png")));
}
