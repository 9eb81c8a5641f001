#include "analyzers/ui/Histogram.h"

#include "analyzers/ui/AnalysisColours.h"
#include "analyzers/ui/Bar.h"
#include "analyzers/ui/ImageExport.h"

#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>

Histogram::Histogram(QWidget* parent, SeismicData* data, int firstTrace, int lastTrace, double startMs,
                     double endMs)
    : QGraphicsView(parent), scene_(new QGraphicsScene(this)), colours(analysisColours())
{
    const QSize size = parent ? parent->size() : QSize(640, 480);
    const double pw = size.width() - 2 * margin;
    const double ph = size.height() - 2 * margin;
    if (data)
        histogram_ = SampleHistogram::compute(*data, firstTrace, lastTrace, startMs, endMs);
    // Bars stand on row ph from column 0; the margins lie around that.
    scene_->setSceneRect(-margin, -margin, size.width(), size.height());
    setScene(scene_);
    setBackgroundBrush(Qt::white);
    if (histogram_.status == SampleHistogram::Status::Ok && pw > 0 && ph > 0) {
        drawBars(pw, ph);
    } else {
        auto* text =
            scene_->addSimpleText(data ? histogram_.problem() : QStringLiteral("No histogram: no data"));
        text->setPos(pw / 2 - text->boundingRect().width() / 2, ph / 2);
    }
    show();
}

QImage Histogram::picture() const
{
    return ImageExport::render(*scene_);
}

int Histogram::column(double value, double plotWidth) const
{
    const double a = histogram_.halfRange;
    return int((a + value) / (2 * a) * plotWidth);
}

void Histogram::drawBars(double pw, double ph)
{
    const auto& bins = histogram_.bins;
    const double a = histogram_.halfRange;
    const double binWidth = 2 * a / bins.size();
    const int barWidth = int(binWidth / (2 * a) * pw);
    const double largest = double(std::max<qint64>(histogram_.largestCount, 1));
    for (const SampleHistogram::Bin& bin : bins) {
        auto* bar = new Bar(Qt::black, colours[0], bin.count, histogram_.total);
        const int height = int(double(bin.count) / largest * ph) + margin;
        bar->setBin(bin.lower, bin.upper);
        bar->setSize(barWidth, height);
        bar->setPos(column(bin.lower, pw), ph - height);
        bar->setFlag(QGraphicsItem::ItemIsSelectable);
        bar->setZValue(1);
        scene_->addItem(bar);
        bars_.append(bar);
    }
    // The bin count is odd, so the middle bin straddles 0. A single bin carries only its bounds,
    // at its edges, where three labels on its middle would overprint one another.
    if (bins.size() == 1) {
        addLabel(bins.front().lower, column(bins.front().lower, pw), ph);
        addLabel(bins.front().upper, column(bins.front().upper, pw), ph);
        return;
    }
    auto middle = [&](int bin) {
        return (column(bins[size_t(bin)].lower, pw) + column(bins[size_t(bin)].upper, pw)) / 2.0;
    };
    addLabel(bins.front().lower, middle(0), ph);
    addLabel(0.0, middle(int(bins.size()) / 2), ph);
    addLabel(bins.back().upper, middle(int(bins.size()) - 1), ph);
}

void Histogram::addLabel(double value, double centre, double top)
{
    auto* label = scene_->addSimpleText(QString::number(value, 'g', 6));
    label->setPos(centre - label->boundingRect().width() / 2, top);
}
