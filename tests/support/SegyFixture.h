#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class ObrConsole;
class SegyFormat;
class SeismicTrace;

// SEG-Y files for tests, written through the program's own writer, and the peer SEG-Y library
// reached through Debian's python.
namespace segytest {

using Fill = std::function<void(SeismicTrace& trace, int index)>;

struct FileLayout {
    int samples = 10;
    float intervalMs = 4.0f;
    int sampleFormat = 5;
    int traces = 4;
    int revision = 256;
    QString text = QStringLiteral("C 1 TEST FILE");
};

// Writes headers and traces; fill (may be empty) sets each fresh trace's keys and samples.
[[nodiscard]] bool writeFile(const QString& path, SegyFormat& format, const FileLayout& layout,
                             const Fill& fill, ObrConsole* console);

// Runs a python program with arguments; its standard output, or an empty array when it failed.
QByteArray runPeer(const QString& program, const QStringList& arguments);

} // namespace segytest
