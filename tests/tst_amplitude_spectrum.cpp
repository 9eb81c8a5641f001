#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/FftLengths.h"
#include "analyzers/SpectrumAxes.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/SpectrumTransform.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <complex>

using Status = AmplitudeSpectrum::Status;
Q_DECLARE_METATYPE(Status)
using Ints = std::vector<int>;

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

} // namespace

class TestAmplitudeSpectrum : public QObject {
    Q_OBJECT
private slots:
    void lengthsAndAxes()
    {
        // An even length the transform handles, at least the window; none beyond the longest.
        for (const auto& [window, length] :
             std::vector<std::pair<int, int>>{{1001, 1008}, {17, 18}, {720720, 720720}, {720721, 0}})
            QCOMPARE(evenFftLength(window), length);
        // The decibel axis reaches below the deepest point, whichever its sign.
        for (const auto& [deepest, depth] :
             std::vector<std::pair<double, int>>{{48, 60}, {47, 48}, {0, 12}}) {
            QCOMPARE(SpectrumAxes::decibelAxisDepth(deepest), depth);
            QCOMPARE(SpectrumAxes::decibelAxisDepth(-deepest), depth);
        }
        // Labels and grid lines in round steps up to the Nyquist frequency; none but 0 below 1 Hz.
        auto axis = SpectrumAxes::frequencyAxis(250);
        QCOMPARE(axis.labels, (Ints{0, 50, 100, 150, 200, 250}));
        QCOMPARE(axis.gridLines, (Ints{50, 100, 150, 200}));
        axis = SpectrumAxes::frequencyAxis(2);
        QCOMPARE(axis.labels, (Ints{0, 1, 2}));
        axis = SpectrumAxes::frequencyAxis(0.5);
        QCOMPARE(axis.top, 0.5);
        QCOMPARE(axis.labels, Ints{0});
        QVERIFY(axis.gridLines.empty());
    }

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
        QCOMPARE(spectrum.status, Status::Ok);
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
        obrtest::columns<int, float, int, double, double, Status>(
            {"samples", "interval", "firstTrace", "startMs", "endMs", "status"});
        QTest::newRow("start equals end") << 100 << 2.0f << 1 << 40.0 << 40.0 << Status::EmptyWindow;
        QTest::newRow("longer than 720720 points")
            << 720722 << 1.0f << 1 << 0.0 << 720722.0 << Status::WindowTooLong;
        QTest::newRow("no trace readable") << 100 << 2.0f << 9 << 0.0 << 200.0 << Status::NoTraces;
        QTest::newRow("all samples zero") << 100 << 2.0f << 1 << 0.0 << 2.0 << Status::NoSignal;
        QTest::newRow("zero interval") << 100 << 0.0f << 1 << 0.0 << 200.0 << Status::BadInterval;
    }
    void windowsWithoutSpectrum()
    {
        const auto [samples, interval, firstTrace, startMs, endMs, status] =
            obrtest::fetch<int, float, int, double, double, Status>("samples", "interval", "firstTrace",
                                                                    "startMs", "endMs", "status");
        MemoryData data(2, samples, interval, [](int, int j) { return j % 3; });
        const auto spectrum = AmplitudeSpectrum::compute(data, firstTrace, firstTrace + 1, startMs, endMs);
        QCOMPARE(spectrum.status, status);
        QVERIFY(!spectrum.problem().isEmpty());
        QVERIFY(spectrum.decibels.empty());
        // The picture draws no curve.
        const QImage picture = SpectrumPicture::draw(spectrum, QSize(640, 480));
        QCOMPARE(redPixels(picture, picture.rect()), 0);
    }
};

OBR_TEST_MAIN(TestAmplitudeSpectrum)
#include "tst_amplitude_spectrum.moc"
