#pragma once

#include "seismic/ReadBuffer.h"

#include <QtGlobal>

class ObrDevice;

// A stretch of a field file held in memory, so that the many small reads of trace headers and
// samples that follow one another cost one transfer from the device per stretch.
class SegdReadWindow {
public:
    static constexpr qint64 size = 1 << 20;

    void clear() { length_ = 0; }
    // The bytes position to position + length - 1 of the file when they are held, else null.
    const uchar* find(qint64 position, qint64 length) const;
    // Holds up to size bytes of device from position on, no further than fileSize; false
    // (holding nothing) when they cannot be read.
    [[nodiscard]] bool fill(ObrDevice& device, qint64 position, qint64 fileSize);

private:
    ReadBuffer<uchar> bytes_;
    qint64 start_ = 0;
    qint64 length_ = 0;
};
