#pragma once

#include <QString>
#include <QStringList>

// The HTML help pages shown by the documentation viewer. They are built into the program and
// copied into the working root's "Docs" directory, where the viewer looks and users may edit them.
namespace HelpPages {

// The file names of the pages built into the program.
QStringList names();
// Copies every built-in page that is missing from the directory into it, making the directory
// itself (one level) when it is missing. Pages already there are never overwritten. False when
// something could not be made; errorText then says what.
[[nodiscard]] bool install(const QString& docsDirectory, QStringList* copied = nullptr,
                           QString* errorText = nullptr);

} // namespace HelpPages
