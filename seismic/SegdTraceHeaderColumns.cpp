#include "seismic/SegdTraceHeaderColumns.h"

#include <QStringList>
#include <QTextStream>
#include <algorithm>

namespace SegdTraceHeaderColumns {

// Sercel trace header extensions: 1 at byte 21 (receiver), 2 at 53 (position), 3 at 85
// (resistance and tilt), 4 at 117 (capacitance and cutoff), 5 at 149 (leakage), 6 at 181
// (units), 7 at 213 (control unit and trace values).
const std::array<Column, count> columns = {{
    {"Field File", Kind::FieldFile, 1, nullptr},
    {"Channel Set", Kind::ChannelSet, 4, nullptr},
    {"Trace Number", Kind::Bcd4, 5, nullptr},
    {"1st Timing Word", Kind::Int24, 7, nullptr},
    {"Trace Edit", Kind::UInt8, 12, nullptr},
    {"Time Break Window", Kind::Int24, 13, nullptr},
    {"Receiver Line", Kind::Int24, 21, nullptr},
    {"Receiver Point", Kind::Int24, 24, nullptr},
    {"Rcvr Point Index", Kind::UInt8, 27, nullptr},
    {"Sensor Type", Kind::UInt8, 41, nullptr},
    {"Rcvr Point Easting", Kind::Float64, 53, nullptr},
    {"Rcvr Point Northing", Kind::Float64, 61, nullptr},
    {"Rcvr Point Elev", Kind::Float32, 69, nullptr},
    {"Resistance Low Limit", Kind::Float32, 85, nullptr},
    {"Resistance High Limit", Kind::Float32, 89, nullptr},
    {"Resistance Value", Kind::Float32, 93, " ohms"},
    {"Tilt Limit", Kind::Float32, 97, nullptr},
    {"Tilt Value", Kind::Float32, 101, "%"},
    {"Resistance Error", Kind::Flag, 105, nullptr},
    {"Tilt Error", Kind::Flag, 106, nullptr},
    {"Capacitance Low Limit", Kind::Float32, 117, nullptr},
    {"Capacitance High Limit", Kind::Float32, 121, nullptr},
    {"Capacitance Value", Kind::Float32, 125, nullptr},
    {"Cutoff Low Limit", Kind::Float32, 129, nullptr},
    {"Cutoff High Limit", Kind::Float32, 133, nullptr},
    {"Cutoff Value", Kind::Float32, 137, " Hz"},
    {"Capacitance Error", Kind::Flag, 141, nullptr},
    {"Cutoff Error", Kind::Flag, 142, nullptr},
    {"Leakage Limit", Kind::Float32, 149, nullptr},
    {"Leakage Value", Kind::Float32, 153, " ohms"},
    {"Leakage Error", Kind::Flag, 173, nullptr},
    {"Unit Type", Kind::UInt8, 181, nullptr},
    {"Unit Serial Number", Kind::UInt24, 182, nullptr},
    {"Channel Number", Kind::UInt8, 185, nullptr},
    {"FDU Assembly Type", Kind::UInt8, 189, nullptr},
    {"FDU Serial Number", Kind::UInt24, 190, nullptr},
    {"FDU Location", Kind::UInt8, 193, nullptr},
    {"FDU Unit Type", Kind::UInt8, 197, nullptr},
    {"Channel Type", Kind::UInt8, 198, nullptr},
    {"Sensor Sensitivity", Kind::Float32, 201, nullptr},
    {"Control Unit Type", Kind::UInt8, 213, nullptr},
    {"Control Unit Serial Number", Kind::UInt24, 214, nullptr},
    {"Channel Gain Scale", Kind::UInt8, 217, nullptr},
    {"Channel Filter", Kind::UInt8, 218, nullptr},
    {"Channel Data Error", Kind::UInt8, 219, nullptr},
    {"Channel Edited Status", Kind::UInt8, 220, nullptr},
    {"Conversion Factor", Kind::Float32, 221, nullptr},
    {"Noisy Stacks", Kind::UInt8, 225, nullptr},
    {"Low Stacks", Kind::UInt8, 226, nullptr},
    {"Channel Type ID", Kind::UInt8, 227, nullptr},
    {"Channel Process", Kind::UInt8, 228, nullptr},
    {"Trace Max Value", Kind::Float32, 229, nullptr},
    {"Trace Max Time", Kind::Int32, 233, nullptr},
    {"Interpolations", Kind::Int32, 237, nullptr},
    {"Trace Offset Value", Kind::Int32, 241, nullptr},
}};

namespace {

bool isReal(Kind kind)
{
    return kind == Kind::Float32 || kind == Kind::Float64;
}

QString numberText(const SegdBytes& header, const Column& column)
{
    const double number = value(header, column);
    return isReal(column.kind) ? QString::number(number, 'f', 6) : QString::number(qint64(number));
}

} // namespace

double value(const SegdBytes& header, const Column& column)
{
    switch (column.kind) {
    case Kind::FieldFile:
        return SegdTraceHeaderRecord::fieldFile(header);
    case Kind::ChannelSet:
        return SegdTraceHeaderRecord::channelSet(header);
    case Kind::Bcd4:
        return header.bcd(column.byte, 4);
    case Kind::UInt8:
    case Kind::Flag:
        return header.uint8(column.byte);
    case Kind::Int24:
        return header.int24(column.byte);
    case Kind::UInt24:
        return header.uint24(column.byte);
    case Kind::Int32:
        return header.int32(column.byte);
    case Kind::Float32:
        return double(header.float32(column.byte));
    case Kind::Float64:
        return header.float64(column.byte);
    }
    return 0;
}

bool shown(int column, bool sercel)
{
    return sercel || column < standardCount;
}

QVariant cell(const SegdBytes& header, int index, bool sercel)
{
    if (!shown(index, sercel))
        return QVariant();
    const Column& column = columns[size_t(index)];
    const double number = value(header, column);
    if (column.kind == Kind::Flag)
        return number != 0 ? QStringLiteral("Yes") : QStringLiteral("No");
    if (column.unit)
        return QString::number(number, 'g', 6) + QLatin1String(column.unit);
    if (isReal(column.kind))
        return number;
    return qint64(number);
}

QString exportHeaderLine()
{
    QStringList titles;
    for (const Column& column : columns)
        titles.append(QLatin1String(column.title));
    return titles.join(QStringLiteral(", ")) + QStringLiteral(" \n");
}

QString exportLine(const SegdBytes& header, bool sercel)
{
    QStringList values;
    for (int c = 0; c < count; ++c)
        values.append(shown(c, sercel) ? numberText(header, columns[size_t(c)]) : QString());
    return values.join(QStringLiteral(", ")) + QLatin1Char('\n');
}

void writeExport(QTextStream& out, const std::vector<SegdTraceHeaderRecord>& records, qint64 count,
                 bool sercel)
{
    out << exportHeaderLine();
    const qint64 lines = std::clamp<qint64>(count, 0, qint64(records.size()));
    for (qint64 i = 0; i < lines; ++i)
        out << exportLine(records[size_t(i)].bytes(), sercel);
}

} // namespace SegdTraceHeaderColumns
