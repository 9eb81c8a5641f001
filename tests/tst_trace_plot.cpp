#include "analyzers/TimingInterval.h"
#include "analyzers/TraceAmplitudes.h"
#include "analyzers/TracePlot.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(TraceDisplayMode)
Q_DECLARE_METATYPE(DensityColourMap)

namespace {

// A plot on a 96 dpi widget at 12 traces per inch and clip 2: 8 pixels per trace.
TracePlot plotOf(MemoryData& data, TraceDisplaySettings settings = {})
{
    settings.lastTrace = data.traceCount();
    auto gather = data.makeGather(false);
    if (!gather || !data.readTraceRange(*gather, 1, data.traceCount()))
        return {};
    return TracePlot::build(*gather, settings);
}

bool black(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// The colour at the centre of plotted trace i, sample j.
QRgb at(const TracePlot& plot, int i, int j)
{
    return plot.image.pixel(plot.geometry.traceCentre(i), plot.geometry.sampleRow(j));
}

} // namespace

// The trace plot: its size, what each display mode draws, the timing lines and the labels.
class TestTracePlot : public QObject {
    Q_OBJECT
private slots:
    void geometry_data()
    {
        obrtest::columns<int, int, double, int, int, int>(
            {"traces", "samples", "verticalScale", "height", "width", "leftPad"});
        // 1001 samples at 2 ms, 5 inches per second: 2 s x 5 x 96 = 960 rows.
        QTest::newRow("24 traces: 216 columns round to 224") << 24 << 1001 << 5.0 << 960 << 224 << 4;
        QTest::newRow("1 trace: 32 columns stay") << 1 << 1001 << 5.0 << 960 << 32 << 0;
        QTest::newRow("one sample: no height") << 3 << 1 << 5.0 << 0 << 0 << 0;
        QTest::newRow("absurd scale: not drawn") << 3 << 20001 << 1000.0 << 0 << 0 << 0;
    }
    void geometry()
    {
        const auto [traces, samples, verticalScale, height, width, leftPad] =
            obrtest::fetch<int, int, double, int, int, int>("traces", "samples", "verticalScale", "height",
                                                            "width", "leftPad");
        MemoryData data(traces, samples, 2.0f, [](int, int j) { return std::sin(j * 0.1); });
        TraceDisplaySettings settings;
        settings.verticalScale = verticalScale;
        const TracePlot plot = plotOf(data, settings);
        QCOMPARE(plot.geometry.height, height);
        QCOMPARE(plot.geometry.width, width);
        QCOMPARE(plot.geometry.leftPad, leftPad);
        QCOMPARE(plot.image.isNull(), width == 0);
        if (plot.image.isNull())
            return;
        QCOMPARE(plot.image.size(), QSize(width + 96, height + 96));
        QCOMPARE(plot.geometry.traceCentre(traces - 1), 48 + leftPad + (traces + 1) * 8);
        // A timing line every 500 ms: 500 / 2000 x 960 rows below the top, whole across the plot.
        QVERIFY(black(plot.image, 49, 287) && black(plot.image, 47 + width, 287) &&
                !black(plot.image, 49, 288));
    }

    void readoutUnderThePointer()
    {
        MemoryData data(10, 200, 2.0f, [](int trace, int j) { return trace * 1000 + j; });
        TraceDisplaySettings settings;
        settings.firstTrace = 3;
        settings.lastTrace = 8;
        settings.verticalScale = 20; // several rows a sample
        const TracePlot plot = TracePlot::read(data, settings);
        const TracePlotGeometry& g = plot.geometry;
        QCOMPARE(plot.readout(QPointF(g.traceCentre(2), g.sampleRow(50) + 0.2)),
                 QString("Trace 5   Field File 5   100.0 ms   amplitude 5050"));
        QVERIFY(plot.readout(QPointF(2, g.sampleRow(50))).isEmpty());
        QVERIFY(plot.readout(QPointF(g.traceCentre(2), g.sampleRow(199) + 5 * g.pixelsPerSample)).isEmpty());
    }

