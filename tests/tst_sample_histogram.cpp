#include "analyzers/HistogramPicture.h"
#include "analyzers/SampleHistogram.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <limits>

using Status = SampleHistogram::Status;
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
    void binAndTickCounts()
    {
        for (const auto& [values, bins] :
             std::vector<std::pair<qint64, int>>{{2, 1}, {3, 3}, {24000, 15}, {32769, 17}})
            QCOMPARE(SampleHistogram::binCount(values), bins);
        // The count axis: round steps from 0, none for an empty histogram.
        QCOMPARE(HistogramPicture::countTicks(0), std::vector<qint64>{});
        QCOMPARE(HistogramPicture::countTicks(7), (std::vector<qint64>{0, 2, 4, 6}));
        QCOMPARE(HistogramPicture::countTicks(2600), (std::vector<qint64>{0, 1000, 2000}));
    }

    void largestValueIsCounted_data()
    {
        obrtest::columns<Floats, int>({"values", "lastBinCount"});
        // At 5, 1e-8 is lost to single precision: the value at +A belongs to the last bin.
        QTest::newRow("+A lost in precision") << Floats{-1.0f, 0.5f, 5.0f} << 1;
        QTest::newRow("-A is largest") << Floats{-5.0f, 0.5f, 1.0f} << 0;
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

    void binsOfAWindowUpToTheLastTrace()
    {
        // 24 traces of 1000 samples in the window; values -1 to 1 in steps; no trace past the 24th read.
        MemoryData data(24, 1500, 2.0f, [](int, int j) { return (j % 201 - 100) / 100.0; });
        const auto histogram = SampleHistogram::compute(data, 1, std::numeric_limits<int>::max(), 0, 2000);
        QCOMPARE(histogram.status, Status::Ok);
        QCOMPARE(histogram.window.lastTrace, 24);
        QCOMPARE(data.reads, 24);
        QCOMPARE(int(histogram.bins.size()), 15);
        verifyTotals(histogram, 24000);
        // Bins are symmetric around 0: the middle one straddles it.
        const auto& middle = histogram.bins[7];
        QVERIFY(middle.lower < 0 && middle.upper > 0);
        QVERIFY(std::abs(middle.lower + middle.upper) < 1e-7);
    }

    void pictureBarsAreProportionalToTheirCounts()
    {
        // A = 1: bins -1 to -1/3 (2 values), -1/3 to 1/3 (none), 1/3 to 1 (1, the value at +A).
        const auto histogram = SampleHistogram::fromValues({-1.0f, -0.9f, 1.0f});
        QCOMPARE(int(histogram.bins.size()), 3);
        // pw = 600, ph = 200: bars 200 columns wide from column 48, 2 / 2 x 200 = 200 and
        // 1 / 2 x 200 = 100 rows tall, ending at row 248 above the labels under their middles.
        const QSize size(696, 296);
        const QImage picture = HistogramPicture::draw(histogram, size);
        auto redRows = [&](int x) {
            int rows = 0;
            for (int y = 0; y < size.height(); ++y)
                rows += picture.pixelColor(x, y) == QColor(Qt::red);
            return rows;
        };
        // The outline takes a row at either end.
        QVERIFY(std::abs(redRows(100) - 200) <= 3);
        QVERIFY(std::abs(redRows(500) - 100) <= 3);
        QCOMPARE(redRows(300), 0);
        QCOMPARE(picture.pixelColor(100, 46), QColor(Qt::white));
        QCOMPARE(picture.pixelColor(100, 50), QColor(Qt::red));
        // The click finds the bar drawn there, and nothing over the empty bin.
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(300, 240)), -1);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(500, 150)), 2);
        QCOMPARE(HistogramPicture::barAt(histogram, size, QPointF(500, 140)), -1);
        // The count axis is labelled left of the bars.
        int dark = 0;
        for (int y = 30; y < 260; ++y)
            for (int x = 0; x < 44; ++x)
                dark += picture.pixelColor(x, y).value() < 128;
        QVERIFY(dark > 10);
    }

    // A window larger than the limit is sampled evenly by traces and says so; a single trace
    // over it is refused with what to do.
    void largeWindowsAreSampled()
    {
        MemoryData data(30, 10, 2.0f, [](int i, int) { return i; });
        const auto sampled = SampleHistogram::compute(data, 1, 30, 0, 20, 100);
        QCOMPARE(sampled.status, Status::Ok);
        QCOMPARE(data.reads, 10);
        verifyTotals(sampled, 100);
        QCOMPARE(sampled.note(),
                 QString("Sampled: one trace in 3 of traces 1 to 30 (10 traces read), to count at "
                         "most 100 samples"));
        const auto whole = SampleHistogram::compute(data, 1, 10, 0, 20, 100);
        QVERIFY(whole.note().isEmpty());
        const auto refused = SampleHistogram::compute(data, 1, 2, 0, 20, 5);
        QCOMPARE(refused.status, Status::TooManyValues);
        QVERIFY(refused.problem().contains("narrow the time window"));
    }

    // Counts of six digits and more keep their labels whole within the picture.
    void countLabelsFitThePicture()
    {
        for (const qint64 count : {900000, 5000000}) {
            const auto histogram = SampleHistogram::fromValues(Floats(size_t(count), 1.0f));
            const QImage picture = HistogramPicture::draw(histogram, QSize(700, 300));
            for (int y = 0; y < picture.height(); ++y)
                QCOMPARE(picture.pixelColor(0, y), QColor(Qt::white));
            int dark = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < 60; ++x)
                    dark += picture.pixelColor(x, y).value() < 128;
            QVERIFY(dark > 10);
        }
    }

    void windowsWithoutHistogram()
    {
        MemoryData data(2, 100, 2.0f, [](int, int j) { return j; });
        const auto reversed = SampleHistogram::compute(data, 1, 2, 40, 20);
        const auto missing = SampleHistogram::compute(data, 5, 6, 0, 100);
        QCOMPARE(reversed.status, Status::EmptyWindow);
        QCOMPARE(missing.status, Status::NoTraces);
        for (const SampleHistogram* histogram : {&reversed, &missing}) {
            QVERIFY(histogram->bins.empty());
            QVERIFY(!histogram->problem().isEmpty());
        }
    }
};

OBR_TEST_MAIN(TestSampleHistogram)
#include "tst_sample_histogram.moc"
