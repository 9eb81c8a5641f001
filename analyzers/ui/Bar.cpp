#include "analyzers/ui/Bar.h"

#include <QBrush>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPen>

Bar::Bar(const QColor& pen, const QColor& brush, qint64 count, qint64 total)
    : count_(count), percentage_(total > 0 ? 100.0 * double(count) / double(total) : 0.0)
{
    setPen(QPen(pen));
    setBrush(QBrush(brush));
}

QStringList Bar::menuTexts() const
{
    return {QStringLiteral("Minimum value : ") + QString::number(minimumValue, 'g', 6),
            QStringLiteral("Maximum value : ") + QString::number(maximumValue, 'g', 6),
            QStringLiteral("Percent of all samples : ") + QString::number(percentage_, 'g', 6)};
}

void Bar::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QGraphicsRectItem::mousePressEvent(event);
        return;
    }
    QMenu menu;
    for (const QString& text : menuTexts())
        menu.addAction(text);
    menu.exec(event->screenPos());
    event->accept();
}
