#pragma once

#include "seismic/SegyLayout.h"

#include <QtGlobal>
#include <array>

class SegyFormat;
class SeismicTrace;

// Trace header values of a SEG-Y trace, decoded straight from the trace bytes by the
// positions of a SegyFormat and the key table, and encoded back. Every access is bounds-checked
// against the header length: a format may put a word beyond it, which then reads as 0.
namespace SegyTraceHeader {

// Which keys a reader takes: the full reader, or the smaller set of the trace display.
enum class KeySet { Full, Display };

struct Source {
    const char* bytes;
    qint64 length; // bytes of the trace header
    const SegyFormat& format;
    bool swap;

    // A word at its standard position, whatever the format says.
    double fixed(SegyLayout::Word word) const;
    double slot(int slot) const;
};

// The coordinate, elevation and time scalars, in that order. A float word holding NaN or a value
// beyond 2^63 gives 0, which scales nothing.
std::array<qint32, 3> scalars(const Source& header);
// The same into the trace.
void readScalars(const Source& header, SeismicTrace& trace);
// The slotted keys of a set, each with its scalar.
void readKeys(const Source& header, KeySet set, SeismicTrace& trace);
// The keys that come from a trace index when the data set is indexed.
bool isIndexedKey(int key);
// Only what the full reader always takes from the header bytes, whatever the index holds:
// fold, timestamp, statics, recording delay, elevations, components and the VSP words.
void readUnindexedKeys(const Source& header, SeismicTrace& trace);
// One key as the full reader decodes it (scaled by the coordinate or elevation scalar), for the
// trace index, which keeps the CMP and crossline numbers apart. Trace identification comes from
// its fixed word.
double keyValue(const Source& header, int key, int coordinateScalar, int elevationScalar);
// Acquisition time from the year, day-of-year, hour, minute and second words: milliseconds
// since 1970 UTC, 0 when the year or day is not a date.
qint64 timestamp(const Source& header);
// Puts a value into the trace, keeping a CMP number when the crossline word is empty: in 2-D
// data the two keys share one value, and an empty crossline must not wipe the CMP.
void setKey(SeismicTrace& trace, int key, double value);

// Writes the trace's scalars, recording delay and every slotted key into a zero-filled header.
// Keys of value 0 are skipped, so that a zero key never wipes a key sharing its bytes.
void writeKeys(char* bytes, qint64 length, const SegyFormat& format, bool swap, const SeismicTrace& trace);

} // namespace SegyTraceHeader
