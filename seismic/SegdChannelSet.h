#pragma once

#include <QtGlobal>
#include <array>

class SegdBytes;

// One channel set descriptor of a SEG-D scan type header: 32 bytes in revisions 0 to 2, three
// 32-byte blocks in revision 3. Times are milliseconds from time zero.
struct SegdChannelSet {
    enum { seismicType = 1 };
    // The descriptor's filter words in the order the analyzer shows them.
    enum Filter { AliasFrequency, AliasSlope, LowCutFrequency, LowCutSlope };

    // Revisions 0 to 2; baseInterval in milliseconds. revision picks the descale coding.
    static SegdChannelSet fromBlock(const SegdBytes& block, int revision, float baseInterval);
    // Revision 3.
    static SegdChannelSet fromRevision3(const SegdBytes& blocks);

    bool seismic() const { return type == seismicType; }
    // The samples the set's start and end times span at its interval: the end time taken as the
    // time of the last sample (both ends counted) or as the time just after it. 0 when the
    // times or the interval make no count.
    int timedSamples(bool endAfterLastSample) const;

    int scanType = 0;
    int number = 0;
    // 1 for seismic channels whatever the revision's code; rawType keeps the file's code.
    int type = 0;
    int rawType = 0;
    float startTime = 0;
    float endTime = 0;
    // Samples per channel of the set: given in revision 3, from the times and the interval
    // before it (both ends counted), until the traces say otherwise.
    int samples = 0;
    int channels = 0;
    float sampleInterval = 0; // milliseconds
    int subscans = 1;
    int gainControl = 0;
    // The descale word as stored (16 bits before revision 3, the float's bits in revision 3)
    // and the multiplier it stands for.
    quint32 descaleWord = 0;
    double descale = 1.0;
    std::array<float, 4> filters{};
    int traceHeaderExtensions = 0;
    int verticalStack = 0;
    int streamerCable = 0;
    int arrayForming = 0;
};
