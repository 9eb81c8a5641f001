#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyIndexFiles.h"
#include "seismic/SegyTraceHeader.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SortOrder.h"
#include "seismic/TraceKey.h"

#include <QColor>
#include <QMutexLocker>
#include <QStringList>
#include <cmath>
#include <new>

namespace {

// Memory the index of one data set may take.
constexpr qint64 maxIndexBytes = qint64(4) << 30;

} // namespace

bool SegyData::readHeaderAt(qint64 position, char* header)
{
    if (!device_->seek(position)) {
        status_ = device_->status();
        return false;
    }
    return readAtPosition(header, std::min(traceHeaderLength_, traceLength_));
}

bool SegyData::buildIndex()
{
    if (traceCount_ == 0)
        return positionFailure(QStringLiteral("File with zero traces: "));
    if (qint64(traceCount_) * qint64(sizeof(SegyTraceIndex::Entry)) > maxIndexBytes) {
        console_->error(QStringLiteral("Unable to allocate memory for more trace headers."), true);
        return false;
    }
    auto index = std::unique_ptr<SegyTraceIndex>(new (std::nothrow) SegyTraceIndex);
    try {
        if (index)
            index->entries.resize(size_t(traceCount_));
    } catch (const std::bad_alloc&) {
        index.reset();
    }
    if (!index) {
        console_->error(QStringLiteral("Unable to allocate memory for more trace headers."), true);
        return false;
    }
    for (int i = 0; i < traceCount_; ++i) {
        index->entries[size_t(i)].filePosition = dataStart() + qint64(i) * traceLength_;
        index->entries[size_t(i)].fileTrace = i + 1;
    }
    index_ = std::move(index);
    updateSortKeys();
    index_->restoreFileOrder();
    indexed_ = true;
    recordCount_ = index_->recordCount();
    tracesPerRecord_ = index_->largestRecord();
    {
        QMutexLocker lock(&recordOrderMutex_);
        recordOrder_.clear();
    }
    return seekRecord(1);
}

void SegyData::updateSortKeys()
{
    if (!index_ || !ensureTraceBuffer())
        return;
    const int total = index_->traceCount();
    console_->initProgress(QStringLiteral("Updating data sort keys...."), 100, false);
    int step = 0;
    for (int i = 0; i < total; ++i) {
        SegyTraceIndex::Entry& entry = index_->entries[size_t(i)];
        if (!readHeaderAt(entry.filePosition, traceBuffer_.data()))
            break;
        const SegyTraceHeader::Source header{traceBuffer_.data(), std::min(traceHeaderLength_, traceLength_),
                                             *format_, swapBytes_};
        entry.scalars = SegyTraceHeader::scalars(header);
        for (size_t c = 0; c < SegyTraceIndex::columnKeys.size(); ++c)
            entry.values[c] = SegyTraceHeader::keyValue(header, SegyTraceIndex::columnKeys[c],
                                                        entry.scalars[0], entry.scalars[1]);
        const int percent = int(qint64(i + 1) * 100 / total);
        if (percent != step) {
            step = percent;
            if (!console_->updateProgress(step))
                break;
        }
    }
    console_->clearProgress();
}

void SegyData::computeMidpoints()
{
    if (index_)
        index_->computeMidpoints();
}

void SegyData::updateIndexGeometry()
{
    if (!index_)
        return;
    index_->computeMidpoints();
    recomputeOffsets();
}

void SegyData::recomputeOffsets()
{
    // Where both positions are known the offset is their distance; the sign of a recorded
    // offset (the side of the spread) is kept.
    for (SegyTraceIndex::Entry& entry : index_->entries) {
        const double sx = entry.value(TraceKey::SourceX);
        const double sy = entry.value(TraceKey::SourceY);
        const double rx = entry.value(TraceKey::ReceiverX);
        const double ry = entry.value(TraceKey::ReceiverY);
        if ((sx == 0 && sy == 0) || (rx == 0 && ry == 0))
            continue;
        const double distance = std::hypot(rx - sx, ry - sy);
        entry.setValue(TraceKey::Offset, entry.value(TraceKey::Offset) < 0 ? -distance : distance);
    }
}

bool SegyData::applyRangeLimits(const QVector<RangeLimit>& limits)
{
    if (!index_ && !buildIndex())
        return false;
    QMutexLocker lock(&recordOrderMutex_);
    recordOrder_ = index_->recordsPassing(limits);
    if (recordOrder_.isEmpty()) {
        console_->error(
            QStringLiteral(
                "range limiting parameters have resulted in no records being input into processing."),
            true);
        return false;
    }
    console_->message(
        QStringLiteral("Based on range limiting settings, a total of %1 out of %2 records from the "
                       "input dataset will be processed.")
            .arg(recordOrder_.size())
            .arg(recordCount_),
        QColor(Qt::black));
    console_->message(QString(), QColor(Qt::black));
    return true;
}

void SegyData::createSortOrder(const QVector<int>& keys)
{
    sortOrder_ = std::make_unique<SortOrder>(keys);
    if (index_)
        sortOrder_->prepare(*index_);
}

void SegyData::prepareSortOrder(int sortKey)
{
    if (!index_ && !buildIndex())
        return;
    if (!sortOrder_)
        sortOrder_ = std::make_unique<SortOrder>();
    QStringList errors;
    if (!sortOrder_->prepare(sortKey, *index_, &errors)) {
        for (const QString& error : errors)
            console_->error(device_->path() + QStringLiteral(": ") + error, true);
    }
}

void SegyData::applySortOrder(SortOrder* order)
{
    if (!order || !order->ready || !index_)
        return;
    {
        QMutexLocker lock(&recordOrderMutex_);
        index_->sortBy(order->keys);
        // Records selected by range limiting were numbered in the old order.
        recordOrder_.clear();
    }
    recordCount_ = index_->recordCount();
    tracesPerRecord_ = index_->largestRecord();
    static_cast<void>(seekRecord(1));
}

void SegyData::adoptIndex(std::unique_ptr<SegyTraceIndex> index, std::unique_ptr<SortOrder> order)
{
    index_ = std::move(index);
    if (order)
        sortOrder_ = std::move(order);
    indexed_ = true;
    recordCount_ = index_->recordCount();
    tracesPerRecord_ = index_->largestRecord();
    {
        QMutexLocker lock(&recordOrderMutex_);
        recordOrder_.clear();
    }
    if (recordCount_ > 0)
        static_cast<void>(seekRecord(1));
}

QString SegyData::indexName() const
{
    return device_->name();
}

QString SegyData::indexFilePath() const
{
    return device_->path() + QStringLiteral(".indx");
}

QString SegyData::indexBackupPath() const
{
    return device_->path() + QStringLiteral(".indxbak");
}

bool SegyData::saveIndexBackup()
{
    return SegyIndexFiles::saveBackup(*this, indexBackupPath());
}

void SegyData::loadIndexBackup()
{
    if (SegyIndexFiles::loadBackup(*this, indexBackupPath()))
        static_cast<void>(SegyIndexFiles::writeIndex(*this, indexFilePath()));
}

bool SegyData::readIndexFile()
{
    return SegyIndexFiles::readIndex(*this, indexFilePath());
}
