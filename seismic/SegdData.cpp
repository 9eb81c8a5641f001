#include "seismic/SegdData.h"

#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegdByteSource.h"
#include "seismic/SegdSourceFields.h"

#include <algorithm>
#include <cstring>

// The current file as the field map reads it: the header and the first traces through the read
// window, the map's small reads further on directly, so that they do not each fill a window.
class SegdData::HeaderSource : public SegdByteSource {
public:
    explicit HeaderSource(SegdData& data) : data(data) {}

    qint64 size() const override { return data.fileSize_; }

    qint64 read(qint64 offset, uchar* buffer, qint64 length) override
    {
        if (offset < 0 || offset >= data.fileSize_ || length <= 0)
            return 0;
        length = std::min(length, data.fileSize_ - offset);
        const uchar* held = offset < SegdReadWindow::size ? data.windowBytes(offset, length)
                                                          : data.window_.find(offset, length);
        if (held) {
            std::memcpy(buffer, held, size_t(length));
            return length;
        }
        ObrDevice& device = *data.device_;
        if (!device.seek(offset) || !device.read(reinterpret_cast<char*>(buffer), int(length)))
            return 0;
        return std::max<qint64>(device.pos() - offset, 0);
    }

private:
    SegdData& data;
};

SegdData::SegdData(ObrDevice* device, bool seismicOnly, bool directoryMode)
    : SeismicData(device), seismicOnly_(seismicOnly), directoryMode_(directoryMode)
{
    // SEG-D is big-endian, and its samples are delivered as IEEE floats whatever the file holds.
    swapBytes_ = true;
    sampleFormat_ = 5;
    bytesPerSample_ = 4;
}

SegdData::~SegdData() = default;

bool SegdData::fail(const QString& text)
{
    if (!console_)
        return false;
    // Every failure says which file; most texts name it already.
    const QString path = device_ ? device_->path() : QString();
    const QString name = device_ ? device_->name() : QString();
    const bool named = path.isEmpty() || text.contains(path) || (!name.isEmpty() && text.contains(name));
    console_->error(named ? text : path + QStringLiteral(": ") + text, true);
    return false;
}

SegdBytes SegdData::extendedHeader() const
{
    const SegdGeneralHeader& general = generalHeader();
    return fileHeaderBytes().part(general.extendedOffset() + 1, qint64(general.extendedBlocks) * 32);
}

QByteArray SegdData::externalHeader() const
{
    const SegdGeneralHeader& general = generalHeader();
    const SegdBytes external =
        fileHeaderBytes().part(general.externalOffset() + 1, qint64(general.externalBlocks) * 32);
    return QByteArray(reinterpret_cast<const char*>(external.data()), int(external.size()));
}

qint64 SegdData::heldBytes() const
{
    return fileSize_;
}

bool SegdData::reloadHeaders()
{
    // The device may be another file's. Its size is asked once: every trace checks against it.
    window_.clear();
    fileSize_ = device_->size();
    headers_ = Headers();
    traceHeaderRecords_.clear();
    sampleFormat_ = 5;
    bytesPerSample_ = 4;
    traceCount_ = 0;
    tracesPerRecord_ = 0;
    if (!readHeaders())
        return false;
    if (sampleInterval_ <= 0)
        return fail(QStringLiteral("invalid sample interval"));
    if (recordLength_ < 0)
        return fail(QStringLiteral("invalid record length"));
    rewindTraces();
    return true;
}

bool SegdData::readHeaders()
{
    HeaderSource source(*this);
    const bool mapped = headers_.map.read(source);
    const QString name = device_->path();
    if (console_ && console_->debugEnabled()) {
        for (const QString& note : headers_.map.notes())
            console_->debug(name + QStringLiteral(": ") + note);
    }
    if (!mapped) {
        status_ = ObrDevice::OutOfRange;
        return fail(name + QStringLiteral(": ") + headers_.map.problem());
    }
    readSourceFields();
    return describeTraces();
}

void SegdData::readSourceFields()
{
    const SegdSourceFields source = SegdSourceFields::read(generalHeader(), fileHeaderBytes());
    headers_.sourceLine = source.line;
    headers_.sourceLocation = source.location;
    headers_.sourceIndex = source.index;
    headers_.sourceSet = source.set;
    headers_.sourceType = source.type;
}

