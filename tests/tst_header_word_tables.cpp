#include "analyzers/HeaderWordTables.h"
#include "seismic/HeaderDataType.h"
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
        if (moved.contains(slot))
            return moved.value(slot);
        static const QMap<int, HeaderWordTables::Placement> standard{
            {0, {9, HeaderDataType::Int32}},   {1, {13, HeaderDataType::Int32}},
            {26, {37, HeaderDataType::Int32}}, {32, {69, HeaderDataType::Int16}},
            {33, {71, HeaderDataType::Int16}}, {24, {208, HeaderDataType::Int8}},
            {14, {57, HeaderDataType::Int32}}};
        return standard.value(slot, {0, -1});
    };
}

QByteArray headerWith(int startByte, int type, double value, bool swap)
{
    QByteArray header(240, '\0');
    HeaderDataType::writeValue(header.data(), header.size(), startByte, type, value, swap);
    return header;
}

} // namespace

class TestHeaderWordTables : public QObject {
    Q_OBJECT
private slots:
    void traceRow_data();
    void traceRow();
    void binaryRowsNameTheFormatWords();
};

void TestHeaderWordTables::traceRow_data()
{
    QTest::addColumn<TraceTable>("table");
    QTest::addColumn<int>("startByte");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("swap");
    QTest::addColumn<Moved>("moved");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("shown");
    using M = Moved;
    const int i32 = HeaderDataType::Int32;
    QTest::newRow("field file") << TraceTable::FourByte << 9 << i32 << 1234.0 << false << M() << "9 to 12"
                                << "Field file"
                                << "Integer"
                                << "1234";
    QTest::newRow("floating point row shows 2 decimals")
        << TraceTable::FourByte << 37 << i32 << 1234.0 << false << M() << "37 to 40"
        << "Offset"
        << "Floating Point"
        << "1234.00";
    QTest::newRow("little endian word")
        << TraceTable::FourByte << 13 << i32 << -7.0 << true << M() << "13 to 16"
        << "Channel"
        << "Integer"
        << "-7";
    QTest::newRow("source datum only in wide tables")
        << TraceTable::FourByte << 57 << i32 << 3.0 << false << M() << "57 to 60"
        << "Source datum"
        << "Floating Point"
        << "3.00";
    QTest::newRow("moved onto the field file: first name wins")
        << TraceTable::FourByte << 9 << i32 << 5.0 << false << M{{1, {9, i32}}} << "9 to 12"
        << "Field file"
        << "Integer"
        << "5";
    QTest::newRow("moved channel named at its new byte")
        << TraceTable::FourByte << 181 << i32 << 5.0 << false << M{{1, {181, i32}}} << "181 to 184"
        << "Channel"
        << "Integer"
        << "5";
    QTest::newRow("type must match the table")
        << TraceTable::TwoByte << 9 << int(HeaderDataType::Int16) << 5.0 << false << M() << "9 to 10"
        << ""
        << ""
        << "5";
    QTest::newRow("scalar in the 2-byte table")
        << TraceTable::TwoByte << 71 << int(HeaderDataType::Int16) << -100.0 << false << M() << "71 to 72"
        << "Coordinate scalar"
        << ""
        << "-100";
    QTest::newRow("receiver type byte")
        << TraceTable::OneByte << 208 << int(HeaderDataType::Int8) << -3.0 << false << M() << "208"
        << "Receiver type"
        << ""
        << "-3";
    QTest::newRow("IEEE 12.7 truncates") << TraceTable::IeeeFloat << 181 << int(HeaderDataType::IeeeFloat)
                                         << 12.7 << false << M() << "181 to 184"
                                         << ""
                                         << ""
                                         << "12";
    QTest::newRow("IEEE -12.7 truncates") << TraceTable::IeeeFloat << 181 << int(HeaderDataType::IeeeFloat)
                                          << -12.7 << false << M() << "181 to 184"
                                          << ""
                                          << ""
                                          << "-12";
    QTest::newRow("IBM -12.7 truncates, named")
        << TraceTable::IbmFloat << 181 << int(HeaderDataType::IbmFloat) << -12.7 << true
        << M{{5, {181, HeaderDataType::IbmFloat}}} << "181 to 184"
        << "CMP easting"
        << ""
        << "-12";
}

void TestHeaderWordTables::traceRow()
{
    QFETCH(TraceTable, table);
    QFETCH(int, startByte);
    QFETCH(int, type);
    QFETCH(double, value);
    QFETCH(bool, swap);
    QFETCH(Moved, moved);
    const QByteArray header = headerWith(startByte, type, value, swap);
    const auto rows =
        HeaderWordTables::traceRows(table, 240, {header, QByteArray(240, '\0')}, swap, placements(moved));
    const int bytes = HeaderDataType::size(type);
    QCOMPARE(rows.size(), 240 / bytes);
    const auto& row = rows[(startByte - 1) / bytes];
    QTEST(row.position, "position");
    QTEST(row.description, "description");
    QTEST(row.kind, "kind");
    QCOMPARE(row.values.size(), 2);
    QTEST(row.values.first(), "shown");
}

void TestHeaderWordTables::binaryRowsNameTheFormatWords()
{
    QByteArray header(400, '\0');
    HeaderDataType::writeValue(header.data(), header.size(), 17, HeaderDataType::Int16, 2000, true);
    HeaderDataType::writeValue(header.data(), header.size(), 21, HeaderDataType::Int32, 1500, true);
    const QVector<HeaderWordTables::BinaryWord> words{{"Sample Format", {25, HeaderDataType::Int16}},
                                                      {"Sample Interval", {17, HeaderDataType::Int16}},
                                                      {"Samples per trace", {21, HeaderDataType::Int32}}};
    const auto twoByte = HeaderWordTables::binaryRows(2, header, true, words);
    const auto fourByte = HeaderWordTables::binaryRows(4, header, true, words);
    QCOMPARE(twoByte.size(), 200);
    QCOMPARE(fourByte.size(), 100);
    QCOMPARE(twoByte[8].position, QStringLiteral("17 to 18"));
    QCOMPARE(twoByte[8].description, QStringLiteral("Sample Interval"));
    QCOMPARE(twoByte[8].values, QStringList{"2000"});
    QCOMPARE(twoByte[12].description, QStringLiteral("Sample Format"));
    // A 4-byte word is named in the 4-byte table only.
    QCOMPARE(twoByte[10].description, QString());
    QCOMPARE(fourByte[5].description, QStringLiteral("Samples per trace"));
    QCOMPARE(fourByte[5].values, QStringList{"1500"});
}

OBR_TEST_MAIN(TestHeaderWordTables)
#include "tst_header_word_tables.moc"
