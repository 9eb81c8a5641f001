#include "base/WideVectors.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegdSampleDecoder.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestMain.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace SampleConversion;

namespace {

double floatOf(quint32 bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return double(value);
}

// Sample i of a SEG-Y format, one at a time the plain way: the word in the file's byte order,
// then its value.
double segySample(int code, const unsigned char* bytes, int i, bool bigEndian)
{
    const auto word32 = [&] {
        return bigEndian ? qFromBigEndian<quint32>(bytes + 4 * i) : qFromLittleEndian<quint32>(bytes + 4 * i);
    };
    switch (code) {
    case SegyLayout::IbmFloat:
        return double(ibmToIeee(word32()));
    case SegyLayout::Int32:
        return double(qint32(word32()));
    case SegyLayout::Int16:
        return double(qint16(bigEndian ? qFromBigEndian<quint16>(bytes + 2 * i)
                                       : qFromLittleEndian<quint16>(bytes + 2 * i)));
    case SegyLayout::IeeeFloat:
        return floatOf(word32());
    case SegyLayout::Int8:
        return double(qint8(bytes[i]));
    default:
        return 0.0;
    }
}

// The same for the SEG-D formats that share those decoders; all big-endian.
double segdSample(int decoder, const unsigned char* bytes, int i)
{
    switch (decoder) {
    case SegdSampleDecoder::Integer24:
        return double(qint32(quint32(bytes[3 * i]) << 24 | quint32(bytes[3 * i + 1]) << 16 |
                             quint32(bytes[3 * i + 2]) << 8) /
                      256);
    case SegdSampleDecoder::Integer32:
        return segySample(SegyLayout::Int32, bytes, i, true);
    case SegdSampleDecoder::IbmFloat:
        return segySample(SegyLayout::IbmFloat, bytes, i, true);
    default:
        return segySample(SegyLayout::IeeeFloat, bytes, i, true);
    }
}

quint64 bitsOf(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Random file bytes, with words the conversions treat apart at the front: IEEE zeros of both
// signs, denormals, infinities, quiet and signalling NaN; IBM zeros with an exponent, values
// below and above the single range, the largest magnitudes.
std::vector<unsigned char> randomWords(int count, int size, bool bigEndian, int offset)
{
    std::mt19937 generator(7u + quint32(size) + quint32(bigEndian));
    std::vector<unsigned char> bytes(size_t(offset + count * size + 8));
    for (unsigned char& byte : bytes)
        byte = (unsigned char)(generator());
    const quint32 special[] = {0x00000000u, 0x80000000u, 0x00000001u, 0x807FFFFFu, 0x7F800000u, 0xFF800000u,
                               0x7FC00000u, 0x7F800001u, 0xFFFFFFFFu, 0x40000000u, 0x00100000u, 0x21FFFFFFu,
                               0x26800000u, 0xA6FFFFFFu, 0x61100000u, 0x60FFFFFFu, 0x7FFFFFFFu, 0x42000001u};
    if (size == 4) {
        for (size_t k = 0; k < std::size(special); ++k) {
            if (bigEndian)
                qToBigEndian(special[k], bytes.data() + offset + 4 * k);
            else
                qToLittleEndian(special[k], bytes.data() + offset + 4 * k);
        }
    }
    return bytes;
}

} // namespace

class TestSampleConversion : public QObject {
    Q_OBJECT
private slots:
    // ctest runs this program twice: in the form the processor allows and in the base form
    // (OBR_VECTORS=base), so that both forms of the sample loops are proven.
    void initTestCase()
    {
        const bool base = qgetenv("OBR_VECTORS") == "base";
#ifdef OBR_WIDE_VECTORS
        QCOMPARE(WideVectors::inUse(), !base && __builtin_cpu_supports("avx2"));
#endif
        qInfo("sample loops in the %s form", WideVectors::inUse() ? "wide (AVX2)" : "base");
    }

