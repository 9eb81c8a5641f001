#pragma once

#include "seismic/ReadBuffer.h"
#include "seismic/SegyBinaryHeader.h"
#include "seismic/SegyLayout.h"
#include "seismic/SeismicData.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <array>
#include <memory>

class SegyFormat;
class SegyTraceIndex;

// A SEG-Y file on disk: its textual and binary headers, its traces read and written through the
// positions of a SegyFormat, positioning by record and trace, and a trace index with sorting
// and range selection. The file is one record until an index groups its traces.
class SegyData : public SeismicData {
public:
    // Opens path through a disk device that the object owns. Modes 0 and 3 read the
    // textual and binary headers; other modes start a new file, of which only traces are written
    // here. format must outlive the object; a detected byte order is recorded in it.
    SegyData(ObrConsole* console, const QString& path, unsigned mode, SegyFormat* format);
    // The same over an opened device (a disk file, bytes in memory), which the object owns.
    SegyData(ObrDevice* device, unsigned mode, SegyFormat* format);
    ~SegyData() override;

    [[nodiscard]] bool applyRangeLimits(const QVector<RangeLimit>& limits) override;
    int recordCount() const override;
    void computeMidpoints() override;
    void updateIndexGeometry() override;
    void updateSortKeys() override;
    [[nodiscard]] bool saveIndexBackup() override;
    void loadIndexBackup() override;
    void applySortOrder(SortOrder* order) override;
    void prepareSortOrder(int sortKey) override;
    void createSortOrder(const QVector<int>& keys) override;
    [[nodiscard]] bool seekTrace(int record, int trace) override;
    [[nodiscard]] bool seekSequentialTrace(int trace) override;
    [[nodiscard]] bool seekRecord(int record) override;
    [[nodiscard]] bool readRecordNumber(TraceGather& gather, int n) override;
    [[nodiscard]] bool readTraceInRecord(SeismicTrace& trace, int n) override;
    [[nodiscard]] bool readTraceAt(SeismicTrace& trace, int record, int n) override;
    [[nodiscard]] bool readTraceRange(TraceGather& gather, int first, int last) override;
    [[nodiscard]] bool readRecord(TraceGather& gather) override;
    [[nodiscard]] bool readTrace(SeismicTrace& trace) override;
    [[nodiscard]] bool writeRecord(TraceGather& gather) override;
    [[nodiscard]] bool writeRecordAt(TraceGather& gather, int record) override;
    [[nodiscard]] bool writeTraceAt(SeismicTrace& trace, int n) override;

    // Reads traceLength() bytes at the current position into buffer (left as in the file) and
    // decodes the trace display's keys and the samples; sets maxSample.
    [[nodiscard]] bool readTraceInto(char* buffer, SeismicTrace& trace);

    // Describes the traces of a file opened for writing: the caller writes the file headers
    // through the device, then the traces go through writeRecord and its kin.
    void describeForWriting(int samples, float sampleIntervalMs, int sampleFormat, int tracesPerRecord);

    // Builds the trace index from the trace headers and addresses the traces through it.
    [[nodiscard]] bool buildIndex();
    SegyTraceIndex* index() const { return index_.get(); }
    SortOrder* sortOrder() const { return sortOrder_.get(); }
    // Where the index file and its backup lie: beside the data file.
    QString indexFilePath() const;
    QString indexBackupPath() const;
    // The data set's name inside its index files.
    QString indexName() const;
    [[nodiscard]] bool readIndexFile();

    // How the byte order was told: by the binary header's constant, by the sample format code,
    // or fixed by the format file.
    enum class ByteOrderEvidence { Constant, Guessed, Format };

