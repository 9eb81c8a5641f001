#pragma once

#include "sps/SpsLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace spstest {

// A layout as one comparable text: "first 1; Point ID 1-1 +; Line name 2-17 +; ..." ("-": not loaded).
QString describe(const SpsLayout& layout);
// A format file document written by hand: the root element with the given body inside.
QByteArray formatDocument(const QString& root, const QString& body);
// Text lines joined with line feeds, ending in one.
QByteArray text(const QStringList& lines);
// A header line and two source points in the built-in columns, with blank depth and water depth.
const QStringList& sourceLines();

// A field in the columns of the published SPS 2.1 standard, written out apart from the program's
// table. Types: 't' float truncated, 'i' integer, 'f' one decimal, 'g' six digits, ' ' no range.
struct Revision21Column {
    const char* name; // the field's name in format files
    int start;
    int end;
    char type;
};

const QVector<Revision21Column>& revision21Columns(bool relation);
// "min..max" of a column over the lines that start with the letter, parsed with Qt's string
// conversions and shown as the analyzers show values; ".." without such a line or range.
QString expectedRange(const QStringList& lines, QChar letter, const Revision21Column& column);

} // namespace spstest
