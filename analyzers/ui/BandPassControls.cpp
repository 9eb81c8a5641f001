#include "analyzers/ui/BandPassControls.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>

namespace {
// A band that suits most land and marine records, offered when the filter is first switched on.
constexpr std::array<double, 4> startCorners{5, 10, 60, 80};
} // namespace

BandPassControls::BandPassControls(QWidget* parent)
    : QWidget(parent), on(new QCheckBox(QStringLiteral("&Band-pass"), this))
{
    on->setObjectName(QStringLiteral("BandPassOn"));
    on->setToolTip(QStringLiteral("A zero-phase band-pass on the traces shown: nothing below f1, full "
                                  "from f2 to f3, nothing above f4 (Hz)"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(on);
    // Room for "10000.0": the corners are typed more often than stepped.
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("10000.0")) + 16;
    for (size_t i = 0; i < corners.size(); ++i) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(QStringLiteral("BandPassF%1").arg(i + 1));
        box->setRange(0, 100000);
        box->setDecimals(1);
        box->setValue(startCorners[i]);
        box->setToolTip(QStringLiteral("Corner frequency f%1 (Hz)").arg(i + 1));
        box->setFocusPolicy(Qt::StrongFocus);
        box->setKeyboardTracking(false);
        box->setEnabled(false);
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        box->setFixedWidth(boxWidth);
        layout->addWidget(box);
        corners[i] = box;
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &BandPassControls::changed);
    }
    layout->addWidget(new QLabel(QStringLiteral("Hz"), this));
    connect(on, &QCheckBox::toggled, this, [this](bool checked) {
        for (QDoubleSpinBox* box : corners)
            box->setEnabled(checked);
        emit changed();
    });
}

void BandPassControls::showBand(const BandPass& band)
{
    const QSignalBlocker blocker(on);
    on->setChecked(band.isOn());
    for (size_t i = 0; i < corners.size(); ++i) {
        const QSignalBlocker boxBlocker(corners[i]);
        if (band.isOn())
            corners[i]->setValue(band.corners[i]);
        corners[i]->setEnabled(band.isOn());
    }
}

BandPass BandPassControls::band() const
{
    BandPass band;
    if (!on->isChecked())
        return band;
    for (size_t i = 0; i < corners.size(); ++i)
        band.corners[i] = corners[i]->value();
    std::sort(band.corners.begin(), band.corners.end());
    return band;
}