    void swapsArraysAtAnyAddress_data()
    {
        obrtest::columns<int, int>({"itemSize", "offset"});
        for (int size : {2, 4}) {
            for (int offset : {0, 1, 3})
                QTest::addRow("%d-byte items at offset %d", size, offset) << size << offset;
        }
    }
    void swapsArraysAtAnyAddress()
    {
        const auto [itemSize, offset] = obrtest::fetch<int, int>("itemSize", "offset");
        constexpr int items = 37; // not a multiple of any vector width
        QByteArray buffer(offset + items * itemSize + 8, '\x5A');
        for (int i = 0; i < items * itemSize; ++i)
            buffer[offset + i] = char(i);
        const QByteArray original = buffer;
        void* start = buffer.data() + offset;
        if (itemSize == 2)
            swapBytes16(start, items);
        else
            swapBytes32(start, items);
        // Each item reversed in place, nothing outside the array moved.
        QByteArray expected = original;
        for (int item = 0; item < items; ++item)
            std::reverse(expected.begin() + offset + item * itemSize,
                         expected.begin() + offset + (item + 1) * itemSize);
        QCOMPARE(buffer.toHex(), expected.toHex());
        // The one-item form turns the first item back.
        swapBytes(start, itemSize);
        QCOMPARE(buffer.mid(offset, itemSize).toHex(), original.mid(offset, itemSize).toHex());
        // Zero and negative counts, and items of other sizes, leave the bytes alone.
        const QByteArray swapped = buffer;
        swapBytes32(start, 0);
        swapBytes16(start, -1);
        swapBytes(start, 3);
        swapBytes(start, -4);
        QCOMPARE(buffer, swapped);
    }

    // The extremes of each word, behind a header of odd size, at an odd address.
    void widensIntegersAndFloats()
    {
        const qint8 bytes[] = {127, -128};
        const qint16 shorts[] = {32767, -32768};
        const qint32 ints[] = {2147483647, -2147483647 - 1};
        const float floats[] = {std::numeric_limits<float>::max(), -0.0f};
        alignas(8) unsigned char file[1 + sizeof ints];
        double out[4][2];
        const auto widen = [&file](const auto& words, int code, double* to) {
            std::memcpy(file + 1, words, sizeof words);
            SegySampleCodec::decode(code, reinterpret_cast<const char*>(file + 1), 2, false, to);
        };
        widen(bytes, SegyLayout::Int8, out[0]);
        widen(shorts, SegyLayout::Int16, out[1]);
        widen(ints, SegyLayout::Int32, out[2]);
        widen(floats, SegyLayout::IeeeFloat, out[3]);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(out[0][i], double(bytes[i]));
            QCOMPARE(out[1][i], double(shorts[i]));
            QCOMPARE(out[2][i], double(ints[i]));
            QCOMPARE(out[3][i], double(floats[i]));
        }
        QVERIFY(std::signbit(out[3][1]));
    }

    void truncatesTowardZero_data()
    {
        // expected32: the same value taken as a 32-bit integer, as header words read as floats are
        obrtest::columns<double, qint64, qint32>({"value", "expected", "expected32"});
        const auto row = [](const char* name, double value, qint64 expected, qint32 expected32) {
            QTest::newRow(name) << value << expected << expected32;
        };
        row("positive fraction", 1234.9, 1234, 1234);
        // 1000005 read with scalar -100 and scaled back lands a hair below the integer.
        static_assert(10000.05 * 100 < 1000005.0, "the noise this row is about");
        row("scalar noise below an integer", 10000.05 * 100, 1000005, 1000005);
        row("scalar noise above a negative integer", -10000.05 * 100, -1000005, -1000005);
        row("lowest 32-bit", -2147483648.9, -2147483648LL, std::numeric_limits<qint32>::min());
        row("beyond 32 bits nothing moves", 4294967296.5, 4294967296LL, 0);
        row("3e9 keeps its low 32 bits", 3.0e9, 3000000000LL, -1294967296);
        row("2^49 + 0.5 is no scalar noise", 562949953421312.5, 562949953421312LL, 0);
        row("lowest 64-bit", -9223372036854775808.0, std::numeric_limits<qint64>::min(), 0);
        row("2^63 has no integer", 9223372036854775808.0, 0, 0);
        row("1e30", 1.0e30, 0, 0);
        row("infinity", double(INFINITY), 0, 0);
        row("NaN", double(NAN), 0, 0);
    }
    void truncatesTowardZero()
    {
        const auto [value, expected, expected32] =
            obrtest::fetch<double, qint64, qint32>("value", "expected", "expected32");
        QCOMPARE(truncateToInteger(value), expected);
        QCOMPARE(truncateToInt32(value), expected32);
    }

