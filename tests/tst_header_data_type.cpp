#include "seismic/HeaderDataType.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/TestMain.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

namespace {

// Files are big-endian; on this machine that means swapping.
const bool bigEndianSwap = QSysInfo::ByteOrder == QSysInfo::LittleEndian;

QByteArray reversed(QByteArray bytes)
{
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

} // namespace

class TestHeaderDataType : public QObject {
    Q_OBJECT
private slots:
    // ways: 1 the bytes read as the value, 2 the value written as the bytes (none: nothing written), 3 both
    void everyType_data()
    {
        obrtest::columns<int, double, QByteArray, int>({"code", "value", "bigEndian", "ways"});
        const auto row = [](const char* name, int code, double value, const char* bigEndian, int ways) {
            QTest::newRow(name) << code << value << QByteArray::fromHex(bigEndian) << ways;
        };
        namespace H = HeaderDataType;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double infinity = std::numeric_limits<double>::infinity();
        row("Int8 negative", H::Int8, -2, "fe", 3);
        row("Int8 keeps the low byte", H::Int8, 300.7, "2c", 2);
        row("Int16 negative", H::Int16, -100, "ff9c", 3);
        row("Int16 keeps the low 16 bits", H::Int16, 70000, "1170", 2);
        row("Int32 lowest", H::Int32, -2147483648.0, "80000000", 3);
        row("Int32 truncates", H::Int32, -12345678.5, "ff439eb2", 2);
        row("IbmFloat negative", H::IbmFloat, -1.5, "c1180000", 3);
        row("IbmFloat infinity", H::IbmFloat, -infinity, "ffffffff", 2);
        row("IeeeFloat", H::IeeeFloat, 1.5, "3fc00000", 3);
        row("UInt16 above the signed range", H::UInt16, 60000, "ea60", 3);
        row("UInt16 -1 keeps the low bits", H::UInt16, -1, "ffff", 2);
        row("Int64 lowest", H::Int64, -0x1p63, "8000000000000000", 3);
        row("Int64 highest reads as 2^63", H::Int64, 0x1p63, "7fffffffffffffff", 3);
        row("Int64 negative", H::Int64, -5, "fffffffffffffffb", 3);
        row("Int64 beyond 2^53 reads as the nearest double", H::Int64, 0x1p53, "0020000000000001", 1);
        row("Int64 truncates", H::Int64, -2.9, "fffffffffffffffe", 2);
        row("Int64 beyond its range writes 0", H::Int64, 1e19, "0000000000000000", 2);
        row("Int64 NaN writes 0", H::Int64, nan, "0000000000000000", 2);
        row("UInt32 highest", H::UInt32, 4294967295.0, "ffffffff", 3);
        row("UInt32 -1 keeps the low bits", H::UInt32, -1, "ffffffff", 2);
        row("UInt32 keeps the low 32 bits", H::UInt32, 0x1p32 + 5, "00000005", 2);
        row("UInt64 highest reads as 2^64", H::UInt64, 0x1p64, "ffffffffffffffff", 3);
        row("UInt64 above the signed range", H::UInt64, 0x1p63 + 2048, "8000000000000800", 3);
        row("UInt64 -1 keeps the low bits", H::UInt64, -1, "ffffffffffffffff", 2);
        row("UInt64 beyond its range writes 0", H::UInt64, 0x1p65, "0000000000000000", 2);
        row("UInt64 infinity writes 0", H::UInt64, infinity, "0000000000000000", 2);
        row("IeeeDouble", H::IeeeDouble, -0.1, "bfb999999999999a", 3);
        row("IeeeDouble largest", H::IeeeDouble, std::numeric_limits<double>::max(), "7fefffffffffffff", 3);
        row("IeeeDouble smallest subnormal", H::IeeeDouble, std::numeric_limits<double>::denorm_min(),
            "0000000000000001", 3);
        row("IeeeDouble infinity", H::IeeeDouble, -infinity, "fff0000000000000", 3);
        row("IeeeDouble NaN", H::IeeeDouble, nan, "7ff8000000000000", 3);
        row("code 10 reads 0", 10, 0, "7f7f7f7f", 1);
        row("code 10 writes nothing", 10, 5, "", 2);
    }
    void everyType()
    {
        const auto [code, value, bigEndian, ways] =
            obrtest::fetch<int, double, QByteArray, int>("code", "value", "bigEndian", "ways");
        // The word at start byte 9 of a 240-byte header, in both byte orders.
        for (bool swap : {bigEndianSwap, !bigEndianSwap}) {
            QByteArray expected(240, '\x11');
            expected.replace(8, bigEndian.size(), swap == bigEndianSwap ? bigEndian : reversed(bigEndian));
            if (ways & 1) {
                const double read = HeaderDataType::readValue(expected.constData(), 240, 9, code, swap);
                if (std::isnan(value))
                    QVERIFY(std::isnan(read));
                else
                    OBR_COMPARE_EXACT(read, value);
            }
            if (ways & 2) {
                QByteArray header(240, '\x11');
                HeaderDataType::writeValue(header.data(), header.size(), 9, code, value, swap);
                QCOMPARE(header.toHex(), expected.toHex());
            }
        }
    }

    void randomPositionsStayInside()
    {
        // Field files put header words anywhere: any start byte, any code, any header length. The header
        // has exactly its length on the heap, so the sanitizer sees any byte beyond it.
        std::mt19937 generator(4242u);
        for (int round = 0; round < 20000; ++round) {
            const int length = int(generator() % 64);
            const int startByte = round % 100 ? int(generator() % 80) - 8 : INT_MAX - int(generator() % 4);
            const int code = int(generator() % (HeaderDataType::codeCount + 2)) - 1;
            const bool swap = generator() & 1;
            std::unique_ptr<char[]> header(new char[size_t(std::max(length, 1))]);
            std::fill_n(header.get(), length, char(0x33));
            const double before = HeaderDataType::readValue(header.get(), length, startByte, code, swap);
            HeaderDataType::writeValue(header.get(), length, startByte, code, -7.0, swap);
            const int size = HeaderDataType::size(code);
            const bool inside = size > 0 && startByte >= 1 && qint64(startByte) - 1 + size <= length;
            QCOMPARE(before != 0.0, inside);
            const bool written = inside;
            const int changed =
                int(std::count_if(header.get(), header.get() + length, [](char c) { return c != 0x33; }));
            QCOMPARE(changed, written ? size : 0);
            // Unsigned words keep the low bits of -7.
            const bool isUnsigned = code == HeaderDataType::UInt16 || code == HeaderDataType::UInt32 ||
                                    code == HeaderDataType::UInt64;
            if (written)
                QCOMPARE(HeaderDataType::readValue(header.get(), length, startByte, code, swap),
                         isUnsigned ? std::ldexp(1.0, 8 * size) - 7 : -7.0);
        }
    }
};

OBR_TEST_MAIN(TestHeaderDataType)
#include "tst_header_data_type.moc"
