#include "analyzers/TimingInterval.h"
#include "analyzers/TraceAmplitudes.h"
#include "analyzers/TraceDensity.h"
#include "analyzers/TracePlot.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <QFontMetrics>
#include <cmath>

Q_DECLARE_METATYPE(DensityColourMap)
Q_DECLARE_METATYPE(TraceDisplayMode)

namespace {

TracePlot plotOf(MemoryData& data, TraceDisplaySettings settings)
{
    settings.firstTrace = 1;
    settings.lastTrace = data.traceCount();
    return TracePlot::read(data, settings);
}

TraceDisplaySettings density(DensityColourMap map = DensityColourMap::Grey)
{
    TraceDisplaySettings settings;
    settings.mode = TraceDisplayMode::Density;
    settings.colourMap = map;
    settings.timingLineInterval = 100000; // only the line at the top
    return settings;
}

// The colour at the centre of plotted trace i, sample j.
QRgb at(const TracePlot& plot, int i, int j)
{
    return plot.image.pixel(plot.geometry.traceCentre(i), plot.geometry.sampleRow(j));
}

// Pixels neither black nor white in a part of a picture.
int greyPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) != qRgb(0, 0, 0) && image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

int darkPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

} // namespace

class TestTraceDisplayModes : public QObject {
    Q_OBJECT
private slots:
    void densityColours_data()
    {
        obrtest::columns<DensityColourMap, QRgb, QRgb, QRgb, QRgb>(
            {"map", "positive", "negative", "dead", "half"});
        QTest::newRow("grey") << DensityColourMap::Grey << qRgb(0, 0, 0) << qRgb(255, 255, 255)
                              << qRgb(128, 128, 128) << qRgb(64, 64, 64);
        QTest::newRow("red-white-blue") << DensityColourMap::RedWhiteBlue << qRgb(255, 0, 0)
                                        << qRgb(0, 0, 255) << qRgb(255, 255, 255) << qRgb(255, 128, 128);
    }
    void densityColours()
    {
        const auto [map, positive, negative, dead, half] =
            obrtest::fetch<DensityColourMap, QRgb, QRgb, QRgb, QRgb>("map", "positive", "negative", "dead",
                                                                     "half");
        // Trace 1: +3 then -3; trace 2: all 0.
        MemoryData data(2, 200, 2.0f, [](int trace, int j) {
            return trace == 2 ? 0.0 : j < 100 ? 3.0 : -3.0;
        });
        const TracePlot plot = plotOf(data, density(map));
        QCOMPARE(at(plot, 0, 50), positive);
        QCOMPARE(at(plot, 0, 150), negative);
        QCOMPARE(at(plot, 1, 50), dead);
        // The band of a trace is one trace spacing wide: 8 columns at 12 traces per inch.
        const int y = plot.geometry.sampleRow(50);
        QCOMPARE(plot.image.pixel(plot.geometry.traceCentre(0) + 3, y), positive);
        QCOMPARE(plot.image.pixel(plot.geometry.traceCentre(0) + 5, y), dead);
        QCOMPARE(TraceDensity::colourOf(0.5, map), half);
        QCOMPARE(TraceDensity::colourOf(7.0, map), positive);
        QCOMPARE(TraceDensity::colourOf(-7.0, map), negative);
    }

    void clipPercentile_data()
    {
        obrtest::columns<double, double, QRgb>({"percentile", "level", "colour"});
        // 99 samples of 0.5 and one of 10.
        QTest::newRow("99 %: the spike is clipped") << 99.0 << 0.5 << qRgb(0, 0, 0);
        QTest::newRow("100 %: the spike is full scale") << 100.0 << 10.0 << qRgb(121, 121, 121);
    }
    void clipPercentile()
    {
        const auto [percentile, level, colour] =
            obrtest::fetch<double, double, QRgb>("percentile", "level", "colour");
        MemoryData data(1, 100, 2.0f, [](int, int j) { return j == 60 ? -10.0 : 0.5; });
        std::vector<double> values(100, 0.5);
        values[60] = -10.0;
        QCOMPARE(TraceAmplitudes::absolutePercentile(values, percentile), level);
        TraceDisplaySettings settings = density();
        settings.clipPercentile = percentile;
        QCOMPARE(at(plotOf(data, settings), 0, 20), colour);
        QCOMPARE(TraceAmplitudes::absolutePercentile({}, percentile), 0.0);
    }

