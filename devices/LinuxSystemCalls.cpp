#include "devices/LinuxSystemCalls.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

int LinuxSystemCalls::open(const QByteArray& path, int flags)
{
    int descriptor;
    do {
        descriptor = ::open(path.constData(), flags | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor < 0 ? -errno : descriptor;
}

int LinuxSystemCalls::close(int descriptor)
{
    return ::close(descriptor) < 0 ? -errno : 0;
}

qint64 LinuxSystemCalls::read(int descriptor, void* buffer, qint64 length)
{
    ssize_t count;
    do {
        count = ::read(descriptor, buffer, static_cast<size_t>(length));
    } while (count < 0 && errno == EINTR);
    return count < 0 ? -errno : count;
}

qint64 LinuxSystemCalls::write(int descriptor, const void* buffer, qint64 length)
{
    ssize_t count;
    do {
        count = ::write(descriptor, buffer, static_cast<size_t>(length));
    } while (count < 0 && errno == EINTR);
    return count < 0 ? -errno : count;
}

int LinuxSystemCalls::ioctl(int descriptor, unsigned long request, void* argument)
{
    const int result = ::ioctl(descriptor, request, argument);
    return result < 0 ? -errno : result;
}

QStringList LinuxSystemCalls::entries(const QString& directory, const QString& pattern)
{
    return QDir(directory).entryList({pattern}, QDir::System | QDir::Files | QDir::NoDotAndDotDot);
}

bool LinuxSystemCalls::readText(const QString& path, QString* text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *text = QString::fromLatin1(file.read(4096)).trimmed();
    return true;
}
