#pragma once

#include "analyzers/TraceDisplaySettings.h"

#include <QPointer>
#include <QWidget>

class BandPassControls;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class TracePlotView;

// The display choices of a trace plot: wiggle, variable area or variable density, the
// density's colour map and clip percentile, per-trace or global normalisation and the AGC
// window, the band-pass display filter; the zoom buttons of the view it is attached to, and the
// button that shows the trace QC beside it.
class TracePlotControls : public QWidget {
    Q_OBJECT
public:
    explicit TracePlotControls(QWidget* parent = nullptr);

    // Shows the choices of the settings, without signalling a change.
    void showSettings(const TraceDisplaySettings& settings);
    // Writes the choices shown into the settings; the other fields are left alone.
    void applyTo(TraceDisplaySettings& settings) const;
    // "Fit" and "1:1" act on this view.
    void attach(TracePlotView* view);
    // The scales "Fit" asks for, shown in an analyzer's two scale fields without their signals and
    // taken into `settings` as the fields hold them; the caller redraws once.
    static void takeScales(QDoubleSpinBox* horizontalField, QDoubleSpinBox* verticalField, double horizontal,
                           double vertical, TraceDisplaySettings& settings);

signals:
    // The user changed a choice; applyTo gives the new settings.
    void settingsChanged();
    // "Trace QC" was pressed: the list of dead, clipped and noisy traces is to be shown or hidden.
    void qcToggled(bool shown);

private:
    void enableDensityChoices();

    QComboBox* mode;
    QComboBox* colourMap;
    QDoubleSpinBox* clipPercentile;
    QComboBox* normalisation;
    QSpinBox* agcWindow;
    BandPassControls* bandPass;
    QPointer<TracePlotView> view;
};
