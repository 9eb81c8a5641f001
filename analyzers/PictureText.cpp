#include "analyzers/PictureText.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace PictureText {

namespace {

// The line starts at the layout's origin; the layout's width and height are the text's.
QSizeF layOut(QTextLayout& layout)
{
    layout.setCacheEnabled(true);
    layout.beginLayout();
    while (layout.createLine().isValid())
        ;
    layout.endLayout();
    qreal width = 0;
    qreal height = 0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine line = layout.lineAt(i);
        width = std::max(width, line.naturalTextWidth());
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    return {width, height};
}

} // namespace

QImage blank(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (!image.isNull())
        image.fill(Qt::white);
    return image;
}

void smooth(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QSizeF size(const QString& text)
{
    QTextLayout layout(text, QFont());
    return layOut(layout);
}

void draw(QPainter& painter, const QString& text, QPointF topLeft)
{
    QTextLayout layout(text, QFont());
    layOut(layout);
    painter.save();
    // Moved there with the painter rather than drawn at an offset: glyphs then fall on the
    // same subpixels as the analyzer's labels always have.
    painter.translate(topLeft);
    painter.setFont(QFont());
    painter.setPen(QPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    layout.draw(&painter, QPointF(0, 0));
    painter.restore();
}

} // namespace PictureText
