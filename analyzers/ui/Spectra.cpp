#include "analyzers/ui/Spectra.h"

#include "analyzers/SpectrumAxes.h"
#include "analyzers/ui/AnalysisColours.h"
#include "analyzers/ui/ImageExport.h"

#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPainterPath>

namespace {

QPen gridPen()
{
    QPen pen(Qt::black, 0.25, Qt::DotLine);
    return pen;
}

QGraphicsSimpleTextItem* addText(QGraphicsScene& scene, const QString& text)
{
    auto* item = scene.addSimpleText(text);
    item->setBrush(Qt::black);
    return item;
}

} // namespace

Spectra::Spectra(QWidget* parent, SeismicData* data, int firstTrace, int lastTrace, double startMs,
                 double endMs)
    : QGraphicsView(parent), scene_(new QGraphicsScene(this)), colours(analysisColours())
{
    const QSize size = parent ? parent->size() : QSize(640, 480);
    const double w = size.width();
    const double h = size.height();
    if (data)
        spectrum_ = AmplitudeSpectrum::compute(*data, firstTrace, lastTrace, startMs, endMs);
    scene_->setSceneRect(0, 0, w, h);
    setScene(scene_);
    setBackgroundBrush(Qt::white);
    drawFrame(w, h);
    if (spectrum_.status == AmplitudeSpectrum::Status::Ok) {
        drawDecibelAxis(w, h);
        drawFrequencyAxis(w, h);
        drawCurve(w, h);
    } else {
        auto* text = addText(*scene_, data ? spectrum_.problem() : QStringLiteral("No spectrum: no data"));
        text->setPos((w - text->boundingRect().width()) / 2, (h - text->boundingRect().height()) / 2);
    }
    show();
}

QImage Spectra::picture() const
{
    return ImageExport::render(*scene_);
}

void Spectra::drawFrame(double w, double h)
{
    const QPen pen(Qt::black);
    scene_->addLine(margin, margin, w - margin, margin, pen);
    scene_->addLine(margin, h - margin, w - margin, h - margin, pen);
    scene_->addLine(margin, margin, margin, h - margin, pen);
    scene_->addLine(w - margin, h - margin, w - margin, margin, pen);
}

void Spectra::drawDecibelAxis(double w, double h)
{
    const double ph = h - 2 * margin;
    const int depth = spectrum_.axisDepth;
    for (int k = 1; k < depth / 12; ++k) {
        const double y = 12.0 * k / depth * ph + margin;
        scene_->addLine(margin, y, w - margin, y, gridPen());
    }
    for (int k = 0; k <= depth / 12; ++k) {
        const double y = 12.0 * k / depth * ph + margin;
        auto* label = addText(*scene_, QString::number(-12 * k));
        const QRectF box = label->boundingRect();
        label->setPos(margin - box.width(), y - box.height() / 2);
    }
}

void Spectra::drawFrequencyAxis(double w, double h)
{
    const double pw = w - 2 * margin;
    const double ph = h - 2 * margin;
    const auto axis = SpectrumAxes::frequencyAxis(spectrum_.nyquist);
    for (int f : axis.labels) {
        auto* label = addText(*scene_, QString::number(f));
        label->setPos(f / axis.top * pw + margin - label->boundingRect().width() / 2, h - margin);
    }
    for (int f : axis.gridLines) {
        const double x = f / axis.top * pw + margin;
        scene_->addLine(x, margin, x, ph + margin, gridPen());
    }
    // The title sits in the bottom margin, below the labels.
    auto* title = addText(*scene_, QStringLiteral("Frequency (Hz)"));
    const QRectF box = title->boundingRect();
    title->setPos(w / 2 - box.width() / 2, h - 8 - box.height());
}

void Spectra::drawCurve(double w, double h)
{
    const double pw = w - 2 * margin;
    const double ph = h - 2 * margin;
    const double top = SpectrumAxes::frequencyAxis(spectrum_.nyquist).top;
    QPainterPath path;
    for (size_t i = 0; i < spectrum_.decibels.size(); ++i) {
        const QPointF point(i * spectrum_.frequencyStep / top * pw + margin,
                            std::abs(spectrum_.decibels[i]) / spectrum_.axisDepth * ph + margin);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    auto* curve = scene_->addPath(path, QPen(colours[0]));
    curve->setZValue(1);
}
