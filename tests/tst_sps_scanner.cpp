#include "base/WorkingRoot.h"
#include "sps/SpsFormatFile.h"
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

QString userDefault(SpsKind kind)
{
    return SpsFormatFile(SpsFormatFile::userDefaultBase(kind), kind).path();
}

QByteArray pointDocument(const QString& fields)
{
    return spstest::formatDocument("SpsPointFormat", "<PointRecord>" + fields + "</PointRecord>");
}

QString field(const char* name, int start, int end)
{
    return QStringLiteral(R"(<PointField Name="%1" Load="true" StartColumn="%2" EndColumn="%3"/>)")
        .arg(QLatin1String(name))
        .arg(start)
        .arg(end);
}

} // namespace

// SPS files: their lines, the ranges of their fields and the format files of their column layouts.
class TestSpsScanner : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QDir(WorkingRoot::path()).removeRecursively();
        QVERIFY(WorkingRoot::create());
        QDir(dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir.path()));
    }

    void linesEndAtLineFeedsWithOrWithoutCarriageReturns()
    {
        const SpsLines lines = linesOf({"ab\r", "\r", "cd"});
        QStringList got;
        for (int index = 0; index < lines.count(); ++index)
            got << QString::fromLatin1(lines.line(index).data(), int(lines.line(index).size()));
        QCOMPARE(got, QStringList({"ab", "", "cd"}));
    }

    void dataLines()
    {
        const SpsLines lines = linesOf({"H00 header", "S  1", "s  2", "SS 3", "", "S"});
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        // A letter that begins a word, or stands alone, holds no record.
        QCOMPARE(SpsScanner(lines).dataLines(layout), qint64(1));
        layout.setColumns(SpsLayout::pointIdField, {1, 2});
        QCOMPARE(SpsScanner(lines).dataLines(layout), qint64(0));
        layout.setReadPointId(false);
        layout.setFirstLine(99);
        QCOMPARE(SpsScanner(lines).dataLines(layout), qint64(0));
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
        row("negative float truncated toward zero", C::TruncatedFloat, "  -12.9", -12, "-12");
        row("single precision before truncation", C::TruncatedFloat, "5540665.8", 5540666, "5540666");
        row("float beyond 32 bits held", C::TruncatedFloat, "1e12", 2147483647, "2147483647");
        row("integer with a point", C::Integer, "12.5", 0, "0");
        row("integer beyond 32 bits", C::Integer, "99999999999", 0, "0");
        row("coordinate rounded to one decimal", C::Fixed, "7.86", 7.86, "7.9");
        row("datum in six digits", C::General, "1234567", 1234567, "1.23457e+06");
        row("spelt infinity", C::General, "inf", 0, "0");
        row("letters", C::Fixed, "12ab", 0, "0.0");
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

    void headerLinesCountOnlyWithoutReadPointId()
    {
        const SpsLines lines = linesOf(spstest::sourceLines());
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        const int index = field(layout, "Surface elevation");
        // read point ID, first line, the elevation's range
        const std::tuple<bool, int, QString> cases[]{
            {true, 1, "10.5..20.0"}, {false, 1, "10.5..20.0"}, {false, 2, "10.5..20.0"}};
        for (const auto& [readPointId, firstLine, elevation] : cases) {
            layout.setReadPointId(readPointId);
            layout.setFirstLine(firstLine);
            QCOMPARE(shown(layout, index, SpsScanner(lines).field(layout, index)), elevation);
        }
    }

    void rangesOfTheFields()
    {
        const SpsLines lines = linesOf(spstest::sourceLines());
        const SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        const auto ranges = SpsScanner(lines).all(layout);
        QStringList got;
        for (int index = 0; index < SpsLayout::fieldCount; ++index) {
            got << shown(layout, index, ranges[size_t(index)]);
            // One field alone gives what the pass over all gives.
            const SpsFieldRange single = SpsScanner(lines).field(layout, index);
            QCOMPARE(shown(layout, index, single), got.last());
        }
        // Codes have no range; blank depth and water depth columns are missing, no 0.
        QCOMPARE(got, QStringList({"", "1001..1001", "1011..1021", "1..1", "", "11..11", "", "0..0", "2..2",
                                   "", "100.0..250.5", "5000000.0..5000010.0", "10.5..20.0", "1..1",
                                   "120000..120001"}));
        // No receiver line: every range stays empty.
        for (const SpsFieldRange& range : SpsScanner(lines).all(SpsLayout::defaults(SpsKind::Receiver)))
            QVERIFY(!range.hasValues());
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
            QVERIFY(range.lines <= count);
        // Columns beyond every line are missing in each record.
        layout.setColumns(field(layout, "Tape"), {200, 210});
        if (count > 0 && content.size() < (1 << 20))
            QVERIFY(!SpsScanner(lines).field(layout, field(layout, "Tape")).hasValues());
        QVERIFY(!SpsRevision21::declaredBy(lines));
    }

    void filesThatCannotBeHeld()
    {
        SpsLines lines;
        QVERIFY(!lines.read(work.filePath(QStringLiteral("missing.sps"))));
        QVERIFY(lines.errorString().contains(QStringLiteral("missing.sps")));
        QVERIFY(lines.setText("S 1\n"));
        QVERIFY(!lines.setText(QByteArray(SpsLines::maximumLineCount + 1, '\n')));
        QCOMPARE(lines.count(), 0);
    }

    void revision21()
    {
        QVERIFY(SpsRevision21::declaredBy(linesOf({"C one", "H00 SPS format version number SPS V2.1"})));
        QVERIFY(!SpsRevision21::declaredBy(linesOf(spstest::sourceLines())));
        QVERIFY(!SpsRevision21::declaredBy(linesOf({"H01 survey 2.1", "S    100.00"})));
        for (SpsKind kind : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
            SpsLayout layout = SpsLayout::revision21(kind);
            QVERIFY(SpsRevision21::inForce(layout));
            QVERIFY(!SpsRevision21::inForce(SpsLayout::defaults(kind)));
            // Load flags are no part of the columns.
            layout.setLoad(3, false);
            QVERIFY(SpsRevision21::inForce(layout));
            layout.setColumns(3, {23, 24});
            QVERIFY(!SpsRevision21::inForce(layout));
        }
    }

    void fieldElements_data()
    {
        // result: the one field the element changes, its columns and "+" when loaded ("" for none);
        // the layout read over has the easting unloaded and Point ID's flag off, so a true flag shows.
        obrtest::columns<QString, QString>({"attributes", "result"});
        const auto row = [](const char* name, const char* attributes, const char* result) {
            QTest::newRow(name) << attributes << result;
        };
        row("other order, read by name",
            R"(EndColumn="57" Load="true" Name="Point easting" StartColumn="48")", "Point easting 48-57 +");
        row("older form: loaded", R"(Name="Point easting" StartColumn="48" EndColumn="57")",
            "Point easting 48-57 +");
        row("no names: three by position", R"(a="Point easting" b="48" c="57")", "Point easting 48-57 +");
        row("two attributes: ignored", R"(Name="Point easting" StartColumn="48")", "");
        row("unknown name: ignored", R"(Name="point easting" Load="true" StartColumn="48" EndColumn="57")",
            "");
    }
    void fieldElements()
    {
        const auto [attributes, result] = obrtest::fetch<QString, QString>("attributes", "result");
        SpsLayout layout = SpsLayout::defaults(SpsKind::Receiver);
        layout.setLoad(layout.fieldByName(QStringLiteral("Point easting")), false);
        layout.setReadPointId(false);
        SpsLayout expected = layout;
        if (!result.isEmpty()) {
            const int index = expected.fieldByName(result.section(' ', 0, -3));
            const QStringList columns = result.section(' ', -2, -2).split('-');
            expected.setColumns(index, {columns[0].toInt(), columns[1].toInt()});
            expected.setLoad(index, result.endsWith('+'));
        }
        const QString path = dir.filePath(QStringLiteral("hand.fmt"));
        QVERIFY(obrtest::writeFile(path, pointDocument("<PointField " + attributes + "/>")));
        SpsFormatFile file(dir.filePath(QStringLiteral("hand")), SpsKind::Receiver);
        QCOMPARE(file.read(path, layout), SpsFormatFile::Layer::Read);
        QCOMPARE(spstest::describe(layout), spstest::describe(expected));
    }

    void wrongRootIsRefusedAndTheOwnFileThenNotRead()
    {
        QVERIFY(obrtest::writeFile(userDefault(SpsKind::Source),
                                   spstest::formatDocument("SpsRelationFormat", "")));
        QVERIFY(
            obrtest::writeFile(dir.filePath("LINE1.S.fmt"), pointDocument(field("Point easting", 48, 57))));
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        SpsFormatFile file(dir.filePath(QStringLiteral("LINE1.S")), SpsKind::Source);
        QVERIFY(!file.load(layout));
        QCOMPARE(file.ownLayer(), SpsFormatFile::Layer::Absent);
        QCOMPARE(spstest::describe(layout), spstest::describe(SpsLayout::defaults(SpsKind::Source)));
    }

    void brokenDocumentKeepsWhatWasReadAndCountsAsRead()
    {
        const QByteArray whole =
            pointDocument(field("Point easting", 48, 57) + field("Point northing", 60, 69));
        QByteArray random(4096, '\0');
        QRandomGenerator generator(13);
        for (char& byte : random)
            byte = char(generator.bounded(256));
        // A document cut after the easting, random bytes, nothing: the easting's start column after each.
        const std::pair<QByteArray, int> cases[]{
            {whole.left(whole.indexOf("<PointField Name=\"Point northing\"") + 20), 48},
            {random, 47},
            {"", 47}};
        for (const auto& [document, eastingStart] : cases) {
            QVERIFY(obrtest::writeFile(dir.filePath("LINE1.S.fmt"), document));
            SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
            SpsFormatFile file(dir.filePath(QStringLiteral("LINE1.S")), SpsKind::Source);
            QVERIFY(file.load(layout));
            QCOMPARE(layout.columns(layout.fieldByName("Point easting")).start, eastingStart);
            QCOMPARE(layout.columns(layout.fieldByName("Point northing")).start, 56);
            QVERIFY(!file.errorString().isEmpty());
        }
    }

    void writeThenReadGivesTheSameLayout()
    {
        for (SpsKind kind : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
            SpsLayout layout = SpsLayout::defaults(kind);
            layout.setFirstLine(7);
            layout.setReadPointId(false);
            for (int field = 1; field < SpsLayout::fieldCount; ++field) {
                layout.setColumns(field, {field * 3, field * 3 + field % 4});
                // Every other flag off, the stored order of the point flags differing from the fields'.
                layout.setLoad(field, field % 2 == 0);
            }
            const QString base = dir.filePath(QStringLiteral("round"));
            QVERIFY(SpsFormatFile(base, kind).write(layout, QStringLiteral("crew")));
            SpsLayout read = SpsLayout::defaults(kind);
            SpsFormatFile in(base, kind);
            QVERIFY(in.load(read));
            QCOMPARE(spstest::describe(read), spstest::describe(layout));
            QCOMPARE(in.description(), QStringLiteral("crew"));
        }
    }

private:
    QTemporaryDir work;
    QDir dir{work.filePath(QStringLiteral("survey"))};
};

OBR_TEST_MAIN(TestSpsScanner)
#include "tst_sps_scanner.moc"
