#pragma once

#include <vector>

// One step of the version updates: an idempotent statement, so that every update may run all of them.
struct SchemaUpdate {
    const char* label;
    const char* statement;
    // When set, the step runs only while this table still has this column: a data move out of
    // columns that a later step drops.
    const char* whileTable = nullptr;
    const char* whileColumn = nullptr;
};

namespace SchemaUpdates {

// The version updates in the order they run, after the missing tables have been created.
const std::vector<SchemaUpdate>& all();

} // namespace SchemaUpdates
