#pragma once

#include <QString>

class QDataStream;
class QIODevice;
class SegyData;
class SegyTraceIndex;

// The trace index on disk: the index file beside the data file, and its ".indxbak" backup that
// carries the index, the sort order and the record grouping to another session.
class SegyIndexFiles {
public:
    // The backup's type word and the version written now. Versions below 4 keep bytes per sample
    // as an integer; versions below 10 carry no scalars per trace.
    static constexpr quint32 backupType = 1006;
    static constexpr qint32 backupVersion = 14;

    [[nodiscard]] static bool saveBackup(SegyData& data, const QString& path);
    [[nodiscard]] static bool loadBackup(SegyData& data, const QString& path);
    [[nodiscard]] static bool writeIndex(SegyData& data, const QString& path);
    [[nodiscard]] static bool readIndex(SegyData& data, const QString& path);
    // The same from an opened device (a file, bytes in memory); the names are for messages.
    [[nodiscard]] static bool loadBackup(SegyData& data, QIODevice& device, const QString& fileName);
    [[nodiscard]] static bool readIndex(SegyData& data, QIODevice& device, const QString& path);

private:
    static bool readEntries(QDataStream& in, qint32 version, SegyTraceIndex& index, const QString& fileName,
                            SegyData& data);
};
