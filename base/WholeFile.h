#pragma once

#include "base/BackgroundIo.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

class QImage;

// A disk output that appears under its name only when it is whole. It is written under a hidden
// temporary name in the same folder (so the last step is a rename, never a copy) and takes its
// name in commit(); until then whatever the name held stays as it was. A file not committed is
// removed, by discard(), by the destructor or, after a hard interrupt, by removeAllPending().
// A name that is a device or a pipe (/dev/null, a drive's node) is written directly: nothing can
// be kept from it. A symbolic link is written through, as cp does.
//
// Writes to a file are gathered and go to the system on a thread of their own, a buffer of
// `gathered` bytes at a time, while the caller goes on: an error may then be told by a later write,
// by seek(), handle() or commit(). A device or a pipe takes each write as it comes.
class WholeFile {
public:
    WholeFile() = default;
    explicit WholeFile(const QString& path);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    void setFileName(const QString& path);
    const QString& fileName() const { return path; }

    // Creates the temporary file, open for unbuffered writing; false with errorString() set.
    [[nodiscard]] bool open();
    bool isOpen() const { return file.isOpen(); }
    static constexpr qint64 gathered = qint64(2) << 20;

    // Writes all of `data`; false with errorString() set, by this or an earlier write.
    [[nodiscard]] bool write(const char* data, qint64 length);
    // Room for the next `length` bytes of the file, to be filled before the file is used again;
    // nullptr when an earlier write failed (errorString() set). Saves a copy of bytes made anew.
    [[nodiscard]] char* space(qint64 length);
    [[nodiscard]] bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Appends `length` bytes at `offset` of the open file `from`, copied by the kernel where it can
    // (from a descriptor of its own: `from` may close at once).
    [[nodiscard]] bool copyFrom(int from, qint64 offset, qint64 length);
    [[nodiscard]] bool seek(qint64 position);
    // The descriptor of the temporary file, for copies done by the kernel: what was written
    // before has reached it (an error with it is told by the next call).
    int handle();
    // Gives the temporary file the output's name, over a file of that name only when `replace`
    // is set; false with errorString() set, the temporary file then removed, or left for discard()
    // when not all its bytes could be written.
    [[nodiscard]] bool commit(bool replace);
    // Closes and removes the temporary file; true when there was one.
    bool discard();
    // The system's reason for the last failure ("No space left on device").
    const QString& errorString() const { return error; }

    // The whole of `bytes` as the file at `path`, over what was there; false with "cannot write
    // PATH: REASON" in *error.
    [[nodiscard]] static bool write(const QString& path, const QByteArray& bytes, QString* error);
    // The image as PNG, the same way.
    [[nodiscard]] static bool writePng(const QString& path, const QImage& image, QString* error);

    // Removes the temporary files of the process not yet committed. Uses only calls that are safe
    // in a signal handler.
    static void removeAllPending();

private:
    void failed(int code);
    // Starts writing the gathered bytes, waiting first for older writes when every buffer is taken;
    // false when a write failed.
    [[nodiscard]] bool handOff();
    // Waits for the writes queued until at most `left` remain; false when one of them failed.
    [[nodiscard]] bool collect(int left);
    // Everything written reaches the file (a small file without a thread of its own).
    [[nodiscard]] bool drain();
    void forget();

    QString path;
    // Where the file is written: the link's target for a link.
    QString target;
    QFile file;
    bool direct = false;
    QByteArray pendingName;
    int slot = -1;
    QString error;
    // Bytes gathered for one write, kept from write to write; grown without being cleared, since
    // every byte is set before it is written.
    struct Gathered {
        std::unique_ptr<char[]> bytes;
        qint64 size = 0;
        qint64 capacity = 0;
        // Room for `length` more bytes at the end.
        char* extend(qint64 length);
    };
    // Buffers written in turn: the one filling, the others queued for writing or free.
    static constexpr int buffers = 4;
    Gathered gathering[buffers];
    int filling = 0;
    // A write failed: the file is not whole, whatever comes after.
    bool broken = false;
    // Last, so that it ends (and the write in hand with it) before the buffers go.
    BackgroundIo writer;
};
