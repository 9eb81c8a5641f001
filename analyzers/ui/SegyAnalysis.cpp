#include "analyzers/ui/SegyAnalysis.h"

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/BackgroundWork.h"
#include "analyzers/HistogramPicture.h"
#include "analyzers/SampleHistogram.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/ui/HeaderGraphPage.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/PlotArea.h"
#include "analyzers/ui/SegyFormatControls.h"
#include "analyzers/ui/SegyHeaderTables.h"
#include "analyzers/ui/SegyTracePlot.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TraceScanRanges.h"
#include "analyzers/ui/TraceWindowPicture.h"
#include "analyzers/ui/WorkProgress.h"
#include "base/RecentFiles.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "base/ui/WheelGuard.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/ui/SegyFormatViewer.h"

#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

namespace {

const QString analyzerTitle = QStringLiteral("SEGY Analyzer");

// A picture of the samples in a window: what compute finds there, drawn by draw and shown by View.
template <typename View, typename Found>
TraceWindowPicture::Compute computing(Found (*compute)(SeismicData&, int, int, double, double,
                                                       const JobSteps*),
                                      QImage (*draw)(const Found&, QSize))
{
    return
        [compute, draw](SegyData& data, const TraceWindowPicture::Request& request, const JobSteps& steps) {
            auto found = std::make_shared<Found>(
                compute(data, request.first, request.last, request.startMs, request.endMs, &steps));
            auto picture = std::make_shared<QImage>(draw(*found, request.size));
            return [found, picture](QWidget* area) {
                return new View(area, std::move(*found), std::move(*picture));
            };
        };
}

// The histogram of the window, sampled as it must be.
SampleHistogram histogramOf(SeismicData& data, int first, int last, double startMs, double endMs,
                            const JobSteps* steps)
{
    return SampleHistogram::compute(data, first, last, startMs, endMs, SampleHistogram::maxValues, steps);
}

} // namespace

SegyAnalysis::SegyAnalysis(ObrConsole* console, const QString& seismicDirectory, QWidget* parent,
                           const QString& standardFormatPath, const QString& fileName)
    : QDialog(parent), seismicDirectory(seismicDirectory), file(console, standardFormatPath, fileName)
{
    setupUi(this);
    formatControls = new SegyFormatControls(*this, this, file);
    ranges = new TraceScanRanges(*this, this, file);
    tables = new SegyHeaderTables(*this, this, file);
    plot = new SegyTracePlot(*this, this, file);
    spectra =
        new TraceWindowPicture({Spectra_FirstTrace, Spectra_LastTrace, Spectra_StartTime, Spectra_EndTime,
                                CreateSpectra, ExportSpectra, SpectraWidget},
                               file, computing<Spectra>(&AmplitudeSpectrum::compute, &SpectrumPicture::draw),
                               QStringLiteral("spectra.png"), TraceWindowPicture::Edits::WaitForButton, this);
    histogram =
        new TraceWindowPicture({Histogram_FirstTrace, Histogram_LastTrace, Histogram_StartTime,
                                Histogram_EndTime, CreateHistogram, ExportHistogram, HistogramWidget},
                               file, computing<Histogram>(&histogramOf, &HistogramPicture::draw),
                               QStringLiteral("histogram.png"), TraceWindowPicture::Edits::Redraw, this);
    graph = new HeaderGraphPage(HeaderTab, file);
    HeaderTab->addTab(graph, QStringLiteral("Header Graph"));
    // After the scan's progress bar, before the buttons.
    pictureProgress = new WorkProgress(layout_25, 2, this);
    pictureProgress->watch(plot->work(), QStringLiteral("Trace plot"));
    pictureProgress->watch(spectra->work(), QStringLiteral("Spectra"));
    pictureProgress->watch(histogram->work(), QStringLiteral("Histogram"));
    plotArea = new PlotArea(*this, this);
    connectParts();
    formatControls->fillTypeCombos();
    WheelGuard::guardScrolledFields(this);
    ranges->widenRangeFields(TraceHeaderScroll, FormatPanel);
    ScreenFit::fitToScreen(this);
    static_cast<void>(openSegyFile());

    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(FileBrowse, &QPushButton::clicked, this, &SegyAnalysis::onFileBrowse);
    connect(CreateFormatFile, &QPushButton::clicked, this, &SegyAnalysis::onCreateFormat);
    connect(Help, &QPushButton::clicked, this, &SegyAnalysis::showHelp);
    setTitleFromFileName();
    addFileActions();
}

SegyAnalysis::~SegyAnalysis()
{
    // A scan still running stops first; no part outlives the file it reads, whatever signals the
    // controls send as they go.
    for (QObject* part : std::initializer_list<QObject*>{pictureProgress, ranges, plot, spectra, histogram,
                                                         tables, formatControls})
        delete part;
}

