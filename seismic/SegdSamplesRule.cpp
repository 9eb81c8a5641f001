#include "seismic/ReadBuffer.h"
#include "seismic/SegdByteSource.h"
#include "seismic/SegdFieldMap.h"
#include "seismic/SeismicLimits.h"

#include <QLocale>
#include <algorithm>
#include <limits>
#include <vector>

// Which samples per trace the traces of each channel set hold, and so where every trace record
// lies: the counts the file states and its channel set times, judged by where they put the
// trace headers that follow.

namespace {

// Revision 3 trace header extensions carry their type in their last byte; extension 1 (type
// 40h) states the samples at its bytes 25-28. Revisions 1 and 2 state them at bytes 8-10 of the
// first extension.
constexpr int revision3Extension1 = 0x40;
constexpr int revision3SamplesByte = 25;
constexpr int statedSamplesByte = SegdFieldMap::traceHeaderBytes + 8;
// The trace header and its first extension: what the first trace of a set is read for at least.
constexpr int firstHeaderBytes = SegdFieldMap::traceHeaderBytes + SegdFieldMap::extensionBytes;
// The trace header with the most extensions its byte 10 can state.
constexpr int longestTraceHeader = SegdFieldMap::traceHeaderBytes + 255 * SegdFieldMap::extensionBytes;
// Offsets beyond this are no file's: a header that adds up to them is damaged.
constexpr qint64 largestOffset = qint64(1) << 56;

QString number(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

// The field file number as a trace header states it (bytes 1-2, or 18-20 when those are all
// ones): the same in every trace of a file.
bool sameFieldFile(const SegdBytes& a, const SegdBytes& b)
{
    if (a.uint16(1) != b.uint16(1))
        return false;
    return a.uint16(1) != 0xFFFF || a.uint24(18) == b.uint24(18);
}

// Traces of one channel set share their field file, scan type and channel set. (Their
// extensions too, but a trace that says otherwise is a damaged trace, which its reader reports.)
bool sameChannelSet(const SegdBytes& a, const SegdBytes& b)
{
    return sameFieldFile(a, b) && a.uint16(3) == b.uint16(3) &&
           (a.uint8(4) != 0xFF || a.uint16(16) == b.uint16(16));
}

} // namespace

struct SegdFieldMap::Candidate {
    int samples;
    QString from;
};

// Only positive evidence (a trace header where the count puts it, a record that ends the file)
// outweighs the order of the candidates.
enum class SegdFieldMap::Verdict { Contradicted, Open, Tiles };

bool SegdFieldMap::placeTraces(SegdByteSource& source)
{
    qint64 offset = headerLength();
    qint64 traces = 0;
    int lastWithChannels = -1;
    for (size_t i = 0; i < channelSets_.size(); ++i) {
        if (channelSets_[i].channels > 0)
            lastWithChannels = int(i);
    }
    for (size_t i = 0; i < channelSets_.size(); ++i) {
        SegdChannelSet& set = channelSets_[i];
        if (set.channels <= 0)
            continue;
        Run run;
        run.set = int(i);
        run.firstTrace = int(traces);
        run.channels = set.channels;
        run.offset = offset;
        if (!shapeRun(source, run, int(i) == lastWithChannels))
            return false;
        set.samples = run.shape.samples;
        traces += set.channels;
        if (traces > std::numeric_limits<int>::max() / 2 || run.end() > largestOffset)
            return refuse(
                QStringLiteral("the channel sets of Field File %1 declare more traces than any file holds")
                    .arg(general_.fieldFile));
        offset = run.end();
        runs_.push_back(run);
    }
    traceCount_ = int(traces);
    return true;
}

std::vector<SegdFieldMap::Candidate> SegdFieldMap::candidates(const SegdChannelSet& set,
                                                              const SegdBytes& first) const
{
    std::vector<Candidate> found;
    const auto add = [&found](qint64 samples, const QString& from) {
        if (samples <= 0 || samples > SeismicLimits::maxSamplesPerTrace)
            return;
        const auto same = [samples](const Candidate& c) { return c.samples == samples; };
        const auto known = std::find_if(found.begin(), found.end(), same);
        if (known == found.end())
            found.push_back({int(samples), from});
        else if (!known->from.contains(from))
            known->from += QStringLiteral(" and ") + from;
    };
    const bool extended = first.size() >= firstHeaderBytes && statedExtensions(first) > 0;
    if (general_.majorRevision >= 3) {
        add(set.samples, QStringLiteral("the channel set descriptor"));
        for (int k = 0; k < statedExtensions(first); ++k) {
            const SegdBytes extension =
                first.part(traceHeaderBytes + qint64(k) * extensionBytes + 1, extensionBytes);
            if (extension.uint8(extensionBytes) == revision3Extension1) {
                add(extension.uint32(revision3SamplesByte), QStringLiteral("trace header extension 1"));
                break;
            }
        }
    } else if (extended) {
        // Revision 2 states the count here, and so do several recorders in revision 1.
        add(first.uint24(statedSamplesByte), QStringLiteral("trace header extension 1"));
    }
    add(set.timedSamples(false), QStringLiteral("the channel set times"));
    add(set.timedSamples(true), QStringLiteral("the channel set times"));
    return found;
}

bool SegdFieldMap::shapeRun(SegdByteSource& source, Run& run, bool last)
{
    const SegdChannelSet& set = channelSets_[size_t(run.set)];
    // The first trace's header and every extension it has (those a file holds).
    ReadBuffer<uchar> firstBytes;
    if (!firstBytes.reserve(longestTraceHeader))
        return refuse(QStringLiteral("failed to allocate memory for a trace header"));
    qint64 got = source.read(run.offset, firstBytes.data(), firstHeaderBytes);
    if (got == firstHeaderBytes && statedExtensions(SegdBytes(firstBytes.data(), got)) > 1) {
        const qint64 length =
            traceHeaderBytes + qint64(statedExtensions(SegdBytes(firstBytes.data(), got))) * extensionBytes;
        got += source.read(run.offset + got, firstBytes.data() + got, length - got);
    }
    const SegdBytes first(firstBytes.data(), got);
    // Without a first trace the descriptor tells the extensions (revision 2.1 on).
    const int described = general_.majorRevision >= 1 ? set.traceHeaderExtensions : 0;
    const int extensions = got >= traceHeaderBytes ? statedExtensions(first) : described;
    const std::vector<Candidate> counts = candidates(set, first);
    const QString setName = QStringLiteral("channel set %1").arg(set.number);
    if (counts.empty())
        return refuse(QStringLiteral("%1 states no samples per trace").arg(setName));

    std::vector<Verdict> verdicts;
    for (const Candidate& count : counts) {
        run.shape = shapeFor(extensions, count.samples);
        verdicts.push_back(got >= traceHeaderBytes ? judge(source, run, first, last) : Verdict::Open);
    }
    auto chosen = std::find(verdicts.begin(), verdicts.end(), Verdict::Tiles);
    if (chosen == verdicts.end())
        chosen = std::find(verdicts.begin(), verdicts.end(), Verdict::Open);
    if (chosen == verdicts.end()) {
        QStringList said;
        for (const Candidate& count : counts) {
            run.shape = shapeFor(extensions, count.samples);
            said.append(QStringLiteral("%1 from %2 (the file would need %3 bytes)")
                            .arg(number(count.samples), count.from, number(neededFor(run))));
        }
        const QString held =
            size_ >= 0 ? QStringLiteral("; the file holds %1 bytes").arg(number(size_)) : QString();
        return refuse(QStringLiteral("the samples per trace of %1 cannot be told: neither %2%3")
                          .arg(setName, said.join(QStringLiteral(" nor ")), held));
    }
    const Candidate& count = counts[size_t(chosen - verdicts.begin())];
    run.shape = shapeFor(extensions, count.samples);
    QString note =
        QStringLiteral("%1: %2 samples per trace from %3").arg(setName, number(count.samples), count.from);
    note += *chosen == Verdict::Tiles ? QStringLiteral(", which tile the file")
                                      : QStringLiteral(" (the file does not show more)");
    for (size_t k = 0; k < counts.size(); ++k) {
        if (counts[k].samples != count.samples)
            note += QStringLiteral("; %1 from %2 %3")
                        .arg(number(counts[k].samples), counts[k].from,
                             verdicts[k] == Verdict::Contradicted ? QStringLiteral("do not tile it")
                                                                  : QStringLiteral("not taken"));
    }
    notes_.append(note);
    return true;
}

SegdFieldMap::Verdict SegdFieldMap::judge(SegdByteSource& source, const Run& run, const SegdBytes& first,
                                          bool last) const
{
    const qint64 length = run.shape.recordBytes();
    uchar bytes[traceHeaderBytes];
    const auto headerAt = [&](qint64 offset) {
        return source.read(offset, bytes, traceHeaderBytes) == traceHeaderBytes
                   ? SegdBytes(bytes, traceHeaderBytes)
                   : SegdBytes();
    };
    bool evidence = false;
    // The second and the last trace of the set.
    for (const qint64 trace : {qint64(1), qint64(run.channels) - 1}) {
        if (trace < 1 || trace >= run.channels)
            continue;
        const SegdBytes header = headerAt(run.offset + trace * length);
        if (header.size() == 0)
            continue;
        if (!sameChannelSet(first, header))
            return Verdict::Contradicted;
        evidence = true;
    }
    const qint64 end = run.end();
    if (!last) {
        const SegdBytes next = headerAt(end);
        if (next.size() == 0)
            return Verdict::Open;
        return sameFieldFile(first, next) ? Verdict::Tiles : Verdict::Contradicted;
    }
    const qint64 stated = general_.majorRevision >= 3 ? qint64(general_.recordBytes) : 0;
    if (end == size_ || (stated > 0 && end == stated))
        return Verdict::Tiles;
    // A record that runs past the end contradicts nothing the file shows: it may be cut short.
    return evidence && size_ < 0 ? Verdict::Tiles : Verdict::Open;
}

qint64 SegdFieldMap::neededFor(const Run& run) const
{
    qint64 needed = run.end();
    for (size_t i = size_t(run.set) + 1; i < channelSets_.size(); ++i) {
        const SegdChannelSet& later = channelSets_[i];
        if (later.channels > 0)
            needed += later.channels * shapeFor(run.shape.extensions, later.samples).recordBytes();
    }
    return needed;
}
