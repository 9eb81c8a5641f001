#include "seismic/HeaderDataType.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <algorithm>
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
    void readsEveryType_data()
    {
        obrtest::columns<int, QByteArray, double>({"code", "bigEndian", "expected"});
        QTest::newRow("Int8 positive") << int(HeaderDataType::Int8) << QByteArray::fromHex("7f") << 127.0;
        QTest::newRow("Int8 negative") << int(HeaderDataType::Int8) << QByteArray::fromHex("fe") << -2.0;
        QTest::newRow("Int16") << int(HeaderDataType::Int16) << QByteArray::fromHex("0fa0") << 4000.0;
        QTest::newRow("Int16 negative")
            << int(HeaderDataType::Int16) << QByteArray::fromHex("ff9c") << -100.0;
        QTest::newRow("Int32") << int(HeaderDataType::Int32) << QByteArray::fromHex("00bc614e") << 12345678.0;
        QTest::newRow("Int32 negative")
            << int(HeaderDataType::Int32) << QByteArray::fromHex("80000000") << -2147483648.0;
        QTest::newRow("IbmFloat") << int(HeaderDataType::IbmFloat) << QByteArray::fromHex("42640000")
                                  << 100.0;
        QTest::newRow("IbmFloat negative")
            << int(HeaderDataType::IbmFloat) << QByteArray::fromHex("c1180000") << -1.5;
        QTest::newRow("IeeeFloat") << int(HeaderDataType::IeeeFloat) << QByteArray::fromHex("3fc00000")
                                   << 1.5;
        QTest::newRow("UInt16 above the signed range")
            << int(HeaderDataType::UInt16) << QByteArray::fromHex("ea60") << 60000.0;
        QTest::newRow("code 6 reads 0") << 6 << QByteArray::fromHex("7f7f7f7f") << 0.0;
        QTest::newRow("code -1 reads 0") << -1 << QByteArray::fromHex("7f7f7f7f") << 0.0;
    }
    void readsEveryType()
    {
        const auto [code, bigEndian, expected] =
            obrtest::fetch<int, QByteArray, double>("code", "bigEndian", "expected");
        // The same word at start byte 5 of a 240-byte header, in both byte orders.
        QByteArray header(240, '\x11');
        header.replace(4, bigEndian.size(), bigEndian);
        OBR_COMPARE_EXACT(
            HeaderDataType::readValue(header.constData(), header.size(), 5, code, bigEndianSwap), expected);
        QByteArray little(240, '\x11');
        little.replace(4, bigEndian.size(), reversed(bigEndian));
        OBR_COMPARE_EXACT(
            HeaderDataType::readValue(little.constData(), little.size(), 5, code, !bigEndianSwap), expected);
    }

    void writesEveryType_data()
    {
        // bigEndian: empty: nothing written
        obrtest::columns<int, double, QByteArray>({"code", "value", "bigEndian"});
        QTest::newRow("Int8 keeps the low byte")
            << int(HeaderDataType::Int8) << 300.7 << QByteArray::fromHex("2c");
        QTest::newRow("Int8 negative") << int(HeaderDataType::Int8) << -1.5 << QByteArray::fromHex("ff");
        QTest::newRow("Int16 truncates")
            << int(HeaderDataType::Int16) << -100.9 << QByteArray::fromHex("ff9c");
        QTest::newRow("Int16 keeps the low 16 bits")
            << int(HeaderDataType::Int16) << 70000.0 << QByteArray::fromHex("1170");
        QTest::newRow("Int32 truncates, not rounds")
            << int(HeaderDataType::Int32) << 1234.9 << QByteArray::fromHex("000004d2");
        QTest::newRow("Int32 negative")
            << int(HeaderDataType::Int32) << -12345678.5 << QByteArray::fromHex("ff439eb2");
        QTest::newRow("IbmFloat") << int(HeaderDataType::IbmFloat) << 100.0
                                  << QByteArray::fromHex("42640000");
        QTest::newRow("IbmFloat infinity")
            << int(HeaderDataType::IbmFloat) << -double(INFINITY) << QByteArray::fromHex("ffffffff");
        QTest::newRow("IeeeFloat") << int(HeaderDataType::IeeeFloat) << 1.5
                                   << QByteArray::fromHex("3fc00000");
        QTest::newRow("UInt16 writes nothing") << int(HeaderDataType::UInt16) << 5.0 << QByteArray();
        QTest::newRow("code 6 writes nothing") << 6 << 5.0 << QByteArray();
        QTest::newRow("code -3 writes nothing") << -3 << 5.0 << QByteArray();
    }
    void writesEveryType()
    {
        const auto [code, value, bigEndian] =
            obrtest::fetch<int, double, QByteArray>("code", "value", "bigEndian");
        for (bool swap : {bigEndianSwap, !bigEndianSwap}) {
            QByteArray header(240, '\x11');
            HeaderDataType::writeValue(header.data(), header.size(), 9, code, value, swap);
            QByteArray expected(240, '\x11');
            expected.replace(8, bigEndian.size(), swap == bigEndianSwap ? bigEndian : reversed(bigEndian));
            QCOMPARE(header.toHex(), expected.toHex());
            if (!bigEndian.isEmpty() && std::isfinite(value)) {
                // What was written reads back as the value converted to the type.
                const double back =
                    HeaderDataType::readValue(header.constData(), header.size(), 9, code, swap);
                QByteArray plain(4, '\0');
                HeaderDataType::writeValue(plain.data(), plain.size(), 1, code, back, swap);
                QCOMPARE(plain.left(bigEndian.size()), header.mid(8, bigEndian.size()));
            }
        }
    }

    void boundsNeverReadOrWriteOutside_data()
    {
        obrtest::columns<int, int, bool>({"startByte", "code", "inside"});
        QTest::newRow("Int32 at the last four bytes") << 237 << int(HeaderDataType::Int32) << true;
        QTest::newRow("Int32 one byte over the end") << 238 << int(HeaderDataType::Int32) << false;
        QTest::newRow("Int16 at the last two bytes") << 239 << int(HeaderDataType::Int16) << true;
        QTest::newRow("Int16 over the end") << 240 << int(HeaderDataType::Int16) << false;
        QTest::newRow("Int8 at the last byte") << 240 << int(HeaderDataType::Int8) << true;
        QTest::newRow("Int8 past the end") << 241 << int(HeaderDataType::Int8) << false;
        QTest::newRow("start byte 1") << 1 << int(HeaderDataType::Int32) << true;
        QTest::newRow("start byte 0") << 0 << int(HeaderDataType::Int8) << false;
        QTest::newRow("negative start byte") << -3 << int(HeaderDataType::Int32) << false;
        QTest::newRow("far beyond") << 2147483647 << int(HeaderDataType::Int32) << false;
    }
    void boundsNeverReadOrWriteOutside()
    {
        const auto [startByte, code, inside] = obrtest::fetch<int, int, bool>("startByte", "code", "inside");
        // Exactly 240 bytes on the heap, so the sanitizer sees any byte beyond them.
        const auto header = std::make_unique<char[]>(240);
        std::fill_n(header.get(), 240, char(0x01));
        const double read = HeaderDataType::readValue(header.get(), 240, startByte, code, bigEndianSwap);
        QCOMPARE(read != 0.0, inside);
        HeaderDataType::writeValue(header.get(), 240, startByte, code, 0.0, bigEndianSwap);
        const int zeros = int(std::count(header.get(), header.get() + 240, char(0)));
        QCOMPARE(zeros, inside ? HeaderDataType::size(code) : 0);
    }

    void randomPositionsStayInside()
    {
        // Field files put header words anywhere: any start byte, any code, any header length.
        std::mt19937 generator(4242u);
        for (int round = 0; round < 20000; ++round) {
            const int length = int(generator() % 64);
            const int startByte = int(generator() % 80) - 8;
            const int code = int(generator() % 9) - 1;
            const bool swap = generator() & 1;
            std::unique_ptr<char[]> header(new char[size_t(std::max(length, 1))]);
            std::fill_n(header.get(), length, char(0x33));
            const double before = HeaderDataType::readValue(header.get(), length, startByte, code, swap);
            HeaderDataType::writeValue(header.get(), length, startByte, code, -7.0, swap);
            const int size = HeaderDataType::size(code);
            const bool inside = size > 0 && startByte >= 1 && startByte - 1 + size <= length;
            QCOMPARE(before != 0.0, inside);
            const bool written = inside && code != HeaderDataType::UInt16;
            const int changed =
                int(std::count_if(header.get(), header.get() + length, [](char c) { return c != 0x33; }));
            QCOMPARE(changed, written ? size : 0);
            if (written)
                QCOMPARE(HeaderDataType::readValue(header.get(), length, startByte, code, swap), -7.0);
        }
    }

    void agreesWithSegyioOnRealFiles_data()
    {
        obrtest::columns<QString, bool>({"fileName", "littleEndian"});
        QTest::newRow("delay and scalars, big-endian") << "delay-scalar.sgy" << false;
        QTest::newRow("3-D data, big-endian") << "f3.sgy" << false;
        QTest::newRow("little-endian IBM") << "small-lsb.sgy" << true;
        QTest::newRow("little-endian 16-bit") << "format3-lsb.sgy" << true;
        QTest::newRow("shot gather, big-endian") << "shot-gather.sgy" << false;
        QTest::newRow("IBM, big-endian") << "format1-msb.sgy" << false;
    }
    void agreesWithSegyioOnRealFiles()
    {
        const auto [fileName, littleEndian] = obrtest::fetch<QString, bool>("fileName", "littleEndian");
        OBR_REQUIRE_REALDATA();
        QString reason;
        if (!segytest::peerAvailable(&reason))
            QSKIP(qPrintable(reason));
        const QString path = obrtest::realDataDir() + QStringLiteral("/segy/") + fileName;
        // The peer library lists every standard trace header word it knows, with its byte and value;
        // a word's size is the distance to the next word's byte.
        const QStringList lines =
            QString::fromLatin1(
                segytest::runPeer(
                    "import sys, segyio\n"
                    "with segyio.open(sys.argv[1], ignore_geometry=True, endian=sys.argv[2]) as f:\n"
                    "    size = {1: 4, 2: 4, 3: 2, 5: 4, 8: 1}[int(f.format)]\n"
                    "    print(3600 + 3200 * f.ext_headers, 240 + size * len(f.samples))\n"
                    "    for h in f.header:\n"
                    "        keys = sorted(int(k) for k in h.keys())\n"
                    "        print(' '.join('%d:%d:%d' % (k, n - k, h[k]) for k, n in zip(keys, keys[1:]) "
                    "if n - k in (2, 4)))\n",
                    {path, littleEndian ? "little" : "big"}))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 1);
        const qint64 dataStart = lines.first().section(' ', 0, 0).toLongLong();
        const qint64 traceLength = lines.first().section(' ', 1, 1).toLongLong();
        const QByteArray bytes = obrtest::readFile(path);
        const bool swap = littleEndian != (QSysInfo::ByteOrder == QSysInfo::LittleEndian);
        for (int trace = 1; trace < lines.size(); ++trace) {
            const QByteArray header = bytes.mid(dataStart + (trace - 1) * traceLength, 240);
            QStringList ours;
            for (const QString& word : lines[trace].split(QLatin1Char(' '))) {
                const int startByte = word.section(':', 0, 0).toInt();
                const int size = word.section(':', 1, 1).toInt();
                const int code = size == 2 ? HeaderDataType::Int16 : HeaderDataType::Int32;
                ours << QStringLiteral("%1:%2:%3")
                            .arg(startByte)
                            .arg(size)
                            .arg(HeaderDataType::readValue(header.constData(), header.size(), startByte, code,
                                                           swap),
                                 0, 'f', 0);
            }
            QCOMPARE(ours.join(' '), lines[trace]);
        }
    }
};

OBR_TEST_MAIN(TestHeaderDataType)
#include "tst_header_data_type.moc"
