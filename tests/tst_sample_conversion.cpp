#include "base/WideVectors.h"
#include "copy/SegyIeeeSamples.h"
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
// The same bits as another type of their size.
template <typename To, typename From> To bitCast(From from)
{
    static_assert(sizeof(To) == sizeof(From), "sizes differ");
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
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
    const quint64 special64[] = {0x0000000000000000u, 0x8000000000000000u, 0x0000000000000001u,
                                 0x7FF0000000000000u, 0xFFF0000000000000u, 0x7FF8000000000001u,
                                 0x7FF0000000000001u, 0xFFFFFFFFFFFFFFFFu, 0x7FFFFFFFFFFFFFFFu};
    const auto put = [&](const auto& words) {
        for (size_t k = 0; k < std::size(words); ++k) {
            if (bigEndian)
                qToBigEndian(words[k], bytes.data() + offset + size * k);
            else
                qToLittleEndian(words[k], bytes.data() + offset + size * k);
        }
    };
    if (size == 4)
        put(special);
    else if (size == 8)
        put(special64);
    return bytes;
}

// What an IBM word means: (-1)^s * 16^(e-64) * f / 2^24, exact in a double.
double ibmValue(quint32 word)
{
    const double magnitude = std::ldexp(double(word & 0xFFFFFFu), 4 * (int((word >> 24) & 0x7F) - 64) - 24);
    return (word & 0x80000000u) ? -magnitude : magnitude;
}

// The float a truncating conversion gives: the largest magnitude not above the value's.
// Beyond the IEEE range the conversion gives a zero of the value's sign.
float truncatedFloat(double value)
{
    if (std::fabs(value) >= std::ldexp(1.0, 128))
        return std::copysign(0.0f, float(value));
    float nearest = float(value);
    if (std::fabs(double(nearest)) > std::fabs(value))
        nearest = std::copysign(std::nextafter(nearest, 0.0f), nearest);
    return nearest;
}

// The IBM value a truncating conversion of a nonzero finite magnitude gives, and its
// normalised word: 16^q * f / 2^24 with the leading hexadecimal digit of f nonzero.
double truncatedIbm(double magnitude, quint32* normalisedWord)
{
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent); // magnitude = m * 2^binaryExponent, m in [0.5, 1)
    const int q = binaryExponent > 0 ? (binaryExponent + 3) / 4 : -((-binaryExponent) / 4);
    const double fraction = std::floor(std::ldexp(magnitude, 24 - 4 * q));
    *normalisedWord = (quint32(q + 64) << 24) | quint32(fraction);
    return std::ldexp(fraction, 4 * q - 24);
}

QString hex(quint32 word)
{
    return QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
}

