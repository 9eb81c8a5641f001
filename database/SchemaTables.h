#pragma once

#include <QString>
#include <vector>

// One table of a project database as the current schema version has it.
struct SchemaTable {
    const char* name;
    const char* columns; // the column list of its creation statement, SERIAL PRIMARY KEY first

    // "CreateCurrentLineTable" for "current_line": names the statement in error reports.
    QString label() const;
    QString createStatement() const;
};

namespace SchemaTables {

// Every table the schema upkeep creates when missing, in the order it creates them.
const std::vector<SchemaTable>& all();

} // namespace SchemaTables
