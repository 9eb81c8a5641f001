#include "base/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

WholeFile::WholeFile(const QString& path) : path_(path) {}

WholeFile::~WholeFile()
{
    discard();
}

bool WholeFile::fail(const QString& reason)
{
    reason_ = reason;
    errorText_ = QStringLiteral("cannot write %1: %2").arg(path_, reason);
    discard();
    return false;
}

bool WholeFile::failWithErrno(int code)
{
    return fail(QString::fromLocal8Bit(std::strerror(code)));
}

bool WholeFile::open()
{
    discard();
    const QFileInfo target(path_);
    // A folder, a device or a pipe under the name is no file to replace.
    if (target.exists() && !target.isFile())
        return fail(target.isDir() ? QString::fromLocal8Bit(std::strerror(EISDIR))
                                   : QStringLiteral("it is not a regular file"));
    // An existing file keeps its permissions; a new one gets those the umask leaves.
    struct stat existing = {};
    const mode_t mode =
        ::stat(QFile::encodeName(path_).constData(), &existing) == 0 ? (existing.st_mode & 07777) : 0666;
    const QString folder = target.absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral(".%1.%2-%3.part")
                                 .arg(target.fileName())
                                 .arg(::getpid())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QByteArray candidate = QFile::encodeName(QDir(folder).filePath(name));
        const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            fd_ = fd;
            temporary_ = candidate;
            if (existing.st_mode != 0)
                static_cast<void>(::fchmod(fd_, mode));
            return true;
        }
        if (errno != EEXIST)
            return failWithErrno(errno);
    }
    return failWithErrno(EEXIST);
}

bool WholeFile::write(const char* data, qint64 size)
{
    if (fd_ < 0)
        return errorText_.isEmpty() ? fail(QStringLiteral("the file is not open")) : false;
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return failWithErrno(errno);
        }
        data += written;
        size -= written;
    }
    return true;
}

bool WholeFile::commit()
{
    if (fd_ < 0)
        return errorText_.isEmpty() ? fail(QStringLiteral("the file is not open")) : false;
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
        return failWithErrno(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int code = errno;
        fd_ = -1;
        return failWithErrno(code);
    }
    if (std::rename(temporary_.constData(), QFile::encodeName(path_).constData()) != 0)
        return failWithErrno(errno);
    temporary_.clear();
    return true;
}

void WholeFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
}

bool WholeFile::write(const QString& path, const QByteArray& bytes, QString* error)
{
    WholeFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    if (error)
        *error = file.errorText();
    return false;
}

bool WholeFile::writePng(const QString& path, const QImage& image, QString* error)
{
    QString problem;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (image.isNull())
        problem = QStringLiteral("there is no picture");
    else if (!writer.write(image))
        problem = writer.errorString();
    if (problem.isEmpty())
        return write(path, bytes, error);
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(path, problem);
    return false;
}