const uchar* SegdData::windowBytes(qint64 position, qint64 length)
{
    if (length > SegdReadWindow::size)
        return nullptr;
    if (const uchar* held = window_.find(position, length))
        return held;
    return window_.fill(*device_, position, fileSize_) ? window_.find(position, length) : nullptr;
}

bool SegdData::readAt(qint64 position, uchar* buffer, qint64 length)
{
    if (length <= 0)
        return true;
    if (const uchar* held = windowBytes(position, length)) {
        std::memcpy(buffer, held, size_t(length));
        return true;
    }
    // Read directly, which also says why bytes cannot be had.
    if (device_->pos() != position && !device_->seek(position)) {
        status_ = device_->status();
        return false;
    }
    if (device_->read(reinterpret_cast<char*>(buffer), int(length)) && device_->pos() == position + length)
        return true;
    if (device_->status() != ObrDevice::Success) {
        status_ = device_->status();
        return false;
    }
    status_ = ObrDevice::ReadFailed;
    return fail(QStringLiteral("read fewer than %1 bytes at byte position %2 within disk file: %3")
                    .arg(length)
                    .arg(position)
                    .arg(device_->path()));
}

bool SegdData::describeTraces()
{
    const SegdFieldMap& map = headers_.map;
    const SegdGeneralHeader& general = map.general();
    const int whole = map.wholeTraces();
    if (map.cutShort()) {
        const QString text = QStringLiteral("%1 is cut short at trace %2 of Field File %3: %4")
                                 .arg(device_->path())
                                 .arg(whole + 1)
                                 .arg(general.fieldFile)
                                 .arg(map.shortfall());
        // The traces the file holds are still delivered; the reading of the record then fails.
        if (whole == 0) {
            status_ = ObrDevice::OutOfRange;
            return fail(text);
        }
        if (console_)
            console_->error(text, false);
    }
    int seismic = 0;
    int aux = 0;
    for (const SegdFieldMap::Run& run : map.runs()) {
        const int held = std::clamp(whole - run.firstTrace, 0, run.channels);
        (channelSets()[size_t(run.set)].seismic() ? seismic : aux) += held;
    }
    headers_.seismicTraces = seismic;
    headers_.auxTraces = aux;
    traceCount_ = seismic + aux;
    tracesPerRecord_ = seismicOnly_ ? seismic : traceCount_;

    sampleInterval_ = general.sampleInterval;
    if (sampleInterval_ <= 0 && !map.runs().empty())
        sampleInterval_ = channelSets()[size_t(map.runs().front().set)].sampleInterval;
    recordLength_ = general.recordLength;
    for (const SegdFieldMap::Run& run : map.runs()) {
        if (general.recordLength == 0)
            recordLength_ = std::max(recordLength_, channelSets()[size_t(run.set)].endTime);
    }
    // The longest seismic channel set decides the length of the traces (shorter ones are padded
    // with zeros); auxiliary ones only when the file has no seismic channels. A set the file
    // holds no trace of does not count: its traces are never read.
    int longest[2] = {0, 0};
    for (const SegdFieldMap::Run& run : map.runs()) {
        int& kind = longest[channelSets()[size_t(run.set)].seismic() ? 1 : 0];
        if (run.firstTrace < whole)
            kind = std::max(kind, run.shape.samples);
    }
    if (longest[1] > 0 || longest[0] > 0)
        reconcileSampleCount(longest[1] > 0 ? longest[1] : longest[0], device_->name());

    if (traceCount_ == 0)
        return fail(QStringLiteral("no traces to input for Field File %1.").arg(general.fieldFile));
    if (tracesPerRecord_ == 0)
        return fail(QStringLiteral("no traces to output for Field File %1.").arg(general.fieldFile));
    reportFilteredTraces();
    return true;
}

void SegdData::reportFilteredTraces()
{
    if (!seismicOnly_ || headers_.auxTraces == 0 || !console_)
        return;
    console_->information(QStringLiteral("Aux traces are not being output - number of aux traces is %1.")
                              .arg(headers_.auxTraces),
                          false);
    console_->information(
        QStringLiteral("            - number of seismic traces is %1.").arg(headers_.seismicTraces), false);
}
