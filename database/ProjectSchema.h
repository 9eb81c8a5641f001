#pragma once

#include "database/DatabaseServer.h"

#include <QString>
#include <QStringList>
#include <optional>

class DatabaseConnection;
class ObrConsole;

// Schema upkeep of a project database: the tables created when missing, the version updates and the
// version number, all in one transaction, so that a failure leaves the database as it was.
class ProjectSchema {
public:
    static constexpr int currentVersion = 21;

    ProjectSchema(DatabaseConnection& connection, ObrConsole& console);

    // Connects the connection to the project database and brings it to the current version.
    bool update(const DatabaseServer& server, const QString& databaseName);
    // Creates a new empty project database at the current version; when that cannot be finished the
    // new database is removed again, so that a second try starts afresh.
    bool create(const DatabaseServer& server, const QString& databaseName);

    const QString& errorText() const { return errorText_; }
    // The version stored before the last update; none for a database without one.
    std::optional<int> previousVersion() const { return previousVersion_; }
    // The tables the last update created.
    const QStringList& createdTables() const { return createdTables_; }

private:
    bool readStoredVersion(const QString& databaseName);
    bool foldTidalVariations();
    bool moveTidalVariationsRows();
    bool createMissingTables();
    bool applyUpdates();
    bool storeVersion(const QString& databaseName);
    bool fail(const QString& text);

    DatabaseConnection& connection;
    ObrConsole& console;
    QString errorText_;
    std::optional<int> previousVersion_;
    QStringList createdTables_;
};
