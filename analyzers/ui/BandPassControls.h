#pragma once

#include "analyzers/BandPass.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QDoubleSpinBox;

// The display filter of a trace plot: "Band-pass" on or off and its four corner frequencies in
// hertz. Off by default; corners typed out of order are taken in increasing order.
class BandPassControls : public QWidget {
    Q_OBJECT
public:
    explicit BandPassControls(QWidget* parent);

    // Shows the filter, without signalling a change; an off filter keeps the corners shown.
    void showBand(const BandPass& band);
    // The filter the controls give: all corners 0 when it is off.
    BandPass band() const;

signals:
    void changed();

private:
    QCheckBox* on;
    std::array<QDoubleSpinBox*, 4> corners;
};
