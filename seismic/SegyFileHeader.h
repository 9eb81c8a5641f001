#pragma once

#include "seismic/SegyLayout.h"

#include <QByteArray>
#include <QString>

class SegyFormat;

// The textual and binary file headers of a new SEG-Y file, laid out by a SegyFormat, for the
// tools that create files (SegyData itself writes only traces).
namespace SegyFileHeader {

struct Description {
    QString text;    // card images, padded to the textual header
    int samples = 0; // per trace
    float intervalMs = 0;
    int sampleFormat = SegyLayout::IeeeFloat;
    int revision = SegyLayout::revisionOne;
    bool fixedLength = true;
};

// textHeaderSize + binaryHeaderSize bytes: the text in the format's encoding, the binary header
// in the format's byte order (big endian unless the format says little endian).
QByteArray build(const SegyFormat& format, const Description& description);

} // namespace SegyFileHeader
