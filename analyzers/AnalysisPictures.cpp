#include "analyzers/AnalysisPictures.h"

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/AnalysisCsv.h"
#include "analyzers/HistogramPicture.h"
#include "analyzers/SampleHistogram.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/TimingInterval.h"
#include "analyzers/TracePlot.h"
#include "base/ObrConsole.h"
#include "base/WholeFile.h"
#include "devices/ObrDevice.h"
#include "seismic/SeismicData.h"

#include <QFile>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

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

// The file the pictures are of, to lead their errors.
QString fileOf(const SeismicData& data)
{
    return data.device() ? data.device()->path() : QStringLiteral("the data");
}

bool fail(const SeismicData& data, const QString& text, ObrConsole& console)
{
    console.error(fileOf(data) + QStringLiteral(": ") + text, false);
    return false;
}

// errorsBefore: how many errors the console had said when the pictures were asked for.
bool savePicture(const QImage& image, const QString& path, ObrConsole& console, int errorsBefore)
{
    // A picture drawn while an error was said (a trace that could not be read) is not written.
    if (console.errorCount() > errorsBefore)
        return false;
    QString error;
    if (WholeFile::writePng(path, image, &error))
        return true;
    console.error(error, false);
    return false;
}

QString count(double value)
{
    return value < 1e15 ? QLocale(QLocale::English).toString(qint64(value)) : QString::number(value, 'g', 3);
}

// The plot's size in pixels, computed in double before anything is cast: the sizes the file's
// headers give (an interval of 2^31 ms, a million traces) can lie far beyond a picture's limit.
QString sizeProblem(const SeismicData& data, const Request& request, const TraceDisplaySettings& settings)
{
    const int traces = request.traces.isEmpty()
                           ? std::min(request.lastTrace, data.traceCount()) - request.firstTrace + 1
                           : request.traces.size();
    const double width = TracePlotGeometry::plotWidth(traces, settings) + 2 * TracePlotGeometry::margin;
    const double height = TracePlotGeometry::plotHeight(data.samples(), data.sampleInterval(), settings) +
                          2 * TracePlotGeometry::margin;
    if (std::isfinite(width) && std::isfinite(height) && width < TracePlotGeometry::largestSide &&
        height < TracePlotGeometry::largestSide && width * height <= TracePlotGeometry::largestPixels)
        return {};
    return QStringLiteral(
               "no trace plot: %1 traces of %2 samples at %3 ms make %4 x %5 pixels at %6 traces per "
               "inch and %7 inches per second, more than a picture may have (at most %8 pixels a side and %9 "
               "in all)")
        .arg(traces)
        .arg(data.samples())
        .arg(double(data.sampleInterval()))
        .arg(count(width), count(height))
        .arg(settings.horizontalScale)
        .arg(settings.verticalScale)
        .arg(count(TracePlotGeometry::largestSide - 1), count(TracePlotGeometry::largestPixels));
}

bool writePlot(SeismicData& data, const Request& request, ObrConsole& console, const SampleWindow& window,
               int errorsBefore)
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
    settings.band = request.band;
    settings.traceNormalization = request.normaliseEachTrace ? 1 : 0;
    settings.referenceAmplitude = 0; // all traces together: the largest amplitude is full scale
    const QString tooLarge = sizeProblem(data, request, settings);
    if (!tooLarge.isEmpty())
        return fail(data, tooLarge, console);
    // Timing lines that suit the window shown.
    const double windowMs = (window.endSample - window.startSample) * double(data.sampleInterval());
    settings.timingLineInterval =
        TimingInterval::suited(windowMs, windowMs / 1000.0 * settings.verticalScale * settings.dotsPerInchY);
    settings.timingLabelInterval = settings.timingLineInterval;
    const TracePlot plot = request.traces.isEmpty() ? TracePlot::read(data, settings)
                                                    : TracePlot::readTraces(data, request.traces, settings);
    if (plot.image.isNull() || plot.annotations.isEmpty()) {
        return fail(
            data,
            QStringLiteral("no trace plot: traces %1 to %2 could not be read or drawn at these scales")
                .arg(request.firstTrace)
                .arg(request.lastTrace),
            console);
    }
    const QImage picture = window.startSample == 0 && window.endSample >= data.samples()
                               ? plot.picture()
                               : timeWindow(plot.picture(), plot.geometry, window);
    if (picture.isNull())
        return fail(data, QStringLiteral("no trace plot: the time window holds no samples"), console);
    return savePicture(picture, request.picturePath, console, errorsBefore);
}

// The numbers beside a picture already written; when they cannot be written the picture goes too,
// so that a failed job leaves neither.
bool writeCsv(bool written, const QString& error, const QString& picturePath, const QString& csvPath,
              ObrConsole& console, int errorsBefore)
{
    if (!written || console.errorCount() > errorsBefore) {
        if (written)
            QFile::remove(csvPath);
        else
            console.error(error, false);
        QFile::remove(picturePath);
    }
    return written && console.errorCount() == errorsBefore;
}

} // namespace

bool write(SeismicData& data, const Request& request, ObrConsole& console)
{
    const int errorsBefore = console.errorCount();
    const double recordEnd = double(data.samples()) * data.sampleInterval();
    const double endMs = request.endMs < 0 ? recordEnd : request.endMs;
    const SampleWindow window = SampleWindow::fromTimes(
        request.firstTrace, request.lastTrace, request.startMs, endMs, data.sampleInterval(), data.samples());
    if (request.kind == Kind::Plot)
        return writePlot(data, request, console, window, errorsBefore);

    const QSize size(pictureWidth, pictureHeight);
    QString error;
    if (request.kind == Kind::Spectrum) {
        const AmplitudeSpectrum spectrum =
            AmplitudeSpectrum::compute(data, request.firstTrace, request.lastTrace, request.startMs, endMs);
        if (!spectrum.problem().isEmpty())
            return fail(data, spectrum.problem(), console);
        return savePicture(SpectrumPicture::draw(spectrum, size), request.picturePath, console,
                           errorsBefore) &&
               (request.csvPath.isEmpty() ||
                writeCsv(AnalysisCsv::writeSpectrum(spectrum, request.csvPath, &error), error,
                         request.picturePath, request.csvPath, console, errorsBefore));
    }
    const SampleHistogram histogram =
        SampleHistogram::compute(data, request.firstTrace, request.lastTrace, request.startMs, endMs);
    if (!histogram.problem().isEmpty())
        return fail(data, histogram.problem(), console);
    if (!histogram.note().isEmpty())
        console.information(histogram.note(), false);
    return savePicture(HistogramPicture::draw(histogram, size), request.picturePath, console, errorsBefore) &&
           (request.csvPath.isEmpty() ||
            writeCsv(AnalysisCsv::writeHistogram(histogram, request.csvPath, &error), error,
                     request.picturePath, request.csvPath, console, errorsBefore));
}

} // namespace AnalysisPictures
