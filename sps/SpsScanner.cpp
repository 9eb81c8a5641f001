#include "sps/SpsScanner.h"

#include "sps/SpsLines.h"
#include "sps/SpsValue.h"

#include <algorithm>

void SpsFieldRange::take(double value)
{
    if (lines == 0 || value < minimum)
        minimum = value;
    if (lines == 0 || value > maximum)
        maximum = value;
    ++lines;
}

std::string_view SpsScanner::fieldText(std::string_view line, SpsColumns columns)
{
    const qint64 first = std::max(columns.start, 1) - 1;
    const qint64 last = std::min<qint64>(columns.end, qint64(line.size()));
    if (first >= last)
        return std::string_view();
    return line.substr(size_t(first), size_t(last - first));
}

template <typename Visit> void SpsScanner::forEachDataLine(const SpsLayout& layout, Visit visit) const
{
    const int count = lines.count();
    if (layout.readPointId()) {
        const char letter = char(SpsKinds::recordLetter(layout.kind()).toLatin1());
        const SpsColumns id = layout.columns(SpsLayout::pointIdField);
        for (int index = 0; index < count; ++index) {
            const std::string_view line = lines.line(index);
            const std::string_view text = fieldText(line, id);
            if (text.size() == 1 && text.front() == letter)
                visit(line);
        }
        return;
    }
    for (int index = std::clamp(layout.firstLine() - 1, 0, count); index < count; ++index)
        visit(lines.line(index));
}

SpsFieldRange SpsScanner::field(const SpsLayout& layout, int field) const
{
    SpsFieldRange range;
    const SpsConversion conversion = layout.conversion(field);
    if (conversion == SpsConversion::None)
        return range;
    const SpsColumns columns = layout.columns(field);
    forEachDataLine(layout, [&](std::string_view line) {
        range.take(SpsValue::convert(conversion, fieldText(line, columns)));
    });
    return range;
}

std::array<SpsFieldRange, SpsLayout::fieldCount> SpsScanner::all(const SpsLayout& layout) const
{
    struct Numeric {
        int field;
        SpsColumns columns;
        SpsConversion conversion;
    };
    std::array<Numeric, SpsLayout::fieldCount> numeric{};
    int numericCount = 0;
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        if (layout.conversion(field) != SpsConversion::None)
            numeric[size_t(numericCount++)] = {field, layout.columns(field), layout.conversion(field)};
    }
    std::array<SpsFieldRange, SpsLayout::fieldCount> ranges{};
    forEachDataLine(layout, [&](std::string_view line) {
        for (int i = 0; i < numericCount; ++i) {
            const Numeric& entry = numeric[size_t(i)];
            ranges[size_t(entry.field)].take(
                SpsValue::convert(entry.conversion, fieldText(line, entry.columns)));
        }
    });
    return ranges;
}

qint64 SpsScanner::dataLines(const SpsLayout& layout) const
{
    qint64 count = 0;
    forEachDataLine(layout, [&](std::string_view) { ++count; });
    return count;
}
