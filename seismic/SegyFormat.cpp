#include "seismic/SegyFormat.h"

#include <algorithm>

namespace {

using T = HeaderDataType::Code;

// The standard positions of the 65 key slots, by slot number.
constexpr std::array<SegyFormat::KeySlot, SegyFormat::keySlotCount> defaultSlots{{
    {9, T::Int32},       {13, T::Int32},      {21, T::Int32},      {189, T::Int32},     {193, T::Int32},
    {181, T::Int32},     {185, T::Int32},     {177, T::Int32},     {229, T::Int32},     {197, T::Int32},
    {17, T::Int32},      {73, T::Int32},      {77, T::Int32},      {45, T::Int32},      {57, T::Int32},
    {49, T::Int32},      {95, T::Int16},      {201, T::Int32},     {233, T::Int32},     {81, T::Int32},
    {85, T::Int32},      {41, T::Int32},      {53, T::Int32},      {65, T::Int32},      {208, T::Int8},
    {231, T::Int16},     {37, T::Int32},      {225, T::Int32},     {99, T::Int16},      {101, T::Int16},
    {119, T::Int16},     {33, T::Int16},      {69, T::Int16},      {71, T::Int16},      {215, T::Int16},
    {109, T::Int16},     {121, T::IeeeFloat}, {125, T::IeeeFloat}, {129, T::IeeeFloat}, {133, T::IeeeFloat},
    {137, T::IeeeFloat}, {141, T::IeeeFloat}, {145, T::IeeeFloat}, {149, T::IeeeFloat}, {213, T::Int16},
    {157, T::IeeeFloat}, {161, T::IeeeFloat}, {165, T::IeeeFloat}, {237, T::Int32},     {233, T::Int16},
    {221, T::Int32},     {171, T::Int16},     {209, T::Int16},     {211, T::Int16},     {61, T::Int16},
    {89, T::Int16},      {105, T::Int32},     {113, T::Int16},     {103, T::Int16},     {111, T::Int16},
    {91, T::Int32},      {5, T::Int32},       {165, T::Int32},     {169, T::Int16},     {169, T::Int16},
}};

struct SlotName {
    const char* name;
    int slot;
};

// The names by which format files address key slots; other slots keep their defaults.
constexpr SlotName slotNames[] = {
    {"Field File Number", 0},
    {"Channel Number", 1},
    {"CMP", 2},
    {"Inline", 3},
    {"Crossline", 4},
    {"Offset", 26},
    {"CMP Easting", 5},
    {"CMP Northing", 6},
    {"CMP Elevation", 7},
    {"CMP Datum", 8},
    {"Source Line", 9},
    {"Source Location", 10},
    {"Source Easting", 11},
    {"Source Northing", 12},
    {"Source Elevation", 13},
    {"Source Depth", 15},
    {"Source Datum", 14},
    {"Source UHT", 16},
    {"Receiver Line", 17},
    {"Receiver Location", 18},
    {"Receiver Easting", 19},
    {"Receiver Northing", 20},
    {"Receiver Elevation", 21},
    {"Receiver Datum", 22},
    {"Receiver Component", 24},
    {"Receiver Orientation", 25},
    {"Elevation Scalar", 32},
    {"Coordinate Scalar", 33},
    {"Time Scalar", 34},
};

struct StandardWord {
    const char* name;
    const char* abbreviation;
    int startByte;
    int type;
    bool inIndexFile;
};

// The standard trace header list. Overlapping positions (the VSP and AVA words reuse standard
// positions) belong to the standard.
constexpr StandardWord standardWords[] = {
    {"Sequential trace", "Seq. trace", 1, T::Int32, false},
    {"VSP monitor elevation", "VSP m. elev.", 5, T::Int32, false},
    {"Field file", "FFID", 9, T::Int32, true},
    {"Channel", "Channel", 13, T::Int32, true},
    {"Source location", "Src Loc", 17, T::Int32, true},
    {"CMP location", "CMP Loc", 21, T::Int32, true},
    {"Trace number", "Trace num", 25, T::Int32, false},
    {"Trace id", "Trace id", 29, T::Int16, true},
    {"Stacked traces", "Summed trcs", 31, T::Int16, false},
    {"Fold", "Fold", 33, T::Int16, true},
    {"Data use", "Data type", 35, T::Int16, false},
    {"Offset", "Offset", 37, T::Int32, true},
    {"Receiver elevation", "Rcv elev", 41, T::Int32, true},
    {"Source elevation", "Src elev", 45, T::Int32, true},
    {"Source depth", "Src depth", 49, T::Int32, true},
    {"Receiver datum elevation", "Rcv datum", 53, T::Int32, true},
    {"Source datum elevation", "Src datum", 57, T::Int32, true},
    {"Source water depth", "Src water depth", 61, T::Int32, true},
    {"Receiver water depth", "Rcv water depth", 65, T::Int32, true},
    {"Elevation scalar", "Elev scalar", 69, T::Int16, false},
    {"Coordinate scalar", "Coord scalar", 71, T::Int16, false},
    {"Source X", "Src X", 73, T::Int32, true},
    {"Source Y", "Src Y", 77, T::Int32, true},
    {"Receiver X", "Rcv X", 81, T::Int32, true},
    {"Receiver Y", "Rcv Y", 85, T::Int32, true},
    {"Coordinate units", "Coord units", 89, T::Int16, false},
    {"Weathering velocity", "W. vel", 91, T::Int16, false},
    {"Sub-weathering velocity", "Sub-W. vel", 93, T::Int16, false},
    {"Source uphole time (ms)", "Src uphole", 95, T::Int16, false},
    {"Receiver uphole time (ms)", "Rcv uphole", 97, T::Int16, false},
    {"Source static (ms)", "Src static", 99, T::Int16, false},
    {"Receiver static (ms)", "Rcv static", 101, T::Int16, false},
    {"Total static (ms)", "Total static", 103, T::Int16, false},
    {"Lag A (ms)", "Lag A", 105, T::Int16, false},
    {"Lag B (ms)", "Lag B", 107, T::Int16, false},
    {"Recording delay (ms)", "Start time", 109, T::Int16, false},
    {"Mute start (ms)", "Mute start", 111, T::Int16, false},
    {"Mute end (ms)", "Mute end", 113, T::Int16, false},
    {"Number of samples", "Samples", 115, T::Int16, false},
    {"Sample interval (us)", "Sample int", 117, T::Int16, false},
    {"User defined 1", "Usrdef 1", 121, T::Int32, false},
    {"User defined 2", "Usrdef 2", 125, T::Int32, false},
    {"User defined 3", "Usrdef 3", 129, T::Int32, false},
    {"User defined 4", "Usrdef 4", 133, T::Int32, false},
    {"User defined 5", "Usrdef 5", 137, T::Int32, false},
    {"User defined 6", "Usrdef 6", 141, T::Int32, false},
    {"User defined 7", "Usrdef 7", 145, T::Int32, false},
    {"User defined 8", "Usrdef 8", 149, T::Int32, false},
    {"User defined 9", "Usrdef 9", 153, T::Int32, false},
    {"User defined 10", "Usrdef 10", 157, T::Int32, false},
    {"User defined 11", "Usrdef 11", 161, T::Int32, false},
    {"User defined 12", "Usrdef 12", 165, T::Int32, false},
    {"AVA component", "AVA comp", 169, T::Int16, false},
    {"VSP component", "VSP comp", 169, T::Int16, false},
    {"VSP one way time from ground level", "VSP OWTGL", 61, T::Int32, false},
    {"VSP measured depth", "VSP m depth", 171, T::Int32, false},
    {"VSP true depth", "VSP true depth", 209, T::Int32, false},
    {"VSP one way time", "VSP OWT", 211, T::Int32, false},
    {"VSP one way time from seismic reference datum", "VSP OWTSRD", 89, T::Int32, false},
    {"VSP RMS velocity", "VSP RMS vel", 91, T::Int16, false},
    {"VSP average velocity", "VSP avg vel", 103, T::Int16, false},
    {"VSP two way time ground level", "VSP TWTGL", 105, T::Int32, false},
    {"VSP interval velocity", "VSP int vel", 111, T::Int16, false},
    {"VSP two way time seismic reference datum", "VSP TWTSRD", 113, T::Int16, false},
    {"VSP weathering depth", "VSP w depth", 165, T::Int16, false},
    {"CMP elevation", "CMP elev", 177, T::Int32, false},
    {"CMP X", "CMP X", 181, T::Int32, false},
    {"CMP Y", "CMP Y", 185, T::Int32, false},
    {"Inline number", "Inline", 189, T::Int32, false},
    {"Crossline number", "Crossline", 193, T::Int32, false},
    {"Source line", "Src line", 197, T::Int32, false},
    {"Receiver line", "Rcv line", 201, T::Int32, false},
    {"Receiver component", "Rcv comp", 201, T::Int32, false},
    {"Time scalar", "Time scalar", 215, T::Int16, false},
    {"Gather Index", "Gather Index", 221, T::Int32, false},
    {"Azimuth", "Azimuth", 225, T::Int32, false},
    {"CMP datum", "CMP datum", 229, T::Int32, false},
    {"Receiver orientation", "Rcv orient", 231, T::Int16, false},
    {"Receiver location", "Rcv loc", 233, T::Int32, false},
    {"Slice number", "Slice", 233, T::Int16, false},
    {"Attribute", "Attribute", 237, T::Int32, false},
};
static_assert(sizeof standardWords / sizeof standardWords[0] == 81, "the standard list has 81 words");

// The words of trace header extension 1 (SEG-Y revision 2), by start byte from the start of the
// trace record: extension byte k is record byte 240 + k. Its name, bytes 473-480, is no number.
constexpr StandardWord extensionOneWords[] = {
    {"Extended trace number in line", "Ext trace line", 241, T::UInt64, false},
    {"Extended trace number in file", "Ext trace file", 249, T::UInt64, false},
    {"Extended field file", "Ext FFID", 257, T::Int64, false},
    {"Extended ensemble number", "Ext ensemble", 265, T::Int64, false},
    {"Extended receiver elevation", "Ext rcv elev", 273, T::IeeeDouble, false},
    {"Receiver depth below surface", "Rcv depth", 281, T::IeeeDouble, false},
    {"Extended source elevation", "Ext src elev", 289, T::IeeeDouble, false},
    {"Source depth below surface", "Ext src depth", 297, T::IeeeDouble, false},
    {"Extended receiver datum elevation", "Ext rcv datum", 305, T::IeeeDouble, false},
    {"Extended source datum elevation", "Ext src datum", 313, T::IeeeDouble, false},
    {"Extended source water depth", "Ext src water", 321, T::IeeeDouble, false},
    {"Extended receiver water depth", "Ext rcv water", 329, T::IeeeDouble, false},
    {"Extended source X", "Ext src X", 337, T::IeeeDouble, false},
    {"Extended source Y", "Ext src Y", 345, T::IeeeDouble, false},
    {"Extended receiver X", "Ext rcv X", 353, T::IeeeDouble, false},
    {"Extended receiver Y", "Ext rcv Y", 361, T::IeeeDouble, false},
    {"Extended offset", "Ext offset", 369, T::IeeeDouble, false},
    {"Extended number of samples", "Ext samples", 377, T::UInt32, false},
    {"Nanoseconds of the second", "Nanoseconds", 381, T::Int32, false},
    {"Extended sample interval (us)", "Ext sample int", 385, T::IeeeDouble, false},
    {"Cable or recording device", "Cable", 393, T::Int32, false},
    {"Additional trace headers", "Add headers", 397, T::UInt16, false},
    {"Last trace flag", "Last trace", 399, T::Int16, false},
    {"Extended CMP X", "Ext CMP X", 401, T::IeeeDouble, false},
    {"Extended CMP Y", "Ext CMP Y", 409, T::IeeeDouble, false},
};

template <size_t count> QVector<SegyFormat::HeaderWord> headerWordList(const StandardWord (&table)[count])
{
    QVector<SegyFormat::HeaderWord> words;
    words.reserve(int(count));
    for (const StandardWord& word : table)
        words.append({QString::fromLatin1(word.name), QString::fromLatin1(word.abbreviation), word.startByte,
                      word.type, word.inIndexFile});
    return words;
}

} // namespace

