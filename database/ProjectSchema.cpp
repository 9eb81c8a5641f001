#include "database/ProjectSchema.h"

#include "base/ObrConsole.h"
#include "database/DatabaseConnection.h"
#include "database/SchemaTables.h"
#include "database/SchemaUpdates.h"

#include <algorithm>

ProjectSchema::ProjectSchema(DatabaseConnection& connection, ObrConsole& console)
    : connection(connection), console(console)
{}

bool ProjectSchema::update(const DatabaseServer& server, const QString& databaseName)
{
    errorText_.clear();
    previousVersion_.reset();
    createdTables_.clear();
    const QString refused = DatabaseConnection::projectDatabaseProblem(databaseName);
    if (!refused.isEmpty())
        return fail(refused);
    if (!connection.connectToDatabase(server, databaseName))
        return fail(connection.errorText());
    if (!connection.begin())
        return fail(QStringLiteral("Updating project database %1 failed: %2")
                        .arg(databaseName, connection.errorText()));
    const bool updated = readStoredVersion(databaseName) && foldTidalVariations() && createMissingTables() &&
                         applyUpdates() && storeVersion(databaseName) && connection.end();
    if (!updated) {
        if (errorText_.isEmpty())
            errorText_ = QStringLiteral("Updating project database %1 failed: %2")
                             .arg(databaseName, connection.errorText());
        connection.rollback();
        createdTables_.clear();
    }
    return updated;
}

bool ProjectSchema::create(const DatabaseServer& server, const QString& databaseName)
{
    errorText_.clear();
    const QString refused = DatabaseConnection::projectDatabaseProblem(databaseName);
    if (!refused.isEmpty())
        return fail(refused);
    if (!connection.connectToServer(server))
        return fail(connection.errorText());
    if (!connection.createDatabase(databaseName))
        return fail(QStringLiteral("Creating project database %1 failed: %2")
                        .arg(databaseName, connection.errorText()));
    if (update(server, databaseName))
        return true;
    const QString reason = errorText_;
    if (!connection.connectToServer(server) || !connection.dropDatabase(databaseName))
        console.warning(QStringLiteral("the unfinished project database %1 could not be removed: %2")
                            .arg(databaseName, connection.errorText()),
                        false);
    errorText_ = reason;
    return false;
}

// A database whose version is newer than ours may have columns our updates would drop. The
// version is read by the rule every reader follows (DatabaseConnection::readProjectVersion).
bool ProjectSchema::readStoredVersion(const QString& databaseName)
{
    if (!connection.readProjectVersion(&previousVersion_))
        return false;
    if (previousVersion_ && *previousVersion_ > currentVersion)
        return fail(
            QStringLiteral("Project database %1 is at version %2, newer than version %3 of this "
                           "program: left unchanged")
                .arg(databaseName, QString::number(*previousVersion_), QString::number(currentVersion)));
    return true;
}

// "tidal_variations" is the former name of "surveyors_log". It runs before the tables are created,
// since afterwards a missing surveyors_log would already exist empty.
bool ProjectSchema::foldTidalVariations()
{
    const auto oldThere = connection.tableExists(QStringLiteral("tidal_variations"));
    if (!oldThere)
        return false;
    if (!*oldThere)
        return true;
    const auto newThere = connection.tableExists(QStringLiteral("surveyors_log"));
    if (!newThere)
        return false;
    if (*newThere)
        return moveTidalVariationsRows();
    // The key and the row counter follow the name, so that nothing is left under the old one.
    const bool renamed =
        connection.run(QStringLiteral("RenameTidalVariationsTable"),
                       QStringLiteral("ALTER TABLE tidal_variations RENAME TO surveyors_log")) &&
        connection.run(
            QStringLiteral("RenameTidalVariationsKey"),
            QStringLiteral("ALTER INDEX IF EXISTS tidal_variations_pkey RENAME TO surveyors_log_pkey")) &&
        connection.run(QStringLiteral("RenameTidalVariationsSequence"),
                       QStringLiteral("ALTER SEQUENCE IF EXISTS tidal_variations_row_id_seq "
                                      "RENAME TO surveyors_log_row_id_seq"));
    if (renamed)
        console.debug(QStringLiteral("tidal_variations renamed to surveyors_log"));
    return renamed;
}

