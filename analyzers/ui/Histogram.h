#pragma once

#include "analyzers/SampleHistogram.h"
#include "analyzers/ui/PictureView.h"

#include <QStringList>

// Shows a sample histogram, drawn at the size of the parent widget. A left click on a bar
// shows the bin's bounds and its share of all samples.
class Histogram : public PictureView {
    Q_OBJECT
public:
    Histogram(QWidget* parent, SampleHistogram histogram);
    // The histogram as drawn already (HistogramPicture) at the size of the parent.
    Histogram(QWidget* parent, SampleHistogram histogram, QImage picture);

    const SampleHistogram& histogram() const { return histogram_; }
    // The bin whose bar lies under a point of the view, or -1.
    int barAt(QPoint position) const;
    // The entries of the menu that a click on the bar of a bin opens.
    QStringList menuTexts(int bin) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    SampleHistogram histogram_;
};
