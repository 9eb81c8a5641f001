#include "analyzers/AnalysisCsv.h"

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/SampleHistogram.h"

#include <QSaveFile>
#include <QTextStream>
#include <functional>

namespace {

bool writeRows(const QString& path, QString* error, const std::function<void(QTextStream&)>& rows)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&file);
        rows(out);
        out.flush();
        if (out.status() == QTextStream::Ok && file.flush() && file.commit())
            return true;
    }
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
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
