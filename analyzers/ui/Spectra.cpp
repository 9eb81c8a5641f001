#include "analyzers/ui/Spectra.h"

#include "analyzers/SpectrumPicture.h"

Spectra::Spectra(QWidget* parent, AmplitudeSpectrum spectrum)
    : PictureView(parent, SpectrumPicture::draw(spectrum, pictureSize(parent)), spectrum.problem().isEmpty()),
      spectrum_(std::move(spectrum))
{}
