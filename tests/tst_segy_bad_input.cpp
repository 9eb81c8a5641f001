#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SortOrder.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <vector>

namespace {

// Everything a reader does with a file: headers, every trace both ways, the index and a sort.
void readEndToEnd(SegyData& data)
{
    const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
    std::vector<char> buffer(size_t(qMax(data.traceLength(), 0)));
    if (!trace || !data.seekSequentialTrace(1))
        return;
    for (int n = 0; n < data.traceCount() && data.readTrace(*trace); ++n) {
    }
    if (data.seekSequentialTrace(data.traceCount()))
        static_cast<void>(data.readTraceInto(buffer.data(), *trace));
    if (!data.buildIndex())
        return;
    data.prepareSortOrder(1);
    data.applySortOrder(data.sortOrder());
    const auto gather = data.makeGather(false);
    if (gather)
        static_cast<void>(data.readRecordNumber(*gather, 1));
}

} // namespace

class TestSegyBadInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString path = dir.filePath(QStringLiteral("valid.sgy"));
        SegyFormat format;
        segytest::FileLayout layout;
        layout.traces = 6;
        layout.samples = 20;
        layout.sampleFormat = 1;
        const auto fill = [](SeismicTrace& trace, int i) {
            trace.setValue(TraceKey::FieldFile, 1 + i / 2);
            trace.setValue(TraceKey::SourceLine, 3);
            trace.setValue(TraceKey::SourceLocation, 10 + i / 2);
            for (int s = 0; s < trace.sampleCount(); ++s)
                trace.data()[s] = s - i;
        };
        QVERIFY(segytest::writeFile(path, format, layout, fill, &console));
        valid = obrtest::readFile(path);
    }

    void refusedOrEmpty_data()
    {
        // samplesType: of the format's samples-per-trace word; traceHeaderSize: of the format; report: a
        // console line (error or warning) starting so
        obrtest::columns<QByteArray, int, int, bool, int, QString>(
            {"bytes", "samplesType", "traceHeaderSize", "opens", "traces", "report"});

        QByteArray absurdSamples = valid;
        absurdSamples.replace(3220, 4, QByteArray("\x7f\xff\xff\xff", 4));
        QByteArray absurdExtended = valid;
        absurdExtended.replace(3504, 2, QByteArray("\x7f\xff", 2));
        QByteArray noSamples = valid.left(3600);
        noSamples.replace(3220, 2, QByteArray(2, '\0'));

        QTest::newRow("empty file") << QByteArray() << 5 << 240 << false << 0 << "File with zero traces: ";
        QTest::newRow("shorter than its headers")
            << valid.left(3500) << 5 << 240 << false << 0 << "File with zero traces: ";
        QTest::newRow("text file") << QByteArray("line of text\n").repeated(400) << 5 << 240 << true << 0
                                   << "invalid sample format code";
        QTest::newRow("cut inside the last trace")
            << valid.left(valid.size() - 10) << 5 << 240 << true << 5 << "";
        QTest::newRow("samples per trace beyond reason")
            << absurdSamples << 2 << 240 << false << 0 << "samples per trace 2147483647 is out of range";
        QTest::newRow("extended header count beyond the file")
            << absurdExtended << 5 << 240 << true << 6 << "extended textual header count 32767";
        QTest::newRow("trace length 0") << noSamples + QByteArray(100, '\0') << 5 << 0 << true << 0 << "";
        QTest::newRow("negative header size")
            << valid << 5 << -240 << false << 0 << "SEG-Y format header sizes";
    }
    void refusedOrEmpty()
    {
        const auto [bytes, samplesType, traceHeaderSize, opens, traces, report] =
            obrtest::fetch<QByteArray, int, int, bool, int, QString>(
                "bytes", "samplesType", "traceHeaderSize", "opens", "traces", "report");
        const QString path = dir.filePath(QStringLiteral("bad.sgy"));
        QVERIFY(obrtest::writeFile(path, bytes));
        console.clear();
        SegyFormat format;
        format.samplesPerTrace.type = samplesType;
        format.traceHeaderSize = traceHeaderSize;
        {
            SegyData data(&console, path, 0, &format);
            QCOMPARE(data.ok(), opens);
            if (opens) {
                QCOMPARE(data.traceCount(), traces);
                readEndToEnd(data);
            }
        }
        if (!report.isEmpty()) {
            const QStringList reported = console.errors() + console.warnings();
            QVERIFY2(std::any_of(reported.begin(), reported.end(),
                                 [report = report](const QString& line) { return line.startsWith(report); }),
                     qPrintable(reported.join(QLatin1Char('|'))));
        }
        if (opens && traces == 0)
            QVERIFY(console.errors().contains(QStringLiteral("File with zero traces: ") + path));
        QCOMPARE(obrtest::readFile(path), bytes);
    }

    void mutatedFilesNeverCrash()
    {
        // Mutations aim at the headers, where a reader takes its counts, and sometimes cut the file.
        QRandomGenerator random(20240611);
        const QString path = dir.filePath(QStringLiteral("mutated.sgy"));
        int opened = 0;
        for (int round = 0; round < 1000; ++round) {
            QByteArray bytes = valid;
            const int changes = 1 + int(random.bounded(8));
            for (int c = 0; c < changes; ++c) {
                const int at = random.bounded(4) == 0 ? int(random.bounded(bytes.size()))
                                                      : 3200 + int(random.bounded(640));
                bytes[at] = char(random.bounded(256));
            }
            if (random.bounded(10) == 0)
                bytes.truncate(int(random.bounded(bytes.size())));
            QVERIFY(obrtest::writeFile(path, bytes));
            console.clear();
            SegyFormat format;
            SegyData data(&console, path, 0, &format);
            if (data.ok()) {
                ++opened;
                readEndToEnd(data);
            }
        }
        QVERIFY(opened > 300); // most mutations still open, so the readers ran
    }

private:
    QTemporaryDir dir;
    QByteArray valid;
    RecordingConsole console{1};
};

OBR_TEST_MAIN(TestSegyBadInput)
#include "tst_segy_bad_input.moc"