bool SegyFormat::HeaderWord::operator==(const HeaderWord& other) const
{
    return name == other.name && abbreviation == other.abbreviation && startByte == other.startByte &&
           type == other.type && inIndexFile == other.inIndexFile;
}

bool operator==(const SegyFormat::BinaryWord& a, const SegyFormat::BinaryWord& b)
{
    return a.startByte == b.startByte && a.type == b.type && a.override == b.override &&
           a.overrideValue == b.overrideValue;
}

SegyFormat::SegyFormat(bool flag) : flag(flag), headerWords(standardHeaderWords()), keySlots_(defaultSlots) {}

QVector<SegyFormat::HeaderWord> SegyFormat::standardHeaderWords()
{
    return headerWordList(standardWords);
}

QVector<SegyFormat::HeaderWord> SegyFormat::extensionOneHeaderWords()
{
    return headerWordList(extensionOneWords);
}

int SegyFormat::keySlotByName(const QString& name)
{
    for (const SlotName& entry : slotNames) {
        if (name == QLatin1String(entry.name))
            return entry.slot;
    }
    return -1;
}

QString SegyFormat::keySlotName(int slot)
{
    for (const SlotName& entry : slotNames) {
        if (entry.slot == slot)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

const SegyFormat::KeySlot& SegyFormat::keySlot(int slot) const
{
    // A slot outside the table lies nowhere: start byte 0 reads and writes nothing.
    static constexpr KeySlot nowhere{0, -1};
    return slot >= 0 && slot < keySlotCount ? keySlots_[size_t(slot)] : nowhere;
}

void SegyFormat::placeKeySlot(int slot, int startByte, int type)
{
    if (slot >= 0 && slot < keySlotCount)
        keySlots_[size_t(slot)] = {startByte, type};
}

void SegyFormat::setKeySlot(int slot, int startByte, int type)
{
    if (slot < 0 || slot >= keySlotCount)
        return;
    placeKeySlot(slot, startByte, type);
    const QString name = keySlotName(slot);
    if (name.isEmpty())
        return;
    auto word = std::find_if(headerWords.begin(), headerWords.end(),
                             [&](const HeaderWord& candidate) { return candidate.name == name; });
    if (word == headerWords.end()) {
        headerWords.append({name, name, startByte, type, false});
        return;
    }
    word->startByte = startByte;
    word->type = type;
}

const SegyFormat::HeaderWord* SegyFormat::headerWord(const QString& name) const
{
    for (const HeaderWord& word : headerWords) {
        if (word.name == name)
            return &word;
    }
    return nullptr;
}

bool SegyFormat::operator==(const SegyFormat& other) const
{
    const auto sameSlot = [](const KeySlot& a, const KeySlot& b) {
        return a.startByte == b.startByte && a.type == b.type;
    };
    return exportFullHeader == other.exportFullHeader && endianFromData == other.endianFromData &&
           endianOrder == other.endianOrder && textHeaderAscii == other.textHeaderAscii &&
           textHeaderSize == other.textHeaderSize && binaryHeaderSize == other.binaryHeaderSize &&
           traceHeaderSize == other.traceHeaderSize && samplesPerTrace == other.samplesPerTrace &&
           sampleInterval == other.sampleInterval && sampleFormat == other.sampleFormat &&
           headerWords == other.headerWords &&
           std::equal(keySlots_.begin(), keySlots_.end(), other.keySlots_.begin(), sameSlot);
}
