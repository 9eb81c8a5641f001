#include "seismic/SeismicTrace.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <cmath>

using segdstd::bigEndian;
using segdstd::ieee;
using segdstd::ieee64;
using segdstd::put;

namespace {

QByteArray int24(int value)
{
    return bigEndian(quint64(value) & 0xFFFFFF, 3);
}

} // namespace

class TestSercelData : public QObject {
    Q_OBJECT
private slots:
    void init() { console.clear(); }

    void revision3Blocks_data()
    {
        obrtest::columns<int, int, int, bool>({"sourceBlock", "sourceType", "dcFlag", "removeDc"});
        QTest::newRow("impulsive source, DC removed") << 22 << 1 << 0 << true;
        QTest::newRow("vibrator source, DC kept") << 21 << 2 << 1 << false;
    }
    void revision3Blocks()
    {
        const auto [sourceBlock, sourceType, dcFlag, removeDc] =
            obrtest::fetch<int, int, int, bool>("sourceBlock", "sourceType", "dcFlag", "removeDc");
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.majorRevision = 3;
        layout.minorRevision = 0;
        layout.channelSets = {{2, 9}};
        // Source description, position and DC removal blocks after general header block 3.
        layout.extraGeneralBlocks = {sourceBlock, 81, 180};
        layout.traceHeader = [](QByteArray& header, int trace) {
            put(header, 31, int24(77));
            put(header, 36, int24(88 + trace));
            put(header, 42, int24(500 + trace));
            put(header, 221, ieee(0.5f));
        };
        QByteArray file = segdstd::build(layout);
        put(file, 96 + 4, int24(1234) + QByteArray(2, '\0') + int24(-5678) + QByteArray(2, '\0') + int24(2));
        put(file, 128 + 1, ieee64(1000.5) + ieee64(2000.25));
        file[160 + 18] = char(dcFlag);
        SercelData data(&console, write(file, QStringLiteral("r3.segd")), false, false);
        QVERIFY(data.ok());
        QCOMPARE(console.lines.first().text, QStringLiteral("Input Field File 1 Sercel rev 3 format."));
        QVERIFY(console.warnings().isEmpty());
        QCOMPARE(data.generalHeader().blocks, 6);
        QCOMPARE(data.sourceType(), sourceType);
        QCOMPARE(data.sourceLine(), 1234.0f);
        QCOMPARE(data.sourceLocation(), -5678.0f);
        QCOMPARE(data.sourceY(), 2000.25);
        QCOMPARE(data.removeDc(), removeDc);

        const auto gather = data.makeGather(false);
        QVERIFY(data.readRecord(*gather));
        const SeismicTrace& trace = *gather->trace(1);
        QCOMPARE(trace.value(TraceKey::ReceiverLine), 77.0);
        QCOMPARE(trace.value(TraceKey::ReceiverLocation), 89.0);
        QCOMPARE(trace.value(TraceKey::SequentialTrace), 501.0);
        QCOMPARE(trace.value(TraceKey::Inline), (77 + 1234) / 2.0);
        QCOMPARE(trace.value(TraceKey::Crossline), (89 - 5678) / 2.0);
        QCOMPARE(trace.value(TraceKey::SourceX), 1000.5);
        QCOMPARE(trace.value(TraceKey::UserDefined1), 2.0);
        // Revision 3 samples are not descaled; the mean of 1000 .. 1008 goes when asked.
        QCOMPARE(trace.value(TraceKey::UserDefined9), 0.5);
        QCOMPARE(trace.data()[0], removeDc ? -4.0 : 1000.0);
        QCOMPARE(trace.data()[8], removeDc ? 4.0 : 1008.0);
    }

