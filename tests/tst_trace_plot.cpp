#include "analyzers/TracePlot.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <cmath>

Q_DECLARE_METATYPE(TraceDisplayMode)

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

} // namespace

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
};

OBR_TEST_MAIN(TestTracePlot)
#include "tst_trace_plot.moc"
