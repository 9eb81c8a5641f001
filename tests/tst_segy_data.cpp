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
            QCOMPARE(
                console.warnings(),
                QStringList(
                    {"invalid sample format code in binary header. \nEndian order will be set to Big "
                     "endian.",
                     "undefined sample format: 0. \nSample format will be set to IEEE floating point."}));
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
        QCOMPARE(data.status(), -5);
        QCOMPARE(console.errors(),
                 QStringList({"requested a trace number less than 1 within disk file: " + path,
                              "requested a trace number greater than the number of traces within disk "
                              "file: " +
                                  path}));
    }

    // A dead trace wins over a time break; ids the program does not use are seismic.
    void traceIds()
    {
        const QString path = dir->filePath(QStringLiteral("ids.sgy"));
        SegyFormat format;
        segytest::FileLayout layout;
        layout.traces = 3;
        const int written[] = {6, 0, 4};
        const int stored[] = {2, 1, 4};
        QVERIFY(segytest::writeFile(
            path, format, layout,
            [&written](SeismicTrace& trace, int i) { trace.setValue(TraceKey::TraceId, written[i]); },
            &console));
        const QByteArray bytes = obrtest::readFile(path);
        SegyData data(&console, path, 0, &format);
        const auto trace = SeismicTrace::create(10, 4);
        QVERIFY(data.seekSequentialTrace(1));
        for (int i = 0; i < 3; ++i) {
            OBR_COMPARE_EXACT(HeaderDataType::readValue(bytes.constData() + 3600 + i * 280, 240, 29,
                                                        HeaderDataType::Int16, true),
                              stored[i]);
            QVERIFY(data.readTrace(*trace));
            OBR_COMPARE_EXACT(trace->value(TraceKey::TraceId), stored[i]);
        }
    }

    void dayOfYearTimestamp()
    {
        // year, day of year; an empty result: unknown
        for (const auto& [year, day, expected] :
             {std::tuple{2024, 60, "2024-02-29T13:14:15Z"}, std::tuple{0, 5, ""}, std::tuple{2024, 0, ""}}) {
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
                     QString::fromLatin1(expected));
        }
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

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console{1};
};

OBR_TEST_MAIN(TestSegyData)
#include "tst_segy_data.moc"
