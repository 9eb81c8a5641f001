#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The field files a recording system drops into a directory, each handed out once, when it is
// complete: when its size is what its own headers announce (header length plus every trace
// record). A file that grows past that is no field file this copy can take.
class SegdDirectoryWatch {
public:
    explicit SegdDirectoryWatch(const QString& directory);

    // Reads the directory: the complete files not handed out before go to `ready`, in name
    // order; files holding more than their headers announce go to `oversized` (once each).
    void poll(QStringList* ready, QStringList* oversized);

    // The size the field file's headers announce, or -1 while they cannot tell (the file is
    // too short for its headers or for a trace header yet, or the headers make no sense).
    static qint64 announcedSize(const QString& path);

private:
    QString directory;
    QSet<QString> handedOut;
    // Sizes of the files last seen incomplete, with what they announced: unchanged files are
    // not read again.
    QHash<QString, QPair<qint64, qint64>> seen;
};
