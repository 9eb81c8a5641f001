#pragma once

#include "sps/SpsLayout.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

// A layout stored as an XML format file: the base name N (an SPS file's path, or the user
// default of a kind) followed by ".fmt". A layout in force is built in layers: the built-in
// layout, over it the user default of the kind, over that the SPS file's own format file.
class SpsFormatFile {
public:
    // How one layer of a load went.
    enum class Layer {
        Absent,  // no such file (or it could not be opened): nothing taken from it
        Read,    // taken over the layout; malformed XML stops the reading where it starts
        Refused, // the root element names no layout of the kind, or it is no regular file
    };

    // The parts of a layout one file set.
    struct Parts {
        bool startOfFile = false; // read-point-ID flag and first line
        std::array<bool, SpsLayout::fieldCount> fields{};
    };

    SpsFormatFile(const QString& baseName, SpsKind kind);

    // The base name of the user default of a kind: the working root's
    // "AuxiliaryFormat/SPS Default Format" (RPS, XPS).
    static QString userDefaultBase(SpsKind kind);
    // Makes "AuxiliaryFormat" in the working root when the root exists and the folder does not.
    static void prepareUserDefaultFolder();

    // Reads the user default of the kind and then this format file over the layout, which the
    // caller has filled with the built-in layout. True when this file was read. A refused user
    // default stops the loading before this file.
    [[nodiscard]] bool load(SpsLayout& layout);
    // Reads one format file over the layout.
    Layer read(const QString& path, SpsLayout& layout);
    // The same from an opened device (a file, bytes in memory).
    Layer read(QIODevice& device, SpsLayout& layout);
    // Writes the layout as this format file, whole or not at all.
    [[nodiscard]] bool write(const SpsLayout& layout, const QString& description);
    // The document write() stores; name is the file's own path.
    static QByteArray toXml(const SpsLayout& layout, const QString& name, const QString& description);

    QString path() const { return baseName_ + QStringLiteral(".fmt"); }
    SpsKind kind() const { return kind_; }
    Layer userDefaultLayer() const { return userDefaultLayer_; }
    Layer ownLayer() const { return ownLayer_; }
    const Parts& userDefaultParts() const { return userDefaultParts_; }
    const Parts& ownParts() const { return ownParts_; }
    // What the last read() set.
    const Parts& readParts() const { return readParts_; }
    // The attributes of the root element last read.
    const QString& version() const { return version_; }
    const QString& name() const { return name_; }
    const QString& description() const { return description_; }
    // Why the last read stopped early or the last write failed; empty when nothing went wrong.
    const QString& errorString() const { return error_; }

private:
    void readRoot(SpsLayout& layout);
    void readStartOfFile(SpsLayout& layout);
    void readField(SpsLayout& layout);

    QString baseName_;
    SpsKind kind_;
    Layer userDefaultLayer_ = Layer::Absent;
    Layer ownLayer_ = Layer::Absent;
    Parts userDefaultParts_;
    Parts ownParts_;
    Parts readParts_;
    QString version_;
    QString name_;
    QString description_;
    QString error_;
    QXmlStreamReader reader_;
};
