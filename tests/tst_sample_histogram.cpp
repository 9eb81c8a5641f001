#include "analyzers/HistogramPicture.h"
#include "analyzers/SampleHistogram.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <limits>
#include <numeric>

using Status = SampleHistogram::Status;
Q_DECLARE_METATYPE(Status)
using Floats = std::vector<float>;
Q_DECLARE_METATYPE(Floats)

namespace {

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

class TestSampleHistogram : public QObject {
    Q_OBJECT
private slots:
    void binCount_data()
    {
        obrtest::columns<qint64, int>({"values", "bins"});
        for (const auto& [values, bins] : std::vector<std::pair<qint64, int>>{
                 {1, 1}, {2, 1}, {3, 3}, {10000, 15}, {16384, 15}, {16385, 15}, {24000, 15}, {32769, 17}})
            QTest::addRow("%lld", values) << values << bins;
    }
    void binCount()
    {
        const auto [values, bins] = obrtest::fetch<qint64, int>("values", "bins");
        QCOMPARE(SampleHistogram::binCount(values), bins);
    }

    void largestValueIsCounted_data()
    {
        obrtest::columns<Floats, int>({"values", "lastBinCount"});
        // At 5, 1e-8 is lost to single precision: the value at +A belongs to the last bin.
        QTest::newRow("+A lost in precision") << Floats{-1.0f, 0.5f, 5.0f} << 1;
        QTest::newRow("-A is largest") << Floats{-5.0f, 0.5f, 1.0f} << 0;
        QTest::newRow("one value") << Floats{3.0f} << 1;
        QTest::newRow("all zero") << Floats(7, 0.0f) << 0;
    }
    void largestValueIsCounted()
    {
        const auto [values, lastBinCount] = obrtest::fetch<Floats, int>("values", "lastBinCount");
        const auto histogram = SampleHistogram::fromValues(values);
        QCOMPARE(histogram.status, Status::Ok);
        QCOMPARE(histogram.bins.back().count, qint64(lastBinCount));
        verifyTotals(histogram, qint64(values.size()));
    }

    void binsOfAWindow()
    {
        // 24 traces of 1000 samples in the window; values -1 to 1 in steps; traces 25 to 30 missing.
        MemoryData data(24, 1500, 2.0f, [](int, int j) { return (j % 201 - 100) / 100.0; });
        const auto histogram = SampleHistogram::compute(data, 1, 30, 0, 2000);
        QCOMPARE(histogram.status, Status::Ok);
        QCOMPARE(histogram.total, qint64(24000));
        QCOMPARE(int(histogram.bins.size()), 15);
        verifyTotals(histogram, 24000);
        // Bins are symmetric around 0: the middle one straddles it.
        const auto& middle = histogram.bins[7];
        QVERIFY(middle.lower < 0 && middle.upper > 0);
        QVERIFY(std::abs(middle.lower + middle.upper) < 1e-7);
    }

    void lastTracePastTheFileReadsNoFurther()
    {
        MemoryData data(2, 100, 2.0f, [](int, int j) { return j; });
        const auto histogram = SampleHistogram::compute(data, 1, std::numeric_limits<int>::max(), 0, 200);
        QCOMPARE(histogram.status, Status::Ok);
        QCOMPARE(histogram.window.lastTrace, 2);
        QCOMPARE(histogram.total, qint64(200));
        QCOMPARE(data.reads, 2);
    }

    void pictureBarsStandOnTheBottomMargin()
    {
        // A = 1: bins -1 to -1/3 (2 values), -1/3 to 1/3 (1), 1/3 to 1 (1, the value at +A).
        const auto histogram = SampleHistogram::fromValues({-1.0f, -0.9f, 0.0f, 1.0f});
        QCOMPARE(int(histogram.bins.size()), 3);
        // pw = 600, ph = 200: bars 200 columns wide from column 48, 2 / 2 x 200 + 48 = 248 and
        // 1 / 2 x 200 + 48 = 148 rows tall, ending at row 248 above the labels under their middles.
        const QSize size(696, 296);
        const QImage picture = HistogramPicture::draw(histogram, size);
        auto colour = [&](int x, int y) { return picture.pixelColor(x, y); };
        const QColor red(Qt::red);
        const QColor white(Qt::white);
        for (const auto& [column, top] : std::vector<std::pair<int, int>>{{100, 0}, {300, 100}, {500, 100}}) {
            if (top > 0)
                QCOMPARE(colour(column, top - 2), white);
            QCOMPARE(colour(column, top + 2), red);
            QCOMPARE(colour(column, 246), red);
            QCOMPARE(colour(column, 251), white);
        }
        // The click finds the bar drawn there.
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(100, 50)), 0);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(300, 50)), -1);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(300, 150)), 1);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(500, 150)), 2);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(20, 150)), -1);
    }

    void windowsWithoutHistogram_data()
    {
        obrtest::columns<int, double, double, Status>({"firstTrace", "startMs", "endMs", "status"});
        QTest::newRow("start equals end") << 1 << 40.0 << 40.0 << Status::EmptyWindow;
        QTest::newRow("end before start") << 1 << 40.0 << 20.0 << Status::EmptyWindow;
        QTest::newRow("no trace readable") << 5 << 0.0 << 100.0 << Status::NoTraces;
    }
    void windowsWithoutHistogram()
    {
        const auto [firstTrace, startMs, endMs, status] =
            obrtest::fetch<int, double, double, Status>("firstTrace", "startMs", "endMs", "status");
        MemoryData data(2, 100, 2.0f, [](int, int j) { return j; });
        const auto histogram = SampleHistogram::compute(data, firstTrace, firstTrace + 1, startMs, endMs);
        QCOMPARE(histogram.status, status);
        QVERIFY(histogram.bins.empty());
        QVERIFY(!histogram.problem().isEmpty());
    }
};

OBR_TEST_MAIN(TestSampleHistogram)
#include "tst_sample_histogram.moc"
