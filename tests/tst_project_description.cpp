#include "app/ProjectDescription.h"
#include "app/StartupProject.h"
#include "tests/support/TestMain.h"

#include <QSettings>

namespace {

QString writeText(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return path;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

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
    void fileTextAndAttributeOrder();
    void roundTrip_data();
    void roundTrip();
    void undefinedKeepsDefaults();
    void segyFormatUseDefault_data();
    void segyFormatUseDefault();
    void locationsAreNormalised_data();
    void locationsAreNormalised();
    void malformedXmlKeepsWhatWasRead();
    void refusedFiles_data();
    void refusedFiles();
    void directoryRules_data();
    void directoryRules();
    void queriesCreateOnlyTheirPart();
    void createTree();
    void surveyRecord();
    void unwritableDescription();
    void startupResolution();

private:
    QTemporaryDir scratch;
};

void TestProjectDescription::fileTextAndAttributeOrder()
{
    ProjectDescription project(scratch.filePath(QStringLiteral("Beta.xml")));
    project.setName(QStringLiteral("Other"));
    project.setLocation(QStringLiteral("/data/Beta"));
    project.setProjectIdentifier(42);
    project.setSeismicDirectoryExists(true);
    project.setSegyFormatFile(QStringLiteral("SEGY Standard.xml"));
    QVERIFY(project.write());
    QCOMPARE(
        QString::fromUtf8(readAll(project.descriptionFile())),
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<ProjectDescription Version=\"1.0.0\" Name=\"Beta\" Location=\"/data/Beta\" Description=\"\">\n"
            "    <ProjectAttributes SurveyDimension=\"3D\" ProjectIdentifier=\"42\" Units=\"Meters\" "
            "AcquisitionType=\"Land\" DataComponentType=\"1-C\"/>\n"
            "    <FlowDirectory Exists=\"false\"/>\n"
            "    <SeismicDirectory Exists=\"true\"/>\n"
            "    <SurveyDirectory Exists=\"false\"/>\n"
            "    <AuxiliaryDirectory Exists=\"false\"/>\n"
            "    <LogDirectory Exists=\"false\"/>\n"
            "    <ImageDirectory Exists=\"false\"/>\n"
            "    <ReportDirectory Exists=\"false\"/>\n"
            "    <SegyFormat UseDefault=\"false\"/>\n"
            "    <SegyFormat FormatFile=\"SEGY Standard.xml\"/>\n"
            "    <ColorScaleFormat UseDefault=\"false\"/>\n"
            "    <ColorScaleFormat FormatFile=\"\"/>\n"
            "</ProjectDescription>\n"));
}

void TestProjectDescription::roundTrip_data()
{
    QTest::addColumn<int>("dimension");
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("acquisition");
    QTest::addColumn<int>("components");
    QTest::addColumn<int>("flags"); // one bit per directory flag
    QTest::newRow("2D meters land 1-C") << 2 << 1 << 0 << 0 << 0x00;
    QTest::newRow("3D feet marine 2-C") << 3 << 2 << 1 << 1 << 0x7f;
    QTest::newRow("2.5D transition 3-C") << 4 << 1 << 2 << 2 << 0x55;
    QTest::newRow("VSP 4-C") << 5 << 2 << 0 << 3 << 0x2a;
}

