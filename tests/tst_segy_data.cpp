#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SortOrder.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Keys the reader gives back as written. Left out: keys written but not read back, and keys whose
// standard words share bytes with others.
const QVector<int> roundTripKeys{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 13, 16, 17, 19, 21, 22, 23, 24, 25,
                                 26, 27, 28, 29, 30, 31, 34, 38, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51,
                                 52, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 70, 73, 74, 75};

// A trace whose every round-trip key holds a value that survives the key's standard word.
void fillTrace(SeismicTrace& trace, int index, int sampleFormat)
{
    trace.coordinateScalar = -100;
    trace.elevationScalar = -10;
    trace.timeScalar = -1000;
    trace.startTime = 12;
    for (int key : roundTripKeys) {
        double value = 3 * key + index;
        if (TraceKey::info(key).scalar == TraceKey::Scalar::Coordinate)
            value = 123456.78 + key + index;
        else if (TraceKey::info(key).scalar == TraceKey::Scalar::Elevation)
            value = 100.5 + key;
        else if (key >= TraceKey::UserDefined1 && key <= TraceKey::UserDefined12 &&
                 key != TraceKey::UserDefined9)
            value = 0.25 * key;
        trace.setValue(key, value);
    }
    trace.setValue(TraceKey::ReceiverLocation, 70000 + index); // wider than the slice word sharing it
    trace.setValue(TraceKey::TraceId, 1);
    for (int i = 0; i < trace.sampleCount(); ++i)
        trace.data()[i] = sampleFormat == 8 ? (i * 37 + index) % 255 - 127 : (i - 5) * 0.5 * (index + 1) * 4;
}

void patch(const QString& path, qint64 position, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(position) || file.write(bytes) != bytes.size())
        qFatal("cannot patch %s", qPrintable(path));
}

QByteArray bigEndian16(int value)
{
    return QByteArray(1, char((value >> 8) & 0xFF)) + char(value & 0xFF);
}

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

class TestSegyData : public QObject {
    Q_OBJECT
private slots:
    // A valid file of six traces, which the cases below damage.
    void initTestCase()
    {
        const QString path = dir->filePath(QStringLiteral("valid.sgy"));
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

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
    }

    void roundTrip_data()
    {
        obrtest::columns<int, bool>({"sampleFormat", "bigEndian"});
        for (int code : {1, 2, 3, 5, 8})
            QTest::addRow("format %d", code) << code << (code % 2 == 1);
    }
    void roundTrip()
    {
        const auto [sampleFormat, bigEndian] = obrtest::fetch<int, bool>("sampleFormat", "bigEndian");
        const QString path = dir->filePath(QStringLiteral("rt.sgy"));
        SegyFormat writing;
        writing.endianOrder = bigEndian ? SegyFormat::BigEndian : SegyFormat::LittleEndian;
        segytest::FileLayout layout;
        layout.sampleFormat = sampleFormat;
        layout.traces = 3;
        const auto fill = [format = sampleFormat](SeismicTrace& trace, int i) {
            fillTrace(trace, i, format);
        };
        QVERIFY(segytest::writeFile(path, writing, layout, fill, &console));

        SegyFormat reading; // byte order from the data
        SegyData data(&console, path, 0, &reading);
        QCOMPARE(data.swapBytes(), bigEndian);
        QCOMPARE(data.traceCount(), 3);
        QVERIFY(data.seekSequentialTrace(1));
        const auto expected = SeismicTrace::create(layout.samples, layout.intervalMs);
        const auto trace = SeismicTrace::create(layout.samples, layout.intervalMs);
        for (int i = 0; i < 3; ++i) {
            fillTrace(*expected, i, sampleFormat);
            QVERIFY(data.readTrace(*trace));
            for (int key : roundTripKeys)
                QVERIFY2(trace->value(key) == expected->value(key), qPrintable(QString::number(key)));
            QCOMPARE(trace->startTime, 12.0f);
            for (int s = 0; s < layout.samples; ++s)
                OBR_COMPARE_EXACT(trace->data()[s], expected->data()[s]);
        }
    }

