#include "devices/DiskDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SegdRecordSummary.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <cmath>

namespace {

// Two auxiliary traces, then four seismic ones; trace t (0-based in the file) holds
// 1000 t + sample.
segdtest::FieldFile layout(int majorRevision)
{
    segdtest::FieldFile file;
    file.majorRevision = majorRevision;
    file.manufacturer = 61;
    file.channelSets = {{2, false, 7}, {4, true, 7}};
    return file;
}

} // namespace

// Reading some traces of a field file, and its statistics one trace at a time.
class TestSegdTraceRange : public QObject {
    Q_OBJECT
private slots:
    void init() { console.clear(); }

    void ranges_data()
    {
        obrtest::columns<int, bool, int, int, int>(
            {"revision", "seismicOnly", "first", "last", "firstInFile"});
        QTest::newRow("rev 1, all traces") << 1 << false << 1 << 6 << 0;
        QTest::newRow("rev 2, one trace in the middle") << 2 << false << 4 << 4 << 3;
        QTest::newRow("rev 3, the last two") << 3 << false << 5 << 6 << 4;
        QTest::newRow("rev 3, seismic only") << 3 << true << 2 << 3 << 3;
    }
    void ranges()
    {
        const auto [revision, seismicOnly, first, last, firstInFile] =
            obrtest::fetch<int, bool, int, int, int>("revision", "seismicOnly", "first", "last",
                                                     "firstInFile");
        const auto data = open(segdtest::build(layout(revision)),
                               QStringLiteral("range%1.segd").arg(revision), seismicOnly);
        QVERIFY(data);
        TraceGather gather(data.get());
        // A gather that held more traces keeps only those asked for.
        QVERIFY(data->readTraceRange(gather, 1, data->tracesPerRecord()));
        QVERIFY(data->readTraceRange(gather, first, last));
        QCOMPARE(gather.count(), last - first + 1);
        QCOMPARE(int(data->traceHeaderRecords().size()), last - first + 1);
        for (int i = 0; i < gather.count(); ++i) {
            const SeismicTrace& trace = *gather.trace(i);
            QCOMPARE(trace.data()[0], 1000.0 * (firstInFile + i));
            QCOMPARE(trace.value(TraceKey::SequentialTrace), firstInFile + i + 1.0);
        }
        QVERIFY(console.errors().isEmpty());

        // Outside the traces a record delivers.
        QVERIFY(!data->readTraceRange(gather, 0, 1));
        QVERIFY(!data->readTraceRange(gather, 3, 2));
        QVERIFY(!data->readTraceRange(gather, 1, data->tracesPerRecord() + 1));
    }

    void seekThenRead()
    {
        const auto data = open(segdtest::build(layout(2)), QStringLiteral("seek.segd"));
        QVERIFY(data);
        const auto trace = SeismicTrace::create(data->samples(), data->sampleInterval());
        for (const int n : {5, 2, 6, 1}) {
            QVERIFY(data->seekSequentialTrace(n));
            QVERIFY(data->readTrace(*trace));
            QCOMPARE(trace->data()[1], 1000.0 * (n - 1) + 1);
        }
        QVERIFY(!data->seekSequentialTrace(0));
        QVERIFY(!data->seekSequentialTrace(7));
    }

    // Traces that cross the stretches the reader holds in memory, and traces longer than one.
    void longTraces_data()
    {
        obrtest::columns<int, int>({"traces", "samples"});
        QTest::newRow("crossing") << 5 << 150000;
        QTest::newRow("longer than a stretch") << 2 << 300000;
    }
    void longTraces()
    {
        const auto [traces, samples] = obrtest::fetch<int, int>("traces", "samples");
        segdtest::FieldFile file = layout(3);
        file.channelSets = {{traces, true, samples}};
        const auto data = open(segdtest::build(file), QStringLiteral("long%1.segd").arg(samples));
        QVERIFY(data);
        const auto gather = data->makeGather(false);
        QVERIFY(gather && data->readRecord(*gather));
        QCOMPARE(gather->count(), traces);
        for (int t = 0; t < traces; ++t) {
            for (const int i : {0, 1, samples / 2, samples - 1})
                QCOMPARE(gather->trace(t)->data()[i], 1000.0 * t + i);
        }
        // Backwards, so that every read lies outside the stretch held.
        for (int n = traces; n >= 1; --n) {
            QVERIFY(data->readTraceRange(*gather, n, n));
            QCOMPARE(gather->trace(0)->data()[samples - 1], 1000.0 * (n - 1) + samples - 1);
        }
        QVERIFY(console.errors().isEmpty());
    }

    void scanSummary()
    {
        segdtest::FieldFile file = layout(3);
        // A dead channel's NaN and infinite samples stay out of the statistics.
        file.samples = [](int trace, int samples) {
            QByteArray bytes;
            for (int i = 0; i < samples; ++i)
                bytes += segdtest::ieee(trace == 2 ? (i % 2 ? INFINITY : NAN)
                                                   : float((i % 2 ? -1 : 1) * (trace + 1)));
            return bytes;
        };
        const auto data = open(segdtest::build(file), QStringLiteral("scan.segd"));
        QVERIFY(data);
        SegdRecordSummary summary;
        QVERIFY(SegdRecordSummary::scan(*data, summary));
        QCOMPARE(summary.fieldFile, 1);
        QCOMPARE(summary.traces, 6);
        QCOMPARE(summary.samples, 7);
        // Traces 0 and 1 are auxiliary (amplitudes 1 and 2), trace 2 the dead seismic channel.
        QCOMPARE(summary.auxiliary.traces, 2);
        QCOMPARE(summary.auxiliary.values, qint64(2 * 7));
        QCOMPARE(summary.auxiliary.minimum, -2.0);
        QCOMPARE(summary.auxiliary.maximum, 2.0);
        QCOMPARE(summary.auxiliary.rms, std::sqrt(7.0 * (1 + 4) / 14));
        QCOMPARE(summary.seismic.traces, 4);
        QCOMPARE(summary.seismic.values, qint64(3 * 7));
        QCOMPARE(summary.seismic.minimum, -6.0);
        QCOMPARE(summary.seismic.maximum, 6.0);
        QCOMPARE(summary.seismic.rms, std::sqrt(7.0 * (16 + 25 + 36) / 21));
    }

private:
    // The field file written under name and opened; null when it does not open.
    std::unique_ptr<SegdData> open(const QByteArray& bytes, const QString& name, bool seismicOnly = false)
    {
        const QString path = dir.filePath(name);
        if (!obrtest::writeFile(path, bytes))
            return nullptr;
        auto data = std::make_unique<SegdData>(new DiskDevice(&console, path, 0), seismicOnly, false);
        return data->open(path) ? std::move(data) : nullptr;
    }

    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestSegdTraceRange)
#include "tst_segd_trace_range.moc"
