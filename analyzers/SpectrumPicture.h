#pragma once

#include <QImage>
#include <QSize>

class AmplitudeSpectrum;

// The picture of an average amplitude spectrum: decibels below the peak down, frequency
// across, on a grid of 12 dB and fifths of the Nyquist frequency, inside a frame with
// margins of 48 pixels. A spectrum that could not be computed shows why instead.
namespace SpectrumPicture {

constexpr int margin = 48;

QImage draw(const AmplitudeSpectrum& spectrum, QSize size);

} // namespace SpectrumPicture
