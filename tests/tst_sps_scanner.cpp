#include "sps/SpsLines.h"
#include "sps/SpsRevision21.h"
#include "sps/SpsScanner.h"
#include "sps/SpsValue.h"
#include "tests/support/DataTable.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(SpsConversion)

namespace {

// A header line and two source points in the built-in columns, with blank depth and water depth.
const QStringList sourceFile{
    QStringLiteral("H00 SPS format version number    SPS001"),
    QStringLiteral("S            1001    10111AB  11       0 2        100.0 5000000.0  10.5001120000"),
    QStringLiteral("S            1001    10211AB  11       0 2        250.5 5000010.0  20.0001120001"),
};

SpsLines linesOf(const QStringList& text)
{
    SpsLines lines;
    if (!lines.setText(spstest::text(text)))
        qFatal("lines refused");
    return lines;
}

int field(const SpsLayout& layout, const char* name)
{
    return layout.fieldByName(QLatin1String(name));
}

// "min..max" as the analyzers show them, or "" without a data line.
QString shown(const SpsLayout& layout, int index, const SpsFieldRange& range)
{
    if (!range.hasValues())
        return QString();
    const SpsConversion conversion = layout.conversion(index);
    return SpsValue::text(conversion, range.minimum) + QStringLiteral("..") +
           SpsValue::text(conversion, range.maximum);
}

} // namespace

class TestSpsScanner : public QObject {
    Q_OBJECT
private slots:
    void lineSplitting_data()
    {
        obrtest::columns<QByteArray, QStringList>({"text", "lines"});
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("one empty line") << QByteArray("\n") << QStringList{""};
        QTest::newRow("no final line feed") << QByteArray("ab\ncd") << QStringList{"ab", "cd"};
        QTest::newRow("carriage returns before line feeds")
            << QByteArray("ab\r\n\r\ncd\r\n") << QStringList{"ab", "", "cd"};
        QTest::newRow("lone carriage return stays") << QByteArray("a\rb\n") << QStringList{"a\rb"};
    }
    void lineSplitting()
    {
        const auto [text, expected] = obrtest::fetch<QByteArray, QStringList>("text", "lines");
        SpsLines lines;
        QVERIFY(lines.setText(text));
        QStringList got;
        for (int index = 0; index < lines.count(); ++index)
            got << QString::fromLatin1(lines.line(index).data(), int(lines.line(index).size()));
        QCOMPARE(got, expected);
    }

    void dataLines_data()
    {
        obrtest::columns<bool, int, int, int>({"readPointId", "idEnd", "firstLine", "count"});
        QTest::newRow("letter in column 1") << true << 1 << 1 << 3;
        QTest::newRow("letter alone in columns 1-2") << true << 2 << 1 << 1;
        QTest::newRow("every line from the first") << false << 1 << 1 << 6;
        QTest::newRow("from line 3") << false << 1 << 3 << 4;
        QTest::newRow("first line 0 reads all") << false << 1 << 0 << 6;
        QTest::newRow("first line beyond the end") << false << 1 << 99 << 0;
    }
    void dataLines()
    {
        const auto [readPointId, idEnd, firstLine, count] =
            obrtest::fetch<bool, int, int, int>("readPointId", "idEnd", "firstLine", "count");
        const SpsLines lines = linesOf({"H00 header", "S  1", "s  2", "SS 3", "", "S"});
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        layout.setReadPointId(readPointId);
        layout.setColumns(SpsLayout::pointIdField, {1, idEnd});
        layout.setFirstLine(firstLine);
        QCOMPARE(SpsScanner(lines).dataLines(layout), qint64(count));
    }