void TestProjectDescription::roundTrip()
{
    QFETCH(int, dimension);
    QFETCH(int, units);
    QFETCH(int, acquisition);
    QFETCH(int, components);
    QFETCH(int, flags);
    const QString path = scratch.filePath(QStringLiteral("Gamma.xml"));
    ProjectDescription written(path);
    written.setLocation(scratch.filePath(QStringLiteral("Gamma")));
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

    ProjectDescription read(path);
    QVERIFY(read.read());
    QCOMPARE(read.name(), QStringLiteral("Gamma"));
    QCOMPARE(read.location(), written.location());
    QCOMPARE(read.surveyDimension(), dimension);
    QCOMPARE(read.units(), units);
    QCOMPARE(read.acquisitionType(), acquisition);
    QCOMPARE(read.dataComponentType(), components);
    QCOMPARE(read.projectIdentifier(), Q_INT64_C(1700000000123));
    const QList<bool> readFlags{read.flowDirectoryExists(),   read.seismicDirectoryExists(),
                                read.surveyDirectoryExists(), read.auxiliaryDirectoryExists(),
                                read.logDirectoryExists(),    read.imageDirectoryExists(),
                                read.reportDirectoryExists()};
    for (int bit = 0; bit < readFlags.size(); ++bit)
        QCOMPARE(readFlags.at(bit), bool(flags & (1 << bit)));
    QVERIFY(read.segyFormatUseDefault());
    QCOMPARE(read.segyFormatFile(), QStringLiteral("Mine.xml"));
}

void TestProjectDescription::undefinedKeepsDefaults()
{
    const QString path = scratch.filePath(QStringLiteral("Odd.xml"));
    ProjectDescription written(path);
    written.setSurveyDimension(7);
    written.setUnits(0);
    written.setAcquisitionType(3);
    written.setDataComponentType(-1);
    QVERIFY(written.write());
    QVERIFY(readAll(path).contains("SurveyDimension=\"Undefined\""));
    QVERIFY(readAll(path).contains("DataComponentType=\"Undefined\""));

    ProjectDescription read(path);
    read.setSurveyDimension(2);
    read.setUnits(2);
    read.setAcquisitionType(1);
    read.setDataComponentType(3);
    QVERIFY(read.read());
    QCOMPARE(read.surveyDimension(), 2);
    QCOMPARE(read.units(), 2);
    QCOMPARE(read.acquisitionType(), 1);
    QCOMPARE(read.dataComponentType(), 3);
    // Texts are case-sensitive: "meters" is not a unit either.
    writeText(path, description("/x", "<ProjectAttributes SurveyDimension=\"2d\" Units=\"meters\"/>\n"));
    QVERIFY(read.read());
    QCOMPARE(read.surveyDimension(), 2);
    QCOMPARE(read.units(), 2);
}

void TestProjectDescription::segyFormatUseDefault_data()
{
    QTest::addColumn<QByteArray>("elements");
    QTest::addColumn<QString>("formatFile");
    QTest::newRow("use default false") << QByteArray("<SegyFormat UseDefault=\"false\"/>\n"
                                                     "<SegyFormat FormatFile=\"Custom.xml\"/>\n")
                                       << "SEGY Standard.xml";
    QTest::newRow("use default true") << QByteArray("<SegyFormat UseDefault=\"true\"/>\n"
                                                    "<SegyFormat FormatFile=\"Custom.xml\"/>\n")
                                      << "Custom.xml";
    QTest::newRow("no elements") << QByteArray() << "";
}

void TestProjectDescription::segyFormatUseDefault()
{
    QFETCH(QByteArray, elements);
    QFETCH(QString, formatFile);
    const QString path =
        writeText(scratch.filePath(QStringLiteral("Formats.xml")), description("/x", elements));
    ProjectDescription project(path);
    QVERIFY(project.read());
    QCOMPARE(project.segyFormatFile(), formatFile);
}

void TestProjectDescription::locationsAreNormalised_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("read");
    QTest::newRow("Windows path") << QByteArray("D:\\work\\Alpha") << "D:/work/Alpha";
    QTest::newRow("backslashes in an absolute path")
        << QByteArray("/data\\work\\Alpha") << "/data/work/Alpha";
    QTest::newRow("relative") << QByteArray("work\\Alpha") << QDir::currentPath() + "/work/Alpha";
    QTest::newRow("trailing slash") << QByteArray("/data/Alpha/") << "/data/Alpha";
}

