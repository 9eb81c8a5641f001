#pragma once

#include "seismic/SegdBytes.h"
#include "seismic/SegdChannelSet.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SegdSampleDecoder.h"

#include <QString>
#include <QStringList>
#include <vector>

class SegdByteSource;

// Where every trace record of a SEG-D field file lies, as the file's own headers and trace
// headers tell it: the general header, the channel set descriptors, and for the traces of each
// channel set their offset, trace header extensions, samples and bytes; what the headers
// announce and what follows the last trace. Revisions 0 to 3.1 of any manufacturer; every
// reader, copy and watch of field files walks a file by it.
//
// The samples per trace of a channel set come from the file's own evidence: the count that the
// descriptor (revision 3) or the first trace header extension states, else the channel set's
// start and end times, whose end recorders write either as the last sample's time or as the
// time after it. When they disagree, the count whose trace records tile the file wins: the next
// trace header lies where the count puts it, and the last record ends the file.
class SegdFieldMap {
public:
    static constexpr int traceHeaderBytes = 20;
    static constexpr int extensionBytes = 32;

    // How each trace record of a channel set is laid out.
    struct Shape {
        int extensions = 0;
        int samples = 0;
        qint64 headerBytes = traceHeaderBytes; // the trace header with its extensions
        qint64 sampleBytes = 0;
        qint64 recordBytes() const { return headerBytes + sampleBytes; }
    };
    // The traces of one channel set that has channels, one record after the other.
    struct Run {
        int set = 0;        // index into channelSets()
        int firstTrace = 0; // 0-based in the file
        int channels = 0;
        qint64 offset = 0; // of the first trace record
        Shape shape;
        qint64 end() const { return offset + channels * shape.recordBytes(); }
    };

    // Reads the headers from source and places the traces. False when the header cannot be read
    // whole or makes no sense, its samples cannot be decoded, or the samples per trace of a
    // channel set cannot be told: problem() says why, and what could be read stays (the general
    // header, the channel sets whose descriptors were read). A file cut short is mapped: the
    // traces it holds are placed, and cutShort() and shortfall() tell what is missing.
    [[nodiscard]] bool read(SegdByteSource& source);

    // The general header was read (at least its first block).
    bool hasGeneralHeader() const { return generalRead_; }
    const SegdGeneralHeader& general() const { return general_; }
    // Every descriptor of every scan type, their samples as the traces were found to hold.
    const std::vector<SegdChannelSet>& channelSets() const { return channelSets_; }
    // The header bytes read: the whole header unless the file ends inside it.
    SegdBytes header() const { return SegdBytes(header_.data(), qint64(header_.size())); }
    qint64 headerLength() const { return general_.headerLength(); }
    SegdSampleDecoder::Decoder decoder() const { return decoder_; }

    const std::vector<Run>& runs() const { return runs_; }
    int traceCount() const { return traceCount_; }
    // The run of trace (0-based in the file, below traceCount()) and the offset of its record.
    const Run& runOf(int trace) const;
    qint64 traceOffset(int trace) const;
    // Extensions a trace header states (none before revision 1).
    int statedExtensions(const SegdBytes& traceHeader) const;

    // The bytes the headers announce: the header and every trace record.
    qint64 announcedSize() const;
    // The source's size when the map was read; -1 when it was not known.
    qint64 size() const { return size_; }
    // Traces whose records lie wholly in the source (all when its size is not known).
    int wholeTraces() const;
    bool cutShort() const { return mapped_ && size_ >= 0 && size_ < announcedSize(); }
    // Bytes of the source after the last trace record.
    qint64 bytesAfterTraces() const
    {
        return mapped_ && size_ > announcedSize() ? size_ - announcedSize() : 0;
    }
    // For a file cut short: "the headers announce 48 traces of 2,001 samples (X bytes); the file
    // holds Y bytes".
    QString shortfall() const;

    // One line per channel set with traces: its samples per trace and where they came from.
    const QStringList& notes() const { return notes_; }
    const QString& problem() const { return problem_; }

private:
    struct Candidate;
    enum class Verdict;

    [[nodiscard]] bool refuse(const QString& text);
    [[nodiscard]] bool readHeader(SegdByteSource& source);
    void readChannelSets();
    [[nodiscard]] bool placeTraces(SegdByteSource& source);
    [[nodiscard]] bool shapeRun(SegdByteSource& source, Run& run, bool last);
    std::vector<Candidate> candidates(const SegdChannelSet& set, const SegdBytes& firstHeader) const;
    Shape shapeFor(int extensions, int samples) const;
    Verdict judge(SegdByteSource& source, const Run& run, const SegdBytes& firstHeader, bool last) const;
    qint64 neededFor(const Run& run) const;

    SegdGeneralHeader general_;
    bool generalRead_ = false;
    bool mapped_ = false;
    std::vector<SegdChannelSet> channelSets_;
    std::vector<uchar> header_;
    SegdSampleDecoder::Decoder decoder_ = SegdSampleDecoder::None;
    std::vector<Run> runs_;
    int traceCount_ = 0;
    qint64 size_ = -1;
    QStringList notes_;
    QString problem_;
};
