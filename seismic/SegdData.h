#pragma once

#include "seismic/SegdBytes.h"
#include "seismic/SegdChannelSet.h"
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

// SEG-D field files of revisions 0 to 3 in the demultiplexed formats, read by the standard's
// rules into the trace model, one field file per record. A data set is a directory of field
// files: the file opened and every file of its directory with the same extension, in name
// order. The samples are delivered as 64-bit floats whatever the file's format code.
class SegdData : public SeismicData {
public:
    // Reads through device, which the object owns and replaces by each file it opens.
    // seismicOnly: records hold the traces of seismic channel sets only. directoryMode: every
    // record after the first is the next file of the directory. auxFirst is kept for readers.
    SegdData(ObrDevice* device, bool seismicOnly, bool auxFirst, bool directoryMode);
    ~SegdData() override;

    // Lists the data set's files and makes path the current one, reading its headers; sets
    // ok(). False when no file is listed or path cannot be read.
    [[nodiscard]] bool open(const QString& path);
    // Makes path, the n-th (1-based) file of the data set, the current one.
    [[nodiscard]] bool reopen(const QString& path, int n);
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

    const SegdGeneralHeader& generalHeader() const { return headers_.general; }
    const std::vector<SegdChannelSet>& channelSets() const { return headers_.channelSets; }
    // The whole header of the current file, and its extended and external headers.
    SegdBytes headerBytes() const { return SegdBytes(headers_.bytes.data(), qint64(headers_.bytes.size())); }
    SegdBytes extendedHeader() const;
    QByteArray externalHeader() const;
    int auxTraces() const { return headers_.auxTraces; }
    int seismicTraces() const { return headers_.seismicTraces; }
    SegdSampleDecoder::Decoder decoder() const { return headers_.decoder; }
    float decoderBytes() const { return SegdSampleDecoder::bytesPerSample(headers_.decoder); }

    // Source values of the file (Sercel headers); 0 when the file carries none.
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

    // The headers of the traces read since the current record started, in order.
    const std::vector<SegdTraceHeaderRecord>& traceHeaderRecords() const { return traceHeaderRecords_; }

    bool seismicOnly() const { return seismicOnly_; }
    bool auxFirst() const { return auxFirst_; }
    bool directoryMode() const { return directoryMode_; }
    const QString& directory() const { return directory_; }
    QStringList fileList() const;
    // 0-based position of the current file in fileList().
    int fileIndex() const { return fileIndex_; }

protected:
    // What one field file's headers say.
    struct Headers {
        SegdGeneralHeader general;
        std::vector<SegdChannelSet> channelSets;
        std::vector<uchar> bytes;
        int seismicTraces = 0;
        int auxTraces = 0;
        SegdSampleDecoder::Decoder decoder = SegdSampleDecoder::None;
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

    // Reads the general header, the channel set descriptors and the whole header block of
    // the current file into headers_ and the data set's description.
    [[nodiscard]] virtual bool readHeaders();

    // The trace readTrace read last: its header and extensions, its channel set, its number
    // in the file (1-based), its number among the file's seismic traces, and how many samples
    // were decoded into it.
    SegdBytes lastTraceHeader() const { return SegdBytes(traceHeader_.data(), lastTraceHeaderBytes_); }
    const SegdChannelSet& lastChannelSet() const { return headers_.channelSets[size_t(lastSetIndex_)]; }
    int tracesRead() const { return traceInFile_; }
    int seismicTracesRead() const { return seismicChannel_; }
    int lastDecodedSamples() const { return lastDecodedSamples_; }

    Headers headers_;

private:
    struct FileState;

    [[nodiscard]] bool switchToFile(const QString& path, bool sameAsFirst);
    FileState takeFileState();
    void restoreFileState(FileState& state);
    [[nodiscard]] bool matchesFirstFile();
    void listFiles(const QString& path);

    [[nodiscard]] bool readLeadingBlocks(SegdGeneralHeader& general);
    [[nodiscard]] bool readWholeHeader(const SegdGeneralHeader& general);
    [[nodiscard]] bool readChannelSets();
    void adoptStatedSampleCounts();
    [[nodiscard]] bool describeTraces();
    void reportFilteredTraces();

    void rewindTraces();
    void moveToChannelSetWithTraces();
    [[nodiscard]] bool readNextTrace(SeismicTrace* trace);
    [[nodiscard]] bool readTraceHeader(qint64 fileSize);
    bool statesSampleCounts() const;
    int samplesOfTrace(const SegdBytes& header, const SegdChannelSet& set) const;
    [[nodiscard]] bool readSamples(SeismicTrace& trace, int samples, qint64 position, qint64 bytes);
    void fillKeys(SeismicTrace& trace, const SegdBytes& header, const SegdChannelSet& set) const;
    [[nodiscard]] bool readAt(qint64 position, uchar* buffer, qint64 length);
    // length bytes at position held in the read window (refilled when they lie outside it);
    // null when they are longer than the window or cannot be read that way.
    const uchar* windowBytes(qint64 position, qint64 length);
    template <typename T>
    [[nodiscard]] bool ensureSize(std::vector<T>& buffer, size_t size, const char* what);
    [[nodiscard]] bool fail(const QString& text);

    bool seismicOnly_;
    bool auxFirst_;
    bool directoryMode_;

    // The data set's files.
    QString directory_;
    QStringList fileList_;
    mutable QMutex fileMutex_;
    int fileIndex_ = 0;
    int nextFileIndex_ = 0;
    bool recordRead_ = false;
    float firstSampleInterval_ = 0;
    float firstRecordLength_ = 0;

    // Position among the traces of the current file.
    qint64 tracePosition_ = 0;
    int traceInFile_ = 0;
    int seismicChannel_ = 0;
    int setIndex_ = 0;
    int channelInSet_ = 0;
    int lastSetIndex_ = 0;
    qint64 lastTraceHeaderBytes_ = 0;
    int lastDecodedSamples_ = 0;

    std::vector<uchar> traceHeader_;
    std::vector<uchar> traceBytes_;
    SegdReadWindow window_;
    qint64 fileSize_ = 0;
    std::vector<qint32> scratch_;
    std::vector<SegdTraceHeaderRecord> traceHeaderRecords_;
};
