#include "analyzers/ui/Histogram.h"

#include "analyzers/HistogramPicture.h"

#include <QMenu>
#include <QMouseEvent>

Histogram::Histogram(QWidget* parent, SampleHistogram histogram)
    : Histogram(parent, histogram, HistogramPicture::draw(histogram, pictureSize(parent)))
{}

Histogram::Histogram(QWidget* parent, SampleHistogram histogram, QImage picture)
    : PictureView(parent, std::move(picture), histogram.problem().isEmpty()), histogram_(std::move(histogram))
{}

int Histogram::barAt(QPoint position) const
{
    return HistogramPicture::barAt(histogram_, picture().size(), mapToScene(position));
}

QStringList Histogram::menuTexts(int bin) const
{
    const auto& b = histogram_.bins.at(size_t(bin));
    return {QStringLiteral("Minimum value : ") + QString::number(b.lower, 'g', 6),
            QStringLiteral("Maximum value : ") + QString::number(b.upper, 'g', 6),
            QStringLiteral("Percent of all samples : ") + QString::number(histogram_.percent(bin), 'g', 6)};
}

void Histogram::mousePressEvent(QMouseEvent* event)
{
    const int bin = event->button() == Qt::LeftButton ? barAt(event->pos()) : -1;
    if (bin < 0) {
        PictureView::mousePressEvent(event);
        return;
    }
    QMenu menu;
    for (const QString& text : menuTexts(bin))
        menu.addAction(text);
    menu.exec(event->globalPos());
    event->accept();
}
