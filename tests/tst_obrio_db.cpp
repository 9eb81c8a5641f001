#include "database/DatabaseConnection.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/TestMain.h"
#include "tests/support/ThrowawayPostgres.h"

#include <QSettings>

// `obrio db` against the throwaway server, through the program itself.
class TestObrioDb : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OBR_REQUIRE_POSTGRES();
        obrtest::dropTestDatabases();
    }
    void cleanup()
    {
        QFile::remove(settingsFile());
        obrtest::dropTestDatabases();
    }

    void createListUpdateVersion()
    {
        const QString name = QStringLiteral("obrtest_it's; DROP DATABASE obrtest_other; --");
        QCOMPARE(db({"create", "--db", "obrtest_other"}).status, 0);
        QCOMPARE(db({"create", "--db", name}).status, 0);
        QCOMPARE(db({"list"}).out,
                 QStringList({"obrtest_it's; DROP DATABASE obrtest_other; --", "obrtest_other"}));
        QCOMPARE(db({"version", "--db", name}).out, QStringList{"21"});
        QVERIFY(db({"update", "--db", name}).out.value(0).contains("version 21 -> 21"));

        const obrtest::ObrioRun again = db({"create", "--db", name});
        QCOMPARE(again.status, 1);
        QVERIFY(again.err.value(0).contains("already exists"));
    }

    // The server's own databases hold no project: an update leaves them alone (which names are the
    // server's is the connection's test).
    void maintenanceDatabaseLeftAlone()
    {
        const obrtest::ObrioRun run = db({"update", "--db", "postgres"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.join('\n').contains("postgres is a maintenance database"),
                 qPrintable(run.err.join('\n')));
        DatabaseConnection connection;
        QVERIFY2(connection.connectToDatabase(obrtest::throwawayServer(), QStringLiteral("postgres")),
                 qPrintable(connection.errorText()));
        QCOMPARE(connection.tableExists(QStringLiteral("project_parameters")), std::optional<bool>(false));
    }

    void failuresKeepThePasswordOut()
    {
        const QString secret = QStringLiteral("Sesame-Word-77");
        QSettings(settingsFile(), QSettings::IniFormat).setValue(QStringLiteral("Database/Password"), secret);
        const obrtest::ObrioRun run = db({"-vv", "update", "--db", "obrtest_none"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.value(0).contains("password authentication failed"));
        QVERIFY(!(run.out + run.err).join('\n').contains(secret));
    }

    // libpq is loaded when a database is first used: one that cannot be loaded is a clear error
    // there, and every other command starts without it.
    void unloadableClientLibrary()
    {
        QTemporaryDir libraries;
        QFile broken(libraries.filePath(QStringLiteral("libpq.so.5")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a library") > 0);
        broken.close();
        const QByteArray searched = qgetenv("LD_LIBRARY_PATH");
        qputenv("LD_LIBRARY_PATH", QFile::encodeName(libraries.path()) + ':' + searched);
        const obrtest::ObrioRun list = db({"list"});
        const obrtest::ObrioRun help = obrtest::runObrio(home.path(), {"segy", "info", "--help"});
        qputenv("LD_LIBRARY_PATH", searched);
        QCOMPARE(list.status, 1);
        QVERIFY2(list.err.first().contains("client library could not be loaded"),
                 qPrintable(list.err.first()));
        QCOMPARE(help.status, 0);
    }

private:
    obrtest::ObrioRun db(const QStringList& arguments)
    {
        return obrtest::runObrio(home.path(),
                                 QStringList{"db"} + arguments +
                                     QStringList{"--host", "127.0.0.1", "--port",
                                                 QString::number(obrtest::throwawayServer().port)});
    }
    QString settingsFile() const { return home.path() + QStringLiteral("/.config/Corvane/Trevalo.conf"); }

    QTemporaryDir home;
};

OBR_TEST_MAIN(TestObrioDb)
#include "tst_obrio_db.moc"
