#include "analyzers/ui/Spectra.h"

#include "analyzers/SpectrumPicture.h"

Spectra::Spectra(QWidget* parent, AmplitudeSpectrum spectrum)
    : Spectra(parent, spectrum, SpectrumPicture::draw(spectrum, pictureSize(parent)))
{}

Spectra::Spectra(QWidget* parent, AmplitudeSpectrum spectrum, QImage picture)
    : PictureView(parent, std::move(picture), spectrum.problem().isEmpty()), spectrum_(std::move(spectrum))
{}
