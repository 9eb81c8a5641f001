#pragma once

#include "sps/SpsDiagnostics.h"
#include "sps/SpsLayout.h"

#include <QtGlobal>
#include <array>
#include <string_view>

class SpsLines;

// Finds the records of an SPS file under a layout and the range of values in a field's columns,
// for the analyzer windows and the command line alike.
//
// With the layout's read-point-ID flag set, a line whose Point ID columns hold exactly the record
// letter of the layout's kind is a record, unless the letter stands alone or begins a word (prose);
// lines starting with "H" are header lines; other lines that are not blank are stray lines.
// Without the flag, every line from the layout's first line on that is not blank is a record.
// Blank cells are missing and text that is no number is unreadable: neither enters a range.
// Fields without a conversion (record letter and codes) have no range.
class SpsScanner {
public:
    enum class LineKind { Record, Header, Stray, Ignored };

    explicit SpsScanner(const SpsLines& lines) : lines(lines) {}

    SpsFieldRange field(const SpsLayout& layout, int field) const;
    // Every field's range, in one pass over the lines.
    std::array<SpsFieldRange, SpsLayout::fieldCount> all(const SpsLayout& layout) const;
    // The ranges and what could not be read, in one pass over the lines.
    SpsDiagnostics diagnose(const SpsLayout& layout) const;
    // The number of records.
    qint64 dataLines(const SpsLayout& layout) const;

    // How the line of that index counts under the layout.
    LineKind lineKind(const SpsLayout& layout, int index) const;

    // The text in a field's columns: from the start column for end - start + 1 bytes, cut at the
    // end of the line; empty when the line ends before the start or the end lies before the start.
    static std::string_view fieldText(std::string_view line, SpsColumns columns);

private:
    // Calls visit(index, line) for every record.
    template <typename Visit> void forEachRecord(const SpsLayout& layout, Visit visit) const;

    const SpsLines& lines;
};