    void normalisationAndAgc_data()
    {
        obrtest::columns<int, double, QRgb>({"eachTrace", "agcMs", "weakTrace"});
        // Trace 1 all 0.01, trace 2 all 1: over all traces the weak one is nearly the middle grey.
        QTest::newRow("each trace") << 1 << 0.0 << qRgb(0, 0, 0);
        QTest::newRow("all traces") << 0 << 0.0 << qRgb(126, 126, 126);
        QTest::newRow("all traces after AGC") << 0 << 40.0 << qRgb(0, 0, 0);
    }
    void normalisationAndAgc()
    {
        const auto [eachTrace, agcMs, weakTrace] =
            obrtest::fetch<int, double, QRgb>("eachTrace", "agcMs", "weakTrace");
        MemoryData data(2, 200, 2.0f, [](int trace, int) { return trace == 1 ? 0.01 : 1.0; });
        TraceDisplaySettings settings = density();
        settings.traceNormalization = eachTrace;
        settings.agcWindowMs = agcMs;
        const TracePlot plot = plotOf(data, settings);
        QCOMPARE(at(plot, 0, 100), weakTrace);
        QCOMPARE(at(plot, 1, 100), qRgb(0, 0, 0));
    }

    void agcBalancesOverItsWindow()
    {
        // A square wave of 0.01 for 100 samples, then of 100; zeros at the end.
        std::vector<double> samples(250, 0.0);
        for (int j = 0; j < 200; ++j)
            samples[size_t(j)] = (j % 2 ? -1.0 : 1.0) * (j < 100 ? 0.01 : 100.0);
        TraceAmplitudes::applyAgc(samples, 11);
        for (int j : {5, 50, 94, 106, 150, 194})
            QVERIFY2(std::abs(std::abs(samples[size_t(j)]) - 1.0) < 1e-9, qPrintable(QString::number(j)));
        // Near the jump the loud half dominates the window: the quiet samples nearly vanish.
        QVERIFY(std::abs(samples[99]) < 0.01);
        QCOMPARE(samples[240], 0.0);
    }

    void wiggleLeavesLobesOpen_data()
    {
        obrtest::columns<TraceDisplayMode, bool>({"mode", "filled"});
        QTest::newRow("wiggle") << TraceDisplayMode::Wiggle << false;
        QTest::newRow("variable area") << TraceDisplayMode::VariableArea << true;
    }
    void wiggleLeavesLobesOpen()
    {
        const auto [mode, filled] = obrtest::fetch<TraceDisplayMode, bool>("mode", "filled");
        MemoryData data(1, 401, 2.0f, [](int, int) { return 0.5; });
        TraceDisplaySettings settings;
        settings.mode = mode;
        settings.traceNormalization = 0;
        const TracePlot plot = plotOf(data, settings);
        const int c = plot.geometry.traceCentre(0);
        const int y = plot.geometry.sampleRow(200);
        // 0.5 swings 8 columns right of the centre.
        QCOMPARE(plot.image.pixel(c + 8, y), qRgb(0, 0, 0));
        QCOMPARE(plot.image.pixel(c + 4, y) == qRgb(0, 0, 0), filled);
    }

