#pragma once

#include "seismic/SegdChannelSet.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SegdSampleDecoder.h"

#include <QString>
#include <vector>

class SegdBytes;

// Where a field file's bytes lie, as its own headers say: the header length, the channel sets
// with their channels, and the length of each trace record (trace header, its extensions and
// the samples). The copy tools walk a field file by it without decoding a sample.
class SegdFieldLayout {
public:
    static constexpr int traceHeaderBytes = 20;
    static constexpr int extensionBytes = 32;
    // A trace header with its first extension, which states the trace's samples in revision 2.
    static constexpr int statedSamplesBytes = traceHeaderBytes + extensionBytes;

    // Reads the general header from the leading bytes (all of blocks 1 to 3 the file has);
    // false with a reason when they make no field file.
    [[nodiscard]] bool readGeneralHeader(const SegdBytes& leading, QString* errorText);
    // Reads the channel set descriptors from the whole header (headerLength() bytes).
    void readChannelSets(const SegdBytes& header);

    const SegdGeneralHeader& general() const { return general_; }
    const std::vector<SegdChannelSet>& channelSets() const { return channelSets_; }
    qint64 headerLength() const { return general_.headerLength(); }
    SegdSampleDecoder::Decoder decoder() const { return decoder_; }
    // Sercel revision 3 files, which the copy announces.
    bool sercelRevision3() const;
    // The source line number the headers carry (0 when they carry none), for file names.
    qint64 sourceLine(const SegdBytes& header) const;

    // Bytes of the trace header and its extensions, from the first traceHeaderBytes of it.
    qint64 traceHeaderLength(const SegdBytes& traceHeader) const;
    // Bytes of the whole trace record, from its header and extensions (at least the first
    // statedSamplesBytes of them when there are extensions).
    qint64 traceRecordLength(const SegdBytes& traceHeader, const SegdChannelSet& set) const;

private:
    SegdGeneralHeader general_;
    std::vector<SegdChannelSet> channelSets_;
    SegdSampleDecoder::Decoder decoder_ = SegdSampleDecoder::None;
};