// Sample i of SEG-D data of format 80`code`, as the standard lays its words out.
double standardSample(int code, const unsigned char* bytes, int i)
{
    const auto word16 = [&](int at) { return (bytes[at] << 8) | bytes[at + 1]; };
    switch (code) {
    case 15: {
        // Groups of four: their 4-bit exponents in two bytes, then four 16-bit two's complement
        // mantissas; mantissa x 2^exponent, scaled to millivolts as the recorders do.
        const int group = 10 * (i / 4), k = i % 4;
        const int exponent = (bytes[group + k / 2] >> (k % 2 ? 0 : 4)) & 0x0F;
        const int mantissa = qint16(word16(group + 2 + 2 * k));
        return std::ldexp(double(mantissa), exponent) * double(3.0517578e-8f);
    }
    case 36: {
        const int word = (bytes[3 * i] << 16) | (bytes[3 * i + 1] << 8) | bytes[3 * i + 2];
        return double(word >= 0x800000 ? word - 0x1000000 : word);
    }
    default:
        break;
    }
    // S, exponent C and fraction Q: Q x 4^C for the quaternary words (8022, 8024: a negative one
    // holds the complement of Q), Q x 16^C with sign and magnitude for the hexadecimal (8042, 8044).
    const bool wide = code == 24 || code == 44, quaternary = code == 22 || code == 24;
    const int word = wide ? word16(2 * i) : bytes[i];
    const int fractionBits = wide ? 12 : code == 22 ? 4 : 5;
    const bool negative = word >> (wide ? 15 : 7);
    const int exponent = (word & (wide ? 0x7FFF : 0x7F)) >> fractionBits;
    int fraction = word & ((1 << fractionBits) - 1);
    if (negative && quaternary)
        fraction = ((1 << fractionBits) - 1) - fraction;
    const double value = std::ldexp(double(fraction), (quaternary ? 2 : 4) * exponent - fractionBits);
    return negative ? -value : value;
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

    // Each format's words as the standard lays them out, most significant byte first, at the
    // extremes of the type; the little-endian file holds each word reversed. Decoded behind a
    // header of odd size, at an odd address, bit for bit; encoded back to the same bytes where
    // the value is exact (fixed point with gain is never written).
    void decodesStandardWords_data()
    {
        obrtest::columns<int, QByteArray, QVector<double>, bool>({"code", "bigEndian", "values", "encodes"});
        const auto row = [](const char* name, int code, const char* hex, QVector<double> values,
                            bool encodes = true) {
            QTest::newRow(name) << code << QByteArray::fromHex(hex) << values << encodes;
        };
        const double nan = bitCast<double>(0x7FF8DEADBEEF0001u);
        const double signallingNan = bitCast<double>(0x7FF0000000000001u);
        const double inf = std::numeric_limits<double>::infinity();
        // IBM: 0x41100000 is 1/16 x 16^1; 0xC276A000 is -(0x76A/0x1000) x 16^2 = -118.625.
        row("1 IBM float", 1, "00000000 41100000 C1100000 C276A000", {0, 1, -1, -118.625});
        row("2 32-bit integer", 2, "80000000 7FFFFFFF 00000000 FFFFFFFF 00000001",
            {-2147483648.0, 2147483647, 0, -1, 1});
        row("3 16-bit integer", 3, "8000 7FFF 0000 FFFF 0001", {-32768, 32767, 0, -1, 1});
        // A zero byte, the gain exponent G, then the mantissa M in two's complement: M x 2^-G.
        // 000C with G 3 is 12/8; FFFF with G 1 is -1/2; 7FFF with G 15 is 32767/32768.
        row("4 fixed point with gain", 4, "00000001 0003000C 0001FFFF 00008000 000F7FFF 00FF0001 00000000",
            {1, 1.5, -0.5, -32768, 32767.0 / 32768, std::ldexp(1.0, -255), 0}, false);
        row("5 IEEE single", 5, "7F7FFFFF FF7FFFFF 00000001 80000000 7F800000 3F800000",
            {std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
             std::numeric_limits<float>::denorm_min(), -0.0, inf, 1});
        row("6 IEEE double", 6,
            "7FEFFFFFFFFFFFFF FFF0000000000000 7FF0000000000000 0000000000000001 8000000000000000 "
            "7FF8DEADBEEF0001 7FF0000000000001 3FF0000000000000 BFF0000000000000",
            {std::numeric_limits<double>::max(), -inf, inf, std::numeric_limits<double>::denorm_min(), -0.0,
             nan, signallingNan, 1, -1});
        row("7 24-bit integer", 7, "800000 7FFFFF 000000 FFFFFF 000001", {-8388608, 8388607, 0, -1, 1});
        row("8 8-bit integer", 8, "80 7F 00 FF 01", {-128, 127, 0, -1, 1});
        row("9 64-bit integer", 9,
            "8000000000000000 0020000000000000 0000000000000000 FFFFFFFFFFFFFFFF 0000000000000001",
            {-9223372036854775808.0, 9007199254740992.0, 0, -1, 1});
        // Beyond 2^53 the nearest double, ties to the even one: 2^53 + 1 and 2^53 + 3 lie half way.
        row("9 64-bit integer beyond 2^53", 9,
            "7FFFFFFFFFFFFFFF 0020000000000001 0020000000000003 FFDFFFFFFFFFFFFF",
            {9223372036854775808.0, 9007199254740992.0, 9007199254740996.0, -9007199254740992.0}, false);
        row("10 32-bit unsigned integer", 10, "FFFFFFFF 80000000 00000000 00000001",
            {4294967295.0, 2147483648.0, 0, 1});
        row("11 16-bit unsigned integer", 11, "FFFF 8000 0000 0001", {65535, 32768, 0, 1});
        // 2^64 - 2^11 is the largest double below 2^64.
        row("12 64-bit unsigned integer", 12,
            "8000000000000000 FFFFFFFFFFFFF800 001FFFFFFFFFFFFF 0000000000000000 0000000000000001",
            {9223372036854775808.0, 18446744073709549568.0, 9007199254740991.0, 0, 1});
        row("12 64-bit unsigned integer beyond 2^53", 12, "FFFFFFFFFFFFFFFF 0020000000000001",
            {18446744073709551616.0, 9007199254740992.0}, false);
        row("15 24-bit unsigned integer", 15, "FFFFFF 800000 000000 000001", {16777215, 8388608, 0, 1});
        row("16 8-bit unsigned integer", 16, "FF 80 00 01", {255, 128, 0, 1});
    }
    void decodesStandardWords()
    {
        const auto [code, bigEndian, values, encodes] =
            obrtest::fetch<int, QByteArray, QVector<double>, bool>("code", "bigEndian", "values", "encodes");
        const int count = values.size();
        const int size = bigEndian.size() / count;
        QByteArray littleEndian = bigEndian;
        for (int k = 0; k < count; ++k)
            std::reverse(littleEndian.begin() + k * size, littleEndian.begin() + (k + 1) * size);
        const bool hostLittle = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
        for (const bool big : {true, false}) {
            const QByteArray& file = big ? bigEndian : littleEndian;
            const bool swap = big == hostLittle;
            const QByteArray padded = QByteArray(1, '\x5A') + file;
            std::vector<double> out(size_t(count), -7.0);
            SegySampleCodec::decode(code, padded.constData() + 1, count, swap, out.data());
            for (int i = 0; i < count; ++i) {
                if (bitCast<quint64>(out[size_t(i)]) != bitCast<quint64>(values[i]))
                    QFAIL(qPrintable(QStringLiteral("%1-endian sample %2: %3, not %4")
                                         .arg(big ? "big" : "little")
                                         .arg(i)
                                         .arg(out[size_t(i)], 0, 'g', 17)
                                         .arg(values[i], 0, 'g', 17)));
            }
            QByteArray written(file.size() + 1, '\x5A');
            SegySampleCodec::encode(code, values.constData(), count, swap, written.data());
            QCOMPARE(written.right(1), QByteArray(1, '\x5A')); // nothing past the samples
            if (encodes)
                QCOMPARE(written.left(file.size()).toHex(' '), file.toHex(' '));
            else if (code == SegyLayout::FixedPointGain)
                QCOMPARE(written, QByteArray(file.size() + 1, '\x5A'));
        }
    }

    // What no word holds exactly: truncated toward zero, the low bits kept, unsigned words taking
    // the signed words' bits; from 2^63 up only unsigned 64-bit words hold the value.
    void encodesByTheIntegerRule_data()
    {
        obrtest::columns<int, QVector<double>, QByteArray>({"code", "values", "bigEndian"});
        const QVector<double> values{2.9, -2.9, -1, 70000, 1e19, double(NAN)};
        const auto row = [&](const char* name, int code, const char* hex) {
            QTest::newRow(name) << code << values << QByteArray::fromHex(hex);
        };
        // 70000 is 0x11170; 1e19, 0x8AC7230489E80000, is beyond every signed word.
        row("2 32-bit integer", 2, "00000002 FFFFFFFE FFFFFFFF 00011170 00000000 00000000");
        row("3 16-bit integer", 3, "0002 FFFE FFFF 1170 0000 0000");
        row("7 24-bit integer", 7, "000002 FFFFFE FFFFFF 011170 000000 000000");
        row("9 64-bit integer", 9,
            "0000000000000002 FFFFFFFFFFFFFFFE FFFFFFFFFFFFFFFF 0000000000011170 0000000000000000 "
            "0000000000000000");
        row("12 64-bit unsigned integer", 12,
            "0000000000000002 FFFFFFFFFFFFFFFE FFFFFFFFFFFFFFFF 0000000000011170 8AC7230489E80000 "
            "0000000000000000");
        row("10 32-bit unsigned integer", 10, "00000002 FFFFFFFE FFFFFFFF 00011170 00000000 00000000");
    }
    void encodesByTheIntegerRule()
    {
        const auto [code, values, bigEndian] =
            obrtest::fetch<int, QVector<double>, QByteArray>("code", "values", "bigEndian");
        QByteArray written(bigEndian.size(), 'x');
        SegySampleCodec::encode(code, values.constData(), values.size(), Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
                                written.data());
        QCOMPARE(written.toHex(' '), bigEndian.toHex(' '));
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
        row("lowest 32-bit", -2147483648.9, -2147483648LL, std::numeric_limits<qint32>::min());
        row("3e9 keeps its low 32 bits", 3.0e9, 3000000000LL, -1294967296);
        row("2^49 + 0.5 is no scalar noise", 562949953421312.5, 562949953421312LL, 0);
        row("lowest 64-bit", -9223372036854775808.0, std::numeric_limits<qint64>::min(), 0);
        row("2^63 has no integer", 9223372036854775808.0, 0, 0);
        row("NaN", double(NAN), 0, 0);
    }
    void truncatesTowardZero()
    {
        const auto [value, expected, expected32] =
            obrtest::fetch<double, qint64, qint32>("value", "expected", "expected32");
        QCOMPARE(truncateToInteger(value), expected);
        QCOMPARE(truncateToInt32(value), expected32);
    }

    // Every format and byte order, decoded in bulk and sample by sample, bit for bit: the wide
    // loops against the one-sample tail, whose words decodesStandardWords proves. The statistics
    // of the fused pass against those of the samples. 1,543 samples: not a multiple of any vector
    // width or block, at an odd address.
    void bulkDecodingEqualsOneByOne_data()
    {
        obrtest::columns<int, bool>({"code", "bigEndian"});
        for (const int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16}) {
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
        const bool swap = bigEndian == (Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
        const auto decode = [&](int first, int samples, double* out) {
            const unsigned char* bytes = file.data() + offset + qint64(first) * size;
            if (segd)
                SegdSampleDecoder::decode(decoder, bytes, samples, out);
            else
                SegySampleCodec::decode(code, reinterpret_cast<const char*>(bytes), samples, swap, out);
        };
        std::vector<double> bulk(count, -1.0);
        decode(0, count, bulk.data());
        double low = std::numeric_limits<double>::infinity(), high = -low, squares = 0;
        for (int i = 0; i < count; ++i) {
            double one = -1.0;
            decode(i, 1, &one);
            if (bitCast<quint64>(bulk[size_t(i)]) != bitCast<quint64>(one))
                QFAIL(qPrintable(
                    QStringLiteral("sample %1: %2, one by one %3").arg(i).arg(bulk[size_t(i)]).arg(one)));
            low = one < low ? one : low;
            high = one > high ? one : high;
            squares += one * one;
        }
        QVERIFY(file == original); // the bytes stay as read
        if (segd)
            return;
        const SampleStatistics fused = SegySampleCodec::statistics(
            code, reinterpret_cast<const char*>(file.data() + offset), count, swap);
        QCOMPARE(fused.count, qint64(count));
        QVERIFY(fused.minimum == low && fused.maximum == high);
        // Random doubles hold NaN, and squares beyond the range.
        if (std::isnan(squares))
            QVERIFY(std::isnan(fused.sumOfSquares));
        else if (std::isinf(squares))
            QCOMPARE(fused.sumOfSquares, squares);
        else
            QVERIFY(std::fabs(fused.sumOfSquares - squares) <= 1e-12 * squares);
    }

    void segdDecodersFollowTheStandard_data()
    {
        obrtest::columns<int>({"decoder"});
        for (const int decoder : {15, 22, 24, 36, 42, 44})
            QTest::addRow("80%d", decoder) << decoder;
    }
    // The SEG-D words decoded in bulk against the standard's definitions, one sample at a time, for
    // random bytes: 1,543 samples (8015 ends in a partial group) at an odd address.
    void segdDecodersFollowTheStandard()
    {
        const auto [code] = obrtest::fetch<int>("decoder");
        const auto decoder = SegdSampleDecoder::Decoder(code);
        constexpr int count = 1543;
        std::mt19937 generator{quint32(code)};
        std::vector<unsigned char> file(size_t(1 + SegdSampleDecoder::byteCount(decoder, count)));
        for (unsigned char& byte : file)
            byte = (unsigned char)(generator());
        const unsigned char* bytes = file.data() + 1;
        std::vector<double> bulk(count, -7.0);
        SegdSampleDecoder::decode(decoder, bytes, count, bulk.data());
        for (int i = 0; i < count; ++i) {
            const double expected = standardSample(code, bytes, i);
            if (bitCast<quint64>(bulk[size_t(i)]) != bitCast<quint64>(expected))
                QFAIL(qPrintable(QStringLiteral("sample %1: %2, the standard %3")
                                     .arg(i)
                                     .arg(bulk[size_t(i)])
                                     .arg(expected)));
        }
    }

    // The double form rounds to a float first: 1 - 2^-40 meets the IBM format as 1.0, 1e300 as
    // the largest IBM magnitude, NaN as that of its sign.
    void doublesToIbm()
    {
        const double wide[] = {1 - std::ldexp(1.0, -40), -1e300, double(NAN), -0.0};
        quint32 words[4];
        ieeeToIbm(wide, words, 4);
        QCOMPARE(hex(words[0]), hex(0x41100000u));
        QCOMPARE(hex(words[1]), hex(0xFFFFFFFFu));
        QCOMPARE(hex(words[2]), hex(0x7FFFFFFFu));
        QCOMPARE(hex(words[3]), hex(0x80000000u));
    }

    // Several million random words, each taken as an IBM word and as a float, against what it means,
    // computed in doubles. The array forms work in place and, as file buffers need, at odd addresses;
    // the conversion to SEG-D's big-endian words takes the words in either byte order.
    void randomWordsAgainstReference()
    {
        constexpr int total = 4 << 20;
        constexpr int chunk = 1 << 16;
        std::mt19937 generator(20240611u);
        std::vector<float> floats(chunk), singles(chunk);
        std::vector<double> doubles(chunk);
        std::vector<quint32> ibmWords(chunk);
        std::vector<unsigned char> file(4 * chunk + 1);
        std::vector<quint32> bigEndian(chunk);
        int normal = 0, denormal = 0, underflow = 0, special = 0;
        for (int done = 0; done < total; done += chunk) {
            for (float& value : floats)
                value = bitCast<float>(quint32(generator()));
            // IBM zeros with every exponent, which random words all but never are.
            for (quint32 exponent = 0; exponent < 256; ++exponent)
                floats[size_t(exponent)] = bitCast<float>(exponent << 24);
            std::memcpy(file.data() + 1, floats.data(), 4 * chunk);
            SegySampleCodec::decode(SegyLayout::IbmFloat, reinterpret_cast<const char*>(file.data() + 1),
                                    chunk, false, doubles.data());
            const bool littleEndianWords = done / chunk % 2 == 0;
            if (!littleEndianWords)
                swapBytes32(file.data() + 1, chunk);
            SegyIeeeSamples::convert(SegyLayout::IbmFloat, littleEndianWords,
                                     reinterpret_cast<const char*>(file.data() + 1),
                                     reinterpret_cast<char*>(bigEndian.data()), chunk);
            singles = floats;
            ibmToIeee(singles.data(), singles.data(), chunk);
            std::memcpy(ibmWords.data(), floats.data(), 4 * chunk);
            ieeeToIbm(reinterpret_cast<const float*>(ibmWords.data()), ibmWords.data(), chunk);
            for (size_t i = 0; i < size_t(chunk); ++i) {
                const quint32 word = bitCast<quint32>(floats[i]);
                const double exact = ibmValue(word);
                const quint32 got = bitCast<quint32>(singles[i]);
                if (got != bitCast<quint32>(truncatedFloat(exact)) ||
                    bitCast<quint32>(float(doubles[i])) != got || qFromBigEndian(bigEndian[i]) != got)
                    QFAIL(qPrintable("IBM " + hex(word) + " gave " + hex(got)));
                const quint32 exponent = (got >> 23) & 0xFF;
                normal += exponent != 0;
                denormal += exponent == 0 && (got & 0x7FFFFFu);
                underflow +=
                    exact != 0.0 && std::fabs(exact) < std::ldexp(1.0, 128) && (got & 0x7FFFFFFFu) == 0;

                // Infinities and NaN give the largest IBM magnitude of their sign; normal floats a normalised
                // word.
                const float single = floats[i];
                const quint32 sign = word & 0x80000000u;
                quint32 normalised = 0;
                const bool finite = std::isfinite(single);
                const double expected =
                    finite ? std::copysign(truncatedIbm(std::fabs(double(single)), &normalised), single) : 0;
                if ((!finite && ibmWords[i] != (sign | 0x7FFFFFFFu)) ||
                    (finite && ibmValue(ibmWords[i]) != expected) ||
                    (finite && (ibmWords[i] & 0x80000000u) != sign) ||
                    (std::fpclassify(single) == FP_NORMAL && ibmWords[i] != (sign | normalised)))
                    QFAIL(qPrintable("float " + hex(word) + " gave IBM " + hex(ibmWords[i])));
                special += !finite;
            }
        }
        // Every region of both conversions was met.
        QVERIFY(normal > total / 4);
        QVERIFY(underflow > total / 10);
        QVERIFY(denormal > 1000);
        QVERIFY(special > 1000);
    }
};

OBR_TEST_MAIN(TestSampleConversion)
#include "tst_sample_conversion.moc"
