#include "analyzers/AnalysisPictures.h"

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/AnalysisCsv.h"
#include "analyzers/HistogramPicture.h"
#include "analyzers/SampleHistogram.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/TimingInterval.h"
#include "analyzers/TracePlot.h"
#include "base/ObrConsole.h"
#include "seismic/SeismicData.h"

#include <QImageWriter>
#include <QPainter>
#include <algorithm>

namespace AnalysisPictures {

namespace {

// The plot rows of the time window, under the annotation margin and above a blank margin;
// the timing labels keep their times.
QImage timeWindow(const QImage& plot, const TracePlotGeometry& geometry, const SampleWindow& window)
{
    const int m = TracePlotGeometry::margin;
    const int top = geometry.sampleRow(window.startSample);
    const int bottom = std::min(geometry.sampleRow(window.endSample), plot.height() - m);
    if (bottom <= top)
        return {};
    QImage cut(plot.width(), m + (bottom - top) + m, QImage::Format_RGB32);
    if (cut.isNull())
        return {};
    cut.fill(Qt::white);
    QPainter painter(&cut);
    // The annotation above the traces, without the ends of the timing labels beside it.
    painter.drawImage(QPoint(m, 0), plot, QRect(m, 0, plot.width() - 2 * m, m));
    painter.drawImage(QPoint(0, m), plot, QRect(0, top, plot.width(), bottom - top));
    // The lower half of a timing label at the window's end.
    const int labelRows = std::min(m / 4, plot.height() - bottom);
    painter.drawImage(QPoint(0, m + bottom - top), plot, QRect(0, bottom, m, labelRows));
    painter.drawImage(QPoint(plot.width() - m, m + bottom - top), plot,
                      QRect(plot.width() - m, bottom, m, labelRows));
    return cut;
}

bool savePicture(const QImage& image, const QString& path, ObrConsole& console)
{
    QImageWriter writer(path, "png");
    if (writer.write(image))
        return true;
    console.error(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()), false);
    return false;
}

bool writePlot(SeismicData& data, const Request& request, ObrConsole& console, const SampleWindow& window)
{
    TraceDisplaySettings settings;
    settings.firstTrace = request.firstTrace;
    settings.lastTrace = request.lastTrace;
    settings.horizontalScale = request.horizontalScale;
    settings.verticalScale = request.verticalScale;
    settings.gainDb = request.gainDb;
    settings.mode = request.mode;
    settings.colourMap = request.colourMap;
    settings.clipPercentile = request.clipPercentile;
    settings.agcWindowMs = request.agcWindowMs;
    settings.traceNormalization = request.normaliseEachTrace ? 1 : 0;
    settings.referenceAmplitude = 0; // all traces together: the largest amplitude is full scale
    // Timing lines that suit the window shown.
    const double windowMs = (window.endSample - window.startSample) * double(data.sampleInterval());
    settings.timingLineInterval = TimingInterval::suited(
        windowMs, int(windowMs / 1000.0 * settings.verticalScale * settings.dotsPerInchY));
    settings.timingLabelInterval = settings.timingLineInterval;
    const TracePlot plot = TracePlot::read(data, settings);
    if (plot.image.isNull() || plot.annotations.isEmpty()) {
        console.error(
            QStringLiteral("no trace plot: traces %1 to %2 could not be read or drawn at these scales")
                .arg(request.firstTrace)
                .arg(request.lastTrace),
            false);
        return false;
    }
    const QImage picture = window.startSample == 0 && window.endSample >= data.samples()
                               ? plot.picture()
                               : timeWindow(plot.picture(), plot.geometry, window);
    if (picture.isNull()) {
        console.error(QStringLiteral("no trace plot: the time window holds no samples"), false);
        return false;
    }
    return savePicture(picture, request.picturePath, console);
}

bool writeCsv(bool written, const QString& error, ObrConsole& console)
{
    if (!written)
        console.error(error, false);
    return written;
}

} // namespace

bool write(SeismicData& data, const Request& request, ObrConsole& console)
{
    const double recordEnd = double(data.samples()) * data.sampleInterval();
    const double endMs = request.endMs < 0 ? recordEnd : request.endMs;
    const SampleWindow window = SampleWindow::fromTimes(
        request.firstTrace, request.lastTrace, request.startMs, endMs, data.sampleInterval(), data.samples());
    if (request.kind == Kind::Plot)
        return writePlot(data, request, console, window);

    const QSize size(pictureWidth, pictureHeight);
    QString error;
    if (request.kind == Kind::Spectrum) {
        const AmplitudeSpectrum spectrum =
            AmplitudeSpectrum::compute(data, request.firstTrace, request.lastTrace, request.startMs, endMs);
        if (!spectrum.problem().isEmpty()) {
            console.error(spectrum.problem(), false);
            return false;
        }
        return savePicture(SpectrumPicture::draw(spectrum, size), request.picturePath, console) &&
               (request.csvPath.isEmpty() ||
                writeCsv(AnalysisCsv::writeSpectrum(spectrum, request.csvPath, &error), error, console));
    }
    const SampleHistogram histogram =
        SampleHistogram::compute(data, request.firstTrace, request.lastTrace, request.startMs, endMs);
    if (!histogram.problem().isEmpty()) {
        console.error(histogram.problem(), false);
        return false;
    }
    return savePicture(HistogramPicture::draw(histogram, size), request.picturePath, console) &&
           (request.csvPath.isEmpty() ||
            writeCsv(AnalysisCsv::writeHistogram(histogram, request.csvPath, &error), error, console));
}

} // namespace AnalysisPictures
