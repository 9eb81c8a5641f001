#pragma once

#include "seismic/SegyFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// The rows of the analyzer's header word tables: every word of a header at each width and
// type, with the field a format places there and the word's value per scanned trace.
namespace HeaderWordTables {

enum class TraceTable { OneByte, TwoByte, FourByte, IbmFloat, IeeeFloat };

struct Row {
    QString position;    // "%1" or "%1 to %2", 1-based
    QString description; // the field that starts here in the table's type, or empty
    QString kind;        // 4-byte table: "Integer" or "Floating Point" for described rows
    QStringList values;  // one per header
};

// Where the format puts a key slot: 1-based start byte and HeaderDataType code.
struct Placement {
    int startByte;
    int type;
};
using SlotLookup = std::function<Placement(int slot)>;

// Rows of a trace header table over headerSize bytes; values from each raw header (words
// byte-reversed when swap is set).
QVector<Row> traceRows(TraceTable table, int headerSize, const QVector<QByteArray>& headers, bool swap,
                       const SlotLookup& slotOf);

// The table's word at a 1-based start byte of one raw header, as its value column shows it;
// floating is set on the 4-byte table's "Floating Point" rows.
QString traceValue(TraceTable table, const QByteArray& header, int startByte, bool swap, bool floating);
// The bytes of one word of the table: 1, 2 or 4.
int wordBytes(TraceTable table);

// Rows of the words of trace header extension 1 (SEG-Y revision 2), one per word: position, name,
// the type's box name as kind, and per header its value as stored; a header that does not hold
// the extension has empty values.
QVector<Row> extensionRows(const QVector<QByteArray>& headers, bool swap);
// One word of one header as extensionRows shows it.
QString extensionValue(const SegyFormat::HeaderWord& word, const QByteArray& header, bool swap);
// True when one of the headers holds extension 1.
bool anyExtensionOne(const QVector<QByteArray>& headers);

// A binary header word the format places: its description and placement.
struct BinaryWord {
    const char* description;
    Placement placement;
};

// Rows of the 2-byte (wordBytes 2) or 4-byte binary header table; the value is the one
// column of values.
QVector<Row> binaryRows(int wordBytes, const QByteArray& header, bool swap, const QVector<BinaryWord>& words);

} // namespace HeaderWordTables
