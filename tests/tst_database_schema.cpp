#include "database/DatabaseConnection.h"
#include "database/ProjectSchema.h"
#include "database/ui/ProjectChooser.h"
#include "tests/support/DataTable.h"
#include "tests/support/ModalDialogCloser.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TestMain.h"
#include "tests/support/ThrowawayPostgres.h"

#include <QInputDialog>
#include <QSettings>

// The interactive choice of a project database, offscreen, answered by the closer.

namespace {

// A project database as version 17 of the suite left it, in the tables whose rows an update moves:
// amplitudes still on the shot points, coverage traces found by serial number alone, the
// surveyor's log under both names, tidal_variations and surveyors_log. The tables it lacks are made
// as new ones.
QStringList version17()
{
    const QString script = QStringLiteral(R"(
CREATE TABLE project_parameters (row_id SERIAL PRIMARY KEY, unique_project_id BIGINT,
  project_name VARCHAR(256), project_version INTEGER);
INSERT INTO project_parameters (unique_project_id, project_name, project_version) VALUES (7, 'Osterlind', 17);
CREATE TABLE actual_points (row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, shot_point INTEGER,
  timestamp BIGINT, easting DOUBLE PRECISION, northing DOUBLE PRECISION, rms_amplitude REAL,
  peak_amplitude REAL);
INSERT INTO actual_points (unique_line_id, shot_point, rms_amplitude, peak_amplitude)
  VALUES (1, 101, 1.5, 2.5), (1, 102, 3, 4), (1, 103, NULL, NULL);
CREATE TABLE data_traces (row_id SERIAL PRIMARY KEY, unique_line_id BIGINT, trace_number INTEGER,
  field_file INTEGER, channel INTEGER);
INSERT INTO data_traces (unique_line_id, trace_number, field_file, channel)
  VALUES (1, 1, 500, 1), (1, 2, 500, 2), (1, 3, 501, 1);
CREATE TABLE coverage_traces (row_id SERIAL PRIMARY KEY, unique_line_id BIGINT,
  trace_serial_number INTEGER UNIQUE, cmp_number INTEGER);
INSERT INTO coverage_traces (unique_line_id, trace_serial_number, cmp_number)
  VALUES (1, 1, 10), (1, 2, 11), (1, 3, 12);
CREATE TABLE nmea_logs (row_id SERIAL PRIMARY KEY, timestamp BIGINT, sentence_type VARCHAR(16), sentence TEXT,
  checksum VARCHAR(2));
CREATE TABLE tidal_variations (row_id SERIAL PRIMARY KEY, timestamp BIGINT, unique_line_id BIGINT,
  entry TEXT);
INSERT INTO tidal_variations (timestamp, unique_line_id, entry)
  VALUES (5, 1, 'tide high'), (6, 1, 'tide low');
CREATE TABLE surveyors_log (row_id SERIAL PRIMARY KEY, timestamp BIGINT, unique_line_id BIGINT, entry TEXT,
  author VARCHAR(64));
INSERT INTO surveyors_log (timestamp, unique_line_id, entry, author) VALUES (1, 1, 'surveyor note', 'ana');
)");
    return script.trimmed().chopped(1).split(QStringLiteral(";\n"));
}

} // namespace

