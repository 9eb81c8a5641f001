#pragma once

#include <QString>

// The names of the multi-file copy's output files.
namespace DirCopyNames {

// `directory`/`name`, or, while a file of that path exists, the name with every "." replaced by
// "-N." (N = 1, 2, ...; each round changes the name as changed so far: a.sgy, a-1.sgy, a-1-2.sgy).
QString uniquePath(const QString& directory, const QString& name);

// The output name of a disk input file: its own, with ".sgd" for ".sgy" when converting.
QString forInputFile(const QString& fileName, bool segd);

// The output name of the n-th (1-based) file of a tape input.
QString forTapeFile(const QString& baseName, int number, bool segd);

// The name of the field file of one field record: `name` with "_" and the record number before
// its extension (a.sgd, 1001: a_1001.sgd).
QString withFieldRecord(const QString& name, qint64 record);

} // namespace DirCopyNames
