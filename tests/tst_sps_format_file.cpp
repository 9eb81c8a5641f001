#include "base/WorkingRoot.h"
#include "sps/SpsFormatFile.h"
#include "sps/SpsLayoutInForce.h"
#include "tests/support/DataTable.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

const QString pointDefaults = QStringLiteral(
    "first 1; Point ID 1-1 +; Line name 2-17 +; Point number 18-25 +; Point index 26-26 +; Point code 27-28 "
    "+; "
    "Static time 29-32 +; Point depth 33-36 +; Seismic datum 37-40 +; Uphole time 41-42 +; Water depth 43-46 "
    "+; "
    "Point easting 47-55 +; Point northing 56-65 +; Surface elevation 66-71 +; Day of year 72-74 +; "
    "Time of day 75-80 +");
const QString relationDefaults = QStringLiteral(
    "first 1; Point ID 1-1 +; Tape 2-7 +; Record number 8-11 +; Record increment 12-12 +; Instrument code "
    "13-13 +; "
    "Source line 14-29 +; Source location 30-37 +; Source index 38-38 +; From channel 39-42 +; To channel "
    "43-46 +; "
    "Channel increment 47-47 +; Receiver line 48-63 +; From receiver 64-71 +; To receiver 72-79 +; "
    "Receiver index 80-80 -");

QString userDefault(SpsKind kind)
{
    return SpsFormatFile(SpsFormatFile::userDefaultBase(kind), kind).path();
}

