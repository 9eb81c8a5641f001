#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class ObrConsole;

// The field files of a folder, one rule for every tool that takes a folder of them: files named
// *.sgd, *.segd, *.raw or *.fcnt (in any case), and any other file whose first bytes read as a
// SEG-D general header. The listing says what it passed over and why.
namespace SegdFolder {

struct Skipped {
    QString name;
    QString reason;
};

struct Listing {
    QString directory;
    QStringList names; // in name order
    QVector<Skipped> skipped;

    QStringList paths() const;
};

// Reads the directory once; says so on the console's debug lines when one is given.
Listing list(const QString& directory, ObrConsole* console = nullptr);
bool hasFieldFileSuffix(const QString& name);
// One line for the files passed over: "3 files passed over: a.txt (no SEG-D general header),
// ..."; empty when there are none.
QString skippedText(const Listing& listing);

} // namespace SegdFolder
