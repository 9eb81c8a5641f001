#include "analyzers/AnalysisCsv.h"

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/SampleHistogram.h"
#include "base/WholeFile.h"

#include <QTextStream>
#include <functional>

namespace {

// Whole or not at all (WholeFile), the error with the system's reason.
bool writeRows(const QString& path, QString* error, const std::function<void(QTextStream&)>& rows)
{
    QByteArray text;
    QTextStream out(&text, QIODevice::WriteOnly);
    rows(out);
    out.flush();
    return WholeFile::write(path, text, error);
}

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

} // namespace

namespace AnalysisCsv {

bool writeSpectrum(const AmplitudeSpectrum& spectrum, const QString& path, QString* error)
{
    return writeRows(path, error, [&](QTextStream& out) {
        out << "Frequency (Hz),dB\n";
        for (size_t i = 0; i < spectrum.decibels.size(); ++i)
            out << number(double(i) * spectrum.frequencyStep) << ',' << number(spectrum.decibels[i]) << '\n';
    });
}

bool writeHistogram(const SampleHistogram& histogram, const QString& path, QString* error)
{
    return writeRows(path, error, [&](QTextStream& out) {
        out << "Lower bound,Upper bound,Count,Percent\n";
        for (int i = 0; i < int(histogram.bins.size()); ++i) {
            const auto& bin = histogram.bins[size_t(i)];
            out << number(bin.lower) << ',' << number(bin.upper) << ',' << bin.count << ','
                << number(histogram.percent(i)) << '\n';
        }
    });
}

} // namespace AnalysisCsv
