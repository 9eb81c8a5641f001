#include "devices/DiskDevice.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdData.h"
#include "seismic/SegdReader.h"
#include "seismic/SegdRecordSummary.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <climits>
#include <cmath>

using segdstd::bcd;
using segdstd::bigEndian;
using segdstd::put;

Q_DECLARE_METATYPE(segdstd::ChannelSet)
Q_DECLARE_METATYPE(segdstd::FieldFile)

namespace {

QByteArray hex(const char* digits)
{
    return QByteArray::fromHex(digits);
}

// 8015 samples are multiples of 2^-15 / 1000 in single precision.
constexpr double binary20 = double(3.0517578e-8f);

// Two auxiliary traces, then four seismic ones; trace t (0-based in the file) holds
// 1000 t + sample.
segdstd::FieldFile ranged(int majorRevision)
{
    segdstd::FieldFile file = segdstd::sercelRevision21();
    file.majorRevision = majorRevision;
    file.manufacturer = 61;
    file.channelSets = {{2, 7, 9}, {4, 7}};
    return file;
}

// A field file of one auxiliary and three seismic traces of 9 samples, with bytes put at the
// 1-based position byte.
QByteArray fieldFile(int majorRevision, int byte = 1, const QByteArray& bytes = {})
{
    segdstd::FieldFile layout = segdstd::sercelRevision21();
    layout.majorRevision = majorRevision;
    QByteArray file = segdstd::build(layout);
    put(file, byte, bytes);
    return file;
}

} // namespace

// Reading field files: sample codes, revisions, general header fields, some traces of a file,
// folders of field files, the conventions of several recorders, and damaged files.
class TestSegdReader : public QObject {
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
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.formatCode = formatCode;
        layout.channelSets = {{1, int(expected.size())}};
        layout.samples = [sampleBytes = sampleBytes](int, int) { return sampleBytes; };
        data = open(segdstd::build(layout), QStringLiteral("one.segd"));
        QVERIFY(data);
        const auto gather = data->makeGather(false);
        QVERIFY(gather && data->readRecord(*gather));
        const SeismicTrace& trace = *gather->trace(0);
        QCOMPARE(trace.sampleCount(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            OBR_COMPARE_EXACT(trace.data()[i], expected.at(i));
            QCOMPARE(std::signbit(trace.data()[i]), std::signbit(expected.at(i)));
        }
    }

    // Revision 2 holds the receiver line in the first trace header extension; revision 3 moves the
    // trace header's words and has no such field there.
    void revisions_data()
    {
        obrtest::columns<int, int>({"major", "minor"});
        QTest::newRow("revision 2.1") << 2 << 1;
        QTest::newRow("revision 3.0") << 3 << 0;
    }
    void revisions()
    {
        const auto [major, minor] = obrtest::fetch<int, int>("major", "minor");
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.majorRevision = major;
        layout.minorRevision = minor;
        layout.manufacturer = 61;
        layout.extensions = major - 1;
        layout.intervalMicroseconds = 2000;
        layout.channelSets = {{2, 11, 9}, {3, 11}, {0, 0}};
        layout.traceHeader = [major = major](QByteArray& header, int trace) {
            if (header.size() > 20)
                put(header, major >= 3 ? 21 + 10 : 21, bigEndian(quint64(-50 - trace) & 0xFFFFFF, 3));
        };
        const QString path = write(segdstd::build(layout), QStringLiteral("rev.segd"));
        SegdData data(new DiskDevice(&console, path, 0), false, false);
        QVERIFY(data.open(path));
        QCOMPARE(data.generalHeader().headerLength(), qint64(segdstd::headerLength(layout)));
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
            QCOMPARE(trace.value(TraceKey::ReceiverLine), major < 3 ? -50.0 - t : 0.0);
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
        QByteArray file = segdstd::build(segdstd::sercelRevision21());
        put(file, byte, bytes);
        const SegdGeneralHeader header = SegdGeneralHeader::parse(SegdBytes(file.constData(), 96));
        const QMap<QString, double> values{{"fieldFile", header.fieldFile},
                                           {"year", header.year},
                                           {"interval", header.sampleInterval},
                                           {"channelSets", header.channelSets}};
        if (field == QLatin1String("date"))
            QCOMPARE(header.dateText(), QStringLiteral("01/01/2024"));
        else
            QCOMPARE(values.value(field), expected);
    }