    void binaryHeaderEdges()
    {
        // Sample format 0: the byte order cannot be told, the samples are read as IEEE floats.
        QString path = standardFile(2);
        patch(path, 3200 + 24, bigEndian16(0));
        patch(path, 0, QByteArray("\x4A\x4F\xC1"));
        SegyFormat format;
        {
            SegyData data(&console, path, 0, &format);
            QVERIFY(data.ok());
            QCOMPARE(console.warnings().size(), 2);
            QVERIFY(console.warnings().at(1).startsWith("undefined sample format: 0."));
            QCOMPARE(data.sampleFormat(), 5);
            QVERIFY(data.swapBytes());
            QCOMPARE(data.textHeaderText().left(3), QStringLiteral("#.A")); // EBCDIC
        }

        // Two extended text headers: the first trace starts at byte 3 x 3200 + 400 + 1.
        QByteArray bytes = obrtest::readFile(standardFile(2));
        bytes.insert(3600, QByteArray(6400, char(0x40)));
        bytes.replace(3200 + 304, 2, bigEndian16(2));
        path = dir->filePath(QStringLiteral("ext.sgy"));
        QVERIFY(obrtest::writeFile(path, bytes));
        SegyData data(&console, path, 0, &format);
        QCOMPARE(data.dataStart(), qint64(3 * 3200 + 400));
        QCOMPARE(data.traceCount(), 2);
        const auto trace = SeismicTrace::create(10, 4);
        QVERIFY(data.seekSequentialTrace(2) && data.readTrace(*trace));
        OBR_COMPARE_EXACT(trace->value(TraceKey::FieldFile), 101);
    }

    void positioning()
    {
        const QString path = standardFile(5);
        SegyFormat format;
        SegyData data(&console, path, 0, &format);
        TraceGather gather(&data);
        QVERIFY(data.readTraceRange(gather, 4, 4));
        OBR_COMPARE_EXACT(gather.trace(0)->value(TraceKey::FieldFile), 103);
        QVERIFY(!data.readTraceRange(gather, 4, 9));
        console.clear();
        QVERIFY(!data.seekTrace(1, 0));
        QVERIFY(!data.seekTrace(2, 1)); // a file is one record
        QCOMPARE(console.errors().size(), 2);
        QVERIFY(console.errors().first().endsWith(path));
    }

    void dayOfYearTimestamp()
    {
        const QString path = standardFile(1);
        patch(path, 3600 + 156,
              bigEndian16(2024) + bigEndian16(60) + bigEndian16(13) + bigEndian16(14) + bigEndian16(15));
        SegyFormat format;
        SegyData data(&console, path, 0, &format);
        const auto trace = SeismicTrace::create(10, 4);
        QVERIFY(data.seekSequentialTrace(1) && data.readTrace(*trace));
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(trace->timestamp, Qt::UTC).toString(Qt::ISODate),
                 QStringLiteral("2024-02-29T13:14:15Z"));
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
        const QString path = dir->filePath(QStringLiteral("bad.sgy"));
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

    void floatWordsTakenAsIntegers_data()
    {
        // type: of every integer word the format file declares as a float; value: what the file holds
        // there; taken: the integer the reader makes of it
        obrtest::columns<int, double, int>({"type", "value", "taken"});
        const int ieee = HeaderDataType::IeeeFloat;
        QTest::newRow("IEEE NaN") << ieee << double(NAN) << 0;
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
        const QString formatPath = dir->filePath(QStringLiteral("floats.xml"));
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
        const QString path = dir->filePath(QStringLiteral("floats.sgy"));
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
    QString standardFile(int traces)
    {
        const QString path = dir->filePath(QStringLiteral("s%1.sgy").arg(traces));
        SegyFormat format;
        segytest::FileLayout layout;
        layout.traces = traces;
        const auto fill = [](SeismicTrace& trace, int i) { trace.setValue(TraceKey::FieldFile, 100 + i); };
        if (!segytest::writeFile(path, format, layout, fill, &console))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    RecordingConsole console{1};
    QByteArray valid;
};

OBR_TEST_MAIN(TestSegyData)
#include "tst_segy_data.moc"