QString pointFields(const QString& fields)
{
    return QStringLiteral("<PointRecord>%1</PointRecord>").arg(fields);
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

    void defaults_data()
    {
        obrtest::columns<int, QString>({"kind", "layout"});
        QTest::newRow("source") << int(SpsKind::Source) << pointDefaults;
        QTest::newRow("receiver") << int(SpsKind::Receiver) << pointDefaults;
        QTest::newRow("relation") << int(SpsKind::Relation) << relationDefaults;
    }
    void defaults()
    {
        const auto [kindNumber, expected] = obrtest::fetch<int, QString>("kind", "layout");
        const auto kind = SpsKind(kindNumber);
        // With no user default and no file of its own the built-in layout stays.
        SpsLayout layout = SpsLayout::defaults(kind);
        SpsFormatFile file(dir.filePath(QStringLiteral("LINE1")), kind);
        QVERIFY(!file.load(layout));
        QCOMPARE(spstest::describe(layout), expected);
        QVERIFY(layout.readPointId());
        QCOMPARE(file.userDefaultLayer(), SpsFormatFile::Layer::Absent);
        QCOMPARE(file.path(), dir.filePath(QStringLiteral("LINE1.fmt")));
        QCOMPARE(QFileInfo(userDefault(kind)).fileName(),
                 QStringLiteral("%1PS Default Format.fmt").arg(SpsKinds::recordLetter(kind)));
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

        // Without a working root nothing is made at all.
        QVERIFY(QDir(WorkingRoot::path()).removeRecursively());
        QVERIFY(!file.load(layout));
        QVERIFY(!QFileInfo::exists(WorkingRoot::path()));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("AuxiliaryFormat"))));
    }

    void fieldElements_data()
    {
        // field: the one field the element changes ("" for none); the layout read over has the
        // easting unloaded and Point ID's flag off, so that a flag set to true shows.
        obrtest::columns<QString, QString, QString>({"element", "field", "result"});
        QTest::newRow("written order")
            << R"(<PointField Name="Point easting" Load="true" StartColumn="48" EndColumn="57"/>)"
            << "Point easting"
            << "48-57 +";
        QTest::newRow("other order, read by name")
            << R"(<PointField EndColumn="57" Load="true" Name="Point easting" StartColumn="48"/>)"
            << "Point easting"
            << "48-57 +";
        QTest::newRow("older form without load: loaded")
            << R"(<PointField Name="Point easting" StartColumn="48" EndColumn="57"/>)"
            << "Point easting"
            << "48-57 +";
        QTest::newRow("older form, Point ID: flag kept")
            << R"(<PointField Name="Point ID" StartColumn="1" EndColumn="2"/>)"
            << "Point ID"
            << "1-2 -";
        QTest::newRow("no names: four by position")
            << R"(<PointField a="Point easting" b="true" c="48" d="57"/>)"
            << "Point easting"
            << "48-57 +";
        QTest::newRow("no names: three by position") << R"(<PointField a="Point easting" b="48" c="57"/>)"
                                                     << "Point easting"
                                                     << "48-57 +";
        QTest::newRow("load other than true")
            << R"(<PointField Name="Water depth" Load="yes" StartColumn="43" EndColumn="46"/>)"
            << "Water depth"
            << "43-46 -";
        QTest::newRow("not a number: column 0")
            << R"(<PointField Name="Point easting" Load="false" StartColumn="x" EndColumn="57"/>)"
            << "Point easting"
            << "0-57 -";
        QTest::newRow("two attributes: ignored") << R"(<PointField Name="Point easting" StartColumn="48"/>)"
                                                 << ""
                                                 << "";
        QTest::newRow("five attributes without names: ignored")
            << R"(<PointField a="Point easting" b="true" c="48" d="57" e="x"/>)"
            << ""
            << "";
        QTest::newRow("unknown name: ignored")
            << R"(<PointField Name="point easting" Load="true" StartColumn="48" EndColumn="57"/>)"
            << ""
            << "";
        QTest::newRow("relation element: ignored")
            << R"(<RelationField Name="Point easting" Load="true" StartColumn="48" EndColumn="57"/>)"
            << ""
            << "";
    }
    void fieldElements()
    {
        const auto [element, field, result] =
            obrtest::fetch<QString, QString, QString>("element", "field", "result");
        SpsLayout layout = SpsLayout::defaults(SpsKind::Receiver);
        layout.setLoad(layout.fieldByName(QStringLiteral("Point easting")), false);
        layout.setReadPointId(false);
        SpsLayout expected = layout;
        if (!field.isEmpty()) {
            const int index = expected.fieldByName(field);
            const QStringList columns = result.section(' ', 0, 0).split('-');
            expected.setColumns(index, {columns[0].toInt(), columns[1].toInt()});
            expected.setLoad(index, result.endsWith('+'));
        }
        const QString path = dir.filePath(QStringLiteral("hand.fmt"));
        QVERIFY(obrtest::writeFile(path, spstest::formatDocument("SpsPointFormat", pointFields(element))));
        SpsFormatFile file(dir.filePath(QStringLiteral("hand")), SpsKind::Receiver);
        QCOMPARE(file.read(path, layout), SpsFormatFile::Layer::Read);
        QCOMPARE(spstest::describe(layout), spstest::describe(expected));
        QCOMPARE(file.errorString(), QString());
    }

    void startOfFile_data()
    {
        obrtest::columns<QString, int, bool>({"element", "firstLine", "readPointId"});
        QTest::newRow("both") << R"(<StartOfFile ReadPointId="false" FirstLine="6"/>)" << 6 << false;
        QTest::newRow("true only as true")
            << R"(<StartOfFile ReadPointId="TRUE" FirstLine="2"/>)" << 2 << false;
        QTest::newRow("missing attributes keep") << R"(<StartOfFile/>)" << 1 << true;
    }
    void startOfFile()
    {
        const auto [element, firstLine, readPointId] =
            obrtest::fetch<QString, int, bool>("element", "firstLine", "readPointId");
        const QString path = dir.filePath(QStringLiteral("start.fmt"));
        QVERIFY(obrtest::writeFile(path, spstest::formatDocument("SpsRelationFormat", element)));
        SpsLayout layout = SpsLayout::defaults(SpsKind::Relation);
        SpsFormatFile(dir.filePath(QStringLiteral("start")), SpsKind::Relation).read(path, layout);
        QCOMPARE(layout.firstLine(), firstLine);
        QCOMPARE(layout.readPointId(), readPointId);
    }

    void wrongRootIsRefusedAndTheOwnFileThenNotRead()
    {
        const QString own =
            pointFields(R"(<PointField Name="Point easting" Load="true" StartColumn="48" EndColumn="57"/>)");
        QVERIFY(obrtest::writeFile(userDefault(SpsKind::Source),
                                   spstest::formatDocument("SpsRelationFormat", "")));
        QVERIFY(
            obrtest::writeFile(dir.filePath("LINE1.S.fmt"), spstest::formatDocument("SpsPointFormat", own)));
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        SpsFormatFile file(dir.filePath(QStringLiteral("LINE1.S")), SpsKind::Source);
        QVERIFY(!file.load(layout));
        QCOMPARE(file.errorString(), QStringLiteral("This is not a SPS format file"));
        QCOMPARE(file.userDefaultLayer(), SpsFormatFile::Layer::Refused);
        QCOMPARE(file.ownLayer(), SpsFormatFile::Layer::Absent);
        QCOMPARE(spstest::describe(layout), pointDefaults);

        // The file's own format file is refused the same way.
        QVERIFY(QFile::remove(userDefault(SpsKind::Source)));
        QVERIFY(obrtest::writeFile(dir.filePath("LINE1.S.fmt"), "<SegyFormat Version=\"2.0.1\"/>"));
        QVERIFY(!file.load(layout));
        QCOMPARE(file.ownLayer(), SpsFormatFile::Layer::Refused);
        QCOMPARE(file.errorString(), QStringLiteral("This is not a SPS format file"));
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

    void ownFileGoesOverTheUserDefault()
    {
        QVERIFY(obrtest::writeFile(
            userDefault(SpsKind::Source),
            spstest::formatDocument(
                "SpsPointFormat",
                pointFields(
                    R"(<PointField Name="Point easting" Load="false" StartColumn="48" EndColumn="57"/>)"
                    R"(<PointField Name="Point northing" Load="true" StartColumn="58" EndColumn="67"/>)"))));
        QVERIFY(obrtest::writeFile(
            dir.filePath("LINE1.S.fmt"),
            spstest::formatDocument(
                "SpsPointFormat",
                pointFields(
                    R"(<PointField Name="Point northing" Load="true" StartColumn="60" EndColumn="69"/>)"))));
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        SpsFormatFile file(dir.filePath(QStringLiteral("LINE1.S")), SpsKind::Source);
        QVERIFY(file.load(layout));
        QCOMPARE(layout.columns(layout.fieldByName("Point easting")), (SpsColumns{48, 57}));
        QVERIFY(!layout.load(layout.fieldByName("Point easting")));
        QCOMPARE(layout.columns(layout.fieldByName("Point northing")), (SpsColumns{60, 69}));
    }

    void layoutInForceNamesWhereEachPartCameFrom()
    {
        QVERIFY(obrtest::writeFile(
            userDefault(SpsKind::Source),
            spstest::formatDocument(
                "SpsPointFormat",
                pointFields(
                    R"(<PointField Name="Point easting" Load="true" StartColumn="48" EndColumn="57"/>)"))));
        QVERIFY(obrtest::writeFile(
            dir.filePath("LINE1.S.fmt"),
            spstest::formatDocument(
                "SpsPointFormat",
                R"(<StartOfFile ReadPointId="true" FirstLine="1"/>)" +
                    pointFields(
                        R"(<PointField Name="Point northing" Load="true" StartColumn="56" EndColumn="65"/>)"))));
        using Origin = SpsLayoutInForce::Origin;
        const auto inForce = SpsLayoutInForce::forFile(SpsKind::Source, dir.filePath("LINE1.S"));
        QVERIFY(inForce.ok() && inForce.problems().isEmpty());
        const SpsLayout& layout = inForce.layout();
        // A part set to the value it had still comes from the file that set it.
        QCOMPARE(inForce.fieldOrigin(layout.fieldByName("Point easting")), Origin::UserDefault);
        QCOMPARE(inForce.fieldOrigin(layout.fieldByName("Point northing")), Origin::OwnFile);
        QCOMPARE(inForce.fieldOrigin(layout.fieldByName("Line name")), Origin::BuiltIn);
        QCOMPARE(inForce.startOrigin(), Origin::OwnFile);
        QCOMPARE(inForce.originSource(Origin::OwnFile), dir.filePath("LINE1.S.fmt"));
        QCOMPARE(inForce.layers(),
                 QStringList({"user default " + userDefault(SpsKind::Source) + ": read",
                              "own format file " + dir.filePath("LINE1.S.fmt") + ": read"}));

        const auto revision21 = SpsLayoutInForce::chosen(SpsKind::Source, "sps21");
        QVERIFY(revision21.layout() == SpsLayout::revision21(SpsKind::Source));
        QCOMPARE(revision21.fieldOrigin(3), Origin::Chosen);

        const auto given = SpsLayoutInForce::chosen(SpsKind::Source, dir.filePath("LINE1.S.fmt"));
        QVERIFY(given.ok());
        QCOMPARE(given.fieldOrigin(layout.fieldByName("Point easting")), Origin::BuiltIn);
        QCOMPARE(given.fieldOrigin(layout.fieldByName("Point northing")), Origin::Chosen);
        QCOMPARE(given.originSource(Origin::Chosen), dir.filePath("LINE1.S.fmt"));
    }

    void layoutsThatCannotBeHad()
    {
        QVERIFY(obrtest::writeFile(userDefault(SpsKind::Receiver), "<SegyFormat/>"));
        const auto refusedDefault = SpsLayoutInForce::forFile(SpsKind::Receiver, dir.filePath("LINE1.R"));
        QCOMPARE(refusedDefault.problems(),
                 QStringList{userDefault(SpsKind::Receiver) + ": This is not a SPS format file"});
        QVERIFY(refusedDefault.layout() == SpsLayout::defaults(SpsKind::Receiver));

        const auto missing = SpsLayoutInForce::chosen(SpsKind::Receiver, dir.filePath("none.fmt"));
        QVERIFY(!missing.ok());
        QCOMPARE(missing.problems(), QStringList{"cannot read format file " + dir.filePath("none.fmt")});
        const auto refused = SpsLayoutInForce::chosen(SpsKind::Receiver, userDefault(SpsKind::Receiver));
        QVERIFY(!refused.ok());
        QVERIFY(refused.layout() == SpsLayout::defaults(SpsKind::Receiver));
    }

    void brokenDocumentKeepsWhatWasReadAndCountsAsRead_data()
    {
        obrtest::columns<QByteArray, int>({"document", "eastingStart"});
        const QByteArray whole = spstest::formatDocument(
            "SpsPointFormat",
            pointFields(
                R"(<PointField Name="Point easting" Load="true" StartColumn="48" EndColumn="57"/>)"
                R"(<PointField Name="Point northing" Load="true" StartColumn="60" EndColumn="69"/>)"));
        QTest::newRow("cut after a field")
            << whole.left(whole.indexOf("<PointField Name=\"Point northing\"") + 20) << 48;
        QTest::newRow("cut in the root") << whole.left(60) << 47;
        QByteArray random(4096, '\0');
        QRandomGenerator generator(13);
        for (char& byte : random)
            byte = char(generator.bounded(256));
        QTest::newRow("random bytes") << random << 47;
        QTest::newRow("empty") << QByteArray() << 47;
    }
    void brokenDocumentKeepsWhatWasReadAndCountsAsRead()
    {
        const auto [document, eastingStart] = obrtest::fetch<QByteArray, int>("document", "eastingStart");
        QVERIFY(obrtest::writeFile(dir.filePath("LINE1.S.fmt"), document));
        SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
        SpsFormatFile file(dir.filePath(QStringLiteral("LINE1.S")), SpsKind::Source);
        QVERIFY(file.load(layout));
        QCOMPARE(layout.columns(layout.fieldByName("Point easting")).start, eastingStart);
        QCOMPARE(layout.columns(layout.fieldByName("Point northing")).start, 56);
        QVERIFY(!file.errorString().isEmpty());
    }

    void writeThenReadGivesTheSameLayout_data()
    {
        obrtest::columns<int>({"kind"});
        QTest::newRow("source") << int(SpsKind::Source);
        QTest::newRow("receiver") << int(SpsKind::Receiver);
        QTest::newRow("relation") << int(SpsKind::Relation);
    }
    void writeThenReadGivesTheSameLayout()
    {
        const auto kind = SpsKind(std::get<0>(obrtest::fetch<int>("kind")));
        SpsLayout layout = SpsLayout::defaults(kind);
        layout.setFirstLine(7);
        layout.setReadPointId(false);
        for (int field = 1; field < SpsLayout::fieldCount; ++field) {
            layout.setColumns(field, {field * 3, field * 3 + field % 4});
            // Every other flag off, the stored order of the point flags differing from the fields'.
            layout.setLoad(field, field % 2 == 0);
        }
        const QString base = dir.filePath(QStringLiteral("round"));
        SpsFormatFile out(base, kind);
        QVERIFY(out.write(layout, QStringLiteral("crew")));
        SpsLayout read = SpsLayout::defaults(kind);
        SpsFormatFile in(base, kind);
        QVERIFY(in.load(read));
        QCOMPARE(spstest::describe(read), spstest::describe(layout));
        QVERIFY(read == layout);
        QCOMPARE(in.version(), QStringLiteral("2.0.1"));
        QCOMPARE(in.name(), base + QStringLiteral(".fmt"));
        QCOMPARE(in.description(), QStringLiteral("crew"));

        const QStringList lines = QString::fromUtf8(obrtest::readFile(base + ".fmt")).split('\n');
        const QString root = kind == SpsKind::Relation ? "SpsRelationFormat" : "SpsPointFormat";
        const QString element = kind == SpsKind::Relation ? "RelationField" : "PointField";
        QCOMPARE(lines.value(0), QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        QCOMPARE(lines.value(1), QStringLiteral("<%1 Version=\"2.0.1\" Name=\"%2.fmt\" Location=\"Survey\" "
                                                "Description=\"crew\">")
                                     .arg(root, base));
        QCOMPARE(lines.value(2), QStringLiteral("    <StartOfFile ReadPointId=\"false\" FirstLine=\"7\"/>"));
        QCOMPARE(lines.value(4),
                 QStringLiteral("        <%1 Name=\"Point ID\" Load=\"false\" StartColumn=\"1\" "
                                "EndColumn=\"1\"/>")
                     .arg(element));
        QCOMPARE(lines.filter(element).size(), SpsLayout::fieldCount);
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
