#pragma once

#include "seismic/ReadBuffer.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdChannelSet.h"
#include "seismic/SegdFieldMap.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SegdReadWindow.h"
#include "seismic/SegdSampleDecoder.h"
#include "seismic/SegdTraceHeaderRecord.h"
#include "seismic/SeismicData.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <vector>

// SEG-D field files of revisions 0 to 3.1 in the demultiplexed formats, read by the standard's
// rules into the trace model, one field file per record, whatever recorder wrote them. A data
// set in directory mode is a directory of field files (the field files of the path's directory,
// in name order); otherwise it is the one file opened. The samples are delivered as 64-bit
// floats whatever the file's format code. A field file cut short delivers the traces it holds
// and then reports what is missing.
class SegdData : public SeismicData {
public:
    // Reads through device, which the object owns and replaces by each file it opens.
    // seismicOnly: records hold the traces of seismic channel sets only. directoryMode: every
    // record after the first is the next file of the directory.
    SegdData(ObrDevice* device, bool seismicOnly, bool directoryMode);
    ~SegdData() override;

    // Lists the data set's files (in directory mode) and makes path the current one, reading
    // its headers; sets ok(). False when path cannot be read; what its headers let be read
    // stays in fieldMap().
    [[nodiscard]] bool open(const QString& path);
    // Moves to the file that follows the current one in the list. The file is taken from the
    // list even when it fails, so a later call moves past it; on failure (no file left, the
    // file does not open, bad headers, or a sample interval or record length other than the
    // first file's) the data set stays on the file it was on.
    [[nodiscard]] bool openNextFile();
    bool hasNextFile() const;

    // Reads every trace of the current field file (in directory mode, from the second call
    // on, of the next file). Auxiliary traces are skipped when seismicOnly.
    [[nodiscard]] bool readRecord(TraceGather& gather) override;
    // Reads the next trace of the current field file: its header and extensions, which are
    // appended to traceHeaderRecords(), and its samples when the trace holds any.
    [[nodiscard]] bool readTrace(SeismicTrace& trace) override;
    // Positions readTrace before trace n (1-based, in file order, auxiliary traces included)
    // of the current file; the traces before it are passed over without their samples.
    [[nodiscard]] bool seekSequentialTrace(int n) override;
    // Reads traces first to last (1-based among the traces a record delivers) of the current
    // file into gather, which is resized to hold them; the samples of the traces before first
    // are passed over unread. The trace header records restart with first.
    [[nodiscard]] bool readTraceRange(TraceGather& gather, int first, int last) override;

    // Reads the current file's headers again from its first byte and positions at its first
    // trace; false (reported) when they cannot be read or make no sense.
    [[nodiscard]] virtual bool reloadHeaders();

    // Where the current file's traces lie, and its headers as far as they could be read.
    const SegdFieldMap& fieldMap() const { return headers_.map; }
    const SegdGeneralHeader& generalHeader() const { return headers_.map.general(); }
    const std::vector<SegdChannelSet>& channelSets() const { return headers_.map.channelSets(); }
    // The whole header of the current file, and its extended and external headers.
    SegdBytes fileHeaderBytes() const { return headers_.map.header(); }
    SegdBytes extendedHeader() const;
    QByteArray externalHeader() const;
    // Traces of auxiliary and seismic channel sets in the file (as far as it holds them).
    int auxTraces() const { return headers_.auxTraces; }
    int seismicTraces() const { return headers_.seismicTraces; }
    SegdSampleDecoder::Decoder decoder() const { return headers_.map.decoder(); }
    // Sercel recorders add their own fields to the standard's.
    bool sercel() const { return generalHeader().sercel(); }

    // Source values of the file (general header block 3, revision 3 source blocks, Sercel
    // positions); 0 when the file carries none.
    float sourceLine() const { return headers_.sourceLine; }
    float sourceLocation() const { return headers_.sourceLocation; }
    int sourceIndex() const { return headers_.sourceIndex; }
    int sourceSet() const { return headers_.sourceSet; }
    // 1 impulsive, 2 vibrator, 0 not stated.
    int sourceType() const { return headers_.sourceType; }
    double sourceX() const { return headers_.sourceX; }
    double sourceY() const { return headers_.sourceY; }
    float sourceElevation() const { return headers_.sourceElevation; }
    // The mean is taken from every trace.
    bool removeDc() const { return headers_.removeDc; }

