#pragma once

#include <QString>
#include <QStringList>

// The HTML help pages shown by the documentation viewer. They are installed with the program and
// copied into the working root's "Docs" directory, where the viewer looks and users may edit them.
namespace HelpPages {

// The directory of the pages installed with the program.
QString directory();
// The file names of the pages installed with the program.
QStringList names();
// Copies every installed page that is missing from the directory into it, making the directory
// itself (one level) when it is missing. Pages already there are never overwritten. False when
// something could not be made or no pages are installed; errorText then says what.
[[nodiscard]] bool install(const QString& docsDirectory, QStringList* copied = nullptr,
                           QString* errorText = nullptr);

} // namespace HelpPages
