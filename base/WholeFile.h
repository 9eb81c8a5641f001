#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

class QImage;

// A disk output that appears under its name only when it is whole. It is written under a hidden
// temporary name in the same folder (so the last step is a rename, never a copy) and takes its
// name in commit(); until then whatever the name held stays as it was. A file not committed is
// removed, by discard(), by the destructor or, after a hard interrupt, by removeAllPending().
// A name that is a device or a pipe (/dev/null, a drive's node) is written directly: nothing can
// be kept from it. A symbolic link is written through, as cp does.
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
    // Writes all of `data`; false with errorString() set.
    [[nodiscard]] bool write(const char* data, qint64 length);
    [[nodiscard]] bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    [[nodiscard]] bool seek(qint64 position);
    // The descriptor of the temporary file, for copies done by the kernel.
    int handle() const { return file.handle(); }
    // Gives the temporary file the output's name, over a file of that name only when `replace`
    // is set; false with errorString() set, the temporary file then removed.
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
    void forget();

    QString path;
    // Where the file is written: the link's target for a link.
    QString target;
    QFile file;
    bool direct = false;
    QByteArray pendingName;
    int slot = -1;
    QString error;
};
