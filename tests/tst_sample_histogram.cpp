#include "analyzers/SampleHistogram.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <numeric>

using Status = SampleHistogram::Status;
Q_DECLARE_METATYPE(Status)
Q_DECLARE_METATYPE(std::vector<float>)

namespace {

qint64 countsTotal(const SampleHistogram& histogram)
{
    return std::accumulate(histogram.bins.begin(), histogram.bins.end(), qint64(0),
                           [](qint64 sum, const SampleHistogram::Bin& bin) { return sum + bin.count; });
}

} // namespace

class TestSampleHistogram : public QObject {
    Q_OBJECT
private slots:
    void binCount_data();
    void binCount();
    void largestValueIsCounted_data();
    void largestValueIsCounted();
    void binsOfAWindow();
    void windowsWithoutHistogram_data();
    void windowsWithoutHistogram();
};

void TestSampleHistogram::binCount_data()
{
    QTest::addColumn<qint64>("values");
    QTest::addColumn<int>("bins");
    QTest::newRow("1") << qint64(1) << 1;
    QTest::newRow("2") << qint64(2) << 1;
    QTest::newRow("3") << qint64(3) << 3;
    QTest::newRow("10000") << qint64(10000) << 15;
    QTest::newRow("16384") << qint64(16384) << 15;
    QTest::newRow("16385") << qint64(16385) << 15;
    QTest::newRow("24 x 1000") << qint64(24000) << 15;
    QTest::newRow("32769") << qint64(32769) << 17;
}

void TestSampleHistogram::binCount()
{
    QFETCH(qint64, values);
    QFETCH(int, bins);
    QCOMPARE(SampleHistogram::binCount(values), bins);
}

void TestSampleHistogram::largestValueIsCounted_data()
{
    QTest::addColumn<std::vector<float>>("values");
    QTest::addColumn<int>("lastBinCount");
    // At 5, 1e-8 is lost to single precision: the value at +A belongs to the last bin.
    QTest::newRow("+A lost in precision") << std::vector<float>{-1.0f, 0.5f, 5.0f} << 1;
    QTest::newRow("-A is largest") << std::vector<float>{-5.0f, 0.5f, 1.0f} << 0;
    QTest::newRow("one value") << std::vector<float>{3.0f} << 1;
    QTest::newRow("all zero") << std::vector<float>(7, 0.0f) << 0;
}

void TestSampleHistogram::largestValueIsCounted()
{
    QFETCH(std::vector<float>, values);
    QFETCH(int, lastBinCount);
    const auto histogram = SampleHistogram::fromValues(values);
    QCOMPARE(histogram.status, Status::Ok);
    QCOMPARE(countsTotal(histogram), qint64(values.size()));
    QCOMPARE(histogram.bins.back().count, qint64(lastBinCount));
    double percent = 0;
    for (int i = 0; i < int(histogram.bins.size()); ++i)
        percent += histogram.percent(i);
    QVERIFY(std::abs(percent - 100.0) < 1e-9);
}

void TestSampleHistogram::binsOfAWindow()
{
    // 24 traces of 1000 samples in the window; values -1 to 1 in steps; traces 25 to 30 missing.
    MemoryData data(24, 1500, 2.0f, [](int, int j) { return (j % 201 - 100) / 100.0; });
    const auto histogram = SampleHistogram::compute(data, 1, 30, 0, 2000);
    QCOMPARE(histogram.status, Status::Ok);
    QCOMPARE(histogram.total, qint64(24000));
    QCOMPARE(int(histogram.bins.size()), 15);
    QCOMPARE(countsTotal(histogram), qint64(24000));
    // Bins are symmetric around 0: the middle one straddles it.
    const auto& middle = histogram.bins[7];
    QVERIFY(middle.lower < 0 && middle.upper > 0);
    QVERIFY(std::abs(middle.lower + middle.upper) < 1e-7);
    QCOMPARE(histogram.percent(7), 100.0 * double(middle.count) / 24000.0);
}

void TestSampleHistogram::windowsWithoutHistogram_data()
{
    QTest::addColumn<int>("firstTrace");
    QTest::addColumn<double>("startMs");
    QTest::addColumn<double>("endMs");
    QTest::addColumn<Status>("status");
    QTest::newRow("start equals end") << 1 << 40.0 << 40.0 << Status::EmptyWindow;
    QTest::newRow("end before start") << 1 << 40.0 << 20.0 << Status::EmptyWindow;
    QTest::newRow("no trace readable") << 5 << 0.0 << 100.0 << Status::NoTraces;
}

void TestSampleHistogram::windowsWithoutHistogram()
{
    QFETCH(int, firstTrace);
    QFETCH(double, startMs);
    QFETCH(double, endMs);
    QFETCH(Status, status);
    MemoryData data(2, 100, 2.0f, [](int, int j) { return j; });
    const auto histogram = SampleHistogram::compute(data, firstTrace, firstTrace + 1, startMs, endMs);
    QCOMPARE(histogram.status, status);
    QVERIFY(histogram.bins.empty());
    QVERIFY(!histogram.problem().isEmpty());
}

OBR_TEST_MAIN(TestSampleHistogram)
#include "tst_sample_histogram.moc"
