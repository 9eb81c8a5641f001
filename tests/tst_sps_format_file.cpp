#include "base/WorkingRoot.h"
#include "sps/SpsFormatFile.h"
#include "tests/support/DataTable.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

const QString pointDefaults = QStringLiteral(
    "first 1; Point ID 1-1 +; Line name 2-17 +; Point number 18-25 +; Point index 26-26 +; "
    "Point code 27-28 +; Static time 29-32 +; Point depth 33-36 +; Seismic datum 37-40 +; Uphole time 41-42 "
    "+; "
    "Water depth 43-46 +; Point easting 47-55 +; Point northing 56-65 +; Surface elevation 66-71 +; "
    "Day of year 72-74 +; Time of day 75-80 +");
const QString relationDefaults = QStringLiteral(
    "first 1; Point ID 1-1 +; Tape 2-7 +; Record number 8-11 +; Record increment 12-12 +; "
    "Instrument code 13-13 +; Source line 14-29 +; Source location 30-37 +; Source index 38-38 +; "
    "From channel 39-42 +; To channel 43-46 +; Channel increment 47-47 +; Receiver line 48-63 +; "
    "From receiver 64-71 +; To receiver 72-79 +; Receiver index 80-80 -");

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

class TestSpsFormatFile : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QDir(WorkingRoot::path()).removeRecursively();
        QVERIFY(WorkingRoot::create());
        QDir(dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir.path()));
    }

    void defaults()
    {
        // With no user default and no file of its own the built-in layout stays.
        for (SpsKind kind : {SpsKind::Source, SpsKind::Receiver, SpsKind::Relation}) {
            SpsLayout layout = SpsLayout::defaults(kind);
            SpsFormatFile file(dir.filePath(QStringLiteral("LINE1")), kind);
            QVERIFY(!file.load(layout));
            QCOMPARE(spstest::describe(layout), kind == SpsKind::Relation ? relationDefaults : pointDefaults);
            QVERIFY(layout.readPointId());
        }
    }

    void missingDefaultMakesItsFolderOnlyInTheWorkingRoot()
    {
        QVERIFY(QDir(WorkingRoot::path() + QStringLiteral("/AuxiliaryFormat")).removeRecursively());
        QVERIFY(QDir::setCurrent(dir.path()));
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        SpsFormatFile file(dir.filePath(QStringLiteral("LINE1")), SpsKind::Source);
        QVERIFY(!file.load(layout));
        QVERIFY(QFileInfo(WorkingRoot::path() + QStringLiteral("/AuxiliaryFormat")).isDir());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("AuxiliaryFormat"))));
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
        QCOMPARE(file.errorString(), QString());
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
        QCOMPARE(file.errorString(), QStringLiteral("This is not a SPS format file"));
        QCOMPARE(file.userDefaultLayer(), SpsFormatFile::Layer::Refused);
        QCOMPARE(file.ownLayer(), SpsFormatFile::Layer::Absent);
        QCOMPARE(spstest::describe(layout), pointDefaults);
    }

    void relationDefaultWithPointFieldsLeavesTheLayoutUnchanged()
    {
        const QString body =
            QStringLiteral("<RelationRecord>%1</RelationRecord>")
                .arg(R"(<PointField Name="Tape" Load="false" StartColumn="3" EndColumn="9"/>)");
        QVERIFY(obrtest::writeFile(userDefault(SpsKind::Relation),
                                   spstest::formatDocument("SpsRelationFormat", body)));
        SpsLayout layout = SpsLayout::defaults(SpsKind::Relation);
        SpsFormatFile file(dir.filePath(QStringLiteral("LINE1.X")), SpsKind::Relation);
        QVERIFY(!file.load(layout));
        QCOMPARE(file.userDefaultLayer(), SpsFormatFile::Layer::Read);
        QCOMPARE(spstest::describe(layout), relationDefaults);
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

            const QStringList lines = QString::fromUtf8(obrtest::readFile(base + ".fmt")).split('\n');
            const QString root = kind == SpsKind::Relation ? "SpsRelationFormat" : "SpsPointFormat";
            QCOMPARE(lines.mid(0, 3),
                     QStringList({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                                  QStringLiteral("<%1 Version=\"2.0.1\" Name=\"%2.fmt\" Location=\"Survey\" "
                                                 "Description=\"crew\">")
                                      .arg(root, base),
                                  "    <StartOfFile ReadPointId=\"false\" FirstLine=\"7\"/>"}));
        }
    }

    void failedWriteIsReported()
    {
        QVERIFY(obrtest::writeFile(dir.filePath(QStringLiteral("plain")), "x"));
        SpsFormatFile file(dir.filePath(QStringLiteral("plain/LINE1.S")), SpsKind::Source);
        QVERIFY(!file.write(SpsLayout::defaults(SpsKind::Source), QString()));
        QVERIFY(!file.errorString().isEmpty());
        QCOMPARE(obrtest::readFile(dir.filePath(QStringLiteral("plain"))), QByteArray("x"));
    }

private:
    QTemporaryDir work;
    QDir dir{work.filePath(QStringLiteral("survey"))};
};

OBR_TEST_MAIN(TestSpsFormatFile)
#include "tst_sps_format_file.moc"