    void conversions_data()
    {
        obrtest::columns<SpsConversion, QByteArray, double, QString>(
            {"conversion", "text", "value", "shown"});
        const auto row = [](const char* name, SpsConversion conversion, const char* text, double value,
                            const char* shown) {
            QTest::newRow(name) << conversion << QByteArray(text) << value << shown;
        };
        using C = SpsConversion;
        row("line number", C::TruncatedFloat, "    100.00", 100, "100");
        row("negative float truncated toward zero", C::TruncatedFloat, "  -12.9", -12, "-12");
        row("single precision before truncation", C::TruncatedFloat, "5540665.8", 5540666, "5540666");
        row("float beyond 32 bits held", C::TruncatedFloat, "1e12", 2147483647, "2147483647");
        row("float beyond single precision", C::TruncatedFloat, "1e39", 0, "0");
        row("integer", C::Integer, " 121", 121, "121");
        row("integer with plus", C::Integer, "+7", 7, "7");
        row("integer with a point", C::Integer, "12.5", 0, "0");
        row("integer beyond 32 bits", C::Integer, "99999999999", 0, "0");
        row("integer with inner blank", C::Integer, "1 2", 0, "0");
        row("blank", C::Integer, "    ", 0, "0");
        row("coordinate", C::Fixed, " 338931.7", 338931.7, "338931.7");
        row("coordinate without decimals", C::Fixed, "5", 5, "5.0");
        row("coordinate rounded to one decimal", C::Fixed, "7.86", 7.86, "7.9");
        row("static", C::General, "16.0", 16, "16");
        row("datum in six digits", C::General, "1234567", 1234567, "1.23457e+06");
        row("exponent", C::General, "-2.5E2", -250, "-250");
        row("spelt infinity", C::General, "inf", 0, "0");
        row("not a number", C::Fixed, "nan", 0, "0.0");
        row("letters", C::Fixed, "12ab", 0, "0.0");
        row("two signs", C::General, "+-3", 0, "0");
    }
    void conversions()
    {
        const auto [conversion, text, value, expected] =
            obrtest::fetch<SpsConversion, QByteArray, double, QString>("conversion", "text", "value",
                                                                       "shown");
        const double converted =
            SpsValue::convert(conversion, std::string_view(text.constData(), size_t(text.size())));
        QCOMPARE(converted, value);
        QCOMPARE(SpsValue::text(conversion, converted), expected);
    }

    void headerLinesCountOnlyWithoutReadPointId_data()
    {
        obrtest::columns<bool, int, QString>({"readPointId", "firstLine", "elevation"});
        QTest::newRow("header skipped by letter") << true << 1 << "10.5..20.0";
        QTest::newRow("header counted as 0") << false << 1 << "0.0..20.0";
        QTest::newRow("header skipped by first line") << false << 2 << "10.5..20.0";
    }
    void headerLinesCountOnlyWithoutReadPointId()
    {
        const auto [readPointId, firstLine, elevation] =
            obrtest::fetch<bool, int, QString>("readPointId", "firstLine", "elevation");
        const SpsLines lines = linesOf(sourceFile);
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        layout.setReadPointId(readPointId);
        layout.setFirstLine(firstLine);
        const int index = field(layout, "Surface elevation");
        QCOMPARE(shown(layout, index, SpsScanner(lines).field(layout, index)), elevation);
    }

    void rangesOfTheFields()
    {
        const SpsLines lines = linesOf(sourceFile);
        const SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        const auto ranges = SpsScanner(lines).all(layout);
        QStringList got;
        for (int index = 0; index < SpsLayout::fieldCount; ++index) {
            got << shown(layout, index, ranges[size_t(index)]);
            // One field alone gives what the pass over all gives.
            const SpsFieldRange single = SpsScanner(lines).field(layout, index);
            QCOMPARE(shown(layout, index, single), got.last());
        }
        // Codes have no range; blank water depth columns give 0.
        QCOMPARE(got, QStringList({"", "1001..1001", "1011..1021", "1..1", "", "11..11", "0.0..0.0", "0..0",
                                   "2..2", "0.0..0.0", "100.0..250.5", "5000000.0..5000010.0", "10.5..20.0",
                                   "1..1", "120000..120001"}));
    }

    void noDataLineLeavesEveryRangeEmpty()
    {
        const SpsLines lines = linesOf(sourceFile);
        for (const SpsFieldRange& range : SpsScanner(lines).all(SpsLayout::defaults(SpsKind::Receiver)))
            QVERIFY(!range.hasValues());
    }

    void fieldText_data()
    {
        obrtest::columns<int, int, QByteArray>({"start", "end", "text"});
        QTest::newRow("inside") << 2 << 4 << QByteArray("bcd");
        QTest::newRow("cut at the line end") << 5 << 9 << QByteArray("ef");
        QTest::newRow("start beyond the line") << 7 << 9 << QByteArray();
        QTest::newRow("end before start") << 4 << 2 << QByteArray();
        QTest::newRow("start below 1") << -3 << 2 << QByteArray("ab");
    }
    void fieldText()
    {
        const auto [start, end, expected] = obrtest::fetch<int, int, QByteArray>("start", "end", "text");
        const std::string_view text = SpsScanner::fieldText("abcdef", {start, end});
        QCOMPARE(QByteArray(text.data(), int(text.size())), expected);
    }

