#include "seismic/SampleConversion.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/SegyTraceIndex.h"
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
#include <QtEndian>
#include <cmath>
#include <cstring>
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

    void floatWordsTakenAsIntegers_data()
    {
        // type: of every integer word the format file declares as a float; value: what the file holds
        // there; taken: the integer the reader makes of it
        obrtest::columns<int, double, int>({"type", "value", "taken"});
        const int ieee = HeaderDataType::IeeeFloat;
        QTest::newRow("IEEE NaN") << ieee << double(NAN) << 0;
        QTest::newRow("IEEE 1e30") << ieee << 1.0e30 << 0;
        QTest::newRow("IEEE -2.5 truncates toward zero") << ieee << -2.5 << -2;
        QTest::newRow("IBM 1e30") << int(HeaderDataType::IbmFloat) << 1.0e30 << 0;
    }
    void floatWordsTakenAsIntegers()
    {
        const auto [type, value, taken] = obrtest::fetch<int, double, int>("type", "value", "taken");
        // Field file number, the three scalars and the sample format word, all as floats, the
        // scalars moved apart so that their 4 bytes do not overlap.
        SegyFormat declared;
        declared.sampleFormat.type = type;
        const int moved[][2] = {{0, 9},
                                {SegyFormat::ElevationScalarSlot, 181},
                                {SegyFormat::CoordinateScalarSlot, 185},
                                {SegyFormat::TimeScalarSlot, 189}};
        for (const auto& slot : moved)
            declared.setKeySlot(slot[0], slot[1], type);
        const QString formatPath = dir.filePath(QStringLiteral("floats.xml"));
        QVERIFY(SegyFormatFile(formatPath, 1).write(declared, QStringLiteral("float words")));
        SegyFormatFile formatFile(formatPath, 0);
        QVERIFY(formatFile.read());
        SegyFormat& format = formatFile.format();

        const float single = float(value);
        quint32 word = 0;
        std::memcpy(&word, &single, sizeof word);
        if (type == HeaderDataType::IbmFloat)
            word = SampleConversion::ieeeToIbm(single);
        QByteArray bytes = valid;
        const auto put = [&bytes, word](qint64 offset) { qToBigEndian(word, bytes.data() + offset); };
        put(3200 + format.sampleFormat.startByte - 1);
        for (int trace = 0; trace < 6; ++trace) {
            for (const auto& slot : moved)
                put(3600 + trace * (240 + 80) + slot[1] - 1);
        }
        const QString path = dir.filePath(QStringLiteral("floats.sgy"));
        QVERIFY(obrtest::writeFile(path, bytes));

        console.clear();
        SegyData data(&console, path, 0, &format);
        QVERIFY(data.ok());
        QVERIFY(console.warnings().contains(
            QStringLiteral("undefined sample format: %1. \nSample format will be set to IEEE floating point.")
                .arg(taken)));
        QCOMPARE(data.traceCount(), 6);
        const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
        QVERIFY(data.seekSequentialTrace(1) && data.readTrace(*trace));
        QCOMPARE(QVector<double>({trace->value(TraceKey::FieldFile), double(trace->coordinateScalar),
                                  double(trace->elevationScalar), double(trace->timeScalar)}),
                 QVector<double>(4, taken));
        QVERIFY(data.buildIndex());
        for (const SegyTraceIndex::Entry& entry : data.index()->entries)
            QCOMPARE(entry.scalars, (std::array<qint32, 3>{taken, taken, taken}));
        readEndToEnd(data);
    }

private:
    QTemporaryDir dir;
    QByteArray valid;
    RecordingConsole console{1};
};

OBR_TEST_MAIN(TestSegyBadInput)
#include "tst_segy_bad_input.moc"
