#pragma once

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/ui/PictureView.h"

// Shows an average amplitude spectrum, drawn at the size of the parent widget.
class Spectra : public PictureView {
    Q_OBJECT
public:
    Spectra(QWidget* parent, AmplitudeSpectrum spectrum);
    // The spectrum as drawn already (SpectrumPicture) at the size of the parent.
    Spectra(QWidget* parent, AmplitudeSpectrum spectrum, QImage picture);

    const AmplitudeSpectrum& spectrum() const { return spectrum_; }

private:
    AmplitudeSpectrum spectrum_;
};