    void deadTraceIsAStraightLine()
    {
        // The live neighbours swing less than 2 pixels, so they stay out of the dead trace's band.
        MemoryData data(3, 401, 2.0f,
                        [](int trace, int j) { return trace == 2 ? 0.0 : 0.1 * std::sin(j * 0.2); });
        TraceDisplaySettings settings;
        settings.traceNormalization = 0;
        settings.timingLineInterval = 100000; // only the line at the top
        const TracePlot plot = plotOf(data, settings);
        const int c = plot.geometry.traceCentre(1);
        for (int y = 49; y < 48 + plot.geometry.height; ++y)
            for (int x = c - 4; x <= c + 4; ++x)
                QVERIFY2(black(plot.image, x, y) == (x == c),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }

    void fillsPositiveLobesOnly_data()
    {
        obrtest::columns<TraceDisplayMode, bool, bool>({"mode", "reversed", "filled"});
        QTest::newRow("variable area") << TraceDisplayMode::VariableArea << false << true;
        QTest::newRow("reversed polarity") << TraceDisplayMode::VariableArea << true << true;
        QTest::newRow("wiggle: none") << TraceDisplayMode::Wiggle << false << false;
    }
    void fillsPositiveLobesOnly()
    {
        const auto [mode, reversed, filled] =
            obrtest::fetch<TraceDisplayMode, bool, bool>("mode", "reversed", "filled");
        // Positive for the first half, negative for the second.
        MemoryData data(1, 401, 2.0f, [](int, int j) { return j < 200 ? 0.5 : -0.5; });
        TraceDisplaySettings settings;
        settings.mode = mode;
        settings.reversePolarity = reversed;
        const TracePlot plot = plotOf(data, settings);
        const int c = plot.geometry.traceCentre(0);
        const int positiveRow = plot.geometry.sampleRow(reversed ? 300 : 100);
        const int negativeRow = plot.geometry.sampleRow(reversed ? 100 : 300);
        // Full scale swings 16 columns; +1 scales to 32767, which lands one column short on the right.
        QVERIFY(black(plot.image, c - 16, negativeRow) && !black(plot.image, c - 17, negativeRow));
        QVERIFY(black(plot.image, c + 15, positiveRow) && !black(plot.image, c + 16, positiveRow));
        // The lobe between centre and line is filled or left open.
        for (int x = c + 1; x < c + 15; ++x)
            QCOMPARE(black(plot.image, x, positiveRow), filled);
        for (int x = c - 15; x <= c; ++x)
            QVERIFY(!black(plot.image, x, negativeRow));
    }

    // One density picture per row: trace 1 is +3 then -3 with one spike of -10, trace 2 is dead,
    // trace 3 is weak (0.01). A full scale of 10 puts 3 at 89 of grey's 255 to 0, over all traces 0.01 is
    // 127. Colours at trace 1 sample 50 and 150, trace 2 and trace 3.
    void densityPicture_data()
    {
        obrtest::columns<DensityColourMap, int, double, double, QRgb, QRgb, QRgb, QRgb>(
            {"map", "eachTrace", "agcMs", "percentile", "positive", "negative", "dead", "weak"});
        const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
        QTest::newRow("grey") << DensityColourMap::Grey << 1 << 0.0 << 99.0 << black << white << grey
                              << black;
        QTest::newRow("100 %: the spike is full scale")
            << DensityColourMap::Grey << 1 << 0.0 << 100.0 << qRgb(89, 89, 89) << qRgb(166, 166, 166) << grey
            << black;
        QTest::newRow("all traces") << DensityColourMap::Grey << 0 << 0.0 << 99.0 << black << white << grey
                                    << qRgb(127, 127, 127);
        QTest::newRow("all traces after AGC")
            << DensityColourMap::Grey << 0 << 40.0 << 99.0 << black << white << grey << black;
    }
    void densityPicture()
    {
        const auto [map, eachTrace, agcMs, percentile, positive, negative, dead, weak] =
            obrtest::fetch<DensityColourMap, int, double, double, QRgb, QRgb, QRgb, QRgb>(
                "map", "eachTrace", "agcMs", "percentile", "positive", "negative", "dead", "weak");
        MemoryData data(3, 200, 2.0f, [](int trace, int j) {
            return trace == 2 ? 0.0 : trace == 3 ? 0.01 : j == 190 ? -10.0 : j < 100 ? 3.0 : -3.0;
        });
        TraceDisplaySettings settings;
        settings.mode = TraceDisplayMode::Density;
        settings.colourMap = map;
        settings.timingLineInterval = 100000; // only the line at the top
        settings.traceNormalization = eachTrace;
        settings.agcWindowMs = agcMs;
        settings.clipPercentile = percentile;
        const TracePlot plot = plotOf(data, settings);
        QCOMPARE(at(plot, 0, 50), positive);
        QCOMPARE(at(plot, 0, 150), negative);
        QCOMPARE(at(plot, 1, 50), dead);
        QCOMPARE(at(plot, 2, 100), weak);
        // The band of a trace is one trace spacing wide: 8 columns at 12 traces per inch.
        const int y = plot.geometry.sampleRow(50);
        QCOMPARE(plot.image.pixel(plot.geometry.traceCentre(0) + 3, y), positive);
        QCOMPARE(plot.image.pixel(plot.geometry.traceCentre(0) + 5, y), dead);
        QCOMPARE(TraceAmplitudes::absolutePercentile({}, percentile), 0.0);
    }

    void shortRecordShowsLabelledLines()
    {
        // Lines that suit the record: 4 s squeezed to 480 rows; five lines when there are no rows.
        QCOMPARE(TimingInterval::suited(4000, 480), 500);
        QCOMPARE(TimingInterval::suited(1000, 0), 200);
        // Rows beyond any int, as an interval of 2^31 ms from a format file gives them, are taken
        // without a cast: 5 inches a second at 96 dpi is 0.48 rows a millisecond, 32 rows 66.7 ms.
        QCOMPARE(TimingInterval::suited(2147483647.0 * 1000, 2147483647.0 * 1000 * 0.48), 100);
        // Rows that are no number count as none.
        QCOMPARE(TimingInterval::suited(1000, std::numeric_limits<double>::infinity()), 200);
        // 150 samples at 2 ms: 300 ms on 143 rows.
        MemoryData data(6, 150, 2.0f, [](int, int j) { return std::sin(j * 0.3); });
        TraceDisplaySettings settings;
        settings.timingLineInterval = TimingInterval::suited(300, 143);
        QCOMPARE(settings.timingLineInterval, 100);
        settings.timingLabelInterval = settings.timingLineInterval;
        const TracePlot plot = plotOf(data, settings);
        QCOMPARE(plot.timingLabelRows.size(), 4);
    }
};

OBR_TEST_MAIN(TestTracePlot)
#include "tst_trace_plot.moc"
