#include "sps/SpsScanner.h"

#include "sps/SpsLines.h"
#include "sps/SpsValue.h"

#include <algorithm>

namespace {

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), int(text.size()));
}

} // namespace

std::string_view SpsScanner::fieldText(std::string_view line, SpsColumns columns)
{
    const qint64 first = std::max(columns.start, 1) - 1;
    const qint64 last = std::min<qint64>(columns.end, qint64(line.size()));
    if (first >= last)
        return std::string_view();
    return line.substr(size_t(first), size_t(last - first));
}

SpsScanner::LineKind SpsScanner::lineKind(const SpsLayout& layout, int index) const
{
    const std::string_view line = lines.line(index);
    if (isBlank(line))
        return LineKind::Ignored;
    if (!layout.readPointId())
        return index >= layout.firstLine() - 1 ? LineKind::Record : LineKind::Ignored;
    const char letter = char(SpsKinds::recordLetter(layout.kind()).toLatin1());
    const SpsColumns id = layout.columns(SpsLayout::pointIdField);
    const std::string_view text = fieldText(line, id);
    if (text.size() == 1 && text.front() == letter) {
        const std::string_view rest = line.substr(std::min(line.size(), size_t(id.end)));
        // A letter alone or at the start of a word holds no record.
        return isBlank(rest) || isLetter(rest.front()) ? LineKind::Stray : LineKind::Record;
    }
    return line.front() == 'H' ? LineKind::Header : LineKind::Stray;
}

template <typename Visit> void SpsScanner::forEachRecord(const SpsLayout& layout, Visit visit) const
{
    const int count = lines.count();
    for (int index = layout.readPointId() ? 0 : std::clamp(layout.firstLine() - 1, 0, count); index < count;
         ++index) {
        if (lineKind(layout, index) == LineKind::Record)
            visit(index, lines.line(index));
    }
}

SpsFieldRange SpsScanner::field(const SpsLayout& layout, int field) const
{
    SpsFieldRange range;
    const SpsConversion conversion = layout.conversion(field);
    if (conversion == SpsConversion::None)
        return range;
    const SpsColumns columns = layout.columns(field);
    forEachRecord(layout, [&](int, std::string_view line) {
        const SpsReading reading = SpsValue::read(conversion, fieldText(line, columns));
        if (reading.cell == SpsCell::Value)
            range.take(reading.value);
    });
    return range;
}

std::array<SpsFieldRange, SpsLayout::fieldCount> SpsScanner::all(const SpsLayout& layout) const
{
    return diagnose(layout).ranges;
}

SpsDiagnostics SpsScanner::diagnose(const SpsLayout& layout) const
{
    struct Numeric {
        int field;
        SpsColumns columns;
        SpsConversion conversion;
        bool load;
    };
    std::array<Numeric, SpsLayout::fieldCount> numeric{};
    int numericCount = 0;
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        if (layout.conversion(field) != SpsConversion::None)
            numeric[size_t(numericCount++)] = {field, layout.columns(field), layout.conversion(field),
                                               layout.load(field)};
    }
    SpsDiagnostics found;
    const int count = lines.count();
    const int first = layout.readPointId() ? 0 : std::clamp(layout.firstLine() - 1, 0, count);
    for (int index = first; index < count; ++index) {
        const LineKind kind = lineKind(layout, index);
        const std::string_view line = lines.line(index);
        if (kind == LineKind::Header)
            ++found.headerLines;
        if (kind == LineKind::Stray && found.strayLineCount++ < SpsDiagnostics::keptEntries)
            found.strayLines.append({index + 1, bytes(line)});
        if (kind != LineKind::Record)
            continue;
        ++found.records;
        bool unreadable = false;
        for (int i = 0; i < numericCount; ++i) {
            const Numeric& entry = numeric[size_t(i)];
            const std::string_view text = fieldText(line, entry.columns);
            const SpsReading reading = SpsValue::read(entry.conversion, text);
            const size_t field = size_t(entry.field);
            if (reading.cell == SpsCell::Value) {
                found.ranges[field].take(reading.value);
            } else if (reading.cell == SpsCell::Missing) {
                ++found.missing[field];
            } else if (entry.load) {
                ++found.unreadable[field];
                unreadable = true;
                if (found.problemCount++ < SpsDiagnostics::keptEntries)
                    found.problems.append({index + 1, entry.field, entry.columns, bytes(text)});
            }
        }
        found.unreadableRecords += unreadable ? 1 : 0;
    }
    return found;
}

qint64 SpsScanner::dataLines(const SpsLayout& layout) const
{
    qint64 count = 0;
    forEachRecord(layout, [&](int, std::string_view) { ++count; });
    return count;
}
