#include "app/ProjectDescription.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

using obrtest::readFile;

namespace {

// A description file written by hand, as the suite on another machine may have left it.
QByteArray description(const QByteArray& location, const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ProjectDescription Version=\"1.0.0\" Name=\"Alpha\" "
           "Location=\"" +
           location + "\" Description=\"\">\n" + body + "</ProjectDescription>\n";
}

} // namespace

class TestProjectDescription : public QObject {
    Q_OBJECT
private slots:
    void fileTextAndAttributeOrder()
    {
        ProjectDescription project(path("Beta.xml"));
        project.setName(QStringLiteral("Other"));
        project.setLocation(QStringLiteral("/data/Beta"));
        project.setProjectIdentifier(42);
        project.setSeismicDirectoryExists(true);
        project.setSegyFormatFile(QStringLiteral("SEGY Standard.xml"));
        QVERIFY(project.write());
        // The name comes from the file; the order of the elements is what older readers expect.
        const QStringList lines = QString::fromUtf8(readFile(project.descriptionFile())).split('\n');
        QVERIFY(lines[1].contains(R"(Name="Beta" Location="/data/Beta")"));
        QCOMPARE(lines[11].trimmed(), QStringLiteral(R"(<SegyFormat FormatFile="SEGY Standard.xml"/>)"));
        // A description that cannot be written leaves the disk alone.
        QVERIFY(!ProjectDescription(path("no/such/dir/Kept.xml")).write());
        QVERIFY(!QFileInfo::exists(path("no")));
    }

    void roundTrip_data()
    {
        // flags: one bit per directory flag
        obrtest::columns<int, int, int, int, int>(
            {"dimension", "units", "acquisition", "components", "flags"});
        QTest::newRow("2.5D transition 3-C") << 4 << 1 << 2 << 2 << 0x55;
        QTest::newRow("VSP 4-C") << 5 << 2 << 0 << 3 << 0x2a;
    }
    void roundTrip()
    {
        const auto [dimension, units, acquisition, components, flags] =
            obrtest::fetch<int, int, int, int, int>("dimension", "units", "acquisition", "components",
                                                    "flags");
        ProjectDescription written(path("Gamma.xml"));
        written.setLocation(path("Gamma"));
        written.setSurveyDimension(dimension);
        written.setUnits(units);
        written.setAcquisitionType(acquisition);
        written.setDataComponentType(components);
        written.setProjectIdentifier(Q_INT64_C(1700000000123));
        written.setFlowDirectoryExists(flags & 0x01);
        written.setSeismicDirectoryExists(flags & 0x02);
        written.setSurveyDirectoryExists(flags & 0x04);
        written.setAuxiliaryDirectoryExists(flags & 0x08);
        written.setLogDirectoryExists(flags & 0x10);
        written.setImageDirectoryExists(flags & 0x20);
        written.setReportDirectoryExists(flags & 0x40);
        written.setSegyFormatUseDefault(true);
        written.setSegyFormatFile(QStringLiteral("Mine.xml"));
        QVERIFY(written.write());

        ProjectDescription read(path("Gamma.xml"));
        QVERIFY(read.read());
        QCOMPARE(read.name(), QStringLiteral("Gamma"));
        QCOMPARE(read.location(), written.location());
        QCOMPARE(QList<int>({read.surveyDimension(), read.units(), read.acquisitionType(),
                             read.dataComponentType()}),
                 QList<int>({dimension, units, acquisition, components}));
        QCOMPARE(read.projectIdentifier(), Q_INT64_C(1700000000123));
        const int readFlags = read.flowDirectoryExists() | read.seismicDirectoryExists() << 1 |
                              read.surveyDirectoryExists() << 2 | read.auxiliaryDirectoryExists() << 3 |
                              read.logDirectoryExists() << 4 | read.imageDirectoryExists() << 5 |
                              read.reportDirectoryExists() << 6;
        QCOMPARE(readFlags, flags);
        QVERIFY(read.segyFormatUseDefault());
        QCOMPARE(read.segyFormatFile(), QStringLiteral("Mine.xml"));
    }

    // Descriptions others wrote, read with their paths made ours; files that are none refused.
    void reading_data()
    {
        // error: the start of the refusal, empty when read
        obrtest::columns<QByteArray, QString, QString, QString>(
            {"content", "location", "formatFile", "error"});
        const QString notProject = QStringLiteral("This is not a project description file");
        QTest::newRow("format, use default true")
            << description("/x",
                           "<SegyFormat UseDefault=\"true\"/>\n<SegyFormat FormatFile=\"Custom.xml\"/>\n")
            << "/x"
            << "Custom.xml"
            << "";
        QTest::newRow("Windows path") << description("D:\\work\\Alpha", {}) << "D:/work/Alpha"
                                      << ""
                                      << "";
        QTest::newRow("relative") << description("work\\Alpha", {}) << QDir::currentPath() + "/work/Alpha"
                                  << ""
                                  << "";
        QTest::newRow("wrong root")
            << QByteArray("<?xml version=\"1.0\"?>\n<SegyFormat Name=\"x\" Location=\"/y\"/>\n") << ""
            << "" << notProject;
        QTest::newRow("random bytes") << QByteArray("\x01\xff<<>>\x00garbage", 15) << ""
                                      << "" << notProject;
    }
    void reading()
    {
        const auto [content, location, formatFile, error] =
            obrtest::fetch<QByteArray, QString, QString, QString>("content", "location", "formatFile",
                                                                  "error");
        QVERIFY(obrtest::writeFile(path("Alpha.xml"), content));
        ProjectDescription project(path("Alpha.xml"));
        QCOMPARE(project.read(), error.isEmpty());
        QVERIFY2(error.isEmpty() || project.errorString().startsWith(error),
                 qPrintable(project.errorString()));
        QCOMPARE(project.name(), error.isEmpty() ? QStringLiteral("Alpha") : QString());
        QCOMPARE(project.location(), location);
        QCOMPARE(project.segyFormatFile(), formatFile);
    }

    void surveyRecord()
    {
        QTemporaryDir dir;
        ProjectDescription project(dir.filePath(QStringLiteral("Fox.xml")));
        project.setName(QStringLiteral("Fox"));
        project.setLocation(dir.filePath(QStringLiteral("Fox")));
        project.setProjectIdentifier(99);
        project.setUnits(2);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Fox")));
        QVERIFY(project.prepareSurveyRecord());
        const QString survey = dir.filePath(QStringLiteral("Fox/Survey.xml"));
        const QString written = QString::fromUtf8(readFile(survey));
        QVERIFY2(written.contains(R"(<Parameter Name="Units" Value="Feet"/>)"), qPrintable(written));
        // An existing survey description is the user's: it is kept as it is.
        QVERIFY(obrtest::writeFile(survey, "mine"));
        QVERIFY(project.prepareSurveyRecord());
        QCOMPARE(readFile(survey), QByteArray("mine"));
    }

private:
    QString path(const QString& name) const { return scratch.filePath(name); }

    QTemporaryDir scratch;
};

OBR_TEST_MAIN(TestProjectDescription)
#include "tst_project_description.moc"
