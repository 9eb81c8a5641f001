#pragma once

#include "sps/SpsLayout.h"

#include <QString>
#include <QStringList>
#include <array>

// The layout that holds for an SPS file, and where each of its parts came from: the built-in
// layout, the user default of the kind, the file's own format file, or a layout chosen by name.
class SpsLayoutInForce {
public:
    enum class Origin { BuiltIn, UserDefault, OwnFile, Chosen };

    // The analyzers' layers: built-in, the user default, then spsPath + ".fmt" (none when spsPath
    // is empty). A refused user default stops before the file's own, as the analyzers do.
    static SpsLayoutInForce forFile(SpsKind kind, const QString& spsPath);
    // "sps21" for the layout of SPS revision 2.1, else a format file read over the built-in layout.
    // A missing or refused format file leaves the built-in layout and an error.
    static SpsLayoutInForce chosen(SpsKind kind, const QString& choice);

    const SpsLayout& layout() const { return layout_; }
    Origin startOrigin() const { return startOrigin_; }
    Origin fieldOrigin(int field) const { return fieldOrigins_[size_t(field)]; }
    // The file or name behind an origin ("" for the built-in layout).
    QString originSource(Origin origin) const;
    // What came of each file consulted, one line each ("user default PATH: read").
    const QStringList& layers() const { return layers_; }
    // Files that were refused or could not be read, one text each; empty when all went well.
    const QStringList& problems() const { return problems_; }
    // False when a chosen layout could not be had.
    bool ok() const { return ok_; }

private:
    explicit SpsLayoutInForce(SpsKind kind);
    void take(Origin origin, bool startOfFile, const std::array<bool, SpsLayout::fieldCount>& fields);

    SpsLayout layout_;
    Origin startOrigin_ = Origin::BuiltIn;
    std::array<Origin, SpsLayout::fieldCount> fieldOrigins_{};
    QString userDefaultPath;
    QString ownPath;
    QString chosenName;
    QStringList layers_;
    QStringList problems_;
    bool ok_ = true;
};