    void badInput_data()
    {
        // lines: how many lines the file holds
        obrtest::columns<QByteArray, int>({"content", "lines"});
        QByteArray random(65536, '\0');
        QRandomGenerator generator(6);
        for (char& byte : random)
            byte = char(generator.bounded(256));
        QTest::newRow("binary") << random << int(random.count('\n') + (random.endsWith('\n') ? 0 : 1));
        QTest::newRow("one line of 4 MB") << QByteArray(4 << 20, 'X') << 1;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("only line feeds") << QByteArray(1000, '\n') << 1000;
    }
    void badInput()
    {
        const auto [content, count] = obrtest::fetch<QByteArray, int>("content", "lines");
        const QString path = work.filePath(QStringLiteral("bad.sps"));
        QVERIFY(obrtest::writeFile(path, content));
        SpsLines lines;
        QVERIFY(lines.read(path));
        QCOMPARE(lines.count(), count);
        SpsLayout layout = SpsLayout::defaults(SpsKind::Relation);
        layout.setReadPointId(false);
        for (const SpsFieldRange& range : SpsScanner(lines).all(layout))
            QVERIFY(range.lines == 0 || range.lines == count);
        // Columns beyond every line give 0 for each data line.
        layout.setColumns(field(layout, "Tape"), {200, 210});
        if (count > 0 && content.size() < (1 << 20)) {
            const SpsFieldRange tape = SpsScanner(lines).field(layout, field(layout, "Tape"));
            QCOMPARE(QString::number(tape.minimum) + ".." + QString::number(tape.maximum),
                     QStringLiteral("0..0"));
        }
        QVERIFY(!SpsRevision21::declaredBy(lines));
    }

    void filesThatCannotBeHeld()
    {
        SpsLines lines;
        QVERIFY(!lines.read(work.filePath(QStringLiteral("missing.sps"))));
        QVERIFY(lines.errorString().contains(QStringLiteral("missing.sps")));
        QVERIFY(!lines.read(work.path()));
        QVERIFY(lines.setText("S 1\n"));
        QVERIFY(!lines.setText(QByteArray(SpsLines::maximumLineCount + 1, '\n')));
        QCOMPARE(lines.errorString(), QStringLiteral("more than 20000000 lines"));
        QCOMPARE(lines.count(), 0);
    }

    void revision21_data()
    {
        obrtest::columns<QStringList, bool>({"text", "declared"});
        QTest::newRow("2.1 header") << QStringList{"H00 SPS format version number    SPS 2.1"} << true;
        QTest::newRow("after comments")
            << QStringList{"C one", "H00 SPS format version number SPS V2.1"} << true;
        QTest::newRow("revision 1 header") << QStringList{"H00 SPS format version number    SPS001"} << false;
        QTest::newRow("2.1 elsewhere") << QStringList{"H01 survey 2.1", "S    100.00"} << false;
        QTest::newRow("no header") << QStringList{"S    100.00"} << false;
    }
    void revision21()
    {
        const auto [text, declared] = obrtest::fetch<QStringList, bool>("text", "declared");
        QCOMPARE(SpsRevision21::declaredBy(linesOf(text)), declared);
    }

    void revision21LayoutInForce()
    {
        for (SpsKind kind : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
            SpsLayout layout = SpsLayout::revision21(kind);
            QVERIFY(SpsRevision21::inForce(layout));
            QVERIFY(!SpsRevision21::inForce(SpsLayout::defaults(kind)));
            // Load flags and the first line are no part of the columns.
            layout.setFirstLine(4);
            layout.setLoad(3, false);
            QVERIFY(SpsRevision21::inForce(layout));
            layout.setColumns(3, {23, 24});
            QVERIFY(!SpsRevision21::inForce(layout));
        }
    }

private:
    QTemporaryDir work;
};

OBR_TEST_MAIN(TestSpsScanner)
#include "tst_sps_scanner.moc"
