#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/FftLengths.h"
#include "analyzers/HistogramPicture.h"
#include "analyzers/SampleHistogram.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/SpectrumTransform.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

using HistogramStatus = SampleHistogram::Status;
using Floats = std::vector<float>;
Q_DECLARE_METATYPE(Floats)
using SpectrumStatus = AmplitudeSpectrum::Status;
Q_DECLARE_METATYPE(SpectrumStatus)

namespace {

bool reddish(const QImage& picture, int x, int y)
{
    const QColor colour = picture.pixelColor(x, y);
    return colour.red() > colour.green() + 60;
}

int redPixels(const QImage& picture, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += reddish(picture, x, y);
    return count;
}

// Every value counted once and the percentages adding up to 100.
void verifyTotals(const SampleHistogram& histogram, qint64 values)
{
    qint64 count = 0;
    double percent = 0;
    for (int i = 0; i < int(histogram.bins.size()); ++i) {
        count += histogram.bins[size_t(i)].count;
        percent += histogram.percent(i);
    }
    QCOMPARE(count, values);
    QVERIFY(std::abs(percent - 100.0) < 1e-9);
}

} // namespace

// The analyzers' numbers: the average amplitude spectrum and the sample histogram, with their pictures.
class TestSpectrumAndHistogram : public QObject {
    Q_OBJECT
private slots:
    void matchesDirectTransform()
    {
        // 21 samples padded to 22 points, against the sum with exponent sign +1 divided by N.
        const int n = evenFftLength(21);
        std::vector<float> samples(21);
        for (float& value : samples)
            value = float(QRandomGenerator::global()->generateDouble() * 2 - 1);
        SpectrumTransform transform(n);
        QVERIFY(transform.isValid());
        std::vector<double> sums(size_t(n), 0.5);
        transform.addMagnitudes(samples, sums);
        for (int i = 0; i < n; ++i) {
            std::complex<double> direct;
            for (int k = 0; k < int(samples.size()); ++k)
                direct += double(samples[size_t(k)]) * std::polar(1.0, 2 * M_PI * i * k / n);
            QVERIFY2(std::abs(sums[size_t(i)] - 0.5 - std::abs(direct) / n) < 1e-12,
                     qPrintable(QString::number(i)));
        }
    }

    void sinePeaksInItsBinOnTheTopLine()
    {
        // 1000 samples at 2 ms: N = 1008, df = 250 / 504 Hz; 60 Hz falls nearest point 121.
        MemoryData data(3, 1000, 2.0f, [](int, int j) { return std::sin(2 * M_PI * 60.0 * j * 0.002); });
        const auto spectrum = AmplitudeSpectrum::compute(data, 1, 3, 0, 2000);
        QCOMPARE(spectrum.status, SpectrumStatus::Ok);
        QCOMPARE(spectrum.decibels.size(), size_t(504));
        const auto peak = std::max_element(spectrum.decibels.begin(), spectrum.decibels.end());
        QCOMPARE(int(peak - spectrum.decibels.begin()), 121);
        QCOMPARE(*peak, 0.0);
        // Drawn 800 x 400: pw = 800 - 96, 0 dB at row 48, and nothing of the curve above the frame.
        const QImage picture = SpectrumPicture::draw(spectrum, QSize(800, 400));
        const int peakColumn = int(std::lround(121 * 250.0 / 504 / 250 * 704 + 48));
        QVERIFY(reddish(picture, peakColumn, 47) || reddish(picture, peakColumn, 48));
        QCOMPARE(redPixels(picture, QRect(0, 0, 800, 46)), 0);
    }

    void lastTracePastTheFileReadsNoFurther()
    {
        // Traces 2 and 3 of amplitudes 2 and 3 are read; none past them.
        MemoryData data(3, 48, 4.0f, [](int trace, int j) { return trace * std::cos(2 * M_PI * j / 8.0); });
        const auto spectrum = AmplitudeSpectrum::compute(data, 2, 100000, 0, 192);
        QCOMPARE(spectrum.window.lastTrace, 3);
        QCOMPARE(spectrum.tracesRead, 2);
        QCOMPARE(data.reads, 2);
        // A cosine of amplitude a puts a / 2 into point 6: the average of the traces read.
        QCOMPARE(spectrum.transformLength, 48);
        QVERIFY(std::abs(spectrum.average[6] - 1.25) < 1e-6);
    }

