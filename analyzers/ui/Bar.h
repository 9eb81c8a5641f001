#pragma once

#include <QGraphicsRectItem>
#include <QStringList>

// One bar of a histogram. A left click shows the bin's bounds and its share of all samples.
class Bar : public QGraphicsRectItem {
public:
    Bar(const QColor& pen, const QColor& brush, qint64 count, qint64 total);

    void setBin(double minimum, double maximum) { minimumValue = minimum, maximumValue = maximum; }
    void setSize(double width, double height) { setRect(0, 0, width, height); }

    qint64 count() const { return count_; }
    double percentage() const { return percentage_; }
    // The entries of the click menu.
    QStringList menuTexts() const;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    qint64 count_;
    double percentage_;
    double minimumValue = 0;
    double maximumValue = 0;
};
