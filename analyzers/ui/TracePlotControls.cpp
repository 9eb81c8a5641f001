#include "analyzers/ui/TracePlotControls.h"

#include "analyzers/ui/BandPassControls.h"
#include "analyzers/ui/TracePlotView.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <utility>

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    // Settings change only on purpose: a wheel over an unfocused control scrolls its parent.
    widget->setFocusPolicy(Qt::StrongFocus);
    return widget;
}

} // namespace

TracePlotControls::TracePlotControls(QWidget* parent)
    : QWidget(parent), mode(named(new QComboBox(this), "DisplayMode")),
      colourMap(named(new QComboBox(this), "ColourMap")),
      clipPercentile(named(new QDoubleSpinBox(this), "ClipPercentile")),
      normalisation(named(new QComboBox(this), "Normalisation")),
      agcWindow(named(new QSpinBox(this), "AgcWindow")), bandPass(new BandPassControls(this))
{
    mode->addItems(
        {QStringLiteral("Wiggle"), QStringLiteral("Variable area"), QStringLiteral("Variable density")});
    colourMap->addItems({QStringLiteral("Grey"), QStringLiteral("Red-white-blue")});
    clipPercentile->setRange(50.0, 100.0);
    clipPercentile->setDecimals(1);
    clipPercentile->setSuffix(QStringLiteral(" %"));
    clipPercentile->setToolTip(QStringLiteral("Amplitudes above this percentile take the full colour"));
    normalisation->addItems({QStringLiteral("Each trace"), QStringLiteral("All traces")});
    agcWindow->setRange(0, 100000);
    agcWindow->setSuffix(QStringLiteral(" ms"));
    agcWindow->setSpecialValueText(QStringLiteral("Off"));
    agcWindow->setToolTip(QStringLiteral("Automatic gain control window; Off for none"));

    // Rows, so that the controls fit beside the other settings of a narrow window.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto add = [&](int row, int column, const QString& label, QWidget* control) {
        auto* text = new QLabel(label, this);
        text->setBuddy(control);
        layout->addWidget(text, row, 2 * column);
        layout->addWidget(control, row, 2 * column + 1);
    };
    add(0, 0, QStringLiteral("&Display"), mode);
    add(0, 1, QStringLiteral("Colo&urs"), colourMap);
    add(0, 2, QStringLiteral("C&lip"), clipPercentile);
    add(1, 0, QStringLiteral("&Normalise"), normalisation);
    add(1, 1, QStringLiteral("A&GC"), agcWindow);
    auto* fit = new QPushButton(QStringLiteral("Fit"), this);
    fit->setObjectName(QStringLiteral("FitToWindow"));
    fit->setToolTip(QStringLiteral(
        "Redraw the plot at the scales that fill the window (Ctrl+wheel zooms, dragging pans)"));
    auto* actual = new QPushButton(QStringLiteral("1:1"), this);
    actual->setObjectName(QStringLiteral("ActualSize"));
    actual->setToolTip(QStringLiteral("One plot pixel per screen pixel"));
    // In a dialog a button is the default, pressed by Enter in any field, unless told otherwise:
    // Enter there applies the field, it does not throw the zoom away.
    for (QPushButton* button : {fit, actual})
        button->setAutoDefault(false);
    auto* zoomButtons = new QHBoxLayout;
    zoomButtons->addWidget(fit);
    zoomButtons->addWidget(actual);
    layout->addLayout(zoomButtons, 1, 4, 1, 2);
    // The filter has a row of its own: beside the other choices it would crowd a narrow window.
    layout->addWidget(bandPass, 2, 0, 1, 6, Qt::AlignLeft);
    auto* qc = new QPushButton(QStringLiteral("Trace &QC"), this);
    qc->setObjectName(QStringLiteral("TraceQcButton"));
    qc->setToolTip(QStringLiteral("Mark dead, clipped and noisy traces on the plot and list them beside it"));
    qc->setCheckable(true);
    qc->setAutoDefault(false);
    layout->addWidget(qc, 2, 6, Qt::AlignLeft);
    layout->setColumnStretch(7, 1);
    connect(qc, &QPushButton::toggled, this, &TracePlotControls::qcToggled);
    connect(fit, &QPushButton::clicked, this, [this] {
        if (view)
            view->fitToWindow();
    });
    connect(actual, &QPushButton::clicked, this, [this] {
        if (view)
            view->actualSize();
    });

    showSettings(TraceDisplaySettings());
    for (QComboBox* combo : {mode, colourMap, normalisation})
        connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
            enableDensityChoices();
            emit settingsChanged();
        });
    // Typed numbers apply when finished, not at every keystroke; the arrows apply at once.
    clipPercentile->setKeyboardTracking(false);
    agcWindow->setKeyboardTracking(false);
    connect(clipPercentile, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &TracePlotControls::settingsChanged);
    connect(agcWindow, qOverload<int>(&QSpinBox::valueChanged), this, &TracePlotControls::settingsChanged);
    connect(bandPass, &BandPassControls::changed, this, &TracePlotControls::settingsChanged);
}

void TracePlotControls::showSettings(const TraceDisplaySettings& settings)
{
    const QSignalBlocker blockers[] = {QSignalBlocker(mode), QSignalBlocker(colourMap),
                                       QSignalBlocker(clipPercentile), QSignalBlocker(normalisation),
                                       QSignalBlocker(agcWindow)};
    mode->setCurrentIndex(int(settings.mode));
    colourMap->setCurrentIndex(int(settings.colourMap));
    clipPercentile->setValue(settings.clipPercentile);
    normalisation->setCurrentIndex(settings.traceNormalization ? 0 : 1);
    agcWindow->setValue(int(settings.agcWindowMs));
    bandPass->showBand(settings.band);
    enableDensityChoices();
}

void TracePlotControls::applyTo(TraceDisplaySettings& settings) const
{
    settings.mode = TraceDisplayMode(mode->currentIndex());
    settings.colourMap = DensityColourMap(colourMap->currentIndex());
    settings.clipPercentile = clipPercentile->value();
    settings.traceNormalization = normalisation->currentIndex() == 0 ? 1 : 0;
    // All traces together: the largest amplitude of the plot is full scale.
    if (!settings.traceNormalization)
        settings.referenceAmplitude = 0;
    settings.agcWindowMs = agcWindow->value();
    settings.band = bandPass->band();
}

void TracePlotControls::attach(TracePlotView* attached)
{
    view = attached;
}

void TracePlotControls::takeScales(QDoubleSpinBox* horizontalField, QDoubleSpinBox* verticalField,
                                   double horizontal, double vertical, TraceDisplaySettings& settings)
{
    for (const auto& [box, value] :
         {std::pair(horizontalField, horizontal), std::pair(verticalField, vertical)}) {
        const QSignalBlocker blocker(box);
        box->setValue(value);
    }
    settings.horizontalScale = horizontalField->value();
    settings.verticalScale = verticalField->value();
}

void TracePlotControls::enableDensityChoices()
{
    const bool density = mode->currentIndex() == int(TraceDisplayMode::Density);
    colourMap->setEnabled(density);
    clipPercentile->setEnabled(density);
}