    void seismicOnly_data()
    {
        obrtest::columns<QVector<segdstd::ChannelSet>, int, QStringList>({"sets", "traces", "reported"});
        QTest::newRow("auxiliary traces skipped")
            << QVector<segdstd::ChannelSet>{{2, 9, 9}, {3, 9}} << 3
            << QStringList{"Aux traces are not being output - number of aux traces is 2.",
                           "            - number of seismic traces is 3."};
        QTest::newRow("nothing left") << QVector<segdstd::ChannelSet>{{2, 9, 9}} << -1
                                      << QStringList{"no traces to output for Field File 1."};
    }
    void seismicOnly()
    {
        const auto [sets, traces, reported] =
            obrtest::fetch<QVector<segdstd::ChannelSet>, int, QStringList>("sets", "traces", "reported");
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.channelSets = sets;
        const QString path = write(segdstd::build(layout), QStringLiteral("seismic.segd"));
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
        obrtest::columns<int, int, QString>({"interval", "keep", "error"});
        QTest::newRow("interval 1.00005 times the first") << 20001 << -1 << "";
        QTest::newRow("interval 1.001 times the first")
            << 20020 << -1 << "Sample interval changed - all files must use the same sample interval. ";
        QTest::newRow("cut short") << 20000 << 100 << "the header takes 288 bytes; the file holds 100 bytes";
    }
    // Every field file of the folder in turn; one that differs from the first or cannot be read
    // is said, with its name, and passed over.
    void directoryOfFieldFiles()
    {
        const auto [interval, keep, error] = obrtest::fetch<int, int, QString>("interval", "keep", "error");
        QTemporaryDir folder;
        segdstd::FieldFile first = segdstd::sercelRevision21();
        first.majorRevision = 3;
        first.intervalMicroseconds = 20000;
        first.channelSets = {{2, 9}};
        segdstd::FieldFile second = first;
        second.fieldFile = 2;
        second.intervalMicroseconds = interval;
        const QString path = write(segdstd::build(first), folder.filePath(QStringLiteral("a.sgd")));
        write(segdstd::build(second).left(keep < 0 ? INT_MAX : keep),
              folder.filePath(QStringLiteral("b.SEGD")));
        first.fieldFile = 3;
        // Named as no field file, but a field file by its general header.
        write(segdstd::build(first), folder.filePath(QStringLiteral("c")));
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
        QCOMPARE(gather->trace(1)->data()[8], 1008.0);
        QCOMPARE(console.errors(), error.isEmpty()
                                       ? QStringList()
                                       : QStringList{folder.filePath(QStringLiteral("b.SEGD: ")) + error});
        QVERIFY(!data.hasNextFile());
    }