// Project databases on the throwaway server: the connection (where the password comes from, what a
// failure says, names that stay names), the schema's upkeep of new, empty, older, newer and failing
// databases, and the interactive choice of one, offscreen, answered by the closer.
class TestDatabaseSchema : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OBR_REQUIRE_POSTGRES();
        obrtest::dropTestDatabases();
        // A new database is an empty one brought up to date.
        QVERIFY(schema.create(server, name(QStringLiteral("fresh"))));
        QVERIFY(!schema.previousVersion() && console.errors().isEmpty() && console.warnings().isEmpty());
        QCOMPARE(connection.projectVersion(), 21);
        fresh = obrtest::catalogue(connection);
    }
    void cleanup()
    {
        QSettings(QStringLiteral("Corvane"), QStringLiteral("Trevalo")).remove(QStringLiteral("Database"));
        qunsetenv("PGPASSWORD");
        console.clear();
        connection.close();
        obrtest::dropTestDatabases();
    }

    // Version 17 with both logs: the tidal log's rows move into the surveyor's, amplitudes and
    // coverage keys move; a second update finds nothing left to do.
    void olderDatabaseBroughtUp()
    {
        makeDatabase(QStringLiteral("old"), version17());
        QVERIFY2(schema.update(server, name(QStringLiteral("old"))), qPrintable(schema.errorText()));
        QCOMPARE(schema.previousVersion(), 17);
        expectShape(fresh, 21);
        const QStringList rowsAfter = rows();
        QCOMPARE(rowsAfter, QStringList({"log 1 surveyor note, 2 tide high, 3 tide low",
                                         "amplitudes 1 101 1.5 2.5, 1 102 3 4", "points 101, 102, 103",
                                         "coverage 1 500 1, 2 500 2, 3 501 1", "project 7 Osterlind"}));

        QVERIFY(schema.update(server, name(QStringLiteral("old"))));
        QCOMPARE(schema.previousVersion(), 21);
        QCOMPARE(schema.createdTables(), QStringList());
        expectShape(fresh, 21);
        QCOMPARE(rows(), rowsAfter);
    }

    void failureRollsEverythingBack_data()
    {
        obrtest::columns<QStringList, QString>({"extra", "error"});
        QTest::newRow("two traces at one channel")
            << QStringList{"INSERT INTO data_traces (unique_line_id, trace_number, field_file, channel) "
                           "VALUES (1, 4, 500, 1)",
                           "INSERT INTO coverage_traces (unique_line_id, trace_serial_number) VALUES (1, 4)"}
            << "coverage_traces_trace_key";
        QTest::newRow("newer version")
            << QStringList{"UPDATE project_parameters SET project_version=22"} << "newer than version 21";
    }
    void failureRollsEverythingBack()
    {
        const auto [extra, error] = obrtest::fetch<QStringList, QString>("extra", "error");
        makeDatabase(QStringLiteral("failing"), version17() + extra);
        const QStringList before = obrtest::catalogue(connection);
        const QStringList rowsBefore = rows();
        QVERIFY(!schema.update(server, name(QStringLiteral("failing"))));
        QVERIFY2(schema.errorText().contains(error), qPrintable(schema.errorText()));
        QCOMPARE(schema.createdTables(), QStringList());
        QVERIFY(connection.connectToDatabase(server, name(QStringLiteral("failing"))));
        QCOMPARE(obrtest::catalogue(connection), before);
        QCOMPARE(rows(), rowsBefore);
    }

    // One rule for the stored version, for reading and updating alike: the highest project_version
    // of the rows, rows without one passed over; a row of a newer version, wherever it stands,
    // leaves the database unchanged.
    void storedVersion_data()
    {
        // versions: of the rows added to a fresh database's, whose version is cleared; 0: none
        obrtest::columns<QList<int>, int, bool>({"versions", "stored", "updated"});
        QTest::newRow("highest of the rows") << QList<int>{19, 20, 0} << 20 << true;
        QTest::newRow("a newer row before older ones") << QList<int>{22, 19} << 22 << false;
        QTest::newRow("no row with a version: updated as new") << QList<int>{0} << 0 << true;
    }
    void storedVersion()
    {
        const auto [versions, stored, updated] =
            obrtest::fetch<QList<int>, int, bool>("versions", "stored", "updated");
        const QString database = name(QStringLiteral("rows"));
        QVERIFY(schema.create(server, database));
        QStringList statements{"UPDATE project_parameters SET project_version=NULL"};
        for (int version : versions)
            statements << QStringLiteral("INSERT INTO project_parameters (project_version) VALUES (%1)")
                              .arg(version ? QString::number(version) : QStringLiteral("NULL"));
        obrtest::runAll(connection, statements);
        QCOMPARE(connection.projectVersion(), stored ? std::optional<int>(stored) : std::nullopt);
        connection.close();
        QCOMPARE(schema.update(server, database), updated);
        if (!updated)
            return;
        QCOMPARE(schema.previousVersion(), stored ? std::optional<int>(stored) : std::nullopt);
        QCOMPARE(connection.projectVersion(), 21);
    }

    // The new database goes again when it cannot be finished, so that `create` may simply be repeated.
    void unfinishedNewDatabaseRemoved()
    {
        // A new database is a copy of template1: one whose parameters refuse version 21.
        const auto changeTemplate = [this](const QString& statement) {
            QVERIFY(connection.connectToDatabase(server, QStringLiteral("template1")));
            obrtest::runAll(connection, {statement});
            connection.close();
        };
        changeTemplate(QStringLiteral("CREATE TABLE project_parameters (row_id SERIAL PRIMARY KEY, "
                                      "project_version INTEGER CHECK (project_version < 20))"));
        const bool created = schema.create(server, name(QStringLiteral("doomed")));
        changeTemplate(QStringLiteral("DROP TABLE project_parameters"));
        QVERIFY(!created);
        QVERIFY(schema.errorText().contains(QStringLiteral("project_parameters_project_version_check")));
        obrtest::connectToServer(connection);
        QCOMPARE(connection.projectDatabases(), QStringList());
    }

    void passwordSources_data()
    {
        // setting: Database/Password; environment: PGPASSWORD ("" leaves it out)
        obrtest::columns<QString, QString, bool>({"setting", "environment", "refused"});
        const auto row = [](const char* name, const char* setting, const char* environment, bool refused) {
            QTest::newRow(name) << setting << environment << refused;
        };
        row("nothing configured: the suite's default", "", "", false);
        row("setting before PGPASSWORD", "kelpforest", "n0t-1t", false);
        row("wrong setting", "s3cret pass='x' dbname=evil", "", true);
        row("wrong PGPASSWORD, no fallback", "", "wr0ng-Env-Pass", true);
    }
    void passwordSources()
    {
        const auto [setting, environment, refused] =
            obrtest::fetch<QString, QString, bool>("setting", "environment", "refused");
        if (!setting.isEmpty())
            QSettings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"))
                .setValue(QStringLiteral("Database/Password"), setting);
        if (!environment.isEmpty())
            qputenv("PGPASSWORD", environment.toUtf8());
        QCOMPARE(connection.connectToServer(server), !refused);
        QCOMPARE(connection.errorText().contains(QStringLiteral("password authentication failed")), refused);
        QVERIFY(!connection.errorText().contains(QStringLiteral("s3cret")));
    }

    // Connections refused with the reason, and no password in it; names the server cannot hold
    // refused before it is asked.
    void refusedConnections_data()
    {
        obrtest::columns<QString, int, QString, QString>({"address", "port", "name", "error"});
        const QString x56(56, QLatin1Char('x'));
        QTest::newRow("closed port") << "127.0.0.1" << 1 << "anything"
                                     << "Connection refused";
        QTest::newRow("64 bytes") << "" << 0 << "obrtest_" + x56 << "longer than 63 bytes";
        QTest::newRow("zero character")
            << "" << 0 << QStringLiteral("obrtest_a") + QChar(0) + QStringLiteral("b") << "zero character";
    }
    void refusedConnections()
    {
        const auto [address, port, name, error] =
            obrtest::fetch<QString, int, QString, QString>("address", "port", "name", "error");
        const DatabaseServer target = port ? DatabaseServer{address, port} : server;
        if (port) {
            QSettings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"))
                .setValue(QStringLiteral("Database/Password"), QStringLiteral("Hidden-Word-42"));
        } else {
            obrtest::connectToServer(connection);
            QVERIFY(!connection.createDatabase(name));
            QVERIFY(connection.errorText().contains(error));
            QCOMPARE(connection.projectDatabases(), QStringList());
        }
        QVERIFY(!connection.connectToDatabase(target, name));
        QVERIFY2(connection.errorText().startsWith(QStringLiteral("Connection to database failed: ")) &&
                     connection.errorText().contains(error),
                 qPrintable(connection.errorText()));
        QVERIFY(!connection.errorText().contains(QStringLiteral("Hidden-Word-42")));
    }

    void namesStayNames_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("quote and semicolon") << "it's\"; DROP DATABASE obrtest_victim; --";
        QTest::newRow("connection string words") << "a b=c dbname=postgres";
    }
    void namesStayNames()
    {
        QFETCH(QString, suffix);
        const QString name = obrtest::testDatabaseName(suffix);
        const QString victim = obrtest::testDatabaseName(QStringLiteral("victim"));
        DatabaseConnection maintenance;
        obrtest::connectToServer(maintenance);
        QVERIFY(maintenance.createDatabase(victim));
        QVERIFY2(maintenance.createDatabase(name), qPrintable(maintenance.errorText()));
        const auto both = maintenance.projectDatabases();
        QVERIFY(both && both->size() == 2 && both->contains(name) && both->contains(victim));

        DatabaseConnection project;
        QVERIFY2(project.connectToDatabase(obrtest::throwawayServer(), name),
                 qPrintable(project.errorText()));
        QCOMPARE(obrtest::column(project, QStringLiteral("SELECT current_database()")), QStringList{name});
        obrtest::runAll(project, {QStringLiteral("CREATE TABLE kept (row_id SERIAL PRIMARY KEY)")});
        QCOMPARE(project.tableExists(QStringLiteral("kept'; DROP TABLE kept; --")), false);
        QCOMPARE(project.tableExists(QStringLiteral("kept")), true);
        QVERIFY(project.run(QStringLiteral("Insert"), QStringLiteral("SELECT $1::text"), {name}));
        project.close();
        QVERIFY(maintenance.dropDatabase(name));
        QCOMPARE(maintenance.projectDatabases(), QStringList{victim});
    }

    // The chooser's answers make its result.
    void projectChooser()
    {
        DatabaseConnection maintenance;
        obrtest::connectToServer(maintenance);
        for (const char* project : {"obrtest_north", "obrtest_south"})
            QVERIFY(maintenance.createDatabase(QLatin1String(project)));
        ModalDialogCloser closer;
        typeAddress(closer, QStringLiteral(" 127.0.0.1 "));
        pickProject(closer, 1);
        const int port = obrtest::throwawayServer().port;
        const auto choice = ProjectChooser(nullptr, port).choose();
        QVERIFY(choice);
        QCOMPARE(choice->database, QStringLiteral("obrtest_south"));
        QCOMPARE(choice->server.address, QStringLiteral("127.0.0.1"));
        QCOMPARE(offeredProjects, QStringList({"obrtest_north", "obrtest_south"}));
    }

