#include "tests/support/ThrowawayPostgres.h"

#include "database/DatabaseConnection.h"

namespace obrtest {

namespace {
const QString prefix = QStringLiteral("obrtest_");
}

DatabaseServer throwawayServer()
{
    return DatabaseServer{QStringLiteral("127.0.0.1"), qEnvironmentVariableIntValue("OBR_TEST_PGPORT")};
}

QString testDatabaseName(const QString& suffix)
{
    return prefix + suffix;
}

void connectToServer(DatabaseConnection& connection)
{
    QVERIFY2(connection.connectToServer(throwawayServer()), qPrintable(connection.errorText()));
}

void dropTestDatabases()
{
    DatabaseConnection connection;
    connectToServer(connection);
    const auto names = connection.projectDatabases();
    QVERIFY2(names, qPrintable(connection.errorText()));
    for (const QString& name : *names) {
        if (name.startsWith(prefix))
            QVERIFY2(connection.dropDatabase(name), qPrintable(connection.errorText()));
    }
}

void runAll(DatabaseConnection& connection, const QStringList& statements)
{
    for (const QString& statement : statements)
        QVERIFY2(connection.run(QStringLiteral("TestSetUp"), statement),
                 qPrintable(connection.errorText() + QStringLiteral(" in ") + statement));
}

QStringList column(DatabaseConnection& connection, const QString& query)
{
    DatabaseConnection::Rows rows;
    if (!connection.run(QStringLiteral("TestQuery"), query, {}, &rows))
        return {connection.errorText()};
    QStringList values;
    for (const QStringList& row : rows)
        values.append(row.value(0));
    return values;
}

QStringList catalogue(DatabaseConnection& connection)
{
    return column(connection,
                  QStringLiteral(
                      "SELECT 'table ' || table_name FROM information_schema.tables "
                      "WHERE table_schema = current_schema() "
                      "UNION ALL SELECT 'column ' || table_name || '.' || column_name || ' ' || data_type || "
                      "coalesce('(' || character_maximum_length || ')', '') || ' default ' || "
                      "coalesce(column_default, '-') FROM information_schema.columns "
                      "WHERE table_schema = current_schema() "
                      "UNION ALL SELECT 'constraint ' || conrelid::regclass || ' ' || conname || ' ' || "
                      "pg_get_constraintdef(oid) FROM pg_constraint "
                      "WHERE connamespace = current_schema()::regnamespace "
                      "ORDER BY 1"));
}

} // namespace obrtest
