#include "seismic/SegdFieldLayout.h"

#include "seismic/SegdBytes.h"
#include "seismic/SeismicLimits.h"

namespace {

constexpr int sercelManufacturer = 13;
// Revision 3 general header blocks describing a source (impulsive, vibrator) carry their
// type in their last byte and the source line in bytes 4-6.
constexpr int impulsiveSourceBlock = 22;
constexpr int vibratorSourceBlock = 21;
constexpr int sourceLineByte = 4;
// Revisions 1 and 2: general header block 3, bytes 4-6.
constexpr int generalSourceLineByte = 68;

} // namespace

bool SegdFieldLayout::readGeneralHeader(const SegdBytes& leading, QString* errorText)
{
    if (leading.size() < SegdGeneralHeader::blockBytes) {
        *errorText = QStringLiteral("too few bytes for a SEG-D general header");
        return false;
    }
    general_ = SegdGeneralHeader::parse(leading);
    channelSets_.clear();
    if (general_.channelSets < 0) {
        *errorText = QStringLiteral("invalid channel set count");
        return false;
    }
    if (headerLength() > SeismicLimits::maxHeaderBytes) {
        *errorText = QStringLiteral("header of Field File %1 claims %2 bytes")
                         .arg(general_.fieldFile)
                         .arg(headerLength());
        return false;
    }
    decoder_ = SegdSampleDecoder::forFormatCode(general_.formatCode);
    return true;
}

void SegdFieldLayout::readChannelSets(const SegdBytes& header)
{
    channelSets_.clear();
    for (int scanType = 0; scanType < general_.scanTypes; ++scanType) {
        for (int set = 0; set < general_.channelSets; ++set) {
            const SegdBytes descriptor =
                header.part(general_.descriptorOffset(scanType, set) + 1, general_.descriptorBytes());
            channelSets_.push_back(
                general_.majorRevision >= 3
                    ? SegdChannelSet::fromRevision3(descriptor)
                    : SegdChannelSet::fromBlock(descriptor, general_.majorRevision, general_.sampleInterval));
        }
    }
}

bool SegdFieldLayout::sercelRevision3() const
{
    return general_.majorRevision == 3 && general_.manufacturer == sercelManufacturer;
}

qint64 SegdFieldLayout::sourceLine(const SegdBytes& header) const
{
    if (general_.majorRevision < 3)
        return general_.blocks >= 3 ? header.int24(generalSourceLineByte) : 0;
    for (int block = 3; block < general_.blocks; ++block) {
        const int first = block * SegdGeneralHeader::blockBytes + 1;
        const quint32 type = header.uint8(first + SegdGeneralHeader::blockBytes - 1);
        if (type == impulsiveSourceBlock || type == vibratorSourceBlock)
            return header.int24(first + sourceLineByte - 1);
    }
    return 0;
}

qint64 SegdFieldLayout::traceHeaderLength(const SegdBytes& traceHeader) const
{
    // Revision 0 trace headers have no extensions.
    const int extensions = general_.majorRevision >= 1 ? int(traceHeader.uint8(10)) : 0;
    return traceHeaderBytes + qint64(extensions) * extensionBytes;
}

qint64 SegdFieldLayout::traceRecordLength(const SegdBytes& traceHeader, const SegdChannelSet& set) const
{
    // Revision 2 states each trace's samples in its first extension, as Sercel recorders did
    // in revision 1; the descriptors' times give them only to 2 ms.
    const bool stated = general_.majorRevision == 2 ||
                        (general_.majorRevision == 1 && general_.manufacturer == sercelManufacturer);
    const qint64 headerLength = traceHeaderLength(traceHeader);
    int samples = set.samples;
    if (stated && headerLength >= statedSamplesBytes && traceHeader.uint24(28) > 0)
        samples = int(traceHeader.uint24(28));
    if (samples < 0 || samples > SeismicLimits::maxSamplesPerTrace || decoder_ == SegdSampleDecoder::None)
        return -1;
    return headerLength + SegdSampleDecoder::byteCount(decoder_, samples);
}
