#include "devices/DiskDevice.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicLimits.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <algorithm>

namespace {

// A data set whose description the test sets by hand, the way a reader sets it from headers.
class DescribedData : public SeismicData {
public:
    using SeismicData::SeismicData;
    void describe(int samples, int tracesPerRecord, float interval)
    {
        samples_ = samples;
        tracesPerRecord_ = tracesPerRecord;
        sampleInterval_ = interval;
        recordLength_ = float(samples) * interval;
    }
    void invalidate() { sampleInterval_ = -1.0f; }
};

} // namespace

class TestSeismicData : public QObject {
    Q_OBJECT
private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void reconcileSampleCount_data()
    {
        // warning: empty: no message at all
        obrtest::columns<int, int, QString, QString>({"samples", "count", "fileName", "warning"});
        const QString fewer =
            QStringLiteral("is less than the number of samples for the dataset (1500). Traces will "
                           "be padded with zeros.");
        const QString more = QStringLiteral("is more than the number of samples for the dataset (1500).");
        QTest::newRow("fresh data set adopts the count") << 0 << 2000 << QString() << QString();
        QTest::newRow("same count") << 1500 << 1500 << QString() << QString();
        QTest::newRow("fewer, no file name") << 1500 << 1000 << ""
                                             << "current number of samples (1000) " + fewer;
        QTest::newRow("more, with a file name holding a placeholder")
            << 1500 << 2000 << "100%3.sgy"
            << "number of samples (2000) in file 100%3.sgy " + more;
    }
    void reconcileSampleCount()
    {
        const auto [samples, count, fileName, warning] =
            obrtest::fetch<int, int, QString, QString>("samples", "count", "fileName", "warning");
        auto data = openData(QStringLiteral("r.sgy"));
        data->describe(samples, 1, 2.0f);
        data->reconcileSampleCount(count, fileName);
        QCOMPARE(data->samples(), samples ? samples : count);
        QCOMPARE(data->fileSamples(), count);
        const bool truncated = count > samples && samples;
        QCOMPARE(console.warnings(), warning.isEmpty() ? QStringList() : QStringList{warning});
        QCOMPARE(console.messages(),
                 truncated ? QStringList{"  !!!  TRACE SAMPLES WILL BE TRUNCATED  !!!"} : QStringList());
    }

    // The gather is named after the file; one grown later keeps the form of its traces.
    void makeGather()
    {
        auto data = openData(QStringLiteral("line12.shot7.sgy"));
        data->describe(1500, 4, 2.0f);
        for (const bool headersOnly : {false, true}) {
            auto gather = data->makeGather(headersOnly);
            QCOMPARE(gather->name, QStringLiteral("line12"));
            QCOMPARE(data->resizeGather(*gather, 5), 5);
            for (const auto& trace : gather->traces) {
                QCOMPARE(trace->sampleCount(), headersOnly ? -1500 : 1500);
                QCOMPARE(trace->hasSamples(), !headersOnly);
                QVERIFY(headersOnly || std::all_of(trace->data(), trace->data() + 1500,
                                                   [](double sample) { return sample == 0.0; }));
            }
        }
        data->invalidate();
        QCOMPARE(data->makeGather(false)->name, QString());
    }

    void refusesGathersBeyondTheLimits_data()
    {
        obrtest::columns<int, int, bool, bool>({"samples", "traces", "headersOnly", "made"});
        const int tooMany = SeismicLimits::maxSamplesPerTrace + 1;
        QTest::newRow("too many samples per trace") << tooMany << 1 << false << false;
        QTest::newRow("too many samples, headers only is fine") << tooMany << 1 << true << true;
        QTest::newRow("whole file of traces as one record") << 4000 << 100000 << false << false;
        QTest::newRow("largest count of traces, headers only") << 1000 << 2147483647 << true << false;
        QTest::newRow("negative counts give an empty gather") << -5 << -7 << false << true;
    }
    void refusesGathersBeyondTheLimits()
    {
        const auto [samples, traces, headersOnly, made] =
            obrtest::fetch<int, int, bool, bool>("samples", "traces", "headersOnly", "made");
        auto data = openData(QStringLiteral("big.sgy"));
        data->describe(samples, traces, 1.0f);
        QCOMPARE(bool(data->makeGather(headersOnly)), made);
        QCOMPARE(console.errors().size(), made ? 0 : 1);
        QVERIFY(made || console.errors().first().startsWith(QStringLiteral("failed to allocate memory")));
    }

    void resizeGather_data()
    {
        // expected: field file numbers; 0 is a fresh trace
        obrtest::columns<int, int, QList<double>>({"count", "dropFront", "expected"});
        QTest::newRow("grow") << 7 << 0 << QList<double>{1, 2, 3, 4, 5, 0, 0};
        QTest::newRow("shrink from the end") << 3 << 0 << QList<double>{1, 2, 3};
        QTest::newRow("negative count empties") << -4 << 0 << QList<double>{};
        QTest::newRow("shrink, dropping the front") << 3 << 2 << QList<double>{3, 4, 5};
        QTest::newRow("drop more than the excess, then refill") << 4 << 3 << QList<double>{4, 5, 0, 0};
        QTest::newRow("drop more than held") << 2 << 9 << QList<double>{0, 0};
    }
    void resizeGather()
    {
        const auto [count, dropFront, expected] =
            obrtest::fetch<int, int, QList<double>>("count", "dropFront", "expected");
        auto data = openData(QStringLiteral("g.sgy"));
        data->describe(50, 5, 1.0f);
        const auto gather = data->makeGather(false);
        for (int i = 0; i < gather->count(); ++i)
            gather->traces[size_t(i)]->setValue(TraceKey::FieldFile, i + 1);
        const int held =
            dropFront ? data->resizeGather(*gather, count, dropFront) : data->resizeGather(*gather, count);
        QCOMPARE(held, int(expected.size()));
        QCOMPARE(gather->count(), held);
        QCOMPARE(gather->requested, std::max(count, 0));
        for (int i = 0; i < held; ++i) {
            OBR_COMPARE_EXACT(gather->trace(i)->value(TraceKey::FieldFile), expected[i]);
            QCOMPARE(gather->trace(i)->sampleCount(), 50);
        }
    }

private:
    std::unique_ptr<DescribedData> openData(const QString& fileName)
    {
        const QString path = dir->filePath(fileName);
        if (!obrtest::writeFile(path, QByteArray()))
            qFatal("cannot create %s", qPrintable(path));
        auto data = std::make_unique<DescribedData>(new DiskDevice(&console, path, 0));
        console.clear();
        return data;
    }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSeismicData)
#include "tst_seismic_data.moc"
