#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyTraceIndex.h"

// Positioning by record and trace: arithmetic on the file layout, or the index cursor.

bool SegyData::positionFailure(const QString& text)
{
    status_ = ObrDevice::OutOfRange;
    console_->error(text + device_->path(), true);
    return false;
}

bool SegyData::seekTrace(int record, int trace)
{
    if (indexed_)
        return seekIndexed(record, trace);
    currentRecord_ = record;
    currentTrace_ = trace;
    const qint64 n = qint64(record - 1) * tracesPerRecord_ + trace;
    if (traceCount_ == 0)
        return positionFailure(QStringLiteral("File with zero traces: "));
    if (n < 1)
        return positionFailure(QStringLiteral("requested a trace number less than 1 within disk file: "));
    if (n > traceCount_)
        return positionFailure(
            QStringLiteral("requested a trace number greater than the number of traces within disk file: "));
    if (!device_->seek(dataStart() + (n - 1) * traceLength_)) {
        status_ = device_->status();
        return false;
    }
    if (recordCount_ == 1)
        currentTrace_ = int(n);
    return true;
}

bool SegyData::seekIndexed(int record, int trace)
{
    if (index_->traceCount() == 0)
        return positionFailure(QStringLiteral("File with zero traces: "));
    if (trace < 1)
        return positionFailure(QStringLiteral("requested a trace number less than 1 within disk file: "));
    const int entry = index_->entryOf(record, trace);
    if (entry < 0)
        return positionFailure(
            QStringLiteral("requested a trace number greater than the number of traces within disk file: "));
    index_->cursor = entry;
    if (!device_->seek(index_->entries[size_t(entry)].filePosition)) {
        status_ = device_->status();
        return false;
    }
    currentRecord_ = record;
    currentTrace_ = trace;
    return true;
}

bool SegyData::seekSequentialTrace(int trace)
{
    return seekTrace(1, trace);
}

bool SegyData::seekRecord(int record)
{
    if (record < 1)
        return positionFailure(QStringLiteral("requested a record number less than 1 within disk file: "));
    const unsigned mode = device_->mode();
    if (record > recordCount_ && (mode == 0 || mode == 4)) {
        status_ = ObrDevice::OutOfRange;
        return false;
    }
    if (indexed_) {
        if (!seekIndexed(record, 1))
            return false;
    } else {
        // The first trace of the record; record 1 starts with the data.
        const qint64 position = dataStart() + qint64(record - 1) * tracesPerRecord_ * traceLength_;
        if (!device_->seek(position)) {
            status_ = device_->status();
            return false;
        }
    }
    currentRecord_ = record;
    currentTrace_ = 1;
    return true;
}
