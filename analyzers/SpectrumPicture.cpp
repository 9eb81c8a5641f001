#include "analyzers/SpectrumPicture.h"

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/AnalysisColours.h"
#include "analyzers/PictureText.h"
#include "analyzers/SpectrumAxes.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace SpectrumPicture {

namespace {

QPen gridPen()
{
    return QPen(Qt::black, 0.25, Qt::DotLine);
}

void drawFrame(QPainter& painter, double w, double h)
{
    painter.setPen(QPen(Qt::black));
    painter.drawLine(QLineF(margin, margin, w - margin, margin));
    painter.drawLine(QLineF(margin, h - margin, w - margin, h - margin));
    painter.drawLine(QLineF(margin, margin, margin, h - margin));
    painter.drawLine(QLineF(w - margin, h - margin, w - margin, margin));
}

void drawDecibelAxis(QPainter& painter, const AmplitudeSpectrum& spectrum, double w, double h)
{
    const double ph = h - 2 * margin;
    const int depth = spectrum.axisDepth;
    painter.setPen(gridPen());
    for (int k = 1; k < depth / 12; ++k) {
        const double y = 12.0 * k / depth * ph + margin;
        painter.drawLine(QLineF(margin, y, w - margin, y));
    }
    for (int k = 0; k <= depth / 12; ++k) {
        const double y = 12.0 * k / depth * ph + margin;
        const QString text = QString::number(-12 * k);
        const QSizeF box = PictureText::size(text);
        PictureText::draw(painter, text, QPointF(margin - box.width(), y - box.height() / 2));
    }
    // The unit heads the decibel labels, clear of the 0 at the top.
    const QString unit = QStringLiteral("dB");
    const QSizeF zero = PictureText::size(QStringLiteral("0"));
    const QSizeF box = PictureText::size(unit);
    PictureText::draw(painter, unit,
                      QPointF(margin - box.width(), margin - zero.height() / 2 - box.height()));
}

void drawFrequencyAxis(QPainter& painter, const AmplitudeSpectrum& spectrum, double w, double h)
{
    const double pw = w - 2 * margin;
    const double ph = h - 2 * margin;
    const auto axis = SpectrumAxes::frequencyAxis(spectrum.nyquist);
    // A label that would run into the one before it on a narrow picture is left out.
    double previousRight = -1e9;
    for (int f : axis.labels) {
        const QString text = QString::number(f);
        const double width = PictureText::size(text).width();
        const double left = f / axis.top * pw + margin - width / 2;
        if (left < previousRight + PictureText::size(QStringLiteral(" ")).width())
            continue;
        PictureText::draw(painter, text, QPointF(left, h - margin));
        previousRight = left + width;
    }
    painter.setPen(gridPen());
    for (int f : axis.gridLines) {
        const double x = f / axis.top * pw + margin;
        painter.drawLine(QLineF(x, margin, x, ph + margin));
    }
    // The title sits in the bottom margin, below the labels.
    const QString title = QStringLiteral("Frequency (Hz)");
    const QSizeF box = PictureText::size(title);
    PictureText::draw(painter, title, QPointF(w / 2 - box.width() / 2, h - 8 - box.height()));
}

void drawCurve(QPainter& painter, const AmplitudeSpectrum& spectrum, double w, double h)
{
    const double pw = w - 2 * margin;
    const double ph = h - 2 * margin;
    const double top = SpectrumAxes::frequencyAxis(spectrum.nyquist).top;
    QPainterPath path;
    for (size_t i = 0; i < spectrum.decibels.size(); ++i) {
        const QPointF point(i * spectrum.frequencyStep / top * pw + margin,
                            std::abs(spectrum.decibels[i]) / spectrum.axisDepth * ph + margin);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    painter.setPen(QPen(analysisColours()[0]));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace

QImage draw(const AmplitudeSpectrum& spectrum, QSize size)
{
    QImage image = PictureText::blank(size);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    PictureText::smooth(painter);
    // Clipped to the picture: the thin dotted grid lines blend as they always have.
    painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(size)));
    const double w = size.width();
    const double h = size.height();
    drawFrame(painter, w, h);
    if (spectrum.status != AmplitudeSpectrum::Status::Ok) {
        const QString text = spectrum.problem();
        const QSizeF box = PictureText::size(text);
        PictureText::draw(painter, text, QPointF((w - box.width()) / 2, (h - box.height()) / 2));
        return image;
    }
    drawDecibelAxis(painter, spectrum, w, h);
    drawFrequencyAxis(painter, spectrum, w, h);
    // The curve lies over the grid.
    drawCurve(painter, spectrum, w, h);
    return image;
}

} // namespace SpectrumPicture
