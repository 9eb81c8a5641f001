#pragma once

#include <QString>
#include <QStringList>

// The suite's working root: the user's documents directory followed by "/krd".
namespace WorkingRoot {

QString path();
// The folders an installation puts under the working root.
QStringList folderNames();
// Creates the working root and its folders where missing; false when one could not be made.
[[nodiscard]] bool create(QString* errorText = nullptr);

} // namespace WorkingRoot
