#include "analyzers/BandPass.h"
#include "analyzers/HeaderGraph.h"
#include "analyzers/TraceQc.h"
#include "seismic/TraceKey.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <limits>

using Samples = std::vector<double>;
Q_DECLARE_METATYPE(Samples)

namespace {

constexpr double intervalMs = 2.0;

// The amplitude of the sine and cosine at `hertz` in samples 200 to 799 of the trace, by least
// squares over whole periods of both test frequencies.
double amplitudeAt(const std::vector<double>& trace, double hertz)
{
    double s = 0;
    double c = 0;
    for (int i = 200; i < 800; ++i) {
        const double phase = 2 * M_PI * hertz * i * intervalMs / 1000;
        s += trace[size_t(i)] * std::sin(phase);
        c += trace[size_t(i)] * std::cos(phase);
    }
    return 2 * std::hypot(s, c) / 600;
}

// The mean row of the line's blue pixels in columns from..to; -1 when there are none.
double blueRow(const QImage& picture, int from, int to)
{
    double rows = 0;
    int count = 0;
    for (int x = from; x < to; ++x)
        for (int y = 0; y < picture.height(); ++y) {
            const QColor c = picture.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100) {
                rows += y;
                ++count;
            }
        }
    return count > 0 ? rows / count : -1;
}

} // namespace

// Measures over traces: the band-pass filter, trace QC and the header graph command.
class TestTraceMeasures : public QObject {
    Q_OBJECT
private slots:
    // Two sines, 10 Hz in the pass band and 80 Hz in the stop band: the stop band loses at
    // least 40 dB, the pass band keeps its amplitude within 1 dB and its phase.
    void passesTheBandAndStopsTheRest()
    {
        std::vector<double> trace(1000);
        for (int i = 0; i < 1000; ++i) {
            const double t = i * intervalMs / 1000;
            trace[size_t(i)] = std::sin(2 * M_PI * 10 * t) + std::sin(2 * M_PI * 80 * t);
        }
        BandPass band;
        QString problem;
        QVERIFY(BandPass::parse("2,5,20,30", &band, &problem));
        BandPassFilter filter(band, intervalMs, 1000);
        filter.apply(trace);
        const double kept = 20 * std::log10(amplitudeAt(trace, 10));
        const double stopped = 20 * std::log10(amplitudeAt(trace, 80));
        QVERIFY2(std::abs(kept) < 1, qPrintable(QString::number(kept)));
        QVERIFY2(stopped < -40, qPrintable(QString::number(stopped)));
        // Zero phase: the 10 Hz sine still crosses zero upwards at t = 0.5 s (sample 250).
        QVERIFY(trace[249] < 0 && trace[251] > 0);
    }

    void corners()
    {
        BandPass band;
        QString problem;
        for (const char* bad : {"", "1,2,3", "1,2,3,x", "5,4,10,20", "1,2,3,4,5", "0,0,0,0", "-1,2,3,4"})
            QVERIFY2(!BandPass::parse(bad, &band, &problem) && !problem.isEmpty(), bad);
        QVERIFY(BandPass::parse(" 2, 5,20 ,30", &band, &problem));
        QCOMPARE(band.gain(2), 0.0);
        QCOMPARE(band.gain(12), 1.0);
        QVERIFY(std::abs(band.gain(25) - 0.5) < 1e-12);
        QCOMPARE(band.gain(30), 0.0);
        // Off, the filter leaves a trace as it is.
        std::vector<double> trace{1, -2, 3};
        BandPassFilter(BandPass(), intervalMs, 3).apply(trace);
        QCOMPARE(trace, (std::vector<double>{1, -2, 3}));
    }

    void measures_data()
    {
        obrtest::columns<Samples, bool, bool>({"samples", "dead", "clipped"});
        const double nan = std::numeric_limits<double>::quiet_NaN();
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

    // The command's options reach the judging, and the lists come back.
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
        const obrtest::ObrioRun json =
            obrtest::runObrio(dir.path(), {"segy", "qc", file, "--json", "--first", "3"});
        QCOMPARE(json.status, 0);
        const QJsonObject document = QJsonDocument::fromJson(json.out.join('\n').toUtf8()).object();
        QCOMPARE(document["traces"].toInt(), 4);
        QCOMPARE(document["clipped"].toArray(), QJsonArray({4}));
        QCOMPARE(document["noisy"].toArray(), QJsonArray({6}));
    }

    // The field file of the test data is the trace number: a line rising from the bottom left
    // to the top right, a value for each trace asked within the data set.
    void risingLine()
    {
        MemoryData data(40, 10, 2.0f, [](int, int) { return 0.0; });
        const HeaderGraph graph = HeaderGraph::read(data, TraceKey::FieldFile, 11, 1000);
        QCOMPARE(int(graph.values.size()), 30);
        QCOMPARE(graph.values.front(), 11.0);
        QCOMPARE(graph.values.back(), 40.0);
        const QImage picture = HeaderGraphPicture::draw(graph, QSize(900, 500));
        const double left = blueRow(picture, 60, 200);
        const double right = blueRow(picture, 700, 850);
        QVERIFY2(left > 0 && right > 0 && left - right > 300,
                 qPrintable(QString("%1 %2").arg(left).arg(right)));
    }

    void obrioGraph()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("g.sgy");
        QVERIFY(obrtest::writeFile(file, segy2::build(segy2::File())));
        const QString out = dir.filePath("g.png");
        const obrtest::ObrioRun drawn =
            obrtest::runObrio(dir.path(), {"segy", "graph", file, "--word", "channel", "--out", out});
        QCOMPARE(drawn.status, 0);
        QCOMPARE(QImage(out).size(), QSize(900, 500));
        const obrtest::ObrioRun unknown = obrtest::runObrio(
            dir.path(), {"segy", "graph", file, "--word", "x", "--out", out, "--overwrite"});
        QCOMPARE(unknown.status, 2);
        QVERIFY(unknown.err.join('\n').contains("FieldFile, Channel"));
    }
};

OBR_TEST_MAIN(TestTraceMeasures)
#include "tst_trace_measures.moc"
