#pragma once

#include "base/ObrConsole.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// What the fuzz targets share: a console that drops every line, the input as bytes in memory
// (readers that take a device or a QIODevice read it there) or as a file for those that need one.
class SilentConsole : public ObrConsole {
public:
    void message(const QString&, const QColor&) override {}
    void error(const QString&, bool) override {}
    void information(const QString&, bool) override {}
    void warning(const QString&, bool) override {}
    void debug(const QString&) override {}
    void lowLevel(const QString&) override {}
    void initProgress(const QString&, int, bool) override {}
    bool updateProgress(int) override { return true; }
    void clearProgress() override {}
    int detailLevel() const override { return 0; }
};

namespace FuzzInput {

// Traces a target reads of one input at most: more of the same teach nothing.
constexpr int tracesRead = 64;

// The input's bytes, not copied: valid while the target runs on it.
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

// The folder of the process's files, removed at exit.
inline QString path(const QString& name)
{
    static QTemporaryDir folder;
    return folder.filePath(name);
}

// Writes bytes as the file `name` and returns its path; aborts when it cannot, since then the
// run would test nothing.
inline QString write(const QString& name, const char* data, size_t size)
{
    const QString file = path(name);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(data, qint64(size)) != qint64(size))
        qFatal("cannot write %s", qPrintable(file));
    return file;
}

inline QString write(const QString& name, const uint8_t* data, size_t size)
{
    return write(name, reinterpret_cast<const char*>(data), size);
}

// A big-endian SEG-Y file of three traces of four IEEE samples at 2 ms, for targets whose parser
// reads beside a data file.
inline const QByteArray& smallSegyBytes()
{
    static const QByteArray bytes = [] {
        QByteArray made(3600 + 3 * (240 + 16), '\0');
        made[3216] = char(2000 >> 8);
        made[3217] = char(2000 & 0xFF);
        made[3221] = 4;
        made[3225] = 5;
        return made;
    }();
    return bytes;
}

// The same written once as a file.
inline QString smallSegy()
{
    static const QString file =
        write(QStringLiteral("data.sgy"), smallSegyBytes().constData(), size_t(smallSegyBytes().size()));
    return file;
}

} // namespace FuzzInput
