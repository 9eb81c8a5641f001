#pragma once

#include "sps/SpsLayout.h"

#include <QtGlobal>
#include <array>
#include <string_view>

class SpsLines;

// The minimum and maximum of one field over the data lines of a file.
struct SpsFieldRange {
    qint64 lines = 0; // data lines taken into account; none leaves the range without values
    double minimum = 0;
    double maximum = 0;

    bool hasValues() const { return lines > 0; }
    void take(double value);
};

// Finds the data lines of an SPS file under a layout and the range of values in a field's
// columns, for the analyzer windows and the command line alike.
//
// With the layout's read-point-ID flag set, every line whose Point ID columns hold exactly the
// record letter of the layout's kind is a data line; without it, every line from the layout's
// first line on. Fields without a conversion (record letter and codes) have no range.
class SpsScanner {
public:
    explicit SpsScanner(const SpsLines& lines) : lines(lines) {}

    SpsFieldRange field(const SpsLayout& layout, int field) const;
    // Every field's range, in one pass over the lines.
    std::array<SpsFieldRange, SpsLayout::fieldCount> all(const SpsLayout& layout) const;
    // The number of data lines.
    qint64 dataLines(const SpsLayout& layout) const;

    // The text in a field's columns: from the start column for end - start + 1 bytes, cut at the
    // end of the line; empty when the line ends before the start or the end lies before the start.
    static std::string_view fieldText(std::string_view line, SpsColumns columns);

private:
    // Calls visit(line) for every data line.
    template <typename Visit> void forEachDataLine(const SpsLayout& layout, Visit visit) const;

    const SpsLines& lines;
};
