#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"
#include "database/DatabaseConnection.h"
#include "database/ProjectSchema.h"

#include <algorithm>

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

// A name as `db list` prints it: as it is, unless it holds a control character (a line break, a
// tab, ...), a double quote or a backslash; then in double quotes with C escapes (\n, \t, \", \\,
// \xHH, \uHHHH), so that every printed line is one name and reads back as one.
QString listed(const QString& name)
{
    const auto needsEscape = [](QChar c) {
        const auto category = c.category();
        return category == QChar::Other_Control || category == QChar::Separator_Line ||
               category == QChar::Separator_Paragraph || c == QLatin1Char('"') || c == QLatin1Char('\\');
    };
    if (std::none_of(name.begin(), name.end(), needsEscape))
        return name;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : name) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QString(QLatin1Char('\\')) + c;
        else if (c.unicode() >= 7 && c.unicode() <= 13) // \a \b \t \n \v \f \r
            quoted += QString(QLatin1Char('\\')) + QLatin1Char("abtnvfr"[c.unicode() - 7]);
        else if (needsEscape(c) && c.unicode() < 0x80)
            quoted += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (needsEscape(c))
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
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
        console.message(listed(name), Qt::black);
    return cli::Success;
}

int runVersion(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString refused = DatabaseConnection::projectDatabaseProblem(databaseName(arguments));
    if (!refused.isEmpty())
        return failed(console, refused);
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
                         runList)
        .describe(QStringLiteral(
            "Lists the project databases of the server, one name a line, sorted; the server's own\n"
            "databases postgres, template0 and template1 are left out. A name that holds a control\n"
            "character (such as a line break or a tab), a double quote or a backslash is printed in\n"
            "double quotes with C escapes: \\n, \\t, \\r, \\\", \\\\, \\xHH for other control\n"
            "characters and \\uHHHH beyond ASCII; every other name is printed as it is.")))
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
