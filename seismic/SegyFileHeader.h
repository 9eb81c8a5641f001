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
// in the format's byte order (big endian unless the format says little endian). A file that
// revision 1 cannot describe (a sample format revision 2 added, more than 65,535 samples, an
// interval of no whole number of microseconds) is written as revision 2.0, with the byte-order
// constant and the extended sample count and interval.
QByteArray build(const SegyFormat& format, const Description& description);
// Whether a description needs revision 2.
bool needsRevision2(const Description& description);

} // namespace SegyFileHeader
