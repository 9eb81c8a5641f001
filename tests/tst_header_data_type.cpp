#include "seismic/HeaderDataType.h"
#include "seismic/SegyScalar.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/TestMain.h"

#include <QSet>
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

// Header words: each data type read and written at any place, and the trace keys they feed.
class TestHeaderDataType : public QObject {
    Q_OBJECT
private slots:
    // ways: 1 the bytes read as the value, 2 the value written as the bytes, 3 both
    void everyType_data()
    {
        obrtest::columns<int, double, QByteArray, int>({"code", "value", "bigEndian", "ways"});
        const auto row = [](const char* name, int code, double value, const char* bigEndian, int ways) {
            QTest::newRow(name) << code << value << QByteArray::fromHex(bigEndian) << ways;
        };
        namespace H = HeaderDataType;
        row("Int8 keeps the low byte", H::Int8, 300.7, "2c", 2);
        row("Int16 keeps the low 16 bits", H::Int16, 70000, "1170", 2);
        row("Int32 lowest", H::Int32, -2147483648.0, "80000000", 3);
        row("IbmFloat negative", H::IbmFloat, -1.5, "c1180000", 3);
        row("IeeeFloat", H::IeeeFloat, 1.5, "3fc00000", 3);
        row("UInt16 above the signed range", H::UInt16, 60000, "ea60", 3);
        row("Int64 lowest", H::Int64, -0x1p63, "8000000000000000", 3);
        row("UInt32 keeps the low 32 bits", H::UInt32, 0x1p32 + 5, "00000005", 2);
        row("UInt64 highest reads as 2^64", H::UInt64, 0x1p64, "ffffffffffffffff", 3);
        row("IeeeDouble", H::IeeeDouble, -0.1, "bfb999999999999a", 3);
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

    void storageTypesDecideTheRoundTrip_data()
    {
        // form: 0: 32-bit integer, 1: float, 2: 64-bit float
        obrtest::columns<int, int, double, double>({"key", "form", "input", "expected"});
        const int fieldFile = TraceKey::FieldFile;
        const int sourceLocation = TraceKey::SourceLocation;
        const int sourceX = TraceKey::SourceX;
        QTest::newRow("integer key truncates toward zero") << fieldFile << 2 << -12.9 << -12.0;
        QTest::newRow("integer key keeps the low 32 bits") << fieldFile << 2 << 3.0e9 << -1294967296.0;
        QTest::newRow("float key from an integer rounds") << sourceLocation << 0 << 16777217.0 << 16777216.0;
        QTest::newRow("double key keeps 123456.78") << sourceX << 2 << 123456.78 << 123456.78;
        QTest::newRow("double key from a float") << sourceX << 1 << 0.1 << double(0.1f);
    }
    void storageTypesDecideTheRoundTrip()
    {
        const auto [key, form, input, expected] =
            obrtest::fetch<int, int, double, double>("key", "form", "input", "expected");
        const auto trace = SeismicTrace::create(0, 1.0f);
        if (form == 0)
            SeismicData::setValue(*trace, key, qint32(input));
        else if (form == 1)
            SeismicData::setValue(*trace, key, float(input));
        else
            SeismicData::setValue(*trace, key, input);
        OBR_COMPARE_EXACT(SeismicData::value(*trace, key), expected);
    }

    // Every stored key keeps its own value (Crossline shares Cmp's), and a key outside the table touches
    // none.
    void keysOutsideTheTable()
    {
        const auto trace = SeismicTrace::create(0, 1.0f);
        trace->filePosition = 3600;
        for (int k = 1; k < TraceKey::count; ++k)
            trace->setValue(k, k);
        // 0: the file position; 37: no storage
        for (int key : {0, 37, int(TraceKey::count), -1, 1 << 30}) {
            SeismicData::setValue(*trace, key, 99.0);
            SeismicData::setValue(*trace, key, qint32(99));
            QCOMPARE(SeismicData::value(*trace, key), 0.0);
        }
        QCOMPARE(trace->filePosition, qint64(3600));
        for (int k = 1; k < TraceKey::count; ++k) {
            const double expected = !TraceKey::isStored(k) ? 0.0 : k == TraceKey::Cmp ? 5.0 : k;
            QCOMPARE(trace->value(k), expected);
        }
    }

    void scalars()
    {
        // value, scalar, the value applied and removed; 1000005 / 100 is a division, not a reciprocal
        const std::tuple<double, int, double, double> rows[] = {{12.0, 10, 120.0, 1.2},
                                                                {12.5, 0, 12.5, 12.5},
                                                                {12.5, -1, 12.5, 12.5},
                                                                {1000005.0, -100, 10000.05, 100000500.0},
                                                                {32768.0, -32768, 1.0, 32768.0 * 32768}};
        for (const auto& [value, scalar, applied, removed] : rows) {
            OBR_COMPARE_EXACT(applyScalar(value, scalar), applied);
            OBR_COMPARE_EXACT(removeScalar(value, scalar), removed);
        }
    }
};

OBR_TEST_MAIN(TestHeaderDataType)
#include "tst_header_data_type.moc"
