#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The system calls through which the Linux tape roads reach the kernel, in one
// place so that tests can answer for the kernel. Each call answers as the kernel
// does: the result, or the negated errno on failure.
class LinuxSystemCalls {
public:
    virtual ~LinuxSystemCalls() = default;

    virtual int open(const QByteArray& path, int flags);
    virtual int close(int descriptor);
    virtual qint64 read(int descriptor, void* buffer, qint64 length);
    virtual qint64 write(int descriptor, const void* buffer, qint64 length);
    virtual int ioctl(int descriptor, unsigned long request, void* argument);
    // Names in `directory` matching the wildcard `pattern`.
    virtual QStringList entries(const QString& directory, const QString& pattern);
    // The trimmed content of a small text file (a sysfs attribute); false when unreadable.
    virtual bool readText(const QString& path, QString* text);
};
