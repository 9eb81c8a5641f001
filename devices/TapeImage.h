#pragma once

#include "devices/TapeImageFile.h"
#include "devices/TapeImageSettings.h"

#include <QFile>
#include <QString>
#include <memory>

// A file that keeps a tape's block structure: records, tape marks and the end of
// the recorded data, with the behaviour of a tape in a drive (one position, write
// truncates what follows, a capacity with an early-warning zone before it, write
// protection when the file is read-only, offline after an unload). The two
// formats differ only in how an element is laid out in the file.
class TapeImage {
public:
    using Format = TapeImageSettings::Format;

    enum class Result {
        Ok,
        FileMark,        // a tape mark stopped the operation; the position is past it
        EndOfData,       // nothing recorded beyond the position
        BeginningOfTape, // a backward operation reached the start
        EarlyWarning,    // written, but into the early-warning zone
        EndOfMedium,     // no room left: nothing was written
        BlockTooLong,    // the record did not fit the buffer (the position is past it), or the
                         // format cannot hold a record that long
        WriteProtected,
        Offline,
        Damaged,   // the file does not hold a valid element here
        FileError, // the file system refused a read or write
    };

    virtual ~TapeImage();
    TapeImage(const TapeImage&) = delete;
    TapeImage& operator=(const TapeImage&) = delete;

    // Opens an existing image (format, capacity and position from its settings);
    // null, with the reason in `errorText` when given, when the file cannot be opened.
    static std::unique_ptr<TapeImage> open(const QString& path, QString* errorText);
    // Creates a new, empty image; never replaces an existing file.
    [[nodiscard]] static bool create(const QString& path, Format format, qint64 capacity, QString* errorText);

    const QString& path() const { return path_; }
    QString fileName() const;
    Format format() const { return settings.format; }
    // The capacity as set, within what the format can address.
    qint64 capacity() const;
    qint64 earlyWarningPosition() const;
    bool writeProtected() const { return readOnly; }
    bool loaded() const { return !settings.offline; }
    qint64 position() const { return position_; }

    // Keeps other processes from opening the image exclusively as well; false when one has.
    [[nodiscard]] bool lockExclusive();

    // Reads the record at the position into `buffer`. `recordLength` is the
    // record's full length, also when it did not fit (BlockTooLong).
    Result readRecord(char* buffer, int bufferLength, int* recordLength);
    Result writeRecord(const char* data, int length);
    Result writeFileMarks(int count, int* written);
    // Spaces over records or tape marks; a negative count goes backward. `spaced`
    // is how many were passed (a tape mark met while spacing records is not counted).
    Result spaceRecords(qint64 count, qint64* spaced);
    Result spaceFileMarks(qint64 count, qint64* spaced);
    Result spaceToEndOfData();
    Result rewind();
    Result unload();
    Result load();
    // Erases everything from the position on.
    Result erase();

protected:
    enum class Kind { Record, BadRecord, Mark, End, Damaged };
    struct Element {
        Kind kind = Kind::Damaged;
        qint64 start = 0; // first byte of the element in the file
        qint64 end = 0;   // first byte after it
        qint64 dataOffset = 0;
        qint64 length = 0; // data bytes of a record
    };

    TapeImage(const QString& path, const TapeImageSettings& settings);

    // The element that starts at `position` (End at the end of the data).
    virtual Element elementAt(qint64 position) = 0;
    // The element that ends at `position` (End at the beginning of the tape).
    virtual Element elementBefore(qint64 position) = 0;
    // Bytes a record of `length` data bytes, or a tape mark, takes in the file.
    virtual qint64 recordSpace(qint64 length) const = 0;
    virtual qint64 markSpace() const = 0;
    virtual qint64 maximumRecordLength() const = 0;
    // The bytes written before and after a record's data, or those of a tape mark.
    struct Frame {
        char head[12];
        int headLength = 0;
        char tail[8];
        int tailLength = 0;
    };
    // The frame of a record of `length` bytes (a tape mark when `mark`) written at `position`.
    virtual Frame frame(qint64 position, qint64 length, bool mark) = 0;

    // Reads exactly `length` bytes at `offset`; false when the file is shorter.
    bool readAt(qint64 offset, char* data, qint64 length) { return stream.read(offset, data, length); }
    quint32 wordAt(qint64 offset, bool* valid);
    // The element's bytes are read soon, in any order.
    void prefetch(qint64 offset, qint64 length) { stream.cover(offset, length); }
    qint64 imageSize() const { return stream.size(); }

private:
    [[nodiscard]] bool openFile(QString* errorText);
    // True when an element of the image starts (or the data ends) exactly at `position`.
    [[nodiscard]] bool startsElement(qint64 position);
    Result checkWritable() const;
    // Writes a record, or a tape mark when `data` is null, at the position; a mark goes out `now`.
    [[nodiscard]] bool put(const char* data, int length, bool now);
    // Spaces over count blocks (or file marks), backward when count is negative.
    Result space(qint64 count, bool marksOnly, qint64* spaced);
    void persistOffline(bool offline);

    QFile file;
    // An image removed or cut short under a job must not take writes into nowhere: the stream
    // checks the file as it goes.
    TapeImageFile stream;
    QString path_;
    TapeImageSettings settings;
    bool readOnly = false;
    qint64 position_ = 0;
};
