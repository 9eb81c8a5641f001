#pragma once

#include "seismic/SegdTraceHeaderRecord.h"

#include <QString>
#include <QVariant>
#include <array>
#include <vector>

class QTextStream;

// The 55 columns of the trace header table: the SEG-D trace header fields and the Sercel trace
// header extensions, with where each lies in a SegdTraceHeaderRecord and how it is stored.
// The analyzer's table and the export file (shared with the command line) read them here.
namespace SegdTraceHeaderColumns {

enum class Kind {
    FieldFile,  // BCD, or the extended number when all ones
    ChannelSet, // BCD, or the extended channel set when all ones
    Bcd4,
    UInt8,
    Int24,
    UInt24,
    Int32,
    Float32,
    Float64,
    Flag, // an error byte: 0 or not 0
};

struct Column {
    const char* title;
    Kind kind;
    int byte;         // 1-based from the first byte of the trace header
    const char* unit; // appended to the analyzer's cell, or null
};

constexpr int count = 55;
extern const std::array<Column, count> columns;
// The first columns are the standard's trace header and first extension, read in any recorder's
// file; the others are Sercel's extensions, blank for other recorders.
constexpr int standardCount = 10;
bool shown(int column, bool sercel);

double value(const SegdBytes& header, const Column& column);
// The analyzer's cell: integers and reals as numbers, measured values with their unit, error
// bytes as "Yes" or "No"; empty where the column is not shown.
QVariant cell(const SegdBytes& header, int column, bool sercel);

// The export file: the column titles, then one line per trace with integers in decimal and
// reals in fixed notation with 6 decimals (nothing between the separators where a column is not
// shown).
QString exportHeaderLine();
QString exportLine(const SegdBytes& header, bool sercel);
// The header line and the lines of the first count records (never more than are held).
void writeExport(QTextStream& out, const std::vector<SegdTraceHeaderRecord>& records, qint64 count,
                 bool sercel);

} // namespace SegdTraceHeaderColumns
