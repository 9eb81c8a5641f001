#pragma once

#include "sps/SpsKind.h"

#include <QString>
#include <array>

// How a field's text becomes a number, and how its minimum and maximum are shown.
enum class SpsConversion {
    None,           // no minimum or maximum (record letter, point and instrument codes)
    TruncatedFloat, // read as a float and truncated; shown as an integer (lines and points)
    Integer,        // read as a decimal integer
    Fixed,          // read as a double; shown fixed with one decimal (coordinates, depths)
    General,        // read as a double; shown with 6 significant digits (static, datum, uphole)
};

// 1-based first and last column of a field, inclusive.
struct SpsColumns {
    int start = 1;
    int end = 1;
    bool operator==(const SpsColumns& other) const { return start == other.start && end == other.end; }
    bool operator!=(const SpsColumns& other) const { return !(*this == other); }
};

// The column layout of one kind of SPS record: the first line to read, and per field its
// columns and whether it is loaded. Source and receiver records share the point layout,
// relation records have their own; both have 15 fields, the first being the record letter
// ("Point ID"), whose load flag says whether data lines are told by that letter.
class SpsLayout {
public:
    static constexpr int fieldCount = 15;
    static constexpr int pointIdField = 0;

    // The built-in layout of the kind.
    static SpsLayout defaults(SpsKind kind);
    // The layout revision 2.1 of the SPS standard gives the kind: its columns, the record
    // letter read, and the built-in load flags.
    static SpsLayout revision21(SpsKind kind);

    SpsKind kind() const { return kind_; }
    bool isRelation() const { return kind_ == SpsKind::Relation; }

    int firstLine() const { return firstLine_; }
    void setFirstLine(int line) { firstLine_ = line; }
    SpsColumns columns(int field) const { return columns_[size_t(field)]; }
    void setColumns(int field, SpsColumns columns) { columns_[size_t(field)] = columns; }
    bool load(int field) const;
    void setLoad(int field, bool load);
    bool readPointId() const { return load(pointIdField); }
    void setReadPointId(bool read) { setLoad(pointIdField, read); }

    // The field's name as format files write it ("Line name", "Tape", ...).
    QString fieldName(int field) const;
    // The field of that exact name, or -1.
    int fieldByName(const QString& name) const;
    SpsConversion conversion(int field) const;

    // True when every field lies in the same columns.
    bool sameColumns(const SpsLayout& other) const;
    bool operator==(const SpsLayout& other) const;
    bool operator!=(const SpsLayout& other) const { return !(*this == other); }

protected:
    explicit SpsLayout(SpsKind kind);

private:
    SpsKind kind_;
    int firstLine_ = 1;
    std::array<SpsColumns, fieldCount> columns_;
    // Kept in the order the suite stores them, which for the point layout differs from the
    // order of the fields; every access goes by field.
    std::array<bool, fieldCount> loadSlots_{};
};

// The layout of source and receiver point records, filled with the built-in defaults.
class SpsPointFormat : public SpsLayout {
public:
    explicit SpsPointFormat(bool receiver = false);
};

// The layout of relation records, filled with the built-in defaults.
class SpsRelationFormat : public SpsLayout {
public:
    SpsRelationFormat();
};
