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
Q_DECLARE_METATYPE(Ints)

class TestAmplitudeSpectrum : public QObject {
    Q_OBJECT
private slots:
    void fftLengths_data()
    {
        obrtest::columns<int, int>({"window", "length"});
        for (const auto& [window, length] : std::vector<std::pair<int, int>>{
                 {1000, 1008}, {1001, 1008}, {17, 18}, {715, 720}, {720720, 720720}, {720721, 0}})
            QTest::addRow("%d", window) << window << length;
    }
    void fftLengths()
    {
        const auto [window, length] = obrtest::fetch<int, int>("window", "length");
        QCOMPARE(evenFftLength(window), length);
    }
    void lengthTableHasTheProducts()
    {
        const auto& lengths = validFftLengths();
        QCOMPARE(lengths.size(), size_t(240));
        QVERIFY(std::is_sorted(lengths.begin(), lengths.end()));
        QCOMPARE(Ints(lengths.begin(), lengths.begin() + 20),
                 Ints({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20, 21, 22}));
    }

    void decibelAxis_data()
    {
        obrtest::columns<double, int>({"deepest", "depth"});
        for (const auto& [deepest, depth] :
             std::vector<std::pair<double, int>>{{50, 60}, {48, 60}, {47, 48}, {40, 48}, {0, 12}})
            QTest::addRow("%g dB", deepest) << deepest << depth;
    }
    void decibelAxis()
    {
        const auto [deepest, depth] = obrtest::fetch<double, int>("deepest", "depth");
        QCOMPARE(SpectrumAxes::decibelAxisDepth(deepest), depth);
        QCOMPARE(SpectrumAxes::decibelAxisDepth(-deepest), depth);
    }

    void frequencyAxis_data()
    {
        obrtest::columns<double, double, Ints, Ints>({"interval", "top", "labels", "grid"});
        QTest::newRow("2 ms") << 2.0 << 250.0 << Ints{0, 50, 100, 150, 200, 250} << Ints{50, 100, 150, 200};
        QTest::newRow("3 ms") << 3.0 << 166.0 << Ints{0, 33, 66, 99, 132, 165} << Ints{33, 66, 99, 132};
        QTest::newRow("Nyquist 2 Hz: 1 Hz steps") << 250.0 << 2.0 << Ints{0, 1, 2} << Ints{1, 2};
        QTest::newRow("Nyquist 0.5 Hz") << 1000.0 << 0.5 << Ints{0} << Ints{};
    }
    void frequencyAxis()
    {
        const auto [interval, top, labels, grid] =
            obrtest::fetch<double, double, Ints, Ints>("interval", "top", "labels", "grid");
        const auto axis = SpectrumAxes::frequencyAxis(1.0 / (2.0 * interval / 1000.0));
        QCOMPARE(axis.top, top);
        QCOMPARE(axis.labels, labels);
        QCOMPARE(axis.gridLines, grid);
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

    void sinePeaksInItsBin()
    {
        // 1000 samples at 2 ms: N = 1008, df = 250 / 504 Hz; 60 Hz falls nearest point 121.
        MemoryData data(3, 1000, 2.0f, [](int, int j) { return std::sin(2 * M_PI * 60.0 * j * 0.002); });
        const auto spectrum = AmplitudeSpectrum::compute(data, 1, 3, 0, 2000);
        QCOMPARE(spectrum.status, Status::Ok);
        QCOMPARE(spectrum.decibels.size(), size_t(504));
        const auto peak = std::max_element(spectrum.decibels.begin(), spectrum.decibels.end());
        QCOMPARE(int(peak - spectrum.decibels.begin()), 121);
        QCOMPARE(*peak, 0.0);
        QCOMPARE(spectrum.axisDepth, SpectrumAxes::decibelAxisDepth(-*std::min_element(
                                         spectrum.decibels.begin(), spectrum.decibels.end())));
    }

    void averagesTheTracesRead()
    {
        // Traces 4 and 5 do not exist: the average is that of traces 1 to 3 (amplitudes 1, 2, 3).
        MemoryData data(3, 48, 4.0f, [](int trace, int j) { return trace * std::cos(2 * M_PI * j / 8.0); });
        const auto spectrum = AmplitudeSpectrum::compute(data, 1, 5, 0, 192);
        QCOMPARE(spectrum.tracesRead, 3);
        QCOMPARE(spectrum.transformLength, 48);
        // A cosine of amplitude a puts a / 2 into point 6; the mean of 1, 2, 3 is 2.
        QVERIFY(std::abs(spectrum.average[6] - 1.0) < 1e-6);
    }

    void lastTracePastTheFileReadsNoFurther()
    {
        MemoryData data(3, 48, 4.0f, [](int trace, int j) { return trace * std::cos(2 * M_PI * j / 8.0); });
        const auto spectrum = AmplitudeSpectrum::compute(data, 2, 100000, 0, 192);
        QCOMPARE(spectrum.status, Status::Ok);
        QCOMPARE(spectrum.window.lastTrace, 3);
        QCOMPARE(spectrum.tracesRead, 2);
        QCOMPARE(data.reads, 2);
    }

    void pictureHasThePeakOnTheTopLine()
    {
        // 60 Hz at point 121 of 504, df = 250 / 504 Hz; pw = 800 - 96, 0 dB at row 48.
        MemoryData data(3, 1000, 2.0f, [](int, int j) { return std::sin(2 * M_PI * 60.0 * j * 0.002); });
        const auto spectrum = AmplitudeSpectrum::compute(data, 1, 3, 0, 2000);
        const QImage picture = SpectrumPicture::draw(spectrum, QSize(800, 400));
        QCOMPARE(picture.size(), QSize(800, 400));
        const int peakColumn = int(std::lround(121 * 250.0 / 504 / 250 * 704 + 48));
        auto reddish = [&](int x, int y) {
            const QColor colour = picture.pixelColor(x, y);
            return colour.red() > colour.green() + 60;
        };
        QVERIFY(reddish(peakColumn, 47) || reddish(peakColumn, 48));
        // Nothing of the curve lies above the frame.
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < 46; ++y)
                QVERIFY2(!reddish(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        // The frame's corners.
        for (const QPoint& corner : {QPoint(48, 48), QPoint(752, 48), QPoint(48, 352), QPoint(752, 352)})
            QVERIFY(picture.pixelColor(corner).value() < 160);
    }

    void windowsWithoutSpectrum_data()
    {
        obrtest::columns<int, float, int, double, double, Status>(
            {"samples", "interval", "firstTrace", "startMs", "endMs", "status"});
        QTest::newRow("start equals end") << 100 << 2.0f << 1 << 40.0 << 40.0 << Status::EmptyWindow;
        QTest::newRow("start past the trace") << 100 << 2.0f << 1 << 500.0 << 600.0 << Status::EmptyWindow;
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
        // The picture says why, and draws no curve.
        const QImage picture = SpectrumPicture::draw(spectrum, QSize(640, 480));
        QCOMPARE(picture.size(), QSize(640, 480));
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                red += picture.pixelColor(x, y).red() > picture.pixelColor(x, y).green() + 60 ? 1 : 0;
        QCOMPARE(red, 0);
    }
};

OBR_TEST_MAIN(TestAmplitudeSpectrum)
#include "tst_amplitude_spectrum.moc"
