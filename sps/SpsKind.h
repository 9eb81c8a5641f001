#pragma once

#include <QChar>
#include <QString>

// The three kinds of SPS record, numbered as the suite numbers them.
enum class SpsKind { Source = 0, Receiver = 1, Relation = 2 };

namespace SpsKinds {

// "S", "R" or "X": the letter a data line of the kind carries in its Point ID columns.
QChar recordLetter(SpsKind kind);
// The kind of a letter given on a command line ("S", "R" or "X", either case); false for others.
bool fromLetter(const QString& letter, SpsKind* kind);
// "SPS Default Format", "RPS Default Format" or "XPS Default Format".
QString defaultFormatName(SpsKind kind);
// "source", "receiver" or "relation".
QString noun(SpsKind kind);
// The label of a layout field in the analyzer of the kind ("Easting", "Receiver easting", "Tape number").
QString fieldLabel(SpsKind kind, int field);

} // namespace SpsKinds
