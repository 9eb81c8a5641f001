#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"
#include "database/DatabaseConnection.h"
#include "database/ProjectSchema.h"

namespace {

DatabaseServer server(const cli::Arguments& arguments)
{
    return DatabaseServer{arguments.text(QStringLiteral("host")),
                          int(arguments.integer(QStringLiteral("port"), DatabaseServer::defaultPort))};
}

QString databaseName(const cli::Arguments& arguments)
{
    return arguments.text(QStringLiteral("db"));
}

int failed(TerminalConsole& console, const QString& text)
{
    console.error(text, false);
    return cli::JobFailed;
}

int runList(const cli::Arguments& arguments, TerminalConsole& console)
{
    DatabaseConnection connection;
    if (!connection.connectToServer(server(arguments)))
        return failed(console, connection.errorText());
    const auto names = connection.projectDatabases();
    if (!names)
        return failed(console, connection.errorText());
    for (const QString& name : *names)
        console.message(name, Qt::black);
    return cli::Success;
}

int runVersion(const cli::Arguments& arguments, TerminalConsole& console)
{
    DatabaseConnection connection;
    if (!connection.connectToDatabase(server(arguments), databaseName(arguments)))
        return failed(console, connection.errorText());
    const auto version = connection.projectVersion();
    if (!version)
        return failed(console, connection.errorText());
    console.message(QString::number(*version), Qt::black);
    return cli::Success;
}

int runUpdate(const cli::Arguments& arguments, TerminalConsole& console)
{
    DatabaseConnection connection;
    ProjectSchema schema(connection, console);
    const QString name = databaseName(arguments);
    if (!schema.update(server(arguments), name))
        return failed(console, schema.errorText());
    const auto before = schema.previousVersion();
    console.message(QStringLiteral("Project database %1: version %2 -> %3, %4 tables created")
                        .arg(name, before ? QString::number(*before) : QStringLiteral("none"),
                             QString::number(ProjectSchema::currentVersion),
                             QString::number(schema.createdTables().size())),
                    Qt::black);
    return cli::Success;
}

int runCreate(const cli::Arguments& arguments, TerminalConsole& console)
{
    DatabaseConnection connection;
    ProjectSchema schema(connection, console);
    const QString name = databaseName(arguments);
    if (!schema.create(server(arguments), name))
        return failed(console, schema.errorText());
    console.message(QStringLiteral("Project database %1 created at version %2")
                        .arg(name, QString::number(ProjectSchema::currentVersion)),
                    Qt::black);
    return cli::Success;
}

cli::Option databaseOption()
{
    return cli::option("db", "NAME", QStringLiteral("the project database")).required();
}

} // namespace

OBRIO_COMMAND(
    db,
    cli::Command::tool("db", QStringLiteral("work the project databases on a PostgreSQL server"))
        .describe(QStringLiteral(
            "Works the suite's project databases on a PostgreSQL server, as user postgres. The password\n"
            "is the setting Database/Password of Corvane/Trevalo; without it libpq's own PGPASSWORD or\n"
            "~/.pgpass; when none of them has one, the suite's default. It is never shown.\n"
            "An update runs in one transaction: when a statement fails the database stays as it was."))
        .option(cli::option("host", "ADDR", QStringLiteral("the server's IPv4 address")).required())
        .option(cli::option("port", "N",
                            QStringLiteral("the server's port (default %1)").arg(DatabaseServer::defaultPort),
                            cli::integer(1, 65535))))
OBRIO_COMMAND(
    dbList,
    cli::Command::action("db", "list",
                         QStringLiteral("list the project databases, one a line (all but postgres, template0 "
                                        "and template1)"),
                         runList))
OBRIO_COMMAND(dbVersion,
              cli::Command::action("db", "version",
                                   QStringLiteral("show the schema version stored in the project database"),
                                   runVersion)
                  .option(databaseOption()))
OBRIO_COMMAND(dbUpdate,
              cli::Command::action(
                  "db", "update",
                  QStringLiteral("create the missing tables, apply the version updates, set version 21"),
                  runUpdate)
                  .option(databaseOption()))
OBRIO_COMMAND(dbCreate,
              cli::Command::action("db", "create",
                                   QStringLiteral("create a new empty project database at version 21"),
                                   runCreate)
                  .option(databaseOption()))
