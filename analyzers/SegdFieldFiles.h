#pragma once

#include <QString>
#include <QStringList>

// The field files the SEG-D analyzer offers in a directory.
namespace SegdFieldFiles {

// The "*.sgd" files of the directory in name order or, when it has none, its "*.segd" files;
// empty when it has neither.
QStringList inDirectory(const QString& directory);

} // namespace SegdFieldFiles