    void geometry_data()
    {
        // The receiver's position relative to the source at (5000, 7000).
        obrtest::columns<double, double, double, double>({"east", "north", "azimuth", "offset"});
        QTest::newRow("source 100 m west and south of the receiver") << 100.0 << 100.0 << 315.0 << 141.42;
        QTest::newRow("source east of the receiver") << -100.0 << 0.0 << 180.0 << 100.0;
    }
    void geometry()
    {
        const auto [east, north, azimuth, offset] =
            obrtest::fetch<double, double, double, double>("east", "north", "azimuth", "offset");
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.extendedBlocks = 32;
        layout.channelSets = {{1, 9}};
        layout.traceHeader = [east = east, north = north](QByteArray& header, int) {
            put(header, 21, int24(40));
            put(header, 24, int24(61));
            put(header, 53, ieee64(5000 + east));
            put(header, 61, ieee64(7000 + north));
        };
        QByteArray file = segdstd::build(layout);
        // Source line 10.5 and point 20.25 in block 3; the position in the extended header.
        put(file, 68, int24(10) + bigEndian(5000, 2) + int24(20) + bigEndian(2500, 2));
        const int extended = 96 + 32;
        put(file, extended + 573, ieee64(5000) + ieee64(7000));
        SercelData data(&console, write(file, QStringLiteral("g.segd")), false, false);
        QVERIFY(data.ok());
        QCOMPARE(data.sourceLine(), 10.5f);
        QCOMPARE(data.sourceLocation(), 20.25f);
        const auto gather = data.makeGather(true);
        QVERIFY(data.readRecord(*gather));
        const SeismicTrace& trace = *gather->trace(0);
        QCOMPARE(trace.value(TraceKey::Azimuth), azimuth);
        QVERIFY(std::fabs(trace.value(TraceKey::Offset) - offset) < 0.005);
        QCOMPARE(trace.value(TraceKey::CmpX), 5000 + east / 2);
        QCOMPARE(trace.value(TraceKey::CmpY), 7000 + north / 2);
        QCOMPARE(trace.value(TraceKey::Inline), 25.25);
        QCOMPARE(trace.value(TraceKey::Crossline), 40.625);
    }

    void descale_data()
    {
        obrtest::columns<float, int, double, double>({"word", "revision", "factor", "userDefined9"});
        QTest::newRow("0 leaves the samples") << 0.0f << 2 << 1.0 << 0.0;
        QTest::newRow("2e8 is taken as 1") << 2e8f << 2 << 1.0 << 1.0;
        QTest::newRow("NaN is taken as 1") << float(std::nan("")) << 2 << 1.0 << 1.0;
        QTest::newRow("0.5 halves revision 2 samples") << 0.5f << 2 << 0.5 << 0.5;
        QTest::newRow("revision 3 samples untouched") << 0.5f << 3 << 1.0 << 0.5;
    }
    void descale()
    {
        const auto [word, revision, factor, userDefined9] =
            obrtest::fetch<float, int, double, double>("word", "revision", "factor", "userDefined9");
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.majorRevision = revision;
        layout.channelSets = {{2, 9}};
        layout.traceHeader = [word = word](QByteArray& header, int) { put(header, 221, ieee(word)); };
        SercelData data(&console, write(segdstd::build(layout), QStringLiteral("d.segd")), false, false);
        const auto gather = data.makeGather(false);
        QVERIFY(gather && data.readRecord(*gather));
        const SeismicTrace& trace = *gather->trace(1);
        OBR_COMPARE_EXACT(trace.data()[3], 1003.0 * factor);
        OBR_COMPARE_EXACT(trace.value(TraceKey::UserDefined9), userDefined9);
    }

    void otherFormatCodeDecodedByItsOwnDecoder()
    {
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.formatCode = 8036;
        layout.channelSets = {{1, 3}};
        layout.samples = [](int, int) { return QByteArray::fromHex("000064fffffe800000"); };
        SercelData data(&console, write(segdstd::build(layout), QStringLiteral("i.segd")), false, false);
        QVERIFY(data.ok());
        QCOMPARE(console.warnings(), QStringList{"Unexpected SEGD format code (8036) for Sercel data."});
        QVERIFY(console.lines.last().popup);
        const auto gather = data.makeGather(false);
        QVERIFY(data.readRecord(*gather));
        const double* samples = gather->trace(0)->data();
        QCOMPARE((QVector<double>{samples[0], samples[1], samples[2]}), (QVector<double>{100, -2, -8388608}));
    }

private:
    QString write(const QByteArray& bytes, const QString& name)
    {
        const QString path = dir.filePath(name);
        if (!obrtest::writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir dir;
    // Without the low-level lines of every transfer.
    RecordingConsole console{1};
};

OBR_TEST_MAIN(TestSercelData)
#include "tst_sercel_data.moc"