void TestProjectDescription::locationsAreNormalised()
{
    QFETCH(QByteArray, written);
    QFETCH(QString, read);
    const QString path = writeText(scratch.filePath(QStringLiteral("Alpha.xml")), description(written, ""));
    ProjectDescription project(path);
    QVERIFY(project.read());
    QCOMPARE(project.location(), read);
    QCOMPARE(project.name(), QStringLiteral("Alpha"));
}

void TestProjectDescription::malformedXmlKeepsWhatWasRead()
{
    const QString path =
        writeText(scratch.filePath(QStringLiteral("Broken.xml")),
                  "<?xml version=\"1.0\"?>\n<ProjectDescription Name=\"Broken\" Location=\"/p\">\n"
                  "<ProjectAttributes SurveyDimension=\"VSP\" Units=\"Feet\"/>\n"
                  "<SeismicDirectory Exists=\"true\"/>\n"
                  "<SurveyDirectory Exists=\"true\" <<< \n"
                  "<ReportDirectory Exists=\"true\"/>\n");
    ProjectDescription project(path);
    QVERIFY(project.read());
    QCOMPARE(project.name(), QStringLiteral("Broken"));
    QCOMPARE(project.surveyDimension(), 5);
    QCOMPARE(project.units(), 2);
    QVERIFY(project.seismicDirectoryExists());
    QVERIFY(!project.surveyDirectoryExists());
    QVERIFY(!project.reportDirectoryExists());
}

void TestProjectDescription::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::newRow("wrong root") << QByteArray(
                                       "<?xml version=\"1.0\"?>\n<SegyFormat Name=\"x\" Location=\"/y\"/>\n")
                                << "This is not a project description file";
    QTest::newRow("empty file") << QByteArray() << "This is not a project description file";
    QTest::newRow("random bytes") << QByteArray("\x01\xff<<>>\x00garbage", 15)
                                  << "This is not a project description file";
    QTest::newRow("missing file") << QByteArray("(none)") << "cannot open";
}

void TestProjectDescription::refusedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QString path = scratch.filePath(QStringLiteral("Refused.xml"));
    QFile::remove(path);
    if (content != "(none)")
        writeText(path, content);
    ProjectDescription project(path);
    QVERIFY(!project.read());
    QVERIFY2(project.errorString().startsWith(error), qPrintable(project.errorString()));
    QCOMPARE(project.name(), QString());
    QCOMPARE(project.location(), QString());
    QCOMPARE(project.surveyDimension(), 3);
}

void TestProjectDescription::directoryRules_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("path");
    const int seismic = ProjectDescription::Seismic;
    QTest::newRow("location ends in the name") << "D:/work/Alpha"
                                               << "Alpha" << seismic << "D:/work/Alpha/Seismic";
    QTest::newRow("location above the project") << "D:/work"
                                                << "Alpha" << seismic << "D:/work/Alpha/Seismic";
    QTest::newRow("trailing slash") << "D:/work/Alpha/"
                                    << "Alpha" << seismic << "D:/work/Alpha/Seismic";
    QTest::newRow("name only as a prefix") << "D:/work/Alpha2"
                                           << "Alpha" << seismic << "D:/work/Alpha2/Alpha/Seismic";
    QTest::newRow("empty name") << "D:/work"
                                << "" << seismic << "";
    QTest::newRow("empty location") << ""
                                    << "Alpha" << int(ProjectDescription::Flows) << "";
    QTest::newRow("field data") << "/p/A"
                                << "A" << int(ProjectDescription::FieldData) << "/p/A/Seismic/FieldData";
    QTest::newRow("flow jobs") << "/p/A"
                               << "A" << int(ProjectDescription::FlowJobs) << "/p/A/Flows/Jobs";
    QTest::newRow("server jobs") << "/p/A"
                                 << "A" << int(ProjectDescription::ServerJobs) << "/p/A/Flows/ServerJobs";
    QTest::newRow("flow models") << "/p/A"
                                 << "A" << int(ProjectDescription::FlowModels) << "/p/A/Flows/Models";
    QTest::newRow("flow displays") << "/p/A"
                                   << "A" << int(ProjectDescription::FlowDisplay) << "/p/A/Flows/Display";
    QTest::newRow("displays") << "/p/A"
                              << "A" << int(ProjectDescription::Displays) << "/p/A/Displays";
    QTest::newRow("survey") << "/p/A"
                            << "A" << int(ProjectDescription::Survey) << "/p/A/Survey";
    QTest::newRow("well logs") << "/p/A"
                               << "A" << int(ProjectDescription::WellLogs) << "/p/A/WellLogs";
    QTest::newRow("survey file") << "/p/A"
                                 << "A" << int(ProjectDescription::SurveyFile) << "/p/A/Survey.xml";
}

