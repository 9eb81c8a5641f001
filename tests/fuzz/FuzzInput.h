#pragma once

#include "base/ObrConsole.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// What the fuzz targets share: a console that drops every line, and the input as a file, since
// the parsers read files.
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

// A big-endian SEG-Y file of three traces of four IEEE samples at 2 ms, written once, for targets
// whose parser reads beside a data file.
inline QString smallSegy()
{
    static const QString file = [] {
        QByteArray bytes(3600 + 3 * (240 + 16), '\0');
        bytes[3216] = char(2000 >> 8);
        bytes[3217] = char(2000 & 0xFF);
        bytes[3221] = 4;
        bytes[3225] = 5;
        return write(QStringLiteral("data.sgy"), bytes.constData(), size_t(bytes.size()));
    }();
    return file;
}

} // namespace FuzzInput
