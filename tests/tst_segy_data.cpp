#include "devices/DiskDevice.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDateTime>
#include <QTemporaryDir>

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

} // namespace

class TestSegyData : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
    }

    void roundTrip_data()
    {
        obrtest::columns<int, bool>({"sampleFormat", "bigEndian"});
        for (int code : {1, 2, 3, 5, 8}) {
            QTest::addRow("format %d big endian", code) << code << true;
            QTest::addRow("format %d little endian", code) << code << false;
        }
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
        QVERIFY(data.ok());
        QVERIFY(console.warnings().isEmpty());
        QCOMPARE(data.swapBytes(), bigEndian);
        QCOMPARE(reading.endianOrder, int(writing.endianOrder));
        QCOMPARE(data.sampleFormat(), sampleFormat);
        QCOMPARE(data.traceCount(), 3);
        QCOMPARE(data.samples(), layout.samples);
        QCOMPARE(data.sampleInterval(), layout.intervalMs);
        QVERIFY(data.seekSequentialTrace(1));
        const auto expected = SeismicTrace::create(layout.samples, layout.intervalMs);
        const auto trace = SeismicTrace::create(layout.samples, layout.intervalMs);
        for (int i = 0; i < 3; ++i) {
            fillTrace(*expected, i, sampleFormat);
            QVERIFY(data.readTrace(*trace));
            for (int key : roundTripKeys)
                QVERIFY2(trace->value(key) == expected->value(key), qPrintable(QString::number(key)));
            OBR_COMPARE_EXACT(trace->value(TraceKey::SequentialTrace), i + 1);
            QCOMPARE(trace->startTime, 12.0f);
            QCOMPARE(trace->coordinateScalar, -100);
            QCOMPARE(trace->timeScalar, -1000);
            for (int s = 0; s < layout.samples; ++s)
                OBR_COMPARE_EXACT(trace->data()[s], expected->data()[s]);
        }
    }

    void binaryHeaderEdges()
    {
        // Sample format 0: the byte order cannot be told, the samples are read as IEEE floats.
        QString path = standardFile(2);
        patch(path, 3200 + 24, bigEndian16(0));
        SegyFormat format;
        {
            SegyData data(&console, path, 0, &format);
            QVERIFY(data.ok());
            QCOMPARE(
                console.warnings(),
                QStringList(
                    {"invalid sample format code in binary header. \nEndian order will be set to Big "
                     "endian.",
                     "undefined sample format: 0. \nSample format will be set to IEEE floating point."}));
            QCOMPARE(data.sampleFormat(), 5);
            QVERIFY(data.swapBytes());
        }

        // Two extended text headers: the first trace starts at byte 3 x 3200 + 400 + 1.
        QByteArray bytes = obrtest::readFile(standardFile(2));
        bytes.insert(3600, QByteArray(6400, char(0x40)));
        bytes.replace(3200 + 304, 2, bigEndian16(2));
        path = dir->filePath(QStringLiteral("ext.sgy"));
        QVERIFY(obrtest::writeFile(path, bytes));
        SegyData data(&console, path, 0, &format);
        QCOMPARE(data.extendedTextHeaders(), 2);
        QCOMPARE(data.textHeaderRaw().size(), 9600);
        QCOMPARE(data.dataStart(), qint64(3 * 3200 + 400));
        QCOMPARE(data.traceCount(), 2);
        const auto trace = SeismicTrace::create(10, 4);
        QVERIFY(data.seekSequentialTrace(2) && data.readTrace(*trace));
        OBR_COMPARE_EXACT(trace->value(TraceKey::FieldFile), 101);

        // A byte past the last whole trace makes a partial trace, not another trace.
        for (const int extra : {0, 1}) {
            path = standardFile(10, 1000, 1);
            patch(path, 3600 + 10 * (240 + 4000), QByteArray(extra, 'x'));
            SegyData partial(&console, path, 0, &format);
            QCOMPARE(partial.traceCount(), 10);
            QCOMPARE(partial.partialTrace(), extra == 1);
        }
    }

    void positioningErrors_data()
    {
        obrtest::columns<int, int, int, QString>({"traces", "record", "trace", "error"});
        QTest::newRow("trace 0") << 10 << 1 << 0 << "requested a trace number less than 1 within disk file: ";
        QTest::newRow("record 2 of a one-record file")
            << 10 << 2 << 1
            << "requested a trace number greater than the number of traces within disk file: ";
        QTest::newRow("record 0") << 10 << 0 << -1
                                  << "requested a record number less than 1 within disk file: ";
        QTest::newRow("no traces") << 0 << 1 << 1 << "File with zero traces: ";
    }
    void positioningErrors()
    {
        const auto [traces, record, trace, error] =
            obrtest::fetch<int, int, int, QString>("traces", "record", "trace", "error");
        const QString path = standardFile(traces);
        SegyFormat format;
        SegyData data(&console, path, 0, &format);
        QVERIFY(data.ok());
        QVERIFY(trace < 0 ? !data.seekRecord(record) : !data.seekTrace(record, trace));
        QCOMPARE(data.status(), -5);
        QCOMPARE(console.errors(), QStringList(error + path));
    }

    // A key written and read back, with the word stored for it.
    void storedKeys_data()
    {
        obrtest::columns<int, double, double, int, int>({"key", "written", "read", "startByte", "word"});
        const int id = TraceKey::TraceId;
        QTest::newRow("trace id 6: dead wins over time break") << id << 6.0 << 2.0 << 29 << 2;
        QTest::newRow("trace id 0: seismic") << id << 0.0 << 1.0 << 29 << 1;
        QTest::newRow("trace id 5: seismic") << id << 5.0 << 1.0 << 29 << 1;
        QTest::newRow("trace id 4: time break") << id << 4.0 << 4.0 << 29 << 4;
        QTest::newRow("coordinate 123456.78, scalar -100")
            << int(TraceKey::SourceX) << 123456.78 << 123456.78 << 73 << 12345678;
    }
    void storedKeys()
    {
        const auto [key, written, read, startByte, word] =
            obrtest::fetch<int, double, double, int, int>("key", "written", "read", "startByte", "word");
        const QString path = dir->filePath(QStringLiteral("key.sgy"));
        SegyFormat format;
        segytest::FileLayout layout;
        layout.traces = 1;
        QVERIFY(segytest::writeFile(
            path, format, layout,
            [key = key, value = written](SeismicTrace& trace, int) { trace.setValue(key, value); },
            &console));
        const QByteArray header = obrtest::readFile(path).mid(3600, 240);
        const int type = startByte == 29 ? HeaderDataType::Int16 : HeaderDataType::Int32;
        OBR_COMPARE_EXACT(HeaderDataType::readValue(header.constData(), 240, startByte, type, true), word);
        SegyData data(&console, path, 0, &format);
        const auto trace = SeismicTrace::create(10, 4);
        QVERIFY(data.seekSequentialTrace(1) && data.readTrace(*trace));
        OBR_COMPARE_EXACT(trace->value(key), read);
    }

    void dayOfYearTimestamp_data()
    {
        // expected: empty: unknown
        obrtest::columns<int, int, QString>({"year", "day", "expected"});
        QTest::newRow("1 January") << 2024 << 1 << "2024-01-01T13:14:15Z";
        QTest::newRow("leap day") << 2024 << 60 << "2024-02-29T13:14:15Z";
        QTest::newRow("no year") << 0 << 5 << "";
        QTest::newRow("day 0") << 2024 << 0 << "";
    }
    void dayOfYearTimestamp()
    {
        const auto [year, day, expected] = obrtest::fetch<int, int, QString>("year", "day", "expected");
        const QString path = standardFile(1);
        patch(path, 3600 + 156,
              bigEndian16(year) + bigEndian16(day) + bigEndian16(13) + bigEndian16(14) + bigEndian16(15));
        SegyFormat format;
        SegyData data(&console, path, 0, &format);
        const auto trace = SeismicTrace::create(10, 4);
        QVERIFY(data.seekSequentialTrace(1) && data.readTrace(*trace));
        QCOMPARE(trace->timestamp
                     ? QDateTime::fromMSecsSinceEpoch(trace->timestamp, Qt::UTC).toString(Qt::ISODate)
                     : QString(),
                 expected);
    }

    void ebcdicText()
    {
        const QString path = standardFile(1);
        patch(path, 0, QByteArray("\x4A\x4F\xC1"));
        SegyFormat format;
        SegyData data(&console, path, 0, &format);
        QCOMPARE(data.textHeaderText().left(3), QStringLiteral("#.A"));
        QCOMPARE(data.textHeaderText().size(), 3200);
    }

    void traceRanges()
    {
        SegyFormat format;
        SegyData data(&console, standardFile(5), 0, &format);
        TraceGather gather(&data);
        QVERIFY(data.readTraceRange(gather, 4, 4));
        QCOMPARE(gather.count(), 1);
        OBR_COMPARE_EXACT(gather.trace(0)->value(TraceKey::FieldFile), 103);
        QVERIFY(!data.readTraceRange(gather, 4, 9));
    }

    void writingRecords()
    {
        SegyFormat format;
        SegyData out(&console, dir->filePath(QStringLiteral("records.sgy")), 4, &format);
        QVERIFY(out.ok());
        QVERIFY(out.device()->write(QByteArray(3600, '\0').constData(), 3600));
        out.describeForWriting(10, 4, 5, 2);
        const auto gather = out.makeGather(false);
        for (const auto& [record, field] : {std::pair{1, 11}, {2, 12}, {3, 13}, {2, 22}}) {
            for (int i = 0; i < 2; ++i)
                gather->trace(i)->setValue(TraceKey::FieldFile, field);
            QVERIFY(out.writeRecordAt(*gather, record));
        }
        QCOMPARE(out.traceCount(), 6); // record 2 rewritten, not record 1
        const QByteArray bytes = obrtest::readFile(dir->filePath(QStringLiteral("records.sgy")));
        QCOMPARE(bytes.size(), 3600 + 6 * 280);
        QList<double> fields;
        for (int t = 0; t < 6; ++t)
            fields.append(HeaderDataType::readValue(bytes.constData() + 3600 + t * 280, 240, 9,
                                                    HeaderDataType::Int32, true));
        QCOMPARE(fields, QList<double>({11, 11, 22, 22, 13, 13}));

        // Dead traces are left out when asked.
        SegyData dead(&console, dir->filePath(QStringLiteral("dead.sgy")), 1, &format);
        QVERIFY(dead.device()->write(QByteArray(3600, '\0').constData(), 3600));
        dead.describeForWriting(10, 4, 5, 4);
        dead.writeDeadTraces = false;
        const auto traces = dead.makeGather(false);
        for (int i = 0; i < 4; ++i)
            traces->trace(i)->setValue(TraceKey::TraceId, i % 2 ? 2 : 1);
        QVERIFY(dead.writeRecord(*traces));
        QCOMPARE(dead.traceCount(), 2);
        QCOMPARE(dead.currentRecord(), 2);
        QCOMPARE(dead.device()->size(), qint64(3600 + 2 * (240 + 40)));
    }

private:
    QString standardFile(int traces, int samples = 10, int sampleFormat = 5)
    {
        const QString path = dir->filePath(QStringLiteral("s%1.sgy").arg(traces));
        SegyFormat format;
        segytest::FileLayout layout;
        layout.traces = traces;
        layout.samples = samples;
        layout.sampleFormat = sampleFormat;
        const auto fill = [](SeismicTrace& trace, int i) { trace.setValue(TraceKey::FieldFile, 100 + i); };
        if (!segytest::writeFile(path, format, layout, fill, &console))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console{1};
};

OBR_TEST_MAIN(TestSegyData)
#include "tst_segy_data.moc"