    // Every format and byte order, decoded in bulk and sample by sample, bit for bit; the
    // statistics of the fused pass against those of the samples. 1,543 samples: not a multiple
    // of any vector width or block, at an odd address.
    void bulkDecodingEqualsOneByOne_data()
    {
        obrtest::columns<int, bool>({"code", "bigEndian"});
        for (const int code : {1, 2, 3, 4, 5, 8}) {
            for (const bool bigEndian : {true, false})
                QTest::addRow("SEG-Y %d %s", code, bigEndian ? "big endian" : "little endian")
                    << code << bigEndian;
        }
        for (const int decoder : {SegdSampleDecoder::Integer24, SegdSampleDecoder::Integer32,
                                  SegdSampleDecoder::IbmFloat, SegdSampleDecoder::IeeeFloat})
            QTest::addRow("SEG-D 80%d", decoder) << -decoder << true;
    }
    void bulkDecodingEqualsOneByOne()
    {
        const auto [code, bigEndian] = obrtest::fetch<int, bool>("code", "bigEndian");
        constexpr int count = 1543;
        constexpr int offset = 3;
        const bool segd = code < 0;
        const auto decoder = SegdSampleDecoder::Decoder(-code);
        const int size = segd ? int(SegdSampleDecoder::bytesPerSample(decoder))
                              : std::max(1, SegyLayout::bytesPerSample(code));
        const std::vector<unsigned char> file = randomWords(count, size, bigEndian, offset);
        const std::vector<unsigned char> original = file;
        const unsigned char* bytes = file.data() + offset;
        const char* chars = reinterpret_cast<const char*>(bytes);
        const bool swap = bigEndian == (Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
        std::vector<double> bulk(count, -1.0);
        std::vector<qint32> scratch(count);
        if (segd)
            SegdSampleDecoder::decode(decoder, bytes, count, bulk.data(), scratch.data());
        else
            SegySampleCodec::decode(code, chars, count, swap, bulk.data());
        double low = std::numeric_limits<double>::infinity(), high = -low, squares = 0;
        for (int i = 0; i < count; ++i) {
            const double one = segd ? segdSample(-code, bytes, i) : segySample(code, bytes, i, bigEndian);
            if (bitsOf(bulk[size_t(i)]) != bitsOf(one))
                QFAIL(qPrintable(
                    QStringLiteral("sample %1: %2, one by one %3").arg(i).arg(bulk[size_t(i)]).arg(one)));
            low = one < low ? one : low;
            high = one > high ? one : high;
            squares += one * one;
        }
        QVERIFY(file == original); // the bytes stay as read
        if (segd)
            return;
        const SampleStatistics fused = SegySampleCodec::statistics(code, chars, count, swap);
        QCOMPARE(fused.count, qint64(count));
        QVERIFY(fused.minimum == low && fused.maximum == high);
        QVERIFY(std::isnan(squares) ? std::isnan(fused.sumOfSquares)
                                    : std::fabs(fused.sumOfSquares - squares) <= 1e-12 * squares);
    }

    void narrowsToSampleWords()
    {
        const double values[] = {12.9, -12.9, 40000.0, 3.0e9, 300.5, -129.0, double(NAN)};
        qint32 ints[7];
        qint16 shorts[7];
        qint8 bytes[7];
        doubleToInt32(values, ints, 7);
        doubleToInt16(values, shorts, 7);
        doubleToInt8(values, bytes, 7);
        // Truncation toward zero, then the low bits of the word: no rounding, no clamping.
        const qint32 expectedInts[] = {12, -12, 40000, -1294967296, 300, -129, 0};
        const qint16 expectedShorts[] = {12, -12, -25536, 24064, 300, -129, 0};
        const qint8 expectedBytes[] = {12, -12, 64, 0, 44, 127, 0};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(ints[i], expectedInts[i]);
            QCOMPARE(shorts[i], expectedShorts[i]);
            QCOMPARE(bytes[i], expectedBytes[i]);
        }
        float singles[2];
        const double wide[2] = {0.1, 1e300};
        doubleToFloat(wide, singles, 2);
        QCOMPARE(singles[0], 0.1f);
        QVERIFY(std::isinf(singles[1]));
    }
};

OBR_TEST_MAIN(TestSampleConversion)
#include "tst_sample_conversion.moc"