    const QString& textHeaderText() const { return textHeaderText_; }
    const QByteArray& textHeaderRaw() const { return textHeaderRaw_; }
    const QByteArray& binaryHeaderRaw() const { return binaryHeaderRaw_; }
    qint16 revision() const { return revision_; }
    // The binary header's revision 2 fields (all 0 before revision 2).
    const SegyBinaryHeader& binaryFields() const { return binaryFields_; }
    ByteOrderEvidence byteOrderEvidence() const { return byteOrderEvidence_; }
    // The sample format code the binary header (or the format) gives, before an unknown code is
    // replaced by IEEE single.
    int statedSampleFormat() const { return statedSampleFormat_; }
    int extendedTextHeaders() const { return extendedTextHeaders_; }
    bool extensionPresent() const { return extensionPresent_; }
    const std::array<qint16, SegyLayout::extensionWordCount>& extensionWords() const
    {
        return extensionWords_;
    }
    int traceLength() const { return traceLength_; }
    // The trace header with the additional trace headers of revision 2 that follow it.
    int traceHeaderLength() const { return traceHeaderLength_; }
    bool partialTrace() const { return partialTrace_; }
    // Bytes between the last whole trace and the trailer stanzas (or the end of the file).
    qint64 bytesAfterTraces() const { return bytesAfterTraces_; }
    int trailerStanzas() const { return trailerStanzas_; }
    qint64 dataStart() const;
    SegyFormat* format() const { return format_; }
    const std::array<qint32, 3>& scalars() const { return scalars_; }
    int tracesInRecord() const { return tracesInRecord_; }

    // When cleared, writeRecord skips dead traces (identification with bit value 2 set).
    bool writeDeadTraces = true;

protected:
    qint64 heldBytes() const override;

private:
    friend class SegyIndexFiles;

    [[nodiscard]] bool readTextHeader();
    [[nodiscard]] bool readBinaryHeader();
    void detectByteOrder(const char* binary, qint64 length);
    [[nodiscard]] bool takeSampleCount(const char* binary, qint64 length);
    void takeSampleInterval(const char* binary, qint64 length);
    void takeSampleFormat(const char* binary, qint64 length);
    [[nodiscard]] bool placeTraces();
    void readExtendedTextHeaders();
    [[nodiscard]] bool readAtPosition(char* buffer, int length);
    [[nodiscard]] bool ensureTraceBuffer();
    void decodeSamples(const char* sampleBytes, SeismicTrace& trace);
    [[nodiscard]] bool positionFailure(const QString& text);
    [[nodiscard]] bool seekIndexed(int record, int trace);
    void fillFromIndex(SeismicTrace& trace) const;
    [[nodiscard]] bool writeOneTrace(SeismicTrace& trace);
    [[nodiscard]] bool readHeaderAt(qint64 position, char* header);
    void recomputeOffsets();
    // Addresses the traces through an index read from a file; order may be null.
    void adoptIndex(std::unique_ptr<SegyTraceIndex> index, std::unique_ptr<SortOrder> order);

    SegyFormat* format_;
    QString textHeaderText_;
    QByteArray textHeaderRaw_;
    QByteArray binaryHeaderRaw_;
    qint16 revision_ = 0;
    SegyBinaryHeader binaryFields_;
    ByteOrderEvidence byteOrderEvidence_ = ByteOrderEvidence::Format;
    int statedSampleFormat_ = 0;
    int extendedTextHeaders_ = 0;
    qint64 dataStart_ = 0;
    int traceHeaderLength_ = 0;
    qint64 bytesAfterTraces_ = 0;
    int trailerStanzas_ = 0;
    bool extensionPresent_ = false;
    std::array<qint16, SegyLayout::extensionWordCount> extensionWords_{};
    int traceLength_ = 0;
    bool partialTrace_ = false;
    std::unique_ptr<SegyTraceIndex> index_;
    std::unique_ptr<SortOrder> sortOrder_;
    QVector<int> recordOrder_;
    mutable QMutex recordOrderMutex_;
    int tracesInRecord_ = 0;
    std::array<qint32, 3> scalars_{}; // coordinate, elevation, time
    // One trace as stored, reused from trace to trace.
    ReadBuffer<char> traceBuffer_;
};