void TestProjectDescription::directoryRules()
{
    QFETCH(QString, location);
    QFETCH(QString, name);
    QFETCH(int, part);
    QFETCH(QString, path);
    ProjectDescription project(QStringLiteral("/nowhere/x.xml"));
    project.setLocation(location);
    project.setName(name);
    QCOMPARE(project.path(static_cast<ProjectDescription::TreePart>(part)), path);
}

void TestProjectDescription::queriesCreateOnlyTheirPart()
{
    QTemporaryDir dir;
    ProjectDescription project(dir.filePath(QStringLiteral("Delta.xml")));
    project.setName(QStringLiteral("Delta"));
    project.setLocation(dir.path());
    // The project directory itself is never made by a query: the parts fail silently.
    QCOMPARE(project.seismicDirectory(), dir.path() + QStringLiteral("/Delta/Seismic"));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Delta"))));

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Delta")));
    const QString top = dir.path() + QStringLiteral("/Delta");
    QCOMPARE(project.fieldDataDirectory(), top + QStringLiteral("/Seismic/FieldData"));
    QVERIFY(QFileInfo(top + QStringLiteral("/Seismic/FieldData")).isDir());
    QCOMPARE(project.flowJobsDirectory(), top + QStringLiteral("/Flows/Jobs"));
    QVERIFY(QFileInfo(top + QStringLiteral("/Flows/Jobs")).isDir());
    QCOMPARE(project.surveyDirectory(), top + QStringLiteral("/Survey"));
    QCOMPARE(project.wellLogsDirectory(), top + QStringLiteral("/WellLogs"));
    QCOMPARE(project.surveyFilePath(), top + QStringLiteral("/Survey.xml"));
    QCOMPARE(QDir(top).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("Flows"), QStringLiteral("Seismic")}));
}

void TestProjectDescription::createTree()
{
    QTemporaryDir dir;
    ProjectDescription project(QStringLiteral("/elsewhere/Old.xml"));
    project.setName(QStringLiteral("Echo"));
    project.setLocation(dir.filePath(QStringLiteral("Echo")));
    project.setProjectFilesDirectory(dir.filePath(QStringLiteral("ProjectFiles")));
    project.setFlowDirectoryExists(true);
    project.setSeismicDirectoryExists(true);
    project.setSurveyDirectoryExists(true);
    project.createTree();
    QCOMPARE(project.descriptionFile(), dir.filePath(QStringLiteral("ProjectFiles/Echo.xml")));
    const QString top = dir.filePath(QStringLiteral("Echo"));
    QCOMPARE(QDir(top).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("Flows"), QStringLiteral("Seismic"), QStringLiteral("Survey")}));
    QCOMPARE(QDir(top + QStringLiteral("/Flows")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{"Display", "Jobs", "Models", "TraceCalculator"}));
    QVERIFY(QFileInfo(top + QStringLiteral("/Seismic/FieldData")).isDir());
}

