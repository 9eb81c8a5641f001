#include "seismic/SegyTraceHeader.h"

#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyScalar.h"
#include "seismic/SeismicTrace.h"

#include <QDate>

namespace SegyTraceHeader {

namespace {

using Scalar = TraceKey::Scalar;

// Keys the full reader takes from their slots. Azimuth, uphole time and receiver water depth
// are written but not read back by it.
constexpr bool fullReadKey(int key)
{
    return TraceKey::info(key).formatSlot >= 0 && key != TraceKey::Azimuth &&
           key != TraceKey::SourceUpholeTime && key != TraceKey::ReceiverWaterDepth;
}

// The trace display's smaller set: numbering, geometry and statics.
constexpr bool displayReadKey(int key)
{
    const TraceKey::Info& info = TraceKey::info(key);
    if (info.formatSlot < 0)
        return false;
    return (key >= TraceKey::FieldFile && key <= TraceKey::Offset) || info.scalar != Scalar::None ||
           key == TraceKey::ReceiverComponent || key == TraceKey::ReceiverOrientation ||
           key == TraceKey::Attribute || key == TraceKey::SliceNumber || key == TraceKey::GatherIndex ||
           key == TraceKey::SourceStatic || key == TraceKey::ReceiverStatic ||
           key == TraceKey::HeaderWord119 || key == TraceKey::UserDefined9;
}

constexpr bool indexedKey(int key)
{
    return (key >= TraceKey::FieldFile && key <= TraceKey::Offset && key != TraceKey::Azimuth) ||
           key == TraceKey::CmpX || key == TraceKey::CmpY || key == TraceKey::SourceX ||
           key == TraceKey::SourceY || key == TraceKey::ReceiverX || key == TraceKey::ReceiverY ||
           key == TraceKey::ReceiverComponent || key == TraceKey::ReceiverOrientation ||
           key == TraceKey::Attribute || key == TraceKey::SliceNumber || key == TraceKey::GatherIndex ||
           (key >= TraceKey::UserDefined1 && key <= TraceKey::UserDefined12);
}

constexpr bool unindexedKey(int key)
{
    return fullReadKey(key) && !indexedKey(key);
}

struct KeyList {
    std::array<int, TraceKey::count> keys{};
    int size = 0;
};

// A key list, computed once from the key table, in key order.
template <bool (*Keep)(int)> constexpr KeyList keyList()
{
    KeyList list;
    for (int key = 1; key < TraceKey::count; ++key) {
        if (Keep(key))
            list.keys[size_t(list.size++)] = key;
    }
    return list;
}

constexpr KeyList fullKeys = keyList<fullReadKey>();
constexpr KeyList displayKeys = keyList<displayReadKey>();
constexpr KeyList unindexedKeys = keyList<unindexedKey>();

double scaled(const SeismicTrace& trace, int key, double value, bool timeScaledStatics)
{
    switch (TraceKey::info(key).scalar) {
    case Scalar::Coordinate:
        return applyScalar(value, trace.coordinateScalar);
    case Scalar::Elevation:
        return applyScalar(value, trace.elevationScalar);
    default:
        break;
    }
    const bool timed =
        key == TraceKey::SourceStatic || key == TraceKey::ReceiverStatic || key == TraceKey::HeaderWord119;
    return timeScaledStatics && timed ? applyScalar(value, trace.timeScalar) : value;
}

void readList(const Source& header, const KeyList& list, bool timeScaledStatics, SeismicTrace& trace)
{
    for (int i = 0; i < list.size; ++i) {
        const int key = list.keys[size_t(i)];
        const double raw = key == TraceKey::UserDefined9 ? header.fixed(SegyLayout::userDefined9Word)
                                                         : header.slot(TraceKey::info(key).formatSlot);
        setKey(trace, key, scaled(trace, key, raw, timeScaledStatics));
    }
}

} // namespace

double Source::fixed(SegyLayout::Word word) const
{
    return SegyLayout::read(bytes, length, word, swap);
}

double Source::slot(int slot) const
{
    const SegyFormat::KeySlot& position = format.keySlot(slot);
    return HeaderDataType::readValue(bytes, length, position.startByte, position.type, swap);
}

std::array<qint32, 3> scalars(const Source& header)
{
    return {SampleConversion::truncateToInt32(header.slot(SegyFormat::CoordinateScalarSlot)),
            SampleConversion::truncateToInt32(header.slot(SegyFormat::ElevationScalarSlot)),
            SampleConversion::truncateToInt32(header.slot(SegyFormat::TimeScalarSlot))};
}

void readScalars(const Source& header, SeismicTrace& trace)
{
    const std::array<qint32, 3> words = scalars(header);
    trace.coordinateScalar = words[0];
    trace.elevationScalar = words[1];
    trace.timeScalar = words[2];
}

void readKeys(const Source& header, KeySet set, SeismicTrace& trace)
{
    if (set == KeySet::Full)
        readList(header, fullKeys, false, trace);
    else
        readList(header, displayKeys, true, trace);
}

bool isIndexedKey(int key)
{
    return indexedKey(key);
}

void readUnindexedKeys(const Source& header, SeismicTrace& trace)
{
    readList(header, unindexedKeys, false, trace);
}

double keyValue(const Source& header, int key, int coordinateScalar, int elevationScalar)
{
    if (key == TraceKey::TraceId)
        return header.fixed(SegyLayout::traceIdWord);
    if (key == TraceKey::UserDefined9)
        return header.fixed(SegyLayout::userDefined9Word);
    const TraceKey::Info& info = TraceKey::info(key);
    const double raw = header.slot(info.formatSlot);
    if (info.scalar == Scalar::Coordinate)
        return applyScalar(raw, coordinateScalar);
    if (info.scalar == Scalar::Elevation)
        return applyScalar(raw, elevationScalar);
    return raw;
}

qint64 timestamp(const Source& header)
{
    int words[5];
    for (int i = 0; i < 5; ++i)
        words[i] = int(header.fixed({SegyLayout::yearWord.startByte + 2 * i, HeaderDataType::Int16}));
    const int year = words[0];
    const int day = words[1];
    if (year < 1 || day < 1 || day > 366)
        return 0;
    // Day 1 is 1 January; hours, minutes and seconds count on from midnight as they stand.
    const qint64 days = QDate(year, 1, 1).toJulianDay() + day - 1 - QDate(1970, 1, 1).toJulianDay();
    const qint64 seconds = ((days * 24 + words[2]) * 60 + words[3]) * 60 + words[4];
    return seconds * 1000;
}

void setKey(SeismicTrace& trace, int key, double value)
{
    if (key == TraceKey::Crossline && value == 0.0)
        return;
    trace.setValue(key, value);
}

void writeKeys(char* bytes, qint64 length, const SegyFormat& format, bool swap, const SeismicTrace& trace)
{
    const auto put = [&](int slot, double value) {
        if (value == 0.0)
            return;
        const SegyFormat::KeySlot& position = format.keySlot(slot);
        HeaderDataType::writeValue(bytes, length, position.startByte, position.type, value, swap);
    };
    put(SegyFormat::ElevationScalarSlot, trace.elevationScalar);
    put(SegyFormat::TimeScalarSlot, trace.timeScalar);
    put(SegyFormat::CoordinateScalarSlot, trace.coordinateScalar);
    put(SegyFormat::StartTimeSlot, trace.startTime);
    for (const TraceKey::Info& info : TraceKey::table) {
        if (info.formatSlot < 0 || !TraceKey::isStored(info.key))
            continue;
        double value = trace.value(info.key);
        if (info.scalar == Scalar::Coordinate)
            value = double(SampleConversion::truncateToInteger(removeScalar(value, trace.coordinateScalar)));
        else if (info.scalar == Scalar::Elevation)
            value = removeScalar(value, trace.elevationScalar);
        put(info.formatSlot, value);
    }
}

} // namespace SegyTraceHeader
