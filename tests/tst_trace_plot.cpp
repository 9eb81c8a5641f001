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
    }

    void readStopsAtTheLastTraceOfTheFile()
    {
        MemoryData data(30, 200, 2.0f, [](int, int j) { return std::sin(j * 0.1); });
        TraceDisplaySettings settings;
        settings.firstTrace = 25;
        settings.lastTrace = 1000;
        const TracePlot plot = TracePlot::read(data, settings);
        // Field file and channel are the trace numbers.
        QCOMPARE(plot.annotations.size(), 6);
        QCOMPARE(plot.annotations.first().primary, qint64(25));
        QCOMPARE(plot.annotations.last().secondary, qint64(30));
        QCOMPARE(plot.picture().pixelColor(plot.geometry.traceCentre(0), plot.geometry.sampleRow(10)),
                 QColor(Qt::black));
    }

    // The readout names the trace under the pointer (counted in the data set), its primary
    // annotation word, the time and the sample as read; off the traces it says nothing.
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

    void timingLineRows()
    {
        // 1001 samples at 2 ms, lines every 500 ms: q = 4.004, rows k x 960 / q + 48.
        MemoryData data(4, 1001, 2.0f, [](int, int) { return 0.0; });
        const TracePlot plot = plotOf(data);
        const QList<int> lineRows{48, 287, 527, 767, 1007};
        for (int y = 48; y <= 48 + plot.geometry.height; ++y) {
            bool fullRow = true;
            for (int x = 48; x <= 48 + plot.geometry.width && fullRow; ++x)
                fullRow = black(plot.image, x, y);
            QVERIFY2(fullRow == lineRows.contains(y), qPrintable(QString::number(y)));
        }
    }

    void densityColours_data()
    {
        obrtest::columns<DensityColourMap, QRgb, QRgb, QRgb>({"map", "positive", "negative", "dead"});
        QTest::newRow("grey") << DensityColourMap::Grey << qRgb(0, 0, 0) << qRgb(255, 255, 255)
                              << qRgb(128, 128, 128);
        QTest::newRow("red-white-blue")
            << DensityColourMap::RedWhiteBlue << qRgb(255, 0, 0) << qRgb(0, 0, 255) << qRgb(255, 255, 255);
    }
    void densityColours()
    {
        const auto [map, positive, negative, dead] =
            obrtest::fetch<DensityColourMap, QRgb, QRgb, QRgb>("map", "positive", "negative", "dead");
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
    }

    void clipPercentile_data()
    {
        obrtest::columns<double, QRgb>({"percentile", "colour"});
        // 99 samples of 0.5 and one of 10.
        QTest::newRow("99 %: the spike is clipped") << 99.0 << qRgb(0, 0, 0);
        QTest::newRow("100 %: the spike is full scale") << 100.0 << qRgb(121, 121, 121);
    }
    void clipPercentile()
    {
        const auto [percentile, colour] = obrtest::fetch<double, QRgb>("percentile", "colour");
        MemoryData data(1, 100, 2.0f, [](int, int j) { return j == 60 ? -10.0 : 0.5; });
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