void TestProjectDescription::surveyRecord()
{
    QTemporaryDir dir;
    ProjectDescription project(dir.filePath(QStringLiteral("Fox.xml")));
    project.setName(QStringLiteral("Fox"));
    project.setLocation(dir.filePath(QStringLiteral("Fox")));
    project.setProjectIdentifier(99);
    project.setUnits(2);
    QVERIFY(!project.prepareSurveyRecord()); // no project directory yet

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Fox")));
    QVERIFY(project.prepareSurveyRecord());
    const QString survey = dir.filePath(QStringLiteral("Fox/Survey.xml"));
    QXmlStreamReader xml(readAll(survey));
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name().toString(), QStringLiteral("SurveyDescription"));
    QStringList parameters;
    while (xml.readNextStartElement()) {
        QCOMPARE(xml.name().toString(), QStringLiteral("Parameter"));
        parameters.append(xml.attributes().value("Name") + QLatin1Char('=') +
                          xml.attributes().value("Value"));
        xml.skipCurrentElement();
    }
    QVERIFY(!xml.hasError());
    QCOMPARE(parameters, (QStringList{"SurveyDimension=3D", "ProjectIdentifier=99", "Units=Feet",
                                      "AcquisitionType=Land", "DataComponentType=1-C"}));

    // An existing survey description is the user's: it is kept as it is.
    writeText(survey, "mine");
    QVERIFY(project.prepareSurveyRecord());
    QCOMPARE(readAll(survey), QByteArray("mine"));
}

void TestProjectDescription::unwritableDescription()
{
    ProjectDescription project(scratch.filePath(QStringLiteral("no/such/dir/Kept.xml")));
    QVERIFY(!project.write());
    QVERIFY(!QFileInfo::exists(scratch.filePath(QStringLiteral("no"))));
}

void TestProjectDescription::startupResolution()
{
    QTemporaryDir root;
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"));
    settings.remove(QStringLiteral("MainWindow/StartupProjectName"));
    const QString fallback = root.path() + QStringLiteral("/ProjectFiles/Osterlind.xml");
    QCOMPARE(StartupProject::resolveProjectFile(root.path()), fallback);

    settings.setValue(QStringLiteral("MainWindow/StartupProjectName"),
                      root.filePath(QStringLiteral("Gone.xml")));
    settings.sync();
    QCOMPARE(StartupProject::resolveProjectFile(root.path()), fallback);

    const QString stored = writeText(root.filePath(QStringLiteral("Here.xml")), description("/x", ""));
    settings.setValue(QStringLiteral("MainWindow/StartupProjectName"), stored);
    settings.sync();
    QCOMPARE(StartupProject::resolveProjectFile(root.path()), stored);
    settings.remove(QStringLiteral("MainWindow/StartupProjectName"));

    const auto directories = StartupProject::WorkingDirectories::fromCurrentDirectory(QString());
    QCOMPARE(directories.root, QStringLiteral("C:/"));
    QCOMPARE(directories.segyFormats, QDir::currentPath() + QStringLiteral("/SegyFormats"));
    const std::unique_ptr<ProjectDescription> project(StartupProject::makeDefaultProject(
        fallback, {root.path(), "/f/SegyFormats", "/f/ProjectFiles", "/f/Colors"}));
    QCOMPARE(project->name(), QStringLiteral("Osterlind"));
    QCOMPARE(project->location(), root.path() + QStringLiteral("/Osterlind"));
    QCOMPARE(project->descriptionFile(), fallback);
    QCOMPARE(project->projectFilesDirectory(), QStringLiteral("/f/ProjectFiles"));
    QCOMPARE(project->segyFormatsDirectory(), QStringLiteral("/f/SegyFormats"));
    QCOMPARE(project->colorScaleFormatsDirectory(), QStringLiteral("/f/Colors"));
    QCOMPARE(project->rootDirectory(), root.path());
    QCOMPARE(project->projectDirectory(), root.path() + QStringLiteral("/Osterlind"));
}

OBR_TEST_MAIN(TestProjectDescription)
#include "tst_project_description.moc"
