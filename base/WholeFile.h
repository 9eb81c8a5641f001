#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// An output file written whole or not at all: the bytes go to a temporary file in the target's
// folder, which is renamed to the target once every byte is on disk. On failure, or when the
// object goes without commit(), the temporary file is removed and an existing target stays as it
// was. Errors name the target and give the system's reason ("cannot write out.png: No space left
// on device").
class WholeFile {
public:
    explicit WholeFile(const QString& path);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Creates the temporary file.
    [[nodiscard]] bool open();
    [[nodiscard]] bool write(const char* data, qint64 size);
    [[nodiscard]] bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Puts the bytes on disk and renames the temporary file to the target.
    [[nodiscard]] bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    const QString& path() const { return path_; }
    // "cannot write PATH: REASON" after a failure.
    const QString& errorText() const { return errorText_; }
    // The REASON alone ("No space left on device").
    const QString& reason() const { return reason_; }

    // The whole of bytes as the file at path; false with the error in *error.
    [[nodiscard]] static bool write(const QString& path, const QByteArray& bytes, QString* error);
    // The image as PNG.
    [[nodiscard]] static bool writePng(const QString& path, const QImage& image, QString* error);

private:
    bool fail(const QString& reason);
    bool failWithErrno(int code);

    QString path_;
    QByteArray temporary_; // the temporary file's name, encoded
    int fd_ = -1;
    QString errorText_;
    QString reason_;
};
