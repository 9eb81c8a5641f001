#pragma once

#include "seismic/ObrData.h"
#include "seismic/RangeLimit.h"

#include <QString>
#include <QVector>
#include <memory>

class ObrConsole;
class ObrDevice;
class SeismicTrace;
class SortOrder;
class TraceGather;

// The base of every seismic data set read or written through a device: the description of
// the data (traces per record, records, samples per trace, sample interval, byte order),
// the position by record and trace, and the reading and writing operations that the file
// formats implement. The operations of the base succeed without doing anything: a caller
// must not take their success as data.
class SeismicData : public ObrData {
public:
    // Takes ownership of an opened device and borrows its console. Every count starts at 0
    // and ok() false; the subclass reads its headers and sets the position.
    explicit SeismicData(ObrDevice* device);
    ~SeismicData() override;
    SeismicData(const SeismicData&) = delete;
    SeismicData& operator=(const SeismicData&) = delete;

    // Selects the records and traces to process from key ranges.
    [[nodiscard]] virtual bool applyRangeLimits(const QVector<RangeLimit>& limits);
    // Records available (after sorting: the sorted gathers).
    virtual int recordCount() const;
    virtual void computeMidpoints();
    virtual void updateIndexGeometry();
    virtual void updateSortKeys();
    [[nodiscard]] virtual bool saveIndexBackup();
    virtual void loadIndexBackup();
    virtual void applySortOrder(SortOrder* order);
    virtual void prepareSortOrder(int sortKey);
    virtual void createSortOrder(const QVector<int>& keys);
    // Positioning before a trace (1-based record and trace in record) or a record.
    [[nodiscard]] virtual bool seekTrace(int record, int trace);
    [[nodiscard]] virtual bool seekSequentialTrace(int trace);
    [[nodiscard]] virtual bool seekRecord(int record);
    [[nodiscard]] virtual bool readRecordNumber(TraceGather& gather, int n);
    [[nodiscard]] virtual bool readTraceInRecord(SeismicTrace& trace, int n);
    [[nodiscard]] virtual bool readTraceAt(SeismicTrace& trace, int record, int n);
    [[nodiscard]] virtual bool readTraceRange(TraceGather& gather, int first, int last);
    [[nodiscard]] virtual bool readRecord(TraceGather& gather);
    [[nodiscard]] virtual bool readTrace(SeismicTrace& trace);
    [[nodiscard]] virtual bool writeRecord(TraceGather& gather);
    [[nodiscard]] virtual bool writeRecordAt(TraceGather& gather, int record);
    [[nodiscard]] virtual bool writeTraceAt(SeismicTrace& trace, int n);

    // Header values by key (see SeismicTrace::value and setValue).
    static double value(const SeismicTrace& trace, int key);
    static void setValue(SeismicTrace& trace, int key, qint32 value);
    static void setValue(SeismicTrace& trace, int key, float value);
    static void setValue(SeismicTrace& trace, int key, double value);

    // A gather of tracesPerRecord fresh traces of this data set; with headersOnly the traces
    // carry no samples and hold the negated sample count. Null (reported on the console)
    // when the counts are beyond SeismicLimits or what heldBytes() can hold, or memory ran out.
    std::unique_ptr<TraceGather> makeGather(bool headersOnly);
    // One fresh trace of samples() samples, null (reported) as for a gather.
    std::unique_ptr<SeismicTrace> makeTrace();
    // Deletes traces from the end or appends fresh ones until the gather holds count; the
    // held count is returned (smaller than count when memory ran out, which is reported).
    int resizeGather(TraceGather& gather, int count);
    // As above, but when shrinking first deletes dropFront traces from the front.
    int resizeGather(TraceGather& gather, int count, int dropFront);

    // Copy the trace's samples from or to a caller's buffer of bufferSamples 64-bit floats
    // (at most sampleCount of them); a headers-only trace copies nothing.
    static void copySamplesIn(SeismicTrace& trace, const double* buffer, qint64 bufferSamples);
    static void copySamplesOut(const SeismicTrace& trace, double* buffer, qint64 bufferSamples);
    // When swapBytes() is set, byte-reverse fileSamples() 2- or 4-byte samples in place (at
    // most what bufferBytes holds); otherwise nothing.
    void swapSamples16(void* buffer, qint64 bufferBytes) const;
    void swapSamples32(void* buffer, qint64 bufferBytes) const;

    // Called by every reader when it learns the samples per trace of a file: the first file
    // fixes the length of every trace; later files are padded or truncated to it, with a
    // warning. fileName may be empty.
    void reconcileSampleCount(int count, const QString& fileName);

    // No count of the description is negative.
    bool descriptionValid() const;

    bool ok() const { return ok_; }
    ObrDevice* device() const { return device_.get(); }
    int status() const { return status_; }
    int traceCount() const { return traceCount_; }
    float bytesPerSample() const { return bytesPerSample_; }
    float recordLength() const { return recordLength_; }
    int tracesPerRecord() const { return tracesPerRecord_; }
    int sampleFormat() const { return sampleFormat_; }
    float sampleInterval() const { return sampleInterval_; }
    bool swapBytes() const { return swapBytes_; }
    void setSwapBytes(bool swap) { swapBytes_ = swap; }
    bool indexed() const { return indexed_; }
    ObrConsole* console() const { return console_; }
    int currentRecord() const { return currentRecord_; }
    int currentTrace() const { return currentTrace_; }
    int fileSamples() const { return fileSamples_; }
    int samples() const { return samples_; }

protected:
    // The bytes the traces are read from, which bound the memory of the traces made for them;
    // -1 when nothing does (a data set being written).
    virtual qint64 heldBytes() const;

    // Replaces the header buffer by a zero-filled one of size bytes; false (reported on the
    // console) when the size is out of bounds or memory ran out.
    [[nodiscard]] bool allocateHeaderBuffer(qint64 size);
    char* headerBuffer() const { return headerBuffer_.get(); }
    qint64 headerBufferSize() const { return headerBufferSize_; }

    bool ok_ = false;
    std::unique_ptr<ObrDevice> device_;
    int status_ = 0;
    int traceCount_ = 0;
    int recordCount_ = 0;
    float bytesPerSample_ = 0;
    float recordLength_ = 0;
    int tracesPerRecord_ = 0;
    int sampleFormat_ = 0;
    float sampleInterval_ = 0;
    bool swapBytes_ = false;
    bool indexed_ = false;
    ObrConsole* console_ = nullptr;
    int currentRecord_ = 0;
    int currentTrace_ = 0;
    int fileSamples_ = 0;
    int samples_ = 0;

private:
    int appendTraces(TraceGather& gather, int count);
    [[nodiscard]] bool heldBytesAllow(qint64 traces, int sampleCount);
    void reportAllocationFailure(qint64 traces, int sampleCount);

    std::unique_ptr<char[]> headerBuffer_;
    qint64 headerBufferSize_ = 0;
};
