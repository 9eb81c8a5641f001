#include "app/ProjectDescription.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QSettings>

namespace {

void setStartupProject(const QString& home, const QString& path)
{
    QSettings settings(home + QStringLiteral("/.config/Corvane/Trevalo.conf"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("MainWindow/StartupProjectName"), path);
}

// A working root whose default project has moved away, a stored project "Beta" beside it and a file
// that is no project description; %1 in the expectations is the home directory.
void writeProjects(const QString& home)
{
    const QString root = home + QStringLiteral("/Documents/krd");
    QVERIFY(QDir().mkpath(root + QStringLiteral("/ProjectFiles")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/SegyFormats")));
    QVERIFY(QDir().mkpath(home + QStringLiteral("/work/Beta/Seismic")));
    ProjectDescription moved(root + QStringLiteral("/ProjectFiles/Osterlind.xml"));
    moved.setLocation(home + QStringLiteral("/moved/Osterlind"));
    QVERIFY(moved.write());
    ProjectDescription beta(home + QStringLiteral("/work/Beta.xml"));
    beta.setLocation(home + QStringLiteral("/work"));
    beta.setName(QStringLiteral("Beta"));
    beta.setSurveyDimension(2);
    beta.setUnits(2);
    beta.setProjectIdentifier(1234);
    QVERIFY(beta.write());
    QVERIFY(obrtest::writeFile(home + QStringLiteral("/junk.xml"), "<SegyFormat/>"));
}

} // namespace

class TestObrioProject : public QObject {
    Q_OBJECT
private slots:
    void projectShow_data()
    {
        // startup: the stored start-up project, relative to the home; empty: a fresh home
        obrtest::columns<QString, int, QStringList, QStringList>({"startup", "exitCode", "out", "err"});
        QTest::newRow("fresh home: the default project")
            << "" << 0 << QStringList{"Project:             Osterlind (default project, not yet written)"}
            << QStringList{"working root %1/Documents/krd does not exist"};
        QTest::newRow("stored project with its directories")
            << "work/Beta.xml" << 0
            << QStringList{"Project:             Beta", "Project directory:   %1/work/Beta"} << QStringList();
        QTest::newRow("stored project gone, default project moved")
            << "deleted.xml" << 0 << QStringList{"Project:             Osterlind"}
            << QStringList{"start-up project %1/deleted.xml does not exist", "%1/moved/Osterlind"};
        QTest::newRow("unreadable project")
            << "junk.xml" << 1 << QStringList()
            << QStringList{"%1/junk.xml: This is not a project description file"};
    }
    void projectShow()
    {
        const auto [startup, exitCode, out, err] =
            obrtest::fetch<QString, int, QStringList, QStringList>("startup", "exitCode", "out", "err");
        QTemporaryDir home;
        if (!startup.isEmpty()) {
            writeProjects(home.path());
            setStartupProject(home.path(), home.filePath(startup));
        }
        const obrtest::ObrioRun run = obrtest::runObrio(home.path(), {"project", "show"});
        QCOMPARE(run.status, exitCode);
        for (const QString& line : out)
            QVERIFY2(run.out.contains(line.arg(home.path())), qPrintable(line));
        for (const QString& line : err)
            QVERIFY2(run.err.join('\n').contains(line.arg(home.path())), qPrintable(run.err.join('\n')));
        if (err.isEmpty())
            QCOMPARE(run.err, QStringList());
        // The identifier of a project not yet written is the time of the next start: not worth showing.
        QCOMPARE(run.out.filter("Project identifier").isEmpty(), startup.isEmpty() || exitCode != 0);
        // Showing creates nothing: neither the working root nor the seismic parts the window makes on demand.
        QCOMPARE(QFileInfo::exists(home.filePath("Documents")), !startup.isEmpty());
        QVERIFY(!QFileInfo::exists(home.filePath("work/Beta/Seismic/FieldData")));
    }

    // Which pages are copied and which are kept is the help pages' test; here the command's road.
    // The standard format file it installs is the one the format template prints.
    void setupInstallsHelpPagesOnceAndTheStandardFormat()
    {
        QTemporaryDir home;
        obrtest::ObrioRun run = obrtest::runObrio(home.path(), {"setup"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.join('\n').contains(QStringLiteral("Help pages copied: index.html")));
        QVERIFY(QFileInfo::exists(home.filePath(QStringLiteral("Documents/krd/Docs/spsanalyzer.html"))));
        run = obrtest::runObrio(home.path(), {"setup"});
        QCOMPARE(run.status, 0);
        QVERIFY(!run.out.join('\n').contains(QStringLiteral("Help pages copied")));
        run = obrtest::runObrio(home.path(), {"segy", "format-template"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.join('\n') + '\n', QString::fromUtf8(obrtest::readFile(home.filePath(QStringLiteral(
                                                "Documents/krd/SegyFormats/SEGY Standard.xml")))));
    }
};

OBR_TEST_MAIN(TestObrioProject)
#include "tst_obrio_project.moc"
