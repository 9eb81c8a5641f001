#include "database/DatabaseConnection.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestMain.h"
#include "tests/support/ThrowawayPostgres.h"

#include <QSettings>

// The connection object against the throwaway server: where the password comes from, what a failure
// says, and names that stay names.
class TestDatabaseConnection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OBR_REQUIRE_POSTGRES();
        obrtest::dropTestDatabases();
    }
    void cleanup()
    {
        QSettings(QStringLiteral("Corvane"), QStringLiteral("Trevalo")).remove(QStringLiteral("Database"));
        qunsetenv("PGPASSWORD");
        obrtest::dropTestDatabases();
    }

    void passwordSources_data()
    {
        // setting: Database/Password; environment: PGPASSWORD ("" leaves it out); refused: the failure
        // text is the server's refusal, with neither password in it.
        obrtest::columns<QString, QString, bool>({"setting", "environment", "refused"});
        QTest::newRow("nothing configured: the suite's default") << ""
                                                                 << "" << false;
        QTest::newRow("setting before PGPASSWORD") << "kelpforest"
                                                   << "n0t-1t" << false;
        QTest::newRow("wrong setting") << "s3cret pass='x' dbname=evil"
                                       << "" << true;
        QTest::newRow("wrong PGPASSWORD, no fallback") << ""
                                                       << "wr0ng-Env-Pass" << true;
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
        const DatabaseServer server = obrtest::throwawayServer();
        DatabaseConnection connection;
        QCOMPARE(connection.connectToServer(server), !refused);
        QCOMPARE(connection.errorText(),
                 refused
                     ? QStringLiteral("Connection to database failed: connection to server at \"127.0.0.1\", "
                                      "port %1 failed: FATAL:  password authentication failed for user "
                                      "\"postgres\"")
                           .arg(server.port)
                     : QString());
        QCOMPARE(connection.isOpen(), !refused);
    }

    void closedPortAndBadAddress_data()
    {
        obrtest::columns<QString, int, QString>({"address", "port", "error"});
        QTest::newRow("closed port")
            << "127.0.0.1" << 1
            << "Connection to database failed: connection to server at \"127.0.0.1\", port 1 failed: "
               "Connection refused\n\tIs the server running on that host and accepting TCP/IP connections?";
        QTest::newRow("no address") << " " << 5432
                                    << "Connection to database failed: no server address given";
    }
    void closedPortAndBadAddress()
    {
        const auto [address, port, error] = obrtest::fetch<QString, int, QString>("address", "port", "error");
        QSettings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"))
            .setValue(QStringLiteral("Database/Password"), QStringLiteral("Hidden-Word-42"));
        DatabaseConnection connection;
        QVERIFY(!connection.connectToDatabase({address, port}, QStringLiteral("anything")));
        QCOMPARE(connection.errorText(), error);
        QCOMPARE(connection.status(), 1);
        QVERIFY(!connection.run(QStringLiteral("AfterFailure"), QStringLiteral("SELECT 1")));
        QCOMPARE(connection.errorText(), QStringLiteral("AfterFailure: not connected to a database"));
    }

    void namesStayNames_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("quote and semicolon") << "it's\"; DROP DATABASE obrtest_victim; --";
        QTest::newRow("connection string words") << "a b=c dbname=postgres";
        QTest::newRow("not ASCII") << "Øster-lind ÆØÅ";
    }
    void namesStayNames()
    {
        QFETCH(QString, suffix);
        const QString name = obrtest::testDatabaseName(suffix);
        const QString victim = obrtest::testDatabaseName(QStringLiteral("victim"));
        DatabaseConnection server;
        obrtest::connectToServer(server);
        QVERIFY(server.createDatabase(victim));
        QVERIFY2(server.createDatabase(name), qPrintable(server.errorText()));
        const auto both = server.projectDatabases();
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
        QVERIFY(server.dropDatabase(name));
        QCOMPARE(server.projectDatabases(), QStringList{victim});
    }

    void unusableNamesRefused_data()
    {
        obrtest::columns<QString, QString>({"name", "problem"});
        QTest::newRow("64 bytes") << "obrtest_" + QString(56, QLatin1Char('x'))
                                  << "the database name obrtest_" + QString(56, QLatin1Char('x')) +
                                         " is longer than 63 bytes";
        QTest::newRow("zero character") << QStringLiteral("obrtest_a") + QChar(0) + QStringLiteral("b")
                                        << "a database name cannot hold a zero character";
    }
    void unusableNamesRefused()
    {
        const auto [name, problem] = obrtest::fetch<QString, QString>("name", "problem");
        DatabaseConnection connection;
        obrtest::connectToServer(connection);
        QVERIFY(!connection.createDatabase(name));
        QCOMPARE(connection.errorText(), QStringLiteral("CreateProjectDatabase: ") + problem);
        QCOMPARE(connection.projectDatabases(), QStringList());
        QVERIFY(!connection.connectToDatabase(obrtest::throwawayServer(), name));
        QCOMPARE(connection.errorText(), QStringLiteral("Connection to database failed: ") + problem);
    }

    // The server's own databases are no projects: refused by name (namesStayNames sees them unlisted).
    void maintenanceDatabases()
    {
        for (const char* name : {"postgres", "template0", "template1"})
            QCOMPARE(DatabaseConnection::projectDatabaseProblem(QLatin1String(name)),
                     QStringLiteral("%1 is a maintenance database of the server (postgres, template0 and "
                                    "template1 hold no project): left alone")
                         .arg(QLatin1String(name)));
        QCOMPARE(DatabaseConnection::projectDatabaseProblem(QStringLiteral("obrtest_postgres")), QString());
    }

    void failedStatementNamesItsLabel()
    {
        DatabaseConnection connection;
        obrtest::connectToServer(connection);
        QVERIFY(!connection.run(QStringLiteral("ReadMissingTable"),
                                QStringLiteral("SELECT * FROM no_such_table")));
        QCOMPARE(connection.errorText(),
                 QStringLiteral("ReadMissingTable: relation \"no_such_table\" does not exist"));
    }
};

OBR_TEST_MAIN(TestDatabaseConnection)
#include "tst_database_connection.moc"
