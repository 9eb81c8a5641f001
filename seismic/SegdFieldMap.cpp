#include "seismic/SegdFieldMap.h"

#include "seismic/SegdByteSource.h"
#include "seismic/SeismicLimits.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <new>

namespace {

QString number(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

} // namespace

qint64 SegdMemorySource::read(qint64 offset, uchar* buffer, qint64 length)
{
    if (offset < 0 || length <= 0 || offset >= size_)
        return 0;
    const qint64 count = std::min(length, size_ - offset);
    std::memcpy(buffer, data_ + offset, size_t(count));
    return count;
}

bool SegdFieldMap::refuse(const QString& text)
{
    problem_ = text;
    return false;
}

bool SegdFieldMap::read(SegdByteSource& source)
{
    *this = SegdFieldMap();
    size_ = source.size();
    if (!readHeader(source))
        return false;
    decoder_ = SegdSampleDecoder::forFormatCode(general_.formatCode);
    if (decoder_ == SegdSampleDecoder::None)
        return refuse(
            QStringLiteral("samples of SEGD format code %1 cannot be decoded").arg(general_.formatCode));
    mapped_ = placeTraces(source);
    if (!mapped_)
        runs_.clear();
    return mapped_;
}

bool SegdFieldMap::readHeader(SegdByteSource& source)
{
    uchar leading[SegdGeneralHeader::leadingBytes] = {};
    const qint64 got = source.read(0, leading, sizeof leading);
    if (got < SegdGeneralHeader::blockBytes)
        return refuse(QStringLiteral("%1 bytes are too few for a SEG-D general header").arg(got));
    general_ = SegdGeneralHeader::parse(SegdBytes(leading, got));
    generalRead_ = true;
    if (general_.channelSets < 0)
        return refuse(QStringLiteral("invalid channel set count"));
    const qint64 length = general_.headerLength();
    if (length > SeismicLimits::maxHeaderBytes)
        return refuse(QStringLiteral("the header of Field File %1 claims %2 bytes")
                          .arg(general_.fieldFile)
                          .arg(number(length)));
    // A header cut short keeps what it holds: its descriptors are still worth showing. It is read
    // in pieces, so that a source of unknown length (a tape file) that holds less than the header
    // claims takes no more memory than it holds.
    const qint64 held = size_ >= 0 ? std::min(length, size_) : length;
    constexpr qint64 piece = qint64(64) << 10;
    header_.clear();
    try {
        while (qint64(header_.size()) < held) {
            const qint64 at = qint64(header_.size());
            const qint64 wanted = std::min(piece, held - at);
            header_.resize(size_t(at + wanted));
            const qint64 got = std::max<qint64>(source.read(at, header_.data() + at, wanted), 0);
            header_.resize(size_t(at + got));
            if (got < wanted)
                break;
        }
    } catch (const std::bad_alloc&) {
        return refuse(QStringLiteral("failed to allocate memory for file header in Field File %1.")
                          .arg(general_.fieldFile));
    }
    readChannelSets();
    if (qint64(header_.size()) < length)
        return refuse(QStringLiteral("the header takes %1 bytes; the file holds %2 bytes")
                          .arg(number(length))
                          .arg(number(qint64(header_.size()))));
    return true;
}

void SegdFieldMap::readChannelSets()
{
    const SegdBytes bytes = header();
    const int descriptorBytes = general_.descriptorBytes();
    for (int scanType = 0; scanType < general_.scanTypes; ++scanType) {
        for (int set = 0; set < general_.channelSets; ++set) {
            const qint64 offset = general_.descriptorOffset(scanType, set);
            if (offset + descriptorBytes > bytes.size())
                return;
            const SegdBytes descriptor = bytes.part(offset + 1, descriptorBytes);
            channelSets_.push_back(
                general_.majorRevision >= 3
                    ? SegdChannelSet::fromRevision3(descriptor)
                    : SegdChannelSet::fromBlock(descriptor, general_.majorRevision, general_.sampleInterval));
        }
    }
}

int SegdFieldMap::statedExtensions(const SegdBytes& traceHeader) const
{
    return general_.majorRevision >= 1 ? int(traceHeader.uint8(10)) : 0;
}

SegdFieldMap::Shape SegdFieldMap::shapeFor(int extensions, int samples) const
{
    Shape shape;
    shape.extensions = extensions;
    shape.samples = samples;
    shape.headerBytes = traceHeaderBytes + qint64(extensions) * extensionBytes;
    shape.sampleBytes = SegdSampleDecoder::byteCount(decoder_, samples);
    return shape;
}

const SegdFieldMap::Run& SegdFieldMap::runOf(int trace) const
{
    const auto after = std::upper_bound(runs_.begin(), runs_.end(), trace,
                                        [](int t, const Run& run) { return t < run.firstTrace; });
    return *(after - 1);
}

qint64 SegdFieldMap::traceOffset(int trace) const
{
    const Run& run = runOf(trace);
    return run.offset + qint64(trace - run.firstTrace) * run.shape.recordBytes();
}

qint64 SegdFieldMap::announcedSize() const
{
    return runs_.empty() ? headerLength() : runs_.back().end();
}

int SegdFieldMap::wholeTraces() const
{
    if (size_ < 0)
        return traceCount_;
    int whole = 0;
    for (const Run& run : runs_) {
        if (run.end() <= size_) {
            whole += run.channels;
            continue;
        }
        if (size_ > run.offset)
            whole += int((size_ - run.offset) / run.shape.recordBytes());
        break;
    }
    return whole;
}

QString SegdFieldMap::shortfall() const
{
    int fewest = 0;
    int most = 0;
    for (const Run& run : runs_) {
        fewest = fewest == 0 ? run.shape.samples : std::min(fewest, run.shape.samples);
        most = std::max(most, run.shape.samples);
    }
    const QString samples =
        fewest == most ? number(most) : QStringLiteral("%1 to %2").arg(number(fewest), number(most));
    return QStringLiteral("the headers announce %1 traces of %2 samples (%3 bytes); the file holds %4 bytes")
        .arg(number(traceCount_), samples, number(announcedSize()), number(size_));
}
