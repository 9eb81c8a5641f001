#include "copy/Segd21Headers.h"
#include "copy/Segd31Headers.h"
#include "copy/SegdCommonHeaders.h"
#include "copy/SegdConversionValues.h"
#include "copy/SegyIeeeSamples.h"
#include "tests/support/DataTable.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TestMain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

// Expected header bytes, put in place field by field as the tests read the layouts.
class Expected {
public:
    explicit Expected(int size) : bytes(size, '\0') {}

    Expected& at(int offset, std::initializer_list<int> values)
    {
        for (const int value : values)
            bytes[offset++] = char(value);
        return *this;
    }
    // A big-endian word of the value's own size; floats by their bits.
    template <typename T> Expected& word(int offset, T value)
    {
        std::array<char, sizeof(T)> raw;
        std::memcpy(raw.data(), &value, sizeof(T));
        std::reverse_copy(raw.begin(), raw.end(), bytes.begin() + offset);
        return *this;
    }

    QByteArray bytes;
};

// The first differing byte, for a readable failure.
QString firstDifference(const QByteArray& actual, const QByteArray& expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("sizes %1 and %2").arg(actual.size()).arg(expected.size());
    const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin()).first - actual.begin();
    return QStringLiteral("byte %1").arg(at);
}

// The extended header both revisions write for 12 traces of 500 samples at 2 ms.
void expectExtendedHeader(Expected& e, int offset)
{
    for (const auto& [index, value] : std::initializer_list<std::pair<int, int>>{
             {0, 1000}, {1, 2000}, {2, 12}, {3, 0}, {4, 12}, {5, 0}, {6, 12}, {7, 1}, {8, 500}})
        e.word<qint32>(offset + 4 * index, value);
    // Source elevation 4500 with the elevation scalar -10, not the coordinate scalar -100.
    e.word<double>(offset + 572, 1234.56)
        .word<double>(offset + 580, -987.65)
        .word<float>(offset + 588, 450.0f);
}

int bcd(int value)
{
    return (value / 10) << 4 | value % 10;
}

// Where a revision's extended header starts: three general header blocks and sixteen channel
// set descriptors of one block (2.1) or three (3.1) before it.
int extendedOffset(int revision)
{
    return 96 + 16 * (revision == 31 ? 96 : 32);
}

} // namespace

