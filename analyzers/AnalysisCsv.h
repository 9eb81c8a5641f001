#pragma once

#include <QString>

class AmplitudeSpectrum;
class SampleHistogram;

// The numbers behind the spectra and histogram pictures as comma-separated rows with one
// header line, for spreadsheets and reports.
namespace AnalysisCsv {

// "Frequency (Hz),dB": one row per point below the Nyquist frequency.
[[nodiscard]] bool writeSpectrum(const AmplitudeSpectrum& spectrum, const QString& path, QString* error);
// "Lower bound,Upper bound,Count,Percent": one row per bin.
[[nodiscard]] bool writeHistogram(const SampleHistogram& histogram, const QString& path, QString* error);

} // namespace AnalysisCsv