    void ranges_data()
    {
        obrtest::columns<int, bool, int, int, int>(
            {"revision", "seismicOnly", "first", "last", "firstInFile"});
        QTest::newRow("rev 2, one trace in the middle") << 2 << false << 4 << 4 << 3;
        QTest::newRow("rev 3, the last two") << 3 << false << 5 << 6 << 4;
        QTest::newRow("rev 3, seismic only") << 3 << true << 2 << 3 << 3;
    }
    void ranges()
    {
        const auto [revision, seismicOnly, first, last, firstInFile] =
            obrtest::fetch<int, bool, int, int, int>("revision", "seismicOnly", "first", "last",
                                                     "firstInFile");
        const auto data =
            open(segdstd::build(ranged(revision)), QStringLiteral("range%1.segd").arg(revision), seismicOnly);
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
        if (seismicOnly)
            return;
        // Seeking by sequential trace, in any order.
        const auto trace = SeismicTrace::create(data->samples(), data->sampleInterval());
        for (const int n : {5, 2, 6, 1}) {
            QVERIFY(data->seekSequentialTrace(n));
            QVERIFY(data->readTrace(*trace));
            QCOMPARE(trace->data()[1], 1000.0 * (n - 1) + 1);
        }
        QVERIFY(!data->seekSequentialTrace(0) && !data->seekSequentialTrace(7));
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
        segdstd::FieldFile file = ranged(3);
        file.channelSets = {{traces, samples}};
        const auto data = open(segdstd::build(file), QStringLiteral("long%1.segd").arg(samples));
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

    // Field files of several recorders' conventions, written from the standard's byte layout:
    // each set's traces hold the samples written, whatever end-time rule its headers follow.
    void conventions_data()
    {
        // note: the debug line that says which count was taken, and why
        obrtest::columns<segdstd::FieldFile, QString>({"file", "note"});
        QTest::newRow("nodal revision 1.6, count in extension 1, end after the last sample")
            << segdstd::nodalRevision16()
            << "channel set 3: 30,000 samples per trace from trace header extension 1 and the channel set "
               "times, which tile the file; 30,001 from the channel set times do not tile it";
        QTest::newRow("Sercel revision 1.0") << segdstd::sercelRevision1() << "";
        QTest::newRow("revision 2.1 of another maker, three set lengths")
            << segdstd::standardRevision21() << "";
        QTest::newRow("revision 3.1 of another maker, 8080, three set lengths")
            << segdstd::standardRevision31() << "";
        QTest::newRow("revision 1 without a stated count") << segdstd::revision1WithoutStatedSamples() << "";
        QTest::newRow("bytes after the last trace") << segdstd::withTrailingBytes() << "";
    }
    void conventions()
    {
        const auto [file, note] = obrtest::fetch<segdstd::FieldFile, QString>("file", "note");
        const QString path = write(segdstd::build(file), QStringLiteral("shot.segd"));
        const auto data = SegdReader::open(path, &console);
        QVERIFY2(data && data->ok(), qPrintable(console.errors().join('\n')));
        QCOMPARE(data->generalHeader().revisionText(),
                 QStringLiteral("%1.%2").arg(file.majorRevision).arg(file.minorRevision));
        QCOMPARE(data->generalHeader().timeZero,
                 file.majorRevision >= 3 ? segdstd::gpsMicroseconds(file.timeZero) : 0);
        QCOMPARE(data->fieldMap().bytesAfterTraces(), qint64(file.appended.size()));
        QList<int> samples;
        QList<int> written;
        for (const SegdFieldMap::Run& run : data->fieldMap().runs())
            samples << run.shape.samples;
        // The values the fixture wrote, 1000 x trace + sample, seismic and auxiliary apart.
        int traces = 0;
        double seismicLow = 1e300, seismicHigh = -1e300, auxHigh = -1e300;
        for (const segdstd::ChannelSet& set : file.channelSets) {
            written << set.writtenSamples.value_or(set.samples);
            seismicLow = std::min(seismicLow, set.type == 1 ? segdstd::sampleValue(traces, 0) : 1e300);
            traces += set.channels;
            double& high = set.type == 1 ? seismicHigh : auxHigh;
            high = std::max(high, segdstd::sampleValue(traces - 1, written.last() - 1));
        }
        QCOMPARE(samples, written);
        SegdRecordSummary summary;
        QVERIFY(SegdRecordSummary::scan(*data, summary));
        QCOMPARE(summary.traces, traces);
        QCOMPARE(summary.seismic.minimum, seismicLow);
        QCOMPARE(summary.seismic.maximum, seismicHigh);
        QCOMPARE(summary.auxiliary.traces > 0 ? summary.auxiliary.maximum : -1e300, auxHigh);
        QVERIFY(console.errors().isEmpty());
        if (!note.isEmpty())
            QVERIFY2(console.texts(RecordingConsole::Debug).contains(path + ": " + note),
                     qPrintable(console.texts(RecordingConsole::Debug).join('\n')));
    }

    void refused_data()
    {
        // opens: the headers are taken; report: the start of the error that stops the reading
        obrtest::columns<QByteArray, bool, QString>({"bytes", "opens", "report"});
        const QByteArray valid = fieldFile(2);
        const int header = segdstd::headerLength(segdstd::sercelRevision21());
        const int lastTrace = valid.size() - (20 + 7 * 32 + 9 * 4);

        QTest::newRow("empty file") << QByteArray() << false
                                    << "0 bytes are too few for a SEG-D general header";
        QTest::newRow("header cut before its end")
            << valid.left(header - 1) << false
            << QStringLiteral("the header takes %1 bytes; the file holds %2 bytes")
                   .arg(header)
                   .arg(header - 1);
        QTest::newRow("channel set count overruns the file")
            << fieldFile(2, 29, QByteArray::fromHex("99")) << false << "the header takes 3,360 bytes";
        QTest::newRow("negative channel set count")
            << fieldFile(3, 29, QByteArray::fromHex("ff") + QByteArray(6, '\0') + QByteArray::fromHex("8000"))
            << false << "invalid channel set count";
        QTest::newRow("interval 0") << fieldFile(2, 23, QByteArray(1, '\0')) << false
                                    << "invalid sample interval";
        QTest::newRow("negative record length")
            << fieldFile(3, 49, bigEndian(0xFFFFFC18, 4)) << false << "invalid record length";
        QTest::newRow("trace claims other extensions than its channel set")
            << fieldFile(2, lastTrace + 10, QByteArray(1, char(255))) << true
            << "trace 4 of Field File 1 states 255 trace header extensions where the traces of its channel "
               "set have 7";
        QTest::newRow("last trace cut")
            << valid.left(valid.size() - 5) << true << "trace 4 of Field File 1 is cut short";
        QTest::newRow("format code without a decoder")
            << fieldFile(2, 3, segdstd::bcd(8099, 4)) << false
            << "samples of SEGD format code 8099 cannot be decoded";
        // Refused before any trace is read, not padded out to what the headers announce.
        const QString announced =
            "the headers announce 8 traces of 501 to 1,001 samples (21,138 bytes); the file holds %1 bytes";
        QTest::newRow("a header and one bare trace header")
            << segdstd::build(segdstd::headerAndBareTraceHeader()) << false << announced.arg(212);
        QTest::newRow("counts that match neither rule")
            << segdstd::build(segdstd::countsMatchNeitherRule()) << false << "cannot be told: neither ";
    }
    void refused()
    {
        const auto [bytes, opens, report] =
            obrtest::fetch<QByteArray, bool, QString>("bytes", "opens", "report");
        const QString path = write(bytes, QStringLiteral("bad.segd"));
        for (const bool sercel : {false, true}) {
            console.clear();
            std::unique_ptr<SegdData> data;
            if (sercel)
                data = std::make_unique<SercelData>(&console, path, false, false);
            else
                data = std::make_unique<SegdData>(new DiskDevice(&console, path, 0), false, false);
            QCOMPARE(sercel ? data->ok() : data->open(path), opens);
            if (opens) {
                const auto gather = data->makeGather(false);
                QVERIFY(gather);
                QVERIFY(!data->readRecord(*gather));
            }
            const QStringList errors = console.errors();
            QVERIFY2(!errors.isEmpty() && errors.last().contains(report),
                     qPrintable(errors.join(QLatin1Char('|'))));
        }
        QCOMPARE(obrtest::readFile(path), bytes);
    }

    void randomInputNeverCrashes()
    {
        QRandomGenerator random(12);
        const QByteArray valid = fieldFile(2);
        const QByteArray valid3 = fieldFile(3);
        int reads = 0;
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes;
            if (round % 3 == 0) {
                bytes.resize(int(random.bounded(600)));
                for (char& byte : bytes)
                    byte = char(random.bounded(256));
            } else {
                bytes = round % 3 == 1 ? valid : valid3;
                for (int flips = 0; flips < 4; ++flips)
                    bytes[int(random.bounded(std::min(bytes.size(), 400)))] = char(random.bounded(256));
            }
            const QString path = write(bytes, QStringLiteral("random.segd"));
            console.clear();
            SercelData data(&console, path, round % 2 == 0, false);
            bool read = false;
            if (data.ok()) {
                const auto gather = data.makeGather(false);
                read = gather && data.readRecord(*gather);
            }
            // Whatever was refused was said.
            QVERIFY2(read || !console.errors().isEmpty(), qPrintable(QString::number(round)));
            reads += int(read);
        }
        // Both roads were taken: damage the reader lives with, and damage it refuses.
        QVERIFY(reads > 20 && reads < 280);
    }

private:
    QString write(const QByteArray& bytes, const QString& name)
    {
        const QString path = QFileInfo(name).isAbsolute() ? name : dir.filePath(name);
        if (!QDir().mkpath(QFileInfo(path).path()) || !obrtest::writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // The field file written under name and opened; null when it does not open.
    std::unique_ptr<SegdData> open(const QByteArray& bytes, const QString& name, bool seismicOnly = false)
    {
        const QString path = write(bytes, name);
        auto opened = std::make_unique<SegdData>(new DiskDevice(&console, path, 0), seismicOnly, false);
        return opened->open(path) ? std::move(opened) : nullptr;
    }

    QTemporaryDir dir;
    RecordingConsole console;
    // The data set of the decoders' file, which its gather reads through.
    std::unique_ptr<SegdData> data;
};

OBR_TEST_MAIN(TestSegdReader)
#include "tst_segd_reader.moc"
