#pragma once

#include "analyzers/AmplitudeSpectrum.h"

#include <QColor>
#include <QGraphicsView>
#include <array>

class QGraphicsScene;
class SeismicData;

// The average amplitude spectrum of a window of traces and times, drawn once in the
// constructor at the size of the parent widget: decibels below the peak down, frequency
// across, on a grid of 12 dB and fifths of the Nyquist frequency.
class Spectra : public QGraphicsView {
    Q_OBJECT
public:
    Spectra(QWidget* parent, SeismicData* data, int firstTrace, int lastTrace, double startMs, double endMs);

    const AmplitudeSpectrum& spectrum() const { return spectrum_; }
    QImage picture() const;

    static constexpr int margin = 48;

private:
    void drawFrame(double width, double height);
    void drawDecibelAxis(double width, double height);
    void drawFrequencyAxis(double width, double height);
    void drawCurve(double width, double height);

    AmplitudeSpectrum spectrum_;
    QGraphicsScene* scene_;
    std::array<QColor, 6> colours;
};
