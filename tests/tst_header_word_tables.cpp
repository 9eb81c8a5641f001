#include "analyzers/HeaderWordTables.h"
#include "seismic/HeaderDataType.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestMain.h"

#include <QMap>

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
        row("floating point row shows 2 decimals", TraceTable::FourByte, 37, i32, 1234,
            "37 to 40|Offset|Floating Point|1234.00");
        row("moved onto the field file: first name wins", TraceTable::FourByte, 9, i32, 5,
            "9 to 12|Field file|Integer|5", false, {{1, {9, i32}}});
        row("moved channel named at its new byte", TraceTable::FourByte, 181, i32, 5,
            "181 to 184|Channel|Integer|5", false, {{1, {181, i32}}});
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

    void binaryRowsNameTheFormatWords()
    {
        QByteArray header(400, '\0');
        HeaderDataType::writeValue(header.data(), header.size(), 17, HeaderDataType::Int16, 2000, true);
        HeaderDataType::writeValue(header.data(), header.size(), 21, HeaderDataType::Int32, 1500, true);
        const QVector<HeaderWordTables::BinaryWord> words{{"Sample Interval", {17, HeaderDataType::Int16}},
                                                          {"Samples per trace", {21, HeaderDataType::Int32}}};
        const auto twoByte = HeaderWordTables::binaryRows(2, header, true, words);
        const auto fourByte = HeaderWordTables::binaryRows(4, header, true, words);
        QCOMPARE(fourByte.size(), 100);
        QCOMPARE(QStringList({twoByte[8].position, twoByte[8].description, twoByte[8].values.join(' ')}),
                 QStringList({"17 to 18", "Sample Interval", "2000"}));
        // A 4-byte word is named in the 4-byte table only.
        QCOMPARE(twoByte[10].description, QString());
        QCOMPARE(fourByte[5].description, QStringLiteral("Samples per trace"));
        QCOMPARE(fourByte[5].values, QStringList{"1500"});
    }
};

OBR_TEST_MAIN(TestHeaderWordTables)
#include "tst_header_word_tables.moc"
