#pragma once

#include "database/DatabaseServer.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

typedef struct pg_conn PGconn;
struct LibPq;

// One libpq connection to a database server, either to the server itself or to one project
// database on it. Every statement carries a label that names it in error reports; values travel
// as parameters and names are quoted by libpq, so no text given by a user becomes SQL.
// Failures leave their text in errorText() (the password never appears in it).
class DatabaseConnection {
public:
    using Rows = QVector<QStringList>;

    // The longest database name the server keeps whole (it cuts longer ones silently).
    static constexpr int maximumNameBytes = 63;

    DatabaseConnection() = default;
    ~DatabaseConnection();
    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;

    // Connects to the server's maintenance database; any open connection is closed first.
    bool connectToServer(const DatabaseServer& server);
    bool connectToDatabase(const DatabaseServer& server, const QString& databaseName);
    void close();

    bool isOpen() const;
    // libpq's connection status of the last connection attempt (0 when connected).
    int status() const { return status_; }
    const QString& errorText() const { return errorText_; }

    // The project databases on the server, by name; the maintenance and template databases are left out.
    std::optional<QStringList> projectDatabases();
    // The server's own databases (postgres, template0, template1), which hold no project: a
    // template's tables would come with every database made afterwards.
    static bool isMaintenanceDatabase(const QString& name);
    // Why the database cannot be a project database ("template1 is a maintenance database of the
    // server ..."), or an empty text when it can.
    static QString projectDatabaseProblem(const QString& name);
    std::optional<bool> tableExists(const QString& table);
    std::optional<bool> columnExists(const QString& table, const QString& column);
    // The schema version a project database holds, by one rule for every reader: the highest
    // project_version of the rows of project_parameters, rows without one passed over. *version is
    // empty when the database holds none (no such table or column, no row with a version); false
    // (error text set) when it cannot be read.
    bool readProjectVersion(std::optional<int>* version);
    // The schema version stored in project_parameters; none (error text set) when there is none.
    std::optional<int> projectVersion();

    // Runs one statement with $1, $2, ... bound to `values` (a null string is SQL NULL); the rows of
    // its result, as text, go to `rows` when given.
    bool run(const QString& label, const QString& statement, const QStringList& values = {},
             Rows* rows = nullptr);
    bool begin();
    bool end();
    bool rollback();

    // The name quoted for use in a statement as an identifier; empty (with the error text set) when
    // libpq refuses it.
    QString quoteIdentifier(const QString& name);
    // Creates or drops a database on the server this connection is connected to.
    bool createDatabase(const QString& name);
    bool dropDatabase(const QString& name);

    // Why the name cannot be a database name, or an empty text when it can.
    static QString nameProblem(const QString& name);

private:
    bool open(const DatabaseServer& server, const QString& databaseName);
    bool fail(const QString& text);

    const LibPq* pq_ = nullptr; // set with the first connection
    PGconn* connection = nullptr;
    int status_ = -1;
    QString errorText_;
};
