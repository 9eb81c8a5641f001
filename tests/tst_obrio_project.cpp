#include "app/ProjectDescription.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/TestMain.h"

#include <QSettings>

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

// The whole output of obrio run with its own home, so the settings and the working root are the test's.
Run obrio(const QString& home, const QStringList& arguments)
{
    const obrtest::ObrioRun run = obrtest::runObrio(home, arguments);
    return {run.status, run.out.isEmpty() ? QString() : run.out.join('\n') + '\n', run.err.join('\n')};
}

void setStartupProject(const QString& home, const QString& path)
{
    QSettings settings(home + QStringLiteral("/.config/Corvane/Trevalo.conf"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("MainWindow/StartupProjectName"), path);
}

} // namespace

class TestObrioProject : public QObject {
    Q_OBJECT
private slots:
    void freshHomeShowsTheDefaultProject()
    {
        QTemporaryDir home;
        const Run run = obrio(home.path(), {"project", "show"});
        QCOMPARE(run.exitCode, 0);
        const QString root = home.path() + QStringLiteral("/Documents/krd");
        const QStringList lines = run.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0),
                 QStringLiteral("Project:             Osterlind (default project, not yet written)"));
        QCOMPARE(lines.value(1), "Description file:    " + root + "/ProjectFiles/Osterlind.xml (missing)");
        QCOMPARE(lines.value(2), "Location:            " + root + "/Osterlind (missing)");
        QVERIFY(lines.contains("  seismic            " + root + "/Osterlind/Seismic (missing)"));
        QVERIFY(lines.contains("  survey             " + root + "/Osterlind/Survey (missing)"));
        QVERIFY(run.err.contains(QStringLiteral("working root %1 does not exist").arg(root)));
        QVERIFY(!run.out.contains("Project identifier")); // the time of the next start: not worth showing
        // Showing creates nothing.
        QVERIFY(!QFileInfo::exists(home.path() + QStringLiteral("/Documents")));
    }

    void storedProjectIsShownWithItsDirectories()
    {
        QTemporaryDir home;
        const QString root = home.path() + QStringLiteral("/Documents/krd");
        QVERIFY(QDir().mkpath(root + QStringLiteral("/SegyFormats")));
        QVERIFY(QDir().mkpath(home.path() + QStringLiteral("/work/Beta/Seismic")));
        ProjectDescription project(home.path() + QStringLiteral("/work/Beta.xml"));
        project.setLocation(home.path() + QStringLiteral("/work"));
        project.setName(QStringLiteral("Beta"));
        project.setSurveyDimension(2);
        project.setUnits(2);
        project.setProjectIdentifier(1234);
        QVERIFY(project.write());
        setStartupProject(home.path(), project.descriptionFile());

        const Run run = obrio(home.path(), {"project", "show"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        const QString beta = home.path() + QStringLiteral("/work/Beta");
        const QString expected =
            QStringLiteral("Project:             Beta\n"
                           "Description file:    %1.xml\n"
                           "Location:            %2\n"
                           "Project directory:   %1\n"
                           "Survey dimension:    2D\n"
                           "Units:               Feet\n"
                           "Acquisition type:    Land\n"
                           "Data components:     1-C\n"
                           "Project identifier:  1234\n"
                           "Project files:       %3/ProjectFiles (missing)\n"
                           "SEG-Y formats:       %3/SegyFormats\n"
                           "Standard format:     %3/SegyFormats/SEGY Standard.xml (missing)\n"
                           "Directories:\n"
                           "  flows              %1/Flows (missing)\n"
                           "  flow jobs          %1/Flows/Jobs (missing)\n"
                           "  server jobs        %1/Flows/ServerJobs (missing)\n"
                           "  flow models        %1/Flows/Models (missing)\n"
                           "  flow displays      %1/Flows/Display (missing)\n"
                           "  auxiliary          %1/Auxiliary (missing)\n"
                           "  displays           %1/Displays (missing)\n"
                           "  images             %1/Images (missing)\n"
                           "  report             %1/Report (missing)\n"
                           "  seismic            %1/Seismic\n"
                           "  field data         %1/Seismic/FieldData (missing)\n"
                           "  survey             %1/Survey (missing)\n"
                           "  well logs          %1/WellLogs (missing)\n"
                           "  survey file        %1/Survey.xml (missing)\n")
                .arg(beta, home.path() + QStringLiteral("/work"), root);
        QCOMPARE(run.out, expected);
        // The window would make the seismic parts on demand; showing them does not.
        QVERIFY(!QFileInfo::exists(beta + QStringLiteral("/Seismic/FieldData")));
    }

    void missingLocationIsWarned()
    {
        QTemporaryDir home;
        const QString files = home.path() + QStringLiteral("/Documents/krd/ProjectFiles");
        QVERIFY(QDir().mkpath(files));
        ProjectDescription project(files + QStringLiteral("/Osterlind.xml"));
        project.setLocation(home.path() + QStringLiteral("/moved/Osterlind"));
        QVERIFY(project.write());
        setStartupProject(home.path(), home.path() + QStringLiteral("/deleted.xml"));

        const Run run = obrio(home.path(), {"project", "show"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(QStringLiteral("Project:             Osterlind\n")));
        QVERIFY(run.err.contains(
            QStringLiteral("start-up project %1/deleted.xml does not exist").arg(home.path())));
        QVERIFY(run.err.contains(QStringLiteral(" ** Warning:   Project root directory %1/moved/Osterlind is "
                                                "not accessable for the Osterlind "
                                                "project.")
                                     .arg(home.path())));
    }

    void unreadableProjectFails()
    {
        QTemporaryDir home;
        QFile junk(home.filePath(QStringLiteral("junk.xml")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("<SegyFormat/>");
        junk.close();
        setStartupProject(home.path(), junk.fileName());
        const Run run = obrio(home.path(), {"project", "show"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(
            run.err.contains(QStringLiteral(" *** Error:   cannot read project description %1: This is not a "
                                            "project description file")
                                 .arg(junk.fileName())));
    }

    void usage_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "exitCode", "output"});
        QTest::newRow("project --help")
            << QStringList{"project", "--help"} << 0 << "Usage: obrio project show";
        QTest::newRow("show --help") << QStringList{"project", "show", "--help"} << 0
                                     << "Usage: obrio project show";
        QTest::newRow("no action") << QStringList{"project"} << 2 << "project needs an action";
        QTest::newRow("unknown action")
            << QStringList{"project", "open"} << 2 << "unknown project action 'open'";
        QTest::newRow("extra argument") << QStringList{"project", "show", "x"} << 2 << "takes no arguments";
        QTest::newRow("listed in obrio --help") << QStringList{"--help"} << 0 << "project";
    }
    void usage()
    {
        const auto [arguments, exitCode, output] =
            obrtest::fetch<QStringList, int, QString>("arguments", "exitCode", "output");
        QTemporaryDir home;
        const Run run = obrio(home.path(), arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(output), qPrintable(run.out + run.err));
    }

    void setupInstallsHelpPagesOnce()
    {
        QTemporaryDir home;
        const QString docs = home.path() + QStringLiteral("/Documents/krd/Docs");
        Run run = obrio(home.path(), {"setup"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("Help pages copied: index.html")));
        QVERIFY(QFileInfo::exists(docs + QStringLiteral("/spsanalyzer.html")));
        QFile page(docs + QStringLiteral("/segycopy.html"));
        QVERIFY(page.open(QIODevice::WriteOnly | QIODevice::Truncate));
        page.write("our own notes");
        page.close();
        run = obrio(home.path(), {"setup"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!run.out.contains(QStringLiteral("Help pages copied")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QCOMPARE(page.readAll(), QByteArray("our own notes"));
    }
};

OBR_TEST_MAIN(TestObrioProject)
#include "tst_obrio_project.moc"
