#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class SegyData;

// The header words of one trace: the words of the format's trace header list in byte order
// (byte, type, name, value as stored), with those of trace header extension 1 when the header
// holds it, then every trace key as the reader decodes it, the scalars, the recording delay and
// the acquisition time.
namespace SegyTraceDump {

// A word of the trace header as stored.
struct Word {
    int startByte = 0;
    QString type;
    QString name;
    QString value;
};

// A trace key as the reader decodes it.
struct Key {
    int key = 0;
    QString name;
    double value = 0;
};

struct Dump {
    int number = 0;
    qint64 position = 0;
    QVector<Word> words;
    QVector<Key> keys;
    int coordinateScalar = 0;
    int elevationScalar = 0;
    int timeScalar = 0;
    double recordingDelay = 0;
    // ISO date and time, or "unknown".
    QString acquisitionTime;
};

// Trace number (counted from 1) of the data set; false when the trace cannot be read. The data
// set is left positioned after the trace.
[[nodiscard]] bool read(SegyData& data, int number, Dump& out);

// The same as lines of text in aligned columns; false, with no lines, when the trace cannot be read.
[[nodiscard]] bool lines(SegyData& data, int number, QStringList& out);

} // namespace SegyTraceDump