// Both tables exist: the old rows join the log under new row numbers, in the columns both have.
bool ProjectSchema::moveTidalVariationsRows()
{
    DatabaseConnection::Rows shared;
    if (!connection.run(
            QStringLiteral("ReadTidalVariationsColumns"),
            QStringLiteral("SELECT column_name FROM information_schema.columns "
                           "WHERE table_schema=current_schema() AND table_name=$1 AND column_name<>'row_id' "
                           "AND column_name IN (SELECT column_name FROM information_schema.columns "
                           "WHERE table_schema=current_schema() AND table_name=$2) "
                           "ORDER BY ordinal_position"),
            {QStringLiteral("tidal_variations"), QStringLiteral("surveyors_log")}, &shared))
        return false;
    QStringList columns;
    for (const QStringList& row : shared) {
        const QString quoted = connection.quoteIdentifier(row.value(0));
        if (quoted.isEmpty())
            return false;
        columns.append(quoted);
    }
    DatabaseConnection::Rows moved;
    if (!columns.isEmpty()) {
        const QString list = columns.join(QStringLiteral(", "));
        if (!connection.run(QStringLiteral("MoveTidalVariationsRows"),
                            QStringLiteral("INSERT INTO surveyors_log (%1) SELECT %1 FROM tidal_variations "
                                           "RETURNING row_id")
                                .arg(list),
                            {}, &moved))
            return false;
    }
    if (!connection.run(QStringLiteral("DropTidalVariationsTable"),
                        QStringLiteral("DROP TABLE tidal_variations")))
        return false;
    console.debug(QStringLiteral("%1 rows of tidal_variations moved to surveyors_log").arg(moved.size()));
    return true;
}

bool ProjectSchema::createMissingTables()
{
    for (const SchemaTable& table : SchemaTables::all()) {
        const QString name = QString::fromLatin1(table.name);
        const auto exists = connection.tableExists(name);
        if (!exists)
            return false;
        if (*exists)
            continue;
        if (!connection.run(table.label(), table.createStatement()))
            return false;
        createdTables_.append(name);
        console.debug(QStringLiteral("created table %1").arg(name));
    }
    return true;
}

bool ProjectSchema::applyUpdates()
{
    for (const SchemaUpdate& step : SchemaUpdates::all()) {
        if (step.whileTable) {
            const auto pending = connection.columnExists(QString::fromLatin1(step.whileTable),
                                                         QString::fromLatin1(step.whileColumn));
            if (!pending)
                return false;
            if (!*pending)
                continue;
        }
        if (!connection.run(QString::fromLatin1(step.label), QString::fromLatin1(step.statement)))
            return false;
        console.lowLevel(QStringLiteral("%1 done").arg(QString::fromLatin1(step.label)));
    }
    return true;
}

bool ProjectSchema::storeVersion(const QString& databaseName)
{
    DatabaseConnection::Rows rows;
    if (!connection.run(QStringLiteral("ReadProjectVersion"),
                        QStringLiteral("SELECT project_version FROM project_parameters"), {}, &rows))
        return false;
    const QString version = QString::number(currentVersion);
    bool stored = true;
    // A new database has no parameter row yet: the version is its first entry.
    if (rows.isEmpty())
        stored = connection.run(
            QStringLiteral("InsertProjectVersionNumber"),
            QStringLiteral("INSERT INTO project_parameters (project_version) VALUES ($1)"), {version});
    else if (std::any_of(rows.begin(), rows.end(),
                         [&](const QStringList& row) { return row.value(0) != version; }))
        stored =
            connection.run(QStringLiteral("UpdateProjectVersionNumber"),
                           QStringLiteral("UPDATE project_parameters SET project_version=$1"), {version});
    if (stored)
        return true;
    fail(QStringLiteral("Applying version updates to database failed: %1").arg(connection.errorText()));
    console.warning(
        QStringLiteral("Error updating project version number in database db file %1").arg(databaseName),
        true);
    return false;
}

bool ProjectSchema::fail(const QString& text)
{
    errorText_ = text;
    return false;
}
