#include "seismic/SampleConversion.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestMain.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace SampleConversion;

class TestSampleConversion : public QObject {
    Q_OBJECT
private slots:
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
        const auto widen = [&file](const auto& words, auto convert, double* to) {
            std::memcpy(file + 1, words, sizeof words);
            convert(file + 1, to, 2);
        };
        widen(bytes, int8ToDouble, out[0]);
        widen(shorts, int16ToDouble, out[1]);
        widen(ints, int32ToDouble, out[2]);
        widen(floats, floatToDouble, out[3]);
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
