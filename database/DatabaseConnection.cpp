#include "database/DatabaseConnection.h"

#include "database/DatabasePassword.h"
#include "database/LibPq.h"

#include <memory>
#include <vector>

namespace {

// The IF NOT EXISTS forms of the schema upkeep report every change they skip as a notice, which
// libpq would print on standard error.
void ignoreNotice(void*, const char*) {}

QString trimmed(const char* text)
{
    return QString::fromUtf8(text).trimmed();
}

struct ResultDeleter {
    const LibPq* pq;
    void operator()(PGresult* result) const { pq->clear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// The server's own words for a failed statement, else libpq's message for the connection.
QString statementError(const LibPq& pq, const PGresult* result, PGconn* connection)
{
    const char* primary = result ? pq.resultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return primary ? trimmed(primary) : trimmed(pq.errorMessage(connection));
}

} // namespace

DatabaseConnection::~DatabaseConnection()
{
    close();
}

bool DatabaseConnection::connectToServer(const DatabaseServer& server)
{
    return open(server, QStringLiteral("postgres"));
}

bool DatabaseConnection::connectToDatabase(const DatabaseServer& server, const QString& databaseName)
{
    const QString problem = nameProblem(databaseName);
    if (!problem.isEmpty()) {
        close();
        return fail(QStringLiteral("Connection to database failed: %1").arg(problem));
    }
    return open(server, databaseName);
}

bool DatabaseConnection::open(const DatabaseServer& server, const QString& databaseName)
{
    close();
    if (server.address.trimmed().isEmpty())
        return fail(QStringLiteral("Connection to database failed: no server address given"));
    QString unloadable;
    pq_ = LibPq::load(unloadable);
    if (!pq_)
        return fail(QStringLiteral("Connection to database failed: %1").arg(unloadable));

    const QByteArray address = server.address.trimmed().toUtf8();
    const QByteArray port = QByteArray::number(server.port);
    const QByteArray name = databaseName.toUtf8();
    const auto connectWith = [&](const QString* password) {
        const QByteArray secret = password ? password->toUtf8() : QByteArray();
        std::vector<const char*> keywords{"hostaddr",        "port",           "user", "dbname",
                                          "client_encoding", "connect_timeout"};
        std::vector<const char*> values{address.constData(), port.constData(), "postgres",
                                        name.constData(),    "UTF8",           "10"};
        if (password) {
            keywords.push_back("password");
            values.push_back(secret.constData());
        }
        keywords.push_back(nullptr);
        values.push_back(nullptr);
        // Parameters, not a connection string: a name with blanks, quotes or '=' stays a name.
        return pq_->connectdbParams(keywords.data(), values.data(), 0);
    };

    const QString configured = DatabasePassword::configured();
    connection = connectWith(configured.isEmpty() ? nullptr : &configured);
    if (connection && pq_->status(connection) != CONNECTION_OK && configured.isEmpty() &&
        pq_->connectionNeedsPassword(connection)) {
        pq_->finish(connection);
        const QString suiteDefault = DatabasePassword::suiteDefault();
        connection = connectWith(&suiteDefault);
    }
    if (!connection)
        return fail(QStringLiteral("Connection to database failed: out of memory"));
    status_ = pq_->status(connection);
    if (status_ != CONNECTION_OK) {
        const QString message = trimmed(pq_->errorMessage(connection));
        close();
        return fail(QStringLiteral("Connection to database failed: %1").arg(message));
    }
    pq_->setNoticeProcessor(connection, ignoreNotice, nullptr);
    errorText_.clear();
    return true;
}

void DatabaseConnection::close()
{
    if (connection)
        pq_->finish(connection);
    connection = nullptr;
}

bool DatabaseConnection::isOpen() const
{
    return connection && pq_->status(connection) == CONNECTION_OK;
}

bool DatabaseConnection::fail(const QString& text)
{
    if (!connection)
        status_ = CONNECTION_BAD;
    errorText_ = text;
    return false;
}

std::optional<QStringList> DatabaseConnection::projectDatabases()
{
    Rows rows;
    if (!run(QStringLiteral("ListProjectDatabases"),
             QStringLiteral("SELECT datname FROM pg_database ORDER BY datname"), {}, &rows))
        return std::nullopt;
    QStringList names;
    for (const QStringList& row : rows) {
        if (!isMaintenanceDatabase(row.value(0)))
            names.append(row.value(0));
    }
    return names;
}

bool DatabaseConnection::isMaintenanceDatabase(const QString& name)
{
    return name == QLatin1String("postgres") || name == QLatin1String("template0") ||
           name == QLatin1String("template1");
}

QString DatabaseConnection::projectDatabaseProblem(const QString& name)
{
    if (!isMaintenanceDatabase(name))
        return {};
    return QStringLiteral(
               "%1 is a maintenance database of the server (postgres, template0 and template1 hold "
               "no project): left alone")
        .arg(name);
}

std::optional<bool> DatabaseConnection::tableExists(const QString& table)
{
    // Only the tables of the schema the statements work in: a namesake elsewhere is not ours.
    Rows rows;
    if (!run(QStringLiteral("TableExists"),
             QStringLiteral("SELECT EXISTS( SELECT FROM information_schema.tables WHERE table_name=$1 "
                            "AND table_schema=current_schema())"),
             {table}, &rows))
        return std::nullopt;
    return rows.value(0).value(0) == QLatin1String("t");
}

std::optional<bool> DatabaseConnection::columnExists(const QString& table, const QString& column)
{
    Rows rows;
    if (!run(QStringLiteral("ColumnExists"),
             QStringLiteral("SELECT EXISTS( SELECT FROM information_schema.columns WHERE table_name=$1 "
                            "AND column_name=$2 AND table_schema=current_schema())"),
             {table, column}, &rows))
        return std::nullopt;
    return rows.value(0).value(0) == QLatin1String("t");
}

bool DatabaseConnection::readProjectVersion(std::optional<int>* version)
{
    version->reset();
    const auto tableThere = tableExists(QStringLiteral("project_parameters"));
    if (!tableThere)
        return false;
    if (!*tableThere)
        return true;
    const auto columnThere =
        columnExists(QStringLiteral("project_parameters"), QStringLiteral("project_version"));
    if (!columnThere)
        return false;
    if (!*columnThere)
        return true;
    Rows rows;
    if (!run(QStringLiteral("ReadProjectVersion"),
             QStringLiteral("SELECT project_version FROM project_parameters"), {}, &rows))
        return false;
    for (const QStringList& row : rows) {
        bool ok = false;
        const int stored = row.value(0).toInt(&ok);
        if (ok && (!*version || stored > **version))
            *version = stored;
    }
    return true;
}

std::optional<int> DatabaseConnection::projectVersion()
{
    std::optional<int> version;
    if (!readProjectVersion(&version))
        return std::nullopt;
    if (!version)
        fail(QStringLiteral("ReadProjectVersion: project_parameters holds no project version"));
    return version;
}

bool DatabaseConnection::run(const QString& label, const QString& statement, const QStringList& values,
                             Rows* rows)
{
    if (!isOpen())
        return fail(QStringLiteral("%1: not connected to a database").arg(label));
    const QByteArray text = statement.toUtf8();
    std::vector<QByteArray> bytes;
    bytes.reserve(values.size());
    std::vector<const char*> parameters;
    for (const QString& value : values) {
        bytes.push_back(value.toUtf8());
        parameters.push_back(value.isNull() ? nullptr : bytes.back().constData());
    }
    const Result result(pq_->execParams(connection, text.constData(), int(parameters.size()), nullptr,
                                        parameters.data(), nullptr, nullptr, 0),
                        ResultDeleter{pq_});
    const ExecStatusType outcome = result ? pq_->resultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (outcome != PGRES_COMMAND_OK && outcome != PGRES_TUPLES_OK)
        return fail(QStringLiteral("%1: %2").arg(label, statementError(*pq_, result.get(), connection)));
    if (rows) {
        rows->clear();
        const int rowCount = pq_->ntuples(result.get());
        const int columnCount = pq_->nfields(result.get());
        rows->reserve(rowCount);
        for (int row = 0; row < rowCount; ++row) {
            QStringList fields;
            for (int column = 0; column < columnCount; ++column)
                fields.append(pq_->getisnull(result.get(), row, column)
                                  ? QString()
                                  : QString::fromUtf8(pq_->getvalue(result.get(), row, column)));
            rows->append(fields);
        }
    }
    return true;
}

bool DatabaseConnection::begin()
{
    return run(QStringLiteral("BeginTransaction"), QStringLiteral("BEGIN"));
}

bool DatabaseConnection::end()
{
    return run(QStringLiteral("EndTransaction"), QStringLiteral("END"));
}

bool DatabaseConnection::rollback()
{
    return run(QStringLiteral("RollbackTransaction"), QStringLiteral("ROLLBACK"));
}

QString DatabaseConnection::quoteIdentifier(const QString& name)
{
    if (!isOpen()) {
        fail(QStringLiteral("cannot quote %1: not connected to a database").arg(name));
        return QString();
    }
    const QByteArray bytes = name.toUtf8();
    char* quoted = pq_->escapeIdentifier(connection, bytes.constData(), size_t(bytes.size()));
    if (!quoted) {
        fail(QStringLiteral("cannot quote %1: %2").arg(name, trimmed(pq_->errorMessage(connection))));
        return QString();
    }
    const QString result = QString::fromUtf8(quoted);
    pq_->freemem(quoted);
    return result;
}

bool DatabaseConnection::createDatabase(const QString& name)
{
    const QString problem = nameProblem(name);
    if (!problem.isEmpty())
        return fail(QStringLiteral("CreateProjectDatabase: %1").arg(problem));
    const QString quoted = quoteIdentifier(name);
    return !quoted.isEmpty() &&
           run(QStringLiteral("CreateProjectDatabase"), QStringLiteral("CREATE DATABASE %1").arg(quoted));
}

bool DatabaseConnection::dropDatabase(const QString& name)
{
    const QString quoted = quoteIdentifier(name);
    return !quoted.isEmpty() &&
           run(QStringLiteral("DropProjectDatabase"), QStringLiteral("DROP DATABASE %1").arg(quoted));
}

QString DatabaseConnection::nameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("no database name given");
    if (name.contains(QChar(0)))
        return QStringLiteral("a database name cannot hold a zero character");
    if (name.toUtf8().size() > maximumNameBytes)
        return QStringLiteral("the database name %1 is longer than %2 bytes")
            .arg(name, QString::number(maximumNameBytes));
    return QString();
}
