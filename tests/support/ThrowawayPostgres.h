#pragma once

#include "database/DatabaseServer.h"

#include <QStringList>
#include <QtTest>

class DatabaseConnection;

namespace obrtest {

// The throwaway PostgreSQL server tools/with-postgres runs beside the database tests (on 127.0.0.1,
// its port in OBR_TEST_PGPORT); a test runs only against it, never against a server of the user.
DatabaseServer throwawayServer();
// Names of the databases the tests make start with this, so that each test can clear away the
// leftovers of an earlier one.
QString testDatabaseName(const QString& suffix);
// Drops every test database on the throwaway server.
void dropTestDatabases();
// A connection to the server's maintenance database, for setting up and looking.
void connectToServer(DatabaseConnection& connection);
// Runs statements in order; the test fails at the first that fails.
void runAll(DatabaseConnection& connection, const QStringList& statements);
// Tables, columns (with type and default) and constraints of the database, one sorted line each.
QStringList catalogue(DatabaseConnection& connection);
// The values of one column of a query, in order.
QStringList column(DatabaseConnection& connection, const QString& query);

} // namespace obrtest

// Skips the test with the reason when the server programs are not installed; without a server
// otherwise the test fails, naming the way to run it.
#define OBR_REQUIRE_POSTGRES()                                                                               \
    do {                                                                                                     \
        if (qEnvironmentVariableIsEmpty("OBR_TEST_PGPORT")) {                                                \
            if (!qEnvironmentVariableIsEmpty("OBR_TEST_PG_SKIP"))                                            \
                QSKIP(qPrintable(qEnvironmentVariable("OBR_TEST_PG_SKIP") +                                  \
                                 QStringLiteral(": database tests skipped")));                               \
            QFAIL("no throwaway PostgreSQL server: run the test through ctest, tools/test or "               \
                  "tools/with-postgres");                                                                    \
        }                                                                                                    \
    } while (false)
