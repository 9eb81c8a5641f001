#include "sps/SpsLayout.h"

namespace {

struct FieldSpec {
    const char* name;
    SpsColumns columns;
    bool load;
    SpsConversion conversion;
    SpsColumns revision21;
};

using Table = std::array<FieldSpec, SpsLayout::fieldCount>;

const Table& pointFields()
{
    static const Table table{{
        {"Point ID", {1, 1}, true, SpsConversion::None, {1, 1}},
        {"Line name", {2, 17}, true, SpsConversion::TruncatedFloat, {2, 11}},
        {"Point number", {18, 25}, true, SpsConversion::TruncatedFloat, {12, 21}},
        {"Point index", {26, 26}, true, SpsConversion::Integer, {24, 24}},
        {"Point code", {27, 28}, true, SpsConversion::None, {25, 26}},
        {"Static time", {29, 32}, true, SpsConversion::General, {27, 30}},
        {"Point depth", {33, 36}, true, SpsConversion::Fixed, {31, 34}},
        {"Seismic datum", {37, 40}, true, SpsConversion::General, {35, 38}},
        {"Uphole time", {41, 42}, true, SpsConversion::General, {39, 40}},
        {"Water depth", {43, 46}, true, SpsConversion::Fixed, {41, 46}},
        {"Point easting", {47, 55}, true, SpsConversion::Fixed, {47, 55}},
        {"Point northing", {56, 65}, true, SpsConversion::Fixed, {56, 65}},
        {"Surface elevation", {66, 71}, true, SpsConversion::Fixed, {66, 71}},
        {"Day of year", {72, 74}, true, SpsConversion::Integer, {72, 74}},
        {"Time of day", {75, 80}, true, SpsConversion::Integer, {75, 80}},
    }};
    return table;
}

const Table& relationFields()
{
    static const Table table{{
        {"Point ID", {1, 1}, true, SpsConversion::None, {1, 1}},
        {"Tape", {2, 7}, true, SpsConversion::Integer, {2, 7}},
        {"Record number", {8, 11}, true, SpsConversion::Integer, {8, 15}},
        {"Record increment", {12, 12}, true, SpsConversion::Integer, {16, 16}},
        {"Instrument code", {13, 13}, true, SpsConversion::None, {17, 17}},
        {"Source line", {14, 29}, true, SpsConversion::TruncatedFloat, {18, 27}},
        {"Source location", {30, 37}, true, SpsConversion::TruncatedFloat, {28, 37}},
        {"Source index", {38, 38}, true, SpsConversion::Integer, {38, 38}},
        {"From channel", {39, 42}, true, SpsConversion::Integer, {39, 43}},
        {"To channel", {43, 46}, true, SpsConversion::Integer, {44, 48}},
        {"Channel increment", {47, 47}, true, SpsConversion::Integer, {49, 49}},
        {"Receiver line", {48, 63}, true, SpsConversion::TruncatedFloat, {50, 59}},
        {"From receiver", {64, 71}, true, SpsConversion::TruncatedFloat, {60, 69}},
        {"To receiver", {72, 79}, true, SpsConversion::TruncatedFloat, {70, 79}},
        {"Receiver index", {80, 80}, false, SpsConversion::Integer, {80, 80}},
    }};
    return table;
}

const Table& fields(bool relation)
{
    return relation ? relationFields() : pointFields();
}

// The slot of each field's load flag. The point layout stores its flags with the static time
// moved behind the water depth.
size_t loadSlot(bool relation, int field)
{
    static constexpr std::array<size_t, SpsLayout::fieldCount> pointSlots{0, 1, 2,  3,  4,  9,  5, 6,
                                                                          7, 8, 10, 11, 12, 13, 14};
    return relation ? size_t(field) : pointSlots[size_t(field)];
}

} // namespace

SpsLayout::SpsLayout(SpsKind kind) : kind_(kind)
{
    const Table& table = fields(isRelation());
    for (int field = 0; field < fieldCount; ++field) {
        columns_[size_t(field)] = table[size_t(field)].columns;
        setLoad(field, table[size_t(field)].load);
    }
}

SpsLayout SpsLayout::defaults(SpsKind kind)
{
    if (kind == SpsKind::Relation)
        return SpsRelationFormat();
    return SpsPointFormat(kind == SpsKind::Receiver);
}

SpsLayout SpsLayout::revision21(SpsKind kind)
{
    SpsLayout layout = defaults(kind);
    const Table& table = fields(layout.isRelation());
    for (int field = 0; field < fieldCount; ++field)
        layout.setColumns(field, table[size_t(field)].revision21);
    return layout;
}

bool SpsLayout::load(int field) const
{
    return loadSlots_[loadSlot(isRelation(), field)];
}

void SpsLayout::setLoad(int field, bool load)
{
    loadSlots_[loadSlot(isRelation(), field)] = load;
}

QString SpsLayout::fieldName(int field) const
{
    return QString::fromLatin1(fields(isRelation())[size_t(field)].name);
}

int SpsLayout::fieldByName(const QString& name) const
{
    const Table& table = fields(isRelation());
    for (int field = 0; field < fieldCount; ++field) {
        if (name == QLatin1String(table[size_t(field)].name))
            return field;
    }
    return -1;
}

SpsConversion SpsLayout::conversion(int field) const
{
    return fields(isRelation())[size_t(field)].conversion;
}

bool SpsLayout::sameColumns(const SpsLayout& other) const
{
    return isRelation() == other.isRelation() && columns_ == other.columns_;
}

bool SpsLayout::operator==(const SpsLayout& other) const
{
    return kind_ == other.kind_ && firstLine_ == other.firstLine_ && columns_ == other.columns_ &&
           loadSlots_ == other.loadSlots_;
}

SpsPointFormat::SpsPointFormat(bool receiver) : SpsLayout(receiver ? SpsKind::Receiver : SpsKind::Source) {}

SpsRelationFormat::SpsRelationFormat() : SpsLayout(SpsKind::Relation) {}