    void windowsWithoutSpectrum_data()
    {
        obrtest::columns<int, float, int, double, double, SpectrumStatus>(
            {"samples", "interval", "firstTrace", "startMs", "endMs", "status"});
        QTest::newRow("start equals end") << 100 << 2.0f << 1 << 40.0 << 40.0 << SpectrumStatus::EmptyWindow;
        QTest::newRow("longer than 720720 points")
            << 720722 << 1.0f << 1 << 0.0 << 720722.0 << SpectrumStatus::WindowTooLong;
        QTest::newRow("no trace readable") << 100 << 2.0f << 9 << 0.0 << 200.0 << SpectrumStatus::NoTraces;
        QTest::newRow("all samples zero") << 100 << 2.0f << 1 << 0.0 << 2.0 << SpectrumStatus::NoSignal;
        QTest::newRow("zero interval") << 100 << 0.0f << 1 << 0.0 << 200.0 << SpectrumStatus::BadInterval;
    }
    void windowsWithoutSpectrum()
    {
        const auto [samples, interval, firstTrace, startMs, endMs, status] =
            obrtest::fetch<int, float, int, double, double, SpectrumStatus>(
                "samples", "interval", "firstTrace", "startMs", "endMs", "status");
        MemoryData data(2, samples, interval, [](int, int j) { return j % 3; });
        const auto spectrum = AmplitudeSpectrum::compute(data, firstTrace, firstTrace + 1, startMs, endMs);
        QCOMPARE(spectrum.status, status);
        QVERIFY(!spectrum.problem().isEmpty());
        QVERIFY(spectrum.decibels.empty());
        // The picture draws no curve.
        const QImage picture = SpectrumPicture::draw(spectrum, QSize(640, 480));
        QCOMPARE(redPixels(picture, picture.rect()), 0);
    }
    void largestValueIsCounted_data()
    {
        obrtest::columns<Floats, int>({"values", "lastBinCount"});
        // At 5, 1e-8 is lost to single precision: the value at +A belongs to the last bin.
        QTest::newRow("+A lost in precision") << Floats{-1.0f, 0.5f, 5.0f} << 1;
        QTest::newRow("all zero") << Floats(7, 0.0f) << 0;
    }
    void largestValueIsCounted()
    {
        const auto [values, lastBinCount] = obrtest::fetch<Floats, int>("values", "lastBinCount");
        const auto histogram = SampleHistogram::fromValues(values);
        QCOMPARE(histogram.status, HistogramStatus::Ok);
        QCOMPARE(histogram.bins.back().count, qint64(lastBinCount));
        verifyTotals(histogram, qint64(values.size()));
    }

    void binsOfAWindowUpToTheLastTrace()
    {
        // 24 traces of 1000 samples in the window; values -1 to 1 in steps; no trace past the 24th read.
        MemoryData data(24, 1500, 2.0f, [](int, int j) { return (j % 201 - 100) / 100.0; });
        const auto histogram = SampleHistogram::compute(data, 1, std::numeric_limits<int>::max(), 0, 2000);
        QCOMPARE(histogram.status, HistogramStatus::Ok);
        QCOMPARE(histogram.window.lastTrace, 24);
        QCOMPARE(data.reads, 24);
        QCOMPARE(int(histogram.bins.size()), 15);
        verifyTotals(histogram, 24000);
        // Bins are symmetric around 0: the middle one straddles it.
        const auto& middle = histogram.bins[7];
        QVERIFY(middle.lower < 0 && middle.upper > 0);
        QVERIFY(std::abs(middle.lower + middle.upper) < 1e-7);
    }

    void clickFindsTheBarDrawnThere()
    {
        // A = 1: bins -1 to -1/3 (2 values), -1/3 to 1/3 (none), 1/3 to 1 (1, the value at +A).
        const auto histogram = SampleHistogram::fromValues({-1.0f, -0.9f, 1.0f});
        QCOMPARE(int(histogram.bins.size()), 3);
        // pw = 600, ph = 200: bars 200 columns wide from column 48, 200 and 100 rows tall, ending at
        // row 248. The click finds the bar there, and nothing over the empty bin or above a bar.
        const QSize size(696, 296);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(300, 240)), -1);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(500, 150)), 2);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(500, 140)), -1);
    }

    // A window larger than the limit is sampled evenly by traces and says so; a single trace
    // over it is refused with what to do.
    void largeWindowsAreSampled()
    {
        MemoryData data(30, 10, 2.0f, [](int i, int) { return i; });
        const auto sampled = SampleHistogram::compute(data, 1, 30, 0, 20, 100);
        QCOMPARE(sampled.status, HistogramStatus::Ok);
        QCOMPARE(data.reads, 10);
        verifyTotals(sampled, 100);
        QVERIFY(sampled.note().startsWith("Sampled: one trace in 3 of traces 1 to 30"));
        const auto whole = SampleHistogram::compute(data, 1, 10, 0, 20, 100);
        QVERIFY(whole.note().isEmpty());
        const auto refused = SampleHistogram::compute(data, 1, 2, 0, 20, 5);
        QCOMPARE(refused.status, HistogramStatus::TooManyValues);
        QVERIFY(refused.problem().contains("narrow the time window"));
    }
};

OBR_TEST_MAIN(TestSpectrumAndHistogram)
#include "tst_spectrum_and_histogram.moc"