void SegyAnalysis::connectParts()
{
    connect(formatControls, &SegyFormatControls::edited, this, [this] { setWindowModified(true); });
    connect(formatControls, &SegyFormatControls::reopened, tables, &SegyHeaderTables::fillBinaryValues);
    connect(formatControls, &SegyFormatControls::binaryWordMoved, tables,
            &SegyHeaderTables::rebuildBinaryTables);
    connect(formatControls, &SegyFormatControls::textEncodingChosen, tables,
            &SegyHeaderTables::showTextHeader);
    connect(formatControls, &SegyFormatControls::rescanNeeded, ranges, &TraceScanRanges::rescan);
    connect(formatControls, &SegyFormatControls::rescanNeeded, plot, &SegyTracePlot::forgetGathers);
    connect(ranges, &TraceScanRanges::started, this, &SegyAnalysis::traceScanStarted);
    connect(ranges, &TraceScanRanges::finished, this, [this](const TraceRangeScan::Result& result) {
        tables->showScanInTurn(result);
        plot->redraw();
    });
}

TraceDisplay* SegyAnalysis::seismicImage() const
{
    return plot->view();
}

Spectra* SegyAnalysis::spectraImage() const
{
    return static_cast<Spectra*>(spectra->picture());
}

Histogram* SegyAnalysis::histogramImage() const
{
    return static_cast<Histogram*>(histogram->picture());
}

bool SegyAnalysis::scanning() const
{
    return ranges->running() || tables->pending();
}

bool SegyAnalysis::drawing() const
{
    return plot->work()->running() || spectra->work()->running() || histogram->work()->running();
}

TraceHeaderPanel* SegyAnalysis::traceHeaderPanel() const
{
    return plot->headerPanel();
}

void SegyAnalysis::setTitleFromFileName()
{
    setWindowTitle(file.path.isEmpty()
                       ? analyzerTitle
                       : QStringLiteral("%1  -  %2[*]").arg(analyzerTitle, QFileInfo(file.path).fileName()));
}

bool SegyAnalysis::openSegyFile()
{
    file.updating = true;
    plot->clearHeaderPanel();
    file.loadFormat();
    if (file.path.isEmpty())
        return false;
    if (!file.reopen()) {
        graph->startFile();
        plot->removeView();
        spectra->replace();
        histogram->replace();
        return false;
    }
    tables->rebuildBinaryTables();
    file.scanFirst = 1;
    file.scanLast = std::min(24, file.data->traceCount());
    // The first traces are few: they are read at once, and any scan of the previous file is dropped.
    tables->showScan(ranges->scanNow());
    formatControls->fillTypeCombos();
    for (QWidget* area :
         {static_cast<QWidget*>(SpectraWidget), static_cast<QWidget*>(HistogramWidget), SeismicWidget}) {
        QPalette palette = area->palette();
        palette.setColor(QPalette::Window, Qt::white);
        area->setPalette(palette);
        area->setAutoFillBackground(true);
    }
    plot->startFile();
    graph->startFile();
    showFile();
    RecentFiles::add(file.path);
    // The plot is drawn once the controls are settled; while updating it would not be.
    file.updating = false;
    plot->redraw();
    spectra->replace();
    histogram->replace();
    return true;
}

void SegyAnalysis::showFile()
{
    formatControls->showFormat();
    tables->showFileTextHeader();
    ranges->showRange();
    plot->showRange();
    spectra->showWindow();
    histogram->showWindow();
    ranges->showFieldRanges();
    plot->showSettings();
}

void SegyAnalysis::onFileBrowse()
{
    const QString chosen = FileDialogs::openFileName(this, QStringLiteral("Open SEGY File"), seismicDirectory,
                                                     FileDialogs::segyFilter);
    if (!chosen.isEmpty()) {
        openFile(chosen);
        return;
    }
    // The data set stays open; the byte order buttons, which need a file name, then do nothing.
    file.path.clear();
    setTitleFromFileName();
}

void SegyAnalysis::done(int result)
{
    // Edits of the format live only in this window until "Create format file" saves them.
    if (isWindowModified() &&
        QMessageBox::question(this, analyzerTitle,
                              QStringLiteral("The format has been changed and not saved with \"Create format "
                                             "file\".\nClose the analyzer and lose the changes?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    QDialog::done(result);
}

void SegyAnalysis::showHelp()
{
    OnlineDocumentation::showHelp(QStringLiteral("segyanalyzer.html"));
}

void SegyAnalysis::onCreateFormat()
{
    std::unique_ptr<SegyFormat> formatToSave = formatControls->formatFromControls();
    SegyFormatViewer viewer(1, 0, formatToSave.get(), this);
    viewer.exec();
    if (viewer.saved()) {
        setWindowModified(false);
        emit formatInfo(viewer.savedPath());
    }
}

void SegyAnalysis::exportTracePlot()
{
    plot->exportPicture();
}