private:
    // The address dialog, answered with `address`.
    void typeAddress(ModalDialogCloser& closer, const QString& address)
    {
        closer.actOnNext([address](QWidget* widget) {
            auto* dialog = qobject_cast<QInputDialog*>(widget);
            QVERIFY(dialog);
            dialog->setTextValue(address);
            dialog->accept();
        });
    }

    // The project list, row `pick` chosen.
    void pickProject(ModalDialogCloser& closer, int pick)
    {
        closer.actOnNext([this, pick](QWidget* widget) {
            auto* dialog = qobject_cast<QInputDialog*>(widget);
            QVERIFY(dialog);
            offeredProjects = dialog->comboBoxItems();
            dialog->setTextValue(offeredProjects.value(pick));
            dialog->accept();
        });
    }

    static QString name(const QString& suffix) { return obrtest::testDatabaseName(suffix); }

    void makeDatabase(const QString& suffix, const QStringList& statements)
    {
        obrtest::connectToServer(connection);
        QVERIFY(connection.createDatabase(name(suffix)));
        QVERIFY(connection.connectToDatabase(server, name(suffix)));
        obrtest::runAll(connection, statements);
    }

    // The tables and columns as `expected`, at `version`.
    void expectShape(const QStringList& expected, int version)
    {
        QCOMPARE(obrtest::catalogue(connection), expected);
        QCOMPARE(connection.projectVersion(), version);
    }

    // The rows a version update must keep or move, one line per table.
    QStringList rows()
    {
        const auto joined = [this](const QString& query) {
            return obrtest::column(connection, query).join(QStringLiteral(", "));
        };
        const QString log = connection.tableExists(QStringLiteral("surveyors_log")) == true
                                ? QStringLiteral("surveyors_log")
                                : QStringLiteral("tidal_variations");
        return {"log " + joined("SELECT concat_ws(' ', row_id, entry) FROM " + log + " ORDER BY row_id"),
                "amplitudes " + joined("SELECT concat_ws(' ', unique_line_id, shot_point, rms_amplitude, "
                                       "peak_amplitude) FROM marine_amp_analysis ORDER BY shot_point"),
                "points " + joined("SELECT shot_point FROM actual_points ORDER BY shot_point"),
                "coverage " + joined("SELECT concat_ws(' ', trace_serial_number, field_file, channel) "
                                     "FROM coverage_traces ORDER BY trace_serial_number"),
                "project " +
                    joined("SELECT concat_ws(' ', unique_project_id, project_name) FROM project_parameters")};
    }

    const DatabaseServer server = obrtest::throwawayServer();
    RecordingConsole console;
    DatabaseConnection connection;
    ProjectSchema schema{connection, console};
    QStringList fresh;
    QStringList offeredProjects;
};

OBR_TEST_MAIN(TestDatabaseSchema)
#include "tst_database_schema.moc"