// The SEG-D headers made from SEG-Y, byte by byte, and the samples made from every SEG-Y format.
class TestSegdConversion : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        dirtest::SegyParams params;
        params.samples = 500;
        params.traces = 12;
        params.elevationScalar = -10;
        segy = dirtest::segyFile(params);
    }

    void revision21Headers()
    {
        const QByteArray headers = Segd21Headers::build(fileValues(21));
        Expected e(1664);
        e.at(0, {0xFF, 0xFF, 0x80, 0x58}).at(10, {0x98, 0x21, 0x23, 0x10, 0x20, 0x30, 0x13});
        e.at(22, {0x20}).at(25, {0x8F, 0xFF, 0x01, 0x16, 0x00, 0x32, 0x01});
        e.at(32, {0x00, 0x11, 0xD7}).at(42, {0x02, 0x01}).at(46, {0x00, 0x03, 0xE8}).at(63, {2});
        e.at(67, {0xFF, 0xFF, 0xFB}).at(72, {0x00, 0x01, 0x41}).word<qint32>(88, 1664).at(95, {3});
        for (int set = 1; set <= 16; ++set) {
            const int d = 96 + (set - 1) * 32;
            // The set number is two BCD digits (set 16 is 16h).
            e.at(d, {0x01, bcd(set), 0x00, 0x00, 0x01, 0xF4, 0x03, 0xE8});
            e.at(d + 8, {0x00, set == 1 ? 0x12 : 0x00, 0x10}).at(d + 28, {0xF2});
        }
        expectExtendedHeader(e, 96 + 16 * 32);
        QCOMPARE(Segd21Headers::headerLength, 1664);
        QVERIFY2(headers == e.bytes, qPrintable(firstDifference(headers, e.bytes)));
    }

    void revision31Headers()
    {
        const QByteArray headers = Segd31Headers::build(fileValues(31));
        Expected e(2688);
        e.at(0, {0xFF, 0xFF, 0x80, 0x58}).at(10, {0x98, 0x21, 0x23, 0x10, 0x20, 0x30, 0x63});
        e.at(22, {0x20}).at(25, {0x8F, 0xFF, 0x01, 0x16, 0x00, 0x32, 0x01});
        e.at(32, {0x00, 0x11, 0xD7}).at(42, {0x03, 0x01}).word<qint32>(48, 1000000).at(54, {0x00, 0x02});
        e.at(56, {0x00, 0x07, 0xD0}).at(63, {2});
        const qint64 data = 12 * (84 + 4 * 500);
        e.word<qint64>(72, 2688 + data).word<qint64>(80, data).word<qint32>(88, 2688).at(95, {3});
        for (int set = 1; set <= 16; ++set) {
            const int d = 96 + (set - 1) * 96;
            e.at(d, {0x01, 0x00, set, 0x10})
                .word<qint32>(d + 8, 1000000)
                .word<qint32>(d + 12, 500)
                .word<float>(d + 16, 1.0f);
            e.at(d + 20,
                 {0x00, 0x00, set == 1 ? 12 : 0, 0x00, 0x07, 0xD0, 0x01, 0x02, 0x13, 0x01, 0x00, 0x30});
            e.at(d + 63, {0x31}).at(d + 95, {0x32});
        }
        expectExtendedHeader(e, 96 + 16 * 96);
        QCOMPARE(Segd31Headers::headerLength, 2688);
        QVERIFY2(headers == e.bytes, qPrintable(firstDifference(headers, e.bytes)));
    }

    // Elevations take the elevation scalar (bytes 69 to 70), coordinates the coordinate scalar.
    void traceHeaders_data()
    {
        obrtest::columns<int, int, int, int>({"revision", "trace", "scalar", "elevationScalar"});
        QTest::newRow("2.1, negative scalars, negative line") << 21 << 1 << -100 << -10;
        QTest::newRow("2.1, positive scalars") << 21 << 2 << 10 << 10;
        QTest::newRow("3.1, no scalars") << 31 << 4 << 0 << 0;
    }
    void traceHeaders()
    {
        const auto [revision, trace, scalar, elevationScalar] =
            obrtest::fetch<int, int, int, int>("revision", "trace", "scalar", "elevationScalar");
        dirtest::SegyParams params;
        params.samples = 500;
        params.traces = trace + 1;
        params.scalar = scalar;
        params.elevationScalar = elevationScalar;
        const QByteArray file = dirtest::segyFile(params);
        const char* traceHeader = file.constData() + 3600 + trace * (240 + 2000);
        SegdWrittenFields::Values values =
            SegdConversionValues::fileValues(traceHeader, false, 2000, 500, 1, revision);
        SegdConversionValues::setTraceValues(values, traceHeader, false, 37);
        QByteArray record(SegdCommonHeaders::traceHeaderBytes, 'x');
        SegdCommonHeaders::writeTraceHeader(record.data(), values, revision);

        Expected e(84);
        e.at(0, {0xFF, 0xFF, 0x01, 0x01, 0x00, 0x37}).at(9, {0x02}).at(17, {0x00, 0x11, 0xD7});
        const int line = dirtest::receiverLine(trace);
        const int point = dirtest::receiverPoint(trace);
        e.at(20,
             {(line >> 16) & 0xFF, (line >> 8) & 0xFF, line & 0xFF, 0x00, (point >> 8) & 0xFF, point & 0xFF});
        e.at(27, {0x00, 0x01, 0xF4}).at(40, {2}).at(72, {1});
        if (revision == 31)
            e.at(30, {(line >> 16) & 0xFF, (line >> 8) & 0xFF, line & 0xFF})
                .at(35, {0x00, (point >> 8) & 0xFF, point & 0xFF});
        e.word<double>(52, dirtest::scaled(dirtest::receiverX(trace), scalar));
        e.word<double>(60, dirtest::scaled(dirtest::receiverY(trace), scalar));
        e.word<float>(68, float(dirtest::scaled(dirtest::receiverElevation(trace), elevationScalar)));
        QVERIFY2(record == e.bytes, qPrintable(firstDifference(record, e.bytes)));
    }

    void recordingDelay_data()
    {
        obrtest::columns<int, int, int, int, int, QString>(
            {"revision", "delay", "samples", "start", "end", "refusal"});
        // 500 samples at 2 ms: a record of 1000 ms. Revision 2.1 times count 2 ms.
        QTest::newRow("2.1, 100 ms") << 21 << 100 << 500 << 50 << 550 << QString();
        QTest::newRow("2.1, odd delay truncated") << 21 << 5 << 500 << 2 << 502 << QString();
        QTest::newRow("3.1, negative") << 31 << -40 << 500 << -40000 << 960000 << QString();
        QTest::newRow("2.1, negative")
            << 21 << -40 << 500 << 0 << 0
            << "recording delay of -40 ms: a SEG-D 2.1 channel set cannot start before time zero "
               "(revision 3.1 can)";
        QTest::newRow("2.1, the delay puts the end beyond 2 bytes")
            << 21 << 2000 << 65000 << 0 << 0
            << "a record ending at 132000 ms is beyond a SEG-D 2.1 channel set end time";
    }
    // SEG-Y bytes 109 to 110 give the channel set's start time, its end time one record length
    // later, and the extended header's refraction delay (Sercel bytes 81 to 84, ms).
    void recordingDelay()
    {
        const auto [revision, delay, samples, start, end, refusal] =
            obrtest::fetch<int, int, int, int, int, QString>("revision", "delay", "samples", "start", "end",
                                                             "refusal");
        dirtest::SegyParams params;
        params.delay = delay;
        const QByteArray file = dirtest::segyFile(params);
        const SegdWrittenFields::Values values =
            SegdConversionValues::fileValues(file.constData() + 3600, false, 2000, samples, 12, revision);
        QCOMPARE(SegdConversionValues::recordRefusal(values, revision), refusal);
        if (!refusal.isEmpty())
            return;
        const QByteArray headers =
            revision == 31 ? Segd31Headers::build(values) : Segd21Headers::build(values);
        if (revision == 31)
            QCOMPARE(headers.mid(96 + 4, 8), Expected(8).word<qint32>(0, start).word<qint32>(4, end).bytes);
        else
            QCOMPARE(headers.mid(96 + 2, 4),
                     Expected(4).word<quint16>(0, quint16(start)).word<quint16>(2, quint16(end)).bytes);
        QCOMPARE(headers.mid(extendedOffset(revision) + 80, 4), Expected(4).word<qint32>(0, delay).bytes);
    }

    void baseScanInterval_data()
    {
        obrtest::columns<int, int, int>({"microseconds", "revision21", "revision31"});
        QTest::newRow("3 ms, whole sixteenths") << 3000 << 0x30 << 0x30;
        QTest::newRow("300 us, not whole") << 300 << -1 << 4;
        // Revision 3.1 states the interval in microseconds: its byte holds 0 where it cannot.
        QTest::newRow("beyond the byte") << 16000 << -1 << 0;
        QTest::newRow("below a sixteenth") << 13 << -1 << 0;
        QTest::newRow("no interval") << 0 << -1 << -1;
    }
    void baseScanInterval()
    {
        const auto [us, revision21, revision31] =
            obrtest::fetch<int, int, int>("microseconds", "revision21", "revision31");
        QCOMPARE(SegdConversionValues::baseScanInterval(us, 21), revision21);
        QCOMPARE(SegdConversionValues::baseScanInterval(us, 31), revision31);
        QCOMPARE(SegdConversionValues::refusal(us, 10, 5, 21).isEmpty(), revision21 >= 0);
        QCOMPARE(SegdConversionValues::refusal(us, 10, 5, 31).isEmpty(), revision31 >= 0);
    }

    // 13 us in revision 3.1: the base scan interval byte 0, the microseconds exact in general header
    // block 2 (bytes 25 to 27) and the channel set descriptor (bytes 24 to 26).
    void revision31IntervalBelowASixteenth()
    {
        const QByteArray headers = Segd31Headers::build(
            SegdConversionValues::fileValues(segy.constData() + 3600, false, 13, 500, 12, 31));
        QCOMPARE(headers.mid(22, 1), QByteArray(1, '\0'));
        QCOMPARE(headers.mid(32 + 24, 3), QByteArray::fromHex("00000d"));
        QCOMPARE(headers.mid(96 + 23, 3), QByteArray::fromHex("00000d"));
        QCOMPARE(headers.mid(32 + 16, 4), Expected(4).word<qint32>(0, 13 * 500).bytes);
    }

    void bigEndianIeeeKeptBitForBit()
    {
        // NaNs with payloads, infinities, denormals and negative zero pass as they are.
        const QByteArray words = QByteArray::fromHex("7fc12345ff800000000000018000000041200000c2f6e979");
        QByteArray out(words.size(), 'x');
        SegyIeeeSamples::convert(5, false, words.constData(), out.data(), words.size() / 4);
        QCOMPARE(out, words);
        QByteArray little = words;
        for (int k = 0; k < little.size(); k += 4)
            std::reverse(little.begin() + k, little.begin() + k + 4);
        SegyIeeeSamples::convert(5, true, little.constData(), out.data(), words.size() / 4);
        QCOMPARE(out, words);
        for (const int unknown : {0, 13, 14, 17, -1})
            QVERIFY(!SegyIeeeSamples::convertible(unknown));
    }

    // Every format but IEEE singles (kept as they are): words as the standard lays them out, most
    // significant byte first (reversed per word for little-endian), to the single nearest; in
    // runs long enough for the vector loops.
    void samplesOfRevisionTwoFormats_data()
    {
        obrtest::columns<int, QByteArray, QByteArray>({"format", "bigEndian", "singles"});
        const auto row = [](const char* name, int format, const char* in, const char* out) {
            QTest::newRow(name) << format << QByteArray::fromHex(in) << QByteArray::fromHex(out);
        };
        row("1 IBM float", 1, "41100000 C276A000", "3F800000 C2ED4000");
        // 2^24 + 1 rounds to 2^24.
        row("2 32-bit integer", 2, "FFFFFFFF 01000001", "BF800000 4B800000");
        // Zero byte, gain 3, mantissa 12: 12 x 2^-3; gain 1, mantissa -1: -0.5.
        row("4 fixed point with gain", 4, "0003000C 0001FFFF", "3FC00000 BF000000");
        row("6 IEEE double", 6, "3FF8000000000000 C00C000000000000", "3FC00000 C0600000");
        // 2^32 - 1 rounds to 2^32, 2^64 - 1 to 2^64.
        row("10 32-bit unsigned integer", 10, "FFFFFFFF 00000001", "4F800000 3F800000");
        row("12 64-bit unsigned integer", 12, "FFFFFFFFFFFFFFFF 0000000000000001", "5F800000 3F800000");
    }
    void samplesOfRevisionTwoFormats()
    {
        const auto [format, words, expected] =
            obrtest::fetch<int, QByteArray, QByteArray>("format", "bigEndian", "singles");
        const QByteArray bigEndian = words.repeated(37);
        const QByteArray singles = expected.repeated(37);
        const int count = singles.size() / 4;
        const int size = bigEndian.size() / count;
        QByteArray littleEndian = bigEndian;
        for (int k = 0; k < count; ++k)
            std::reverse(littleEndian.begin() + k * size, littleEndian.begin() + (k + 1) * size);
        QVERIFY(SegyIeeeSamples::convertible(format));
        for (const bool little : {false, true}) {
            QByteArray out(singles.size(), 'x');
            SegyIeeeSamples::convert(format, little, (little ? littleEndian : bigEndian).constData(),
                                     out.data(), count);
            QCOMPARE(out.toHex(' '), singles.toHex(' '));
        }
    }

private:
    SegdWrittenFields::Values fileValues(int revision) const
    {
        return SegdConversionValues::fileValues(segy.constData() + 3600, false, 2000, 500, 12, revision);
    }

    QByteArray segy;
};

OBR_TEST_MAIN(TestSegdConversion)
#include "tst_segd_conversion.moc"
