#include "devices/DiskDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SercelData.h"
#include "seismic/SercelExtendedHeader.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {

QString realFile(const QString& name)
{
    return obrtest::realDataDir() + QStringLiteral("/segd/") + name;
}

// A big-endian IEEE float of the file, read without the reader.
float floatAt(const QByteArray& file, qint64 offset)
{
    const quint32 bits = qFromBigEndian<quint32>(file.constData() + offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Both NaN, or equal.
bool sameSample(double actual, double expected)
{
    return (std::isnan(actual) && std::isnan(expected)) || actual == expected;
}

} // namespace

class TestSegdRealFiles : public QObject {
    Q_OBJECT
private slots:
    void init() { OBR_REQUIRE_REALDATA(); }

    void layout_data()
    {
        // headerLength: bytes before the first trace; extensions: trace header extensions per trace
        obrtest::columns<QString, bool, int, int, double, int, int, int, double>(
            {"file", "sercel", "traces", "samples", "interval", "headerLength", "extensions", "manufacturer",
             "revision"});
        for (const bool sercel : {false, true}) {
            const char* reader = sercel ? "Sercel reader" : "standard reader";
            QTest::addRow("sercel.segd, %s", reader)
                << "sercel.segd" << sercel << 86 << 2001 << 1.0 << 5728 << 7 << 13 << 1.0;
            QTest::addRow("3stomp_test.segd, %s", reader)
                << "3stomp_test.segd" << sercel << 6 << 4001 << 1.0 << 2656 << 7 << 13 << 1.0;
        }
        QTest::newRow("other-vendor-rev2.1.segd, standard reader")
            << "other-vendor-rev2.1.segd" << false << 359 << 251 << 4.0 << 2656 << 7 << 61 << 2.1;
    }
    void layout()
    {
        const auto [file, sercel, traces, samples, interval, headerLength, extensions, manufacturer,
                    revision] =
            obrtest::fetch<QString, bool, int, int, double, int, int, int, double>(
                "file", "sercel", "traces", "samples", "interval", "headerLength", "extensions",
                "manufacturer", "revision");
        RecordingConsole console;
        const QString path = realFile(file);
        std::unique_ptr<SegdData> data;
        if (sercel) {
            data = std::make_unique<SercelData>(&console, path, false, false);
        } else {
            data = std::make_unique<SegdData>(new DiskDevice(&console, path, 0), false, false);
            QVERIFY(data->open(path));
        }
        QVERIFY2(data->ok(), qPrintable(console.errors().join(QLatin1Char('|'))));
        QCOMPARE(data->traceCount(), traces);
        QCOMPARE(data->samples(), samples);
        QCOMPARE(double(data->sampleInterval()), interval);
        QCOMPARE(double(data->recordLength()), (samples - 1) * interval);
        QCOMPARE(data->generalHeader().headerLength(), qint64(headerLength));
        QCOMPARE(data->generalHeader().manufacturer, manufacturer);
        QCOMPARE(data->generalHeader().revision, float(revision));

        const auto gather = data->makeGather(false);
        QVERIFY(gather);
        QVERIFY(data->readRecord(*gather));
        QCOMPARE(gather->count(), traces);
        QCOMPARE(int(data->traceHeaderRecords().size()), traces);
        for (const SegdTraceHeaderRecord& record : data->traceHeaderRecords())
            QCOMPARE(SegdTraceHeaderRecord::extensions(record.bytes()), extensions);

        // The traces end where the file ends: nothing left over, nothing cut.
        const qint64 traceLength = 20 + 32 * extensions + 4 * samples;
        QCOMPARE(gather->trace(traces - 1)->filePosition + traceLength, QFileInfo(path).size());

        // First and last sample of the first trace against the file's own bytes; Sercel's
        // reader multiplies by the trace's descale word when it has one.
        const QByteArray bytes = obrtest::readFile(path);
        const qint64 firstSample = headerLength + 20 + 32 * extensions;
        const float descaleWord = floatAt(bytes, headerLength + 220);
        const double multiplier = sercel && descaleWord != 0 ? double(descaleWord) : 1.0;
        const SeismicTrace& first = *gather->trace(0);
        QVERIFY(sameSample(first.data()[0], double(floatAt(bytes, firstSample)) * multiplier));
        QVERIFY(sameSample(first.data()[samples - 1],
                           double(floatAt(bytes, firstSample + 4 * (samples - 1))) * multiplier));
    }

    void sercelKeysOfTheFirstTraces()
    {
        RecordingConsole console;
        SercelData data(&console, realFile(QStringLiteral("sercel.segd")), false, false);
        QVERIFY(data.ok());
        const auto gather = data.makeGather(true);
        QVERIFY(gather && data.readRecord(*gather));
        // Two auxiliary channels come first, then the seismic ones counted from 1.
        const SeismicTrace& aux = *gather->trace(0);
        const SeismicTrace& seismic = *gather->trace(2);
        QCOMPARE(aux.value(TraceKey::TraceId), 4.0);
        QCOMPARE(aux.value(TraceKey::Channel), -1.0);
        QCOMPARE(seismic.value(TraceKey::TraceId), 1.0);
        QCOMPARE(seismic.value(TraceKey::Channel), 1.0);
        QCOMPARE(seismic.value(TraceKey::FieldFile), 100.0);
        QCOMPARE(data.generalHeader().dateWithDayText(), QStringLiteral("02/21/2007 (day 052)"));
        QCOMPARE(data.externalHeader().size(), 128 * 32);
        QVERIFY(console.warnings().isEmpty());
    }

    void sercelExtendedHeader()
    {
        const struct {
            const char* file;
            const char* field;
            double expected;
        } fields[] = {{"sercel.segd", "TotalTraces", 86.0},
                      // The largest auxiliary value is the first trace's first sample.
                      {"sercel.segd", "MaxAux", 29096.404296875},
                      {"3stomp_test.segd", "TbWindow", 2000.0},
                      {"3stomp_test.segd", "FilesPerTape", 12.0}};
        for (const auto& [file, field, expected] : fields) {
            RecordingConsole console;
            SercelData data(&console, realFile(file), false, false);
            QVERIFY(data.ok());
            const SercelExtendedHeader::Field* found = SercelExtendedHeader::find(field);
            QVERIFY2(found, field);
            QCOMPARE(SercelExtendedHeader::value(data.extendedHeader(), *found), expected);
        }
    }

    void directoryChecksEveryFileAgainstTheFirst()
    {
        // The three files of the folder, in name order: 3stomp (1 ms, 4000 ms), the node file
        // (4 ms) and sercel.segd (1 ms, 2000 ms); neither later file matches the first.
        RecordingConsole console;
        SegdData data(new DiskDevice(&console, realFile(QStringLiteral("3stomp_test.segd")), 0), false, true);
        QVERIFY(data.open(realFile(QStringLiteral("3stomp_test.segd"))));
        QCOMPARE(data.recordCount(), 3);
        const auto gather = data.makeGather(false);
        QVERIFY(data.readRecord(*gather));
        QVERIFY(!data.readRecord(*gather));
        QVERIFY(console.errors().contains(
            realFile(QStringLiteral("other-vendor-rev2.1.segd")) +
            QStringLiteral(": Sample interval changed - all files must use the same sample interval. ")));
        QVERIFY(!data.readRecord(*gather));
        QVERIFY(console.errors().contains(
            realFile(QStringLiteral("sercel.segd")) +
            QStringLiteral(
                ": Record length of traces changed - all files must use the same trace length. ")));
        // Still on the first file, which reads as before.
        QCOMPARE(data.generalHeader().fieldFile, 1);
        QVERIFY(!data.hasNextFile());
        QVERIFY(!data.readRecord(*gather));
    }
};

OBR_TEST_MAIN(TestSegdRealFiles)
#include "tst_segd_real_files.moc"
