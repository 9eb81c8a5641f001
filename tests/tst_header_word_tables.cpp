#include "analyzers/HeaderWordTables.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SegyFormat.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestMain.h"

#include <QMap>
#include <algorithm>

using HeaderWordTables::TraceTable;
Q_DECLARE_METATYPE(TraceTable)
Q_DECLARE_METATYPE(HeaderWordTables::Placement)
using Moved = QMap<int, HeaderWordTables::Placement>;
Q_DECLARE_METATYPE(Moved)

namespace {

// Key slots at the standard places of the field rows; overrides move some.
HeaderWordTables::SlotLookup placements(const Moved& moved)
{
    return [moved](int slot) -> HeaderWordTables::Placement {
        static const Moved standard{{0, {9, HeaderDataType::Int32}},
                                    {1, {13, HeaderDataType::Int32}},
                                    {26, {37, HeaderDataType::Int32}},
                                    {24, {208, HeaderDataType::Int8}}};
        return moved.value(slot, standard.value(slot, {0, -1}));
    };
}

// Files are big-endian; on this machine that means swapping.
const bool bigEndianSwap = QSysInfo::ByteOrder == QSysInfo::LittleEndian;

// A trace record's header that holds trace header extension 1, big-endian, by the byte layout of
// SEG-Y revision 2: extension byte k is record byte 240 + k.
QByteArray extendedHeader()
{
    QByteArray header(480, '\0');
    const auto put = [&](int startByte, const char* hex) {
        const QByteArray bytes = QByteArray::fromHex(hex);
        header.replace(startByte - 1, bytes.size(), bytes);
    };
    put(241, "8000000000000001"); // trace in line, beyond 2^63 and 2^53
    put(249, "0000000000000102");
    put(337, "4124f80100000000");
    put(409, "fff0000000000000");
    put(473, "5345473030303031"); // "SEG00001"
    return header;
}

} // namespace

class TestHeaderWordTables : public QObject {
    Q_OBJECT
private slots:
    void traceRow_data()
    {
        obrtest::columns<TraceTable, int, int, double, bool, Moved, QStringList>(
            {"table", "startByte", "type", "value", "swap", "moved", "row"});
        // The row: position, description, kind, value shown.
        const auto row = [](const char* name, TraceTable table, int startByte, int type, double value,
                            const char* shown, bool swap = false, const Moved& moved = {}) {
            QTest::newRow(name) << table << startByte << type << value << swap << moved
                                << QString::fromUtf8(shown).split(QLatin1Char('|'));
        };
        const int i32 = HeaderDataType::Int32, i16 = HeaderDataType::Int16;
        const int ieee = HeaderDataType::IeeeFloat, ibm = HeaderDataType::IbmFloat;
        row("field file", TraceTable::FourByte, 9, i32, 1234, "9 to 12|Field file|Integer|1234");
        row("moved onto the field file: first name wins", TraceTable::FourByte, 9, i32, 5,
            "9 to 12|Field file|Integer|5", false, {{1, {9, i32}}});
        row("type must match the table", TraceTable::TwoByte, 9, i16, 5, "9 to 10|||5");
        row("receiver type byte", TraceTable::OneByte, 208, HeaderDataType::Int8, -3,
            "208|Receiver type||-3");
        row("IEEE -12.7 truncates", TraceTable::IeeeFloat, 181, ieee, -12.7, "181 to 184|||-12");
        row("IBM -12.7 truncates, named", TraceTable::IbmFloat, 181, ibm, -12.7,
            "181 to 184|CMP easting||-12", true, {{5, {181, ibm}}});
    }
    void traceRow()
    {
        const auto [table, startByte, type, value, swap, moved, expected] =
            obrtest::fetch<TraceTable, int, int, double, bool, Moved, QStringList>(
                "table", "startByte", "type", "value", "swap", "moved", "row");
        QByteArray header(240, '\0');
        HeaderDataType::writeValue(header.data(), header.size(), startByte, type, value, swap);
        const auto rows =
            HeaderWordTables::traceRows(table, 240, {header, QByteArray(240, '\0')}, swap, placements(moved));
        const int bytes = HeaderDataType::size(type);
        QCOMPARE(rows.size(), 240 / bytes);
        const auto& row = rows[(startByte - 1) / bytes];
        QCOMPARE(row.values.size(), 2);
        QCOMPARE(QStringList({row.position, row.description, row.kind, row.values.first()}), expected);
    }

    void extensionRows_data()
    {
        obrtest::columns<int, QStringList>({"startByte", "row"});
        // The row: position, kind, the value of the extended header.
        const auto row = [](int startByte, const char* shown) {
            QTest::newRow(shown) << startByte << QString::fromUtf8(shown).split(QLatin1Char('|'));
        };
        row(241, "241 to 248|8-byte unsigned|9223372036854775808");
        row(337, "337 to 344|IEEE Double|687104.5");
    }
    void extensionRows()
    {
        const auto [startByte, expected] = obrtest::fetch<int, QStringList>("startByte", "row");
        const auto rows = HeaderWordTables::extensionRows(
            {extendedHeader(), extendedHeader().left(240), QByteArray(240, '\0')}, bigEndianSwap);
        QCOMPARE(rows.size(), SegyFormat::extensionOneHeaderWords().size());
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const HeaderWordTables::Row& candidate) {
            return candidate.position.startsWith(QString::number(startByte) + QLatin1Char(' '));
        });
        QVERIFY(row != rows.end());
        QVERIFY(!row->description.isEmpty());
        QCOMPARE(QStringList({row->position, row->kind, row->values.value(0)}), expected);
        // The standard trace header alone holds no extension words.
        QCOMPARE(row->values.mid(1), QStringList({QString(), QString()}));
    }

    // The extension is there when the header reaches byte 480 and names it "SEG00001".
    void extensionOneIsNamed_data()
    {
        obrtest::columns<QByteArray, bool>({"header", "holds"});
        const QByteArray extended = extendedHeader();
        QTest::newRow("480 bytes, ASCII name") << extended << true;
        QTest::newRow("EBCDIC name") << QByteArray(extended).replace(472, 8,
                                                                     QByteArray::fromHex("e2c5c7f0f0f0f0f1"))
                                     << true;
        QTest::newRow("another name") << QByteArray(extended).replace(479, 1, "2") << false;
        QTest::newRow("cut off before its last byte") << extended.left(479) << false;
    }
    void extensionOneIsNamed()
    {
        const auto [header, holds] = obrtest::fetch<QByteArray, bool>("header", "holds");
        QCOMPARE(HeaderWordTables::anyExtensionOne({QByteArray(240, '\0'), header}), holds);
        const auto rows = HeaderWordTables::extensionRows({header}, bigEndianSwap);
        QCOMPARE(rows[1].values, QStringList(holds ? QStringLiteral("258") : QString()));
    }
};

OBR_TEST_MAIN(TestHeaderWordTables)
#include "tst_header_word_tables.moc"
