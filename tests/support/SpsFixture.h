#pragma once

#include "sps/SpsLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace spstest {

// A layout as one comparable text: "first 1; Point ID 1-1 +; Line name 2-17 +; ..." with "+"
// for a loaded field and "-" for one that is not.
QString describe(const SpsLayout& layout);
// A format file document written by hand: the root element with the given body inside.
QByteArray formatDocument(const QString& root, const QString& body);
// Text lines joined with line feeds, ending in one.
QByteArray text(const QStringList& lines);

} // namespace spstest
