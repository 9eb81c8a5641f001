#include "devices/DiskDevice.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

using segdtest::bcd;
using segdtest::bigEndian;
using segdtest::put;

Q_DECLARE_METATYPE(segdtest::ChannelSet)

namespace {

QByteArray hex(const char* digits)
{
    return QByteArray::fromHex(digits);
}

// 8015 samples are multiples of 2^-15 / 1000 in single precision.
constexpr double binary20 = double(3.0517578e-8f);

} // namespace

class TestSegdData : public QObject {
    Q_OBJECT
private slots:
    void init() { console.clear(); }

    void decoders_data()
    {
        obrtest::columns<int, QByteArray, QVector<double>>({"formatCode", "sampleBytes", "expected"});
        // Exponent nibbles 1, 2, 0, 15 then 3; mantissas 1, -1, 32767, 1 then -2 (and three unused).
        QTest::newRow("8015 groups of four") << 8015
                                             << hex("120f0001ffff7fff0001"
                                                    "3000fffe000000000000")
                                             << QVector<double>{2 * binary20, -4 * binary20, 32767 * binary20,
                                                                32768 * binary20, -16 * binary20};
        QTest::newRow("8024 quaternary and its negative rule")
            << 8024 << hex("28009000f7ff0001") << QVector<double>{8.0, -4095.0 / 1024, -8192.0, 1.0 / 4096};
        QTest::newRow("8036 sign extension")
            << 8036 << hex("000001ffffff8000007fffff") << QVector<double>{1, -1, -8388608, 8388607};
        QTest::newRow("8042 hexadecimal") << 8042 << hex("3fc1") << QVector<double>{15.5, -8.0};
        QTest::newRow("8048 IBM through ibmToIeee")
            << 8048 << hex("4264000041100000c110000000000000") << QVector<double>{100.0, 1.0, -1.0, 0.0};
        QTest::newRow("8058 IEEE") << 8058 << hex("3f800000c0490fdb")
                                   << QVector<double>{1.0, double(-3.14159274f)};
    }
    void decoders()
    {
        const auto [formatCode, sampleBytes, expected] =
            obrtest::fetch<int, QByteArray, QVector<double>>("formatCode", "sampleBytes", "expected");
        segdtest::FieldFile layout;
        layout.formatCode = formatCode;
        layout.channelSets = {{1, true, int(expected.size())}};
        layout.samples = [sampleBytes = sampleBytes](int, int) { return sampleBytes; };
        const auto gather = readOne(layout);
        QVERIFY(gather);
        const SeismicTrace& trace = *gather->trace(0);
        QCOMPARE(trace.sampleCount(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            OBR_COMPARE_EXACT(trace.data()[i], expected.at(i));
            QCOMPARE(std::signbit(trace.data()[i]), std::signbit(expected.at(i)));
        }
    }

    void revisions_data()
    {
        obrtest::columns<int, int, int, int>({"major", "minor", "manufacturer", "extensions"});
        QTest::newRow("revision 1, other maker, no extensions") << 1 << 0 << 61 << 0;
        QTest::newRow("revision 2.1") << 2 << 1 << 61 << 1;
        QTest::newRow("revision 3.0") << 3 << 0 << 61 << 2;
    }
    void revisions()
    {
        const auto [major, minor, manufacturer, extensions] =
            obrtest::fetch<int, int, int, int>("major", "minor", "manufacturer", "extensions");
        segdtest::FieldFile layout;
        layout.majorRevision = major;
        layout.minorRevision = minor;
        layout.manufacturer = manufacturer;
        layout.extensions = extensions;
        layout.intervalMicroseconds = 2000;
        layout.channelSets = {{2, false, 11}, {3, true, 11}, {0, true, 0}};
        layout.traceHeader = [major = major](QByteArray& header, int trace) {
            if (header.size() > 20)
                put(header, major >= 3 ? 21 + 10 : 21, bigEndian(quint64(-50 - trace) & 0xFFFFFF, 3));
        };
        const QString path = write(layout, QStringLiteral("rev.segd"));
        SegdData data(new DiskDevice(&console, path, 0), false, false);
        QVERIFY(data.open(path));
        QCOMPARE(data.generalHeader().headerLength(), qint64(segdtest::headerLength(layout)));
        QCOMPARE(data.generalHeader().revision, float(major + minor / 10.0));
        QCOMPARE(data.samples(), 11);
        QCOMPARE(data.sampleInterval(), 2.0f);
        const auto gather = data.makeGather(false);
        QVERIFY(data.readRecord(*gather));
        QCOMPARE(gather->count(), 5);
        for (int t = 0; t < 5; ++t) {
            const SeismicTrace& trace = *gather->trace(t);
            QCOMPARE(trace.data()[10], 1000.0 * t + 10);
            QCOMPARE(trace.value(TraceKey::Channel), t < 2 ? t + 1.0 : t - 1.0);
            QCOMPARE(trace.value(TraceKey::TraceId), t < 2 ? 4.0 : 1.0);
            QCOMPARE(trace.value(TraceKey::SequentialTrace), t + 1.0);
            // The standard's first extension holds the receiver line from revision 1 on.
            QCOMPARE(trace.value(TraceKey::ReceiverLine), extensions > 0 && major < 3 ? -50.0 - t : 0.0);
        }
        QVERIFY(console.errors().isEmpty());
    }

    void generalHeaderFields_data()
    {
        // byte: 1-based position patched in a revision 2 field file
        obrtest::columns<int, QByteArray, QString, double>({"byte", "bytes", "field", "expected"});
        QTest::newRow("field file FFFF takes block 2's number")
            << 1 << hex("ffff") + QByteArray(30, '\0') + hex("01e240") << "fieldFile" << 123456.0;
        QTest::newRow("year 0x49 is 2049") << 11 << hex("49") << "year" << 2049.0;
        QTest::newRow("year 0x50 is 1950") << 11 << hex("50") << "year" << 1950.0;
        QTest::newRow("day 001") << 12 << hex("2001") << "date" << 0.0;
        QTest::newRow("interval byte 0x10 is 1 ms") << 23 << hex("10") << "interval" << 1.0;
        QTest::newRow("channel sets FF takes block 2's count")
            << 29 << hex("ff") + QByteArray(6, '\0') + hex("0102") << "channelSets" << 258.0;
    }
    void generalHeaderFields()
    {
        const auto [byte, bytes, field, expected] =
            obrtest::fetch<int, QByteArray, QString, double>("byte", "bytes", "field", "expected");
        QByteArray file = segdtest::build(segdtest::FieldFile());
        put(file, byte, bytes);
        const SegdGeneralHeader header = SegdGeneralHeader::parse(SegdBytes(file.constData(), 96));
        const QMap<QString, double> values{{"fieldFile", header.fieldFile},
                                           {"year", header.year},
                                           {"interval", header.sampleInterval},
                                           {"channelSets", header.channelSets}};
        if (field == QLatin1String("date"))
            QCOMPARE(header.dateText(), QStringLiteral("01/01/2007"));
        else
            QCOMPARE(values.value(field), expected);
    }

    void seismicOnly_data()
    {
        obrtest::columns<QVector<segdtest::ChannelSet>, int, QStringList>({"sets", "traces", "reported"});
        QTest::newRow("auxiliary traces skipped")
            << QVector<segdtest::ChannelSet>{{2, false, 9}, {3, true, 9}} << 3
            << QStringList{"Aux traces are not being output - number of aux traces is 2.",
                           "            - number of seismic traces is 3."};
        QTest::newRow("nothing left") << QVector<segdtest::ChannelSet>{{2, false, 9}} << -1
                                      << QStringList{"no traces to output for Field File 1."};
    }
    void seismicOnly()
    {
        const auto [sets, traces, reported] =
            obrtest::fetch<QVector<segdtest::ChannelSet>, int, QStringList>("sets", "traces", "reported");
        segdtest::FieldFile layout;
        layout.channelSets = sets;
        const QString path = write(layout, QStringLiteral("seismic.segd"));
        SegdData data(new DiskDevice(&console, path, 0), true, false);
        QCOMPARE(data.open(path), traces > 0);
        // A failure names the file.
        QStringList expected = reported;
        if (traces < 0)
            expected.replaceInStrings(QRegularExpression(QStringLiteral("^")), path + QStringLiteral(": "));
        QCOMPARE(console.texts(traces > 0 ? RecordingConsole::Information : RecordingConsole::Error),
                 expected);
        if (traces < 0)
            return;
        const auto gather = data.makeGather(false);
        QVERIFY(data.readRecord(*gather));
        QCOMPARE(gather->count(), traces);
        // The seismic traces are the file's third to fifth.
        QCOMPARE(gather->trace(0)->data()[0], 2000.0);
        QCOMPARE(gather->trace(2)->value(TraceKey::SequentialTrace), 5.0);
    }

    void directoryOfFieldFiles_data()
    {
        // Revision 3 states intervals in microseconds: 20001 is 1.00005 times 20000.
        obrtest::columns<int, int, QString>({"interval", "samples", "error"});
        QTest::newRow("interval 1.00005 times the first") << 20001 << 9 << "";
        QTest::newRow("interval 1.001 times the first")
            << 20020 << 9 << "Sample interval changed - all files must use the same sample interval. ";
    }
    void directoryOfFieldFiles()
    {
        const auto [interval, samples, error] =
            obrtest::fetch<int, int, QString>("interval", "samples", "error");
        QTemporaryDir folder;
        segdtest::FieldFile first;
        first.majorRevision = 3;
        first.intervalMicroseconds = 20000;
        first.channelSets = {{2, true, 9}};
        segdtest::FieldFile second = first;
        second.fieldFile = 2;
        second.intervalMicroseconds = interval;
        second.channelSets = {{2, true, samples}};
        const QString path = write(first, folder.filePath(QStringLiteral("a.sgd")));
        write(second, folder.filePath(QStringLiteral("b.SEGD")));
        first.fieldFile = 3;
        // Named as no field file, but a field file by its general header.
        write(first, folder.filePath(QStringLiteral("c")));
        QVERIFY(obrtest::writeFile(folder.filePath(QStringLiteral("notes.txt")), "field notes"));

        SegdData data(new DiskDevice(&console, path, 0), false, true);
        QVERIFY(data.open(path));
        QCOMPARE(data.fileList(), (QStringList{"a.sgd", "b.SEGD", "c"}));
        QCOMPARE(data.recordCount(), 3);
        const auto gather = data.makeGather(false);
        QList<int> fieldFiles;
        for (int record = 0; record < 3; ++record) {
            if (data.readRecord(*gather))
                fieldFiles.append(int(gather->trace(0)->value(TraceKey::FieldFile)));
        }
        QCOMPARE(fieldFiles, error.isEmpty() ? (QList<int>{1, 2, 3}) : (QList<int>{1, 3}));
        // The error names the file that differs.
        QCOMPARE(console.errors(), error.isEmpty()
                                       ? QStringList()
                                       : QStringList{folder.filePath(QStringLiteral("b.SEGD: ")) + error});
        QVERIFY(!data.hasNextFile());
    }

private:
    QString write(const segdtest::FieldFile& layout, const QString& name)
    {
        const QString path = QFileInfo(name).isAbsolute() ? name : dir.filePath(name);
        if (!obrtest::writeFile(path, segdtest::build(layout)))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    std::unique_ptr<TraceGather> readOne(const segdtest::FieldFile& layout)
    {
        const QString path = write(layout, QStringLiteral("one.segd"));
        data = std::make_unique<SegdData>(new DiskDevice(&console, path, 0), false, false);
        if (!data->open(path))
            return nullptr;
        auto gather = data->makeGather(false);
        return gather && data->readRecord(*gather) ? std::move(gather) : nullptr;
    }

    QTemporaryDir dir;
    RecordingConsole console;
    std::unique_ptr<SegdData> data;
};

OBR_TEST_MAIN(TestSegdData)
#include "tst_segd_data.moc"