    // Samples of the trace read last as its channel set holds them (the trace's others are 0).
    int lastDecodedSamples() const { return lastDecodedSamples_; }
    // The headers of the traces read since the current record started, in order.
    const std::vector<SegdTraceHeaderRecord>& traceHeaderRecords() const { return traceHeaderRecords_; }

    bool seismicOnly() const { return seismicOnly_; }
    bool directoryMode() const { return directoryMode_; }
    const QString& directory() const { return directory_; }
    QStringList fileList() const;

protected:
    // What one field file's headers say.
    struct Headers {
        SegdFieldMap map;
        int seismicTraces = 0;
        int auxTraces = 0;
        float sourceLine = 0;
        float sourceLocation = 0;
        int sourceIndex = 0;
        int sourceSet = 0;
        int sourceType = 0;
        double sourceX = 0;
        double sourceY = 0;
        float sourceElevation = 0;
        bool removeDc = false;
    };

    // Maps the current file into headers_ and describes the data set from it.
    [[nodiscard]] virtual bool readHeaders();
    qint64 heldBytes() const override;

    // The trace readTrace read last: its header and extensions, its channel set, its number
    // in the file (1-based), its number among the file's seismic traces, and how many samples
    // were decoded into it.
    SegdBytes lastTraceHeader() const { return SegdBytes(traceHeader_.data(), lastTraceHeaderBytes_); }
    const SegdChannelSet& lastChannelSet() const { return channelSets()[size_t(lastSetIndex_)]; }
    int tracesRead() const { return traceInFile_; }
    int seismicTracesRead() const { return seismicChannel_; }

    Headers headers_;

private:
    struct FileState;
    class HeaderSource;

    [[nodiscard]] bool switchToFile(const QString& path, bool sameAsFirst);
    FileState takeFileState();
    void restoreFileState(FileState& state);
    [[nodiscard]] bool matchesFirstFile();
    void listFiles(const QString& path);

    void readSourceFields();
    [[nodiscard]] bool describeTraces();
    void reportFilteredTraces();

    void rewindTraces();
    // Positions before trace (0-based in the file, at most traceCount()).
    void moveTo(int trace);
    bool delivers(const SegdFieldMap::Run& run) const;
    [[nodiscard]] bool readNextTrace(SeismicTrace* trace);
    [[nodiscard]] bool readTraceHeader(qint64 position, const SegdFieldMap::Shape& shape);
    [[nodiscard]] bool failCutShort();
    [[nodiscard]] bool readSamples(SeismicTrace& trace, int samples, qint64 position, qint64 bytes);
    void fillKeys(SeismicTrace& trace, const SegdBytes& header, const SegdChannelSet& set) const;
    [[nodiscard]] bool readAt(qint64 position, uchar* buffer, qint64 length);
    // length bytes at position held in the read window (refilled when they lie outside it);
    // null when they are longer than the window or cannot be read that way.
    const uchar* windowBytes(qint64 position, qint64 length);
    template <typename T> [[nodiscard]] bool ensureSize(ReadBuffer<T>& buffer, size_t size, const char* what);
    [[nodiscard]] bool fail(const QString& text);

    bool seismicOnly_;
    bool directoryMode_;

    // The data set's files.
    QString directory_;
    QStringList fileList_;
    mutable QMutex fileMutex_;
    int nextFileIndex_ = 0;
    bool recordRead_ = false;
    float firstSampleInterval_ = 0;
    float firstRecordLength_ = 0;

    // Position among the traces of the current file: the next trace (0-based), its run of the
    // field map, and the seismic traces before it.
    int traceInFile_ = 0;
    int runIndex_ = 0;
    int seismicChannel_ = 0;
    int lastSetIndex_ = 0;
    qint64 lastTraceHeaderBytes_ = 0;
    int lastDecodedSamples_ = 0;

    ReadBuffer<uchar> traceHeader_;
    ReadBuffer<uchar> traceBytes_;
    SegdReadWindow window_;
    qint64 fileSize_ = 0;
    std::vector<SegdTraceHeaderRecord> traceHeaderRecords_;
};
