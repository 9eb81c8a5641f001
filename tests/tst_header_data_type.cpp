#include "seismic/HeaderDataType.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/TestMain.h"

#include <algorithm>
#include <climits>
#include <cmath>
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
        row("Int8 negative", H::Int8, -2, "fe", 3);
        row("Int8 keeps the low byte", H::Int8, 300.7, "2c", 2);
        row("Int16 negative", H::Int16, -100, "ff9c", 3);
        row("Int16 keeps the low 16 bits", H::Int16, 70000, "1170", 2);
        row("Int32 lowest", H::Int32, -2147483648.0, "80000000", 3);
        row("Int32 truncates", H::Int32, -12345678.5, "ff439eb2", 2);
        row("IbmFloat negative", H::IbmFloat, -1.5, "c1180000", 3);
        row("IbmFloat infinity", H::IbmFloat, -double(INFINITY), "ffffffff", 2);
        row("IeeeFloat", H::IeeeFloat, 1.5, "3fc00000", 3);
        row("UInt16 above the signed range", H::UInt16, 60000, "ea60", 1);
        row("UInt16 writes nothing", H::UInt16, 5, "", 2);
        row("code 6 reads 0", 6, 0, "7f7f7f7f", 1);
        row("code 6 writes nothing", 6, 5, "", 2);
    }
    void everyType()
    {
        const auto [code, value, bigEndian, ways] =
            obrtest::fetch<int, double, QByteArray, int>("code", "value", "bigEndian", "ways");
        // The word at start byte 9 of a 240-byte header, in both byte orders.
        for (bool swap : {bigEndianSwap, !bigEndianSwap}) {
            QByteArray expected(240, '\x11');
            expected.replace(8, bigEndian.size(), swap == bigEndianSwap ? bigEndian : reversed(bigEndian));
            if (ways & 1)
                OBR_COMPARE_EXACT(HeaderDataType::readValue(expected.constData(), 240, 9, code, swap), value);
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
            const int code = int(generator() % 9) - 1;
            const bool swap = generator() & 1;
            std::unique_ptr<char[]> header(new char[size_t(std::max(length, 1))]);
            std::fill_n(header.get(), length, char(0x33));
            const double before = HeaderDataType::readValue(header.get(), length, startByte, code, swap);
            HeaderDataType::writeValue(header.get(), length, startByte, code, -7.0, swap);
            const int size = HeaderDataType::size(code);
            const bool inside = size > 0 && startByte >= 1 && qint64(startByte) - 1 + size <= length;
            QCOMPARE(before != 0.0, inside);
            const bool written = inside && code != HeaderDataType::UInt16;
            const int changed =
                int(std::count_if(header.get(), header.get() + length, [](char c) { return c != 0x33; }));
            QCOMPARE(changed, written ? size : 0);
            if (written)
                QCOMPARE(HeaderDataType::readValue(header.get(), length, startByte, code, swap), -7.0);
        }
    }
};

OBR_TEST_MAIN(TestHeaderDataType)
#include "tst_header_data_type.moc"
