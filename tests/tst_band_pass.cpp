#include "analyzers/BandPass.h"
#include "tests/support/TestMain.h"

#include <cmath>

namespace {

constexpr double intervalMs = 2.0;

// The amplitude of the sine and cosine at `hertz` in samples 200 to 799 of the trace, by least
// squares over whole periods of both test frequencies.
double amplitudeAt(const std::vector<double>& trace, double hertz)
{
    double s = 0;
    double c = 0;
    for (int i = 200; i < 800; ++i) {
        const double phase = 2 * M_PI * hertz * i * intervalMs / 1000;
        s += trace[size_t(i)] * std::sin(phase);
        c += trace[size_t(i)] * std::cos(phase);
    }
    return 2 * std::hypot(s, c) / 600;
}

} // namespace

class TestBandPass : public QObject {
    Q_OBJECT
private slots:
    // Two sines, 10 Hz in the pass band and 80 Hz in the stop band: the stop band loses at
    // least 40 dB, the pass band keeps its amplitude within 1 dB and its phase.
    void passesTheBandAndStopsTheRest()
    {
        std::vector<double> trace(1000);
        for (int i = 0; i < 1000; ++i) {
            const double t = i * intervalMs / 1000;
            trace[size_t(i)] = std::sin(2 * M_PI * 10 * t) + std::sin(2 * M_PI * 80 * t);
        }
        BandPass band;
        QString problem;
        QVERIFY(BandPass::parse("2,5,20,30", &band, &problem));
        BandPassFilter filter(band, intervalMs, 1000);
        filter.apply(trace);
        const double kept = 20 * std::log10(amplitudeAt(trace, 10));
        const double stopped = 20 * std::log10(amplitudeAt(trace, 80));
        QVERIFY2(std::abs(kept) < 1, qPrintable(QString::number(kept)));
        QVERIFY2(stopped < -40, qPrintable(QString::number(stopped)));
        // Zero phase: the 10 Hz sine still crosses zero upwards at t = 0.5 s (sample 250).
        QVERIFY(trace[249] < 0 && trace[251] > 0);
    }

    void corners()
    {
        BandPass band;
        QString problem;
        for (const char* bad : {"", "1,2,3", "1,2,3,x", "5,4,10,20", "1,2,3,4,5", "0,0,0,0", "-1,2,3,4"})
            QVERIFY2(!BandPass::parse(bad, &band, &problem) && !problem.isEmpty(), bad);
        QVERIFY(BandPass::parse(" 2, 5,20 ,30", &band, &problem));
        QCOMPARE(band.gain(2), 0.0);
        QCOMPARE(band.gain(12), 1.0);
        QVERIFY(std::abs(band.gain(25) - 0.5) < 1e-12);
        QCOMPARE(band.gain(30), 0.0);
        // Off, the filter leaves a trace as it is.
        std::vector<double> trace{1, -2, 3};
        BandPassFilter(BandPass(), intervalMs, 3).apply(trace);
        QCOMPARE(trace, (std::vector<double>{1, -2, 3}));
    }
};

OBR_TEST_MAIN(TestBandPass)
#include "tst_band_pass.moc"
