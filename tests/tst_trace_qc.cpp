#include "analyzers/TraceQc.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <limits>

using Samples = std::vector<double>;
Q_DECLARE_METATYPE(Samples)

class TestTraceQc : public QObject {
    Q_OBJECT
private slots:
    void measures_data()
    {
        obrtest::columns<Samples, bool, bool>({"samples", "dead", "clipped"});
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("zeros") << Samples(50, 0.0) << true << false;
        QTest::newRow("constant") << Samples(50, 7.0) << true << false;
        QTest::newRow("not finite reads as zero") << Samples{0, nan, 0} << true << false;
        QTest::newRow("live") << Samples{1, -3, 2, 0, 1} << false << false;
        QTest::newRow("peak held three times") << Samples{1, 5, -5, 5, 2} << false << true;
        QTest::newRow("peak held twice") << Samples{1, 5, 5, 2, 5} << false << false;
    }
    void measures()
    {
        const auto [samples, dead, clipped] =
            obrtest::fetch<Samples, bool, bool>("samples", "dead", "clipped");
        const TraceQc::Measure m = TraceQc::measure(samples.data(), int(samples.size()));
        QCOMPARE(m.dead, dead);
        QCOMPARE(m.clipped, clipped);
    }

    // Noisy is measured against the median of the live traces of the same field file: a trace
    // loud in a quiet gather is noisy, the same level in a loud gather is not; dead traces do
    // not pull the median down; a gather too small to have a median of its own takes all.
    void noisyWithinItsGather()
    {
        std::vector<TraceQc::Measure> measures;
        int n = 0;
        for (double rms : {1.0, 1.2, 0.9, 8.0})
            measures.push_back({++n, 1, rms, false, false});
        for (double rms : {6.0, 5.5, 6.5, 7.0})
            measures.push_back({++n, 2, rms, false, false});
        for (int k = 0; k < 5; ++k)
            measures.push_back({++n, 3, 0.0, true, false});
        for (double rms : {1.0, 1.1, 0.9, 1.0})
            measures.push_back({++n, 3, rms, false, false});
        // Gathers of one trace each are judged against all the traces read.
        measures.push_back({++n, 4, 40.0, false, false});
        measures.push_back({++n, 5, 7.0, false, false});
        const TraceQc qc = TraceQc::judge(measures);
        QCOMPARE(qc.noisy, (QVector<int>{4, 18}));
        QCOMPARE(qc.dead, (QVector<int>{9, 10, 11, 12, 13}));
        QCOMPARE(qc.traces, 19);
    }

    // The command reads the file and prints the lists, as text and as JSON.
    void obrioQc()
    {
        QTemporaryDir dir;
        segy2::File layout;
        layout.traces = 6;
        layout.samples = 20;
        // IEEE floats: trace 2 all zero, trace 4 clipped at 9, trace 6 fifty times louder.
        layout.sampleBytes = [](int trace, int sampleBytes) {
            QByteArray bytes(sampleBytes, '\0');
            for (int i = 0; i < sampleBytes / 4; ++i) {
                float value = trace == 1 ? 0.0f : float(std::sin(i + trace));
                if (trace == 3 && i >= 5 && i < 8)
                    value = 9.0f;
                if (trace == 5)
                    value *= 50;
                qToBigEndian(value, bytes.data() + 4 * i);
            }
            return bytes;
        };
        const QString file = dir.filePath("qc.sgy");
        QVERIFY(obrtest::writeFile(file, segy2::build(layout)));
        const obrtest::ObrioRun text = obrtest::runObrio(dir.path(), {"segy", "qc", file});
        QCOMPARE(text.status, 0);
        QCOMPARE(text.out, (QStringList{"Trace QC of " + file + ": 6 traces", "dead: 1 trace: 2",
                                        "clipped: 1 trace: 4", "noisy: 1 trace: 6"}));
        const obrtest::ObrioRun json =
            obrtest::runObrio(dir.path(), {"segy", "qc", file, "--json", "--first", "3"});
        QCOMPARE(json.status, 0);
        const QJsonObject document = QJsonDocument::fromJson(json.out.join('\n').toUtf8()).object();
        QCOMPARE(document["traces"].toInt(), 4);
        QCOMPARE(document["dead"].toArray(), QJsonArray());
        QCOMPARE(document["clipped"].toArray(), QJsonArray({4}));
        QCOMPARE(document["noisy"].toArray(), QJsonArray({6}));
    }
};

OBR_TEST_MAIN(TestTraceQc)
#include "tst_trace_qc.moc"
