#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// The field files a recording system drops into a directory, each handed out once, when it is
// complete: when its size is what its own headers announce (header length plus every trace
// record). A file that grows past that is no field file this copy can take; one that stops
// growing short of it is reported, and still handed out should it be completed later.
class SegdDirectoryWatch {
public:
    // A file that has not grown for stillPolls polls of pollMilliseconds is reported incomplete.
    static constexpr int stillPolls = 10;

    SegdDirectoryWatch(const QString& directory, int pollMilliseconds);

    struct Found {
        QStringList ready;      // complete, in name order
        QStringList oversized;  // holding more than their headers announce (once each)
        QStringList incomplete; // short of it and still for a while (once each)
    };
    // Reads the directory.
    Found poll();
    // How long a file must stay still to be reported incomplete.
    double stillSeconds() const { return stillPolls * pollMilliseconds / 1000.0; }

    // The size the field file's headers announce, or -1 while they cannot tell (the file is
    // too short for its headers or for a trace header yet, or the headers make no sense).
    static qint64 announcedSize(const QString& path);

private:
    struct Seen {
        qint64 size = -1;
        qint64 announced = -1;
        QElapsedTimer still; // since the size last changed
        bool reported = false;
    };

    QString directory;
    int pollMilliseconds;
    QSet<QString> handedOut;
    // Files seen incomplete: unchanged files are not read again.
    QHash<QString, Seen> seen;
};
