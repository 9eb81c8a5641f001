#pragma once

#include "analyzers/SampleHistogram.h"

#include <QColor>
#include <QGraphicsView>
#include <QList>
#include <array>

class Bar;
class QGraphicsScene;
class SeismicData;

// The histogram of the sample values in a window of traces and times, drawn once in the
// constructor at the size of the parent widget, one Bar per bin.
class Histogram : public QGraphicsView {
    Q_OBJECT
public:
    Histogram(QWidget* parent, SeismicData* data, int firstTrace, int lastTrace, double startMs,
              double endMs);

    const SampleHistogram& histogram() const { return histogram_; }
    const QList<Bar*>& bars() const { return bars_; }
    QImage picture() const;

    static constexpr int margin = 48;

private:
    void drawBars(double plotWidth, double plotHeight);
    void addLabel(double value, double centre, double top);
    int column(double value, double plotWidth) const;

    SampleHistogram histogram_;
    QGraphicsScene* scene_;
    QList<Bar*> bars_;
    std::array<QColor, 6> colours;
};