    void timingLinesSuitTheRecord_data()
    {
        obrtest::columns<double, int, int>({"recordMs", "rows", "interval"});
        QTest::newRow("300 ms at 5 inches per second") << 300.0 << 143 << 100;
        QTest::newRow("6 s") << 6000.0 << 2880 << 100;
        QTest::newRow("4 s squeezed") << 4000.0 << 480 << 500;
        QTest::newRow("no rows: five lines") << 1000.0 << 0 << 200;
    }
    void timingLinesSuitTheRecord()
    {
        const auto [recordMs, rows, interval] =
            obrtest::fetch<double, int, int>("recordMs", "rows", "interval");
        QCOMPARE(TimingInterval::suited(recordMs, rows), interval);
    }

    void shortRecordShowsLabelledLines()
    {
        // 150 samples at 2 ms: 300 ms on 143 rows.
        MemoryData data(6, 150, 2.0f, [](int, int j) { return std::sin(j * 0.3); });
        TraceDisplaySettings settings;
        settings.timingLineInterval = TimingInterval::suited(300, 143);
        settings.timingLabelInterval = settings.timingLineInterval;
        const TracePlot plot = plotOf(data, settings);
        QCOMPARE(plot.timingLabelRows.size(), 4);
        const QFontMetrics metrics(QFont(QStringLiteral("Times"), 8));
        for (int row : plot.timingLabelRows) {
            // Each label is written left of the plot, and antialiased.
            const QRect label(14, row - metrics.height() / 2, 30, metrics.height());
            QVERIFY2(darkPixels(plot.image, label) > 0, qPrintable(QString::number(row)));
            QVERIFY(greyPixels(plot.image, label) > 0);
        }
        // The time axis title runs up the left edge, centred on the plot.
        const int middle = 48 + plot.geometry.height / 2;
        QVERIFY(darkPixels(plot.image, QRect(0, middle - 20, 14, 40)) > 10);
        // The annotation title is written on the top row.
        QVERIFY(darkPixels(plot.image, QRect(plot.geometry.traceCentre(1), 0,
                                             plot.image.width() - 48 - plot.geometry.traceCentre(1),
                                             metrics.height())) > 10);
    }

    void labelsDoNotOverprint()
    {
        // Labels every 2 ms and a label over every trace at one column per trace.
        MemoryData data(300, 150, 2.0f, [](int, int j) { return std::sin(j * 0.3); });
        TraceDisplaySettings settings;
        settings.timingLineInterval = 2;
        settings.timingLabelInterval = 2;
        settings.horizontalScale = 96;
        settings.secondaryIncrement = 1;
        const TracePlot plot = plotOf(data, settings);
        const QFontMetrics metrics(QFont(QStringLiteral("Times"), 8));
        QVERIFY(plot.timingLabelRows.size() > 2);
        for (int k = 1; k < plot.timingLabelRows.size(); ++k)
            QVERIFY(plot.timingLabelRows[k] - plot.timingLabelRows[k - 1] >= metrics.height() - 1);
        const auto& labelled = plot.secondaryLabelled;
        QVERIFY(labelled.size() > 2 && labelled.size() < 100);
        QCOMPARE(labelled.first(), 0);
        QCOMPARE(labelled.last(), 299);
        for (int k = 1; k < labelled.size(); ++k) {
            // Centres one column per trace apart: at least the half widths of both labels.
            const int a = metrics.horizontalAdvance(QString::number(labelled[k - 1] + 1));
            const int b = metrics.horizontalAdvance(QString::number(labelled[k] + 1));
            QVERIFY(labelled[k] - labelled[k - 1] >= (a + b) / 2);
        }
    }

    void clickedColumnFindsTheTrace()
    {
        MemoryData data(5, 100, 2.0f, [](int, int) { return 0.0; });
        const TracePlot plot = plotOf(data, {});
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(plot.traceAt(plot.geometry.traceCentre(i)), i);
            QCOMPARE(plot.traceAt(plot.geometry.traceCentre(i) + 3), i);
        }
        QCOMPARE(plot.traceAt(0), -1);
        QCOMPARE(plot.traceAt(plot.geometry.traceCentre(4) + 6), -1);
    }
};

OBR_TEST_MAIN(TestTraceDisplayModes)
#include "tst_trace_display_modes.moc"
