#include "analyzers/HeaderWordTables.h"

#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyTraceExtension.h"

#include <algorithm>
#include <array>

namespace HeaderWordTables {

namespace {

struct Field {
    const char* name;
    int slot;
    bool wideOnly; // named only in the 4-byte and float tables
    bool floating; // "Floating Point" in the 4-byte table
};

// In this order: when two slots start at the same byte, the first name wins.
constexpr std::array<Field, 28> fields{{
    {"Field file", 0, false, false},
    {"Channel", 1, false, false},
    {"CMP location", 2, false, false},
    {"Inline", 3, false, false},
    {"Crossline", 4, false, false},
    {"Offset", 26, false, true},
    {"CMP easting", 5, false, true},
    {"CMP northing", 6, false, true},
    {"CMP elevation", 7, false, true},
    {"Source line", 9, false, false},
    {"Source location", 10, false, false},
    {"Source easting", 11, false, true},
    {"Source northing", 12, false, true},
    {"Source elevation", 13, false, true},
    {"Source datum", 14, true, true},
    {"Source depth", 15, true, true},
    {"Source uphole", 16, true, true},
    {"Receiver line", 17, false, false},
    {"Receiver location", 18, false, false},
    {"Receiver easting", 19, false, true},
    {"Receiver northing", 20, false, true},
    {"Receiver elevation", 21, false, true},
    {"Receiver datum", 22, false, true},
    {"Receiver type", 24, false, false},
    {"Receiver orientation", 25, false, true},
    {"Elevation scalar", 32, false, false},
    {"Coordinate scalar", 33, false, false},
    {"Time scalar", 34, false, false},
}};

bool matches(TraceTable table, int type)
{
    switch (table) {
    case TraceTable::OneByte:
        return type == HeaderDataType::Int8;
    case TraceTable::TwoByte:
        return type == HeaderDataType::Int16;
    case TraceTable::FourByte:
        return type == HeaderDataType::Int32;
    case TraceTable::IbmFloat:
        return type == HeaderDataType::IbmFloat;
    case TraceTable::IeeeFloat:
        return type == HeaderDataType::IeeeFloat;
    }
    return false;
}

const Field* fieldAt(TraceTable table, int startByte, const SlotLookup& slotOf)
{
    const bool wide = wordBytes(table) == 4;
    for (const Field& field : fields) {
        if (field.wideOnly && !wide)
            continue;
        const Placement placement = slotOf(field.slot);
        if (placement.startByte == startByte && matches(table, placement.type))
            return &field;
    }
    return nullptr;
}

QString position(int first, int bytes)
{
    return bytes == 1 ? QString::number(first) : QStringLiteral("%1 to %2").arg(first).arg(first + bytes - 1);
}

} // namespace

int wordBytes(TraceTable table)
{
    switch (table) {
    case TraceTable::OneByte:
        return 1;
    case TraceTable::TwoByte:
        return 2;
    default:
        return 4;
    }
}

QString traceValue(TraceTable table, const QByteArray& header, int startByte, bool swap, bool floating)
{
    const char* data = header.constData();
    const qint64 size = header.size();
    switch (table) {
    case TraceTable::OneByte:
        return QString::number(
            qint64(HeaderDataType::readValue(data, size, startByte, HeaderDataType::Int8, swap)));
    case TraceTable::TwoByte:
        return QString::number(
            qint64(HeaderDataType::readValue(data, size, startByte, HeaderDataType::Int16, swap)));
    case TraceTable::FourByte: {
        const double word = HeaderDataType::readValue(data, size, startByte, HeaderDataType::Int32, swap);
        return floating ? QString::number(double(float(word)), 'f', 2) : QString::number(qint64(word));
    }
    case TraceTable::IbmFloat:
        return QString::number(SampleConversion::truncateToInteger(
            HeaderDataType::readValue(data, size, startByte, HeaderDataType::IbmFloat, swap)));
    case TraceTable::IeeeFloat:
        return QString::number(SampleConversion::truncateToInteger(
            HeaderDataType::readValue(data, size, startByte, HeaderDataType::IeeeFloat, swap)));
    }
    return {};
}

QVector<Row> traceRows(TraceTable table, int headerSize, const QVector<QByteArray>& headers, bool swap,
                       const SlotLookup& slotOf)
{
    const int bytes = wordBytes(table);
    QVector<Row> rows;
    rows.reserve(std::max(headerSize, 0) / bytes);
    for (int i = 0; i < headerSize / bytes; ++i) {
        const int startByte = i * bytes + 1;
        Row row;
        row.position = position(startByte, bytes);
        const Field* field = fieldAt(table, startByte, slotOf);
        if (field) {
            row.description = QString::fromLatin1(field->name);
            if (table == TraceTable::FourByte)
                row.kind = field->floating ? QStringLiteral("Floating Point") : QStringLiteral("Integer");
        }
        const bool floating = row.kind == QLatin1String("Floating Point");
        for (const QByteArray& header : headers)
            row.values.append(traceValue(table, header, startByte, swap, floating));
        rows.append(row);
    }
    return rows;
}

QVector<Row> extensionRows(const QVector<QByteArray>& headers, bool swap)
{
    const QVector<SegyFormat::HeaderWord> words = SegyFormat::extensionOneHeaderWords();
    QVector<Row> rows;
    rows.reserve(words.size());
    for (const SegyFormat::HeaderWord& word : words) {
        Row row;
        row.position = position(word.startByte, HeaderDataType::size(word.type));
        row.description = word.name;
        row.kind = QString::fromLatin1(HeaderDataType::boxName(word.type));
        for (const QByteArray& header : headers)
            row.values.append(extensionValue(word, header, swap));
        rows.append(row);
    }
    return rows;
}

QString extensionValue(const SegyFormat::HeaderWord& word, const QByteArray& header, bool swap)
{
    if (!SegyTraceExtension::holdsExtensionOne(header))
        return QString();
    return HeaderDataType::text(
        HeaderDataType::readValue(header.constData(), header.size(), word.startByte, word.type, swap),
        word.type);
}

bool anyExtensionOne(const QVector<QByteArray>& headers)
{
    return std::any_of(headers.begin(), headers.end(), [](const QByteArray& header) {
        return SegyTraceExtension::holdsExtensionOne(header);
    });
}

QVector<Row> binaryRows(int wordBytes, const QByteArray& header, bool swap, const QVector<BinaryWord>& words)
{
    const int type = wordBytes == 2 ? HeaderDataType::Int16 : HeaderDataType::Int32;
    QVector<Row> rows;
    for (int i = 0; i < header.size() / wordBytes; ++i) {
        const int startByte = i * wordBytes + 1;
        Row row;
        row.position = position(startByte, wordBytes);
        for (const BinaryWord& word : words) {
            if (word.placement.startByte == startByte && word.placement.type == type) {
                row.description = QString::fromLatin1(word.description);
                break;
            }
        }
        row.values.append(QString::number(
            qint64(HeaderDataType::readValue(header.constData(), header.size(), startByte, type, swap))));
        rows.append(row);
    }
    return rows;
}

} // namespace HeaderWordTables
