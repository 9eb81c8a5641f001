#pragma once

#include "seismic/SegyFormat.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <memory>

// One SEG-Y format definition file ("SEGY format files (*.xml)"), read into or written from a
// SegyFormat. Created for one read or one write.
class SegyFormatFile {
public:
    // The file name of the standard format in the "SegyFormats" directory.
    static const QString standardFileName;

    SegyFormatFile(const QString& path, int mode);

    // Reads the file into format(). False when the file cannot be opened or is not a format
    // file (then errorString() says why); nothing is reported on the console.
    [[nodiscard]] bool read();
    // The same from an opened device (a file, bytes in memory).
    [[nodiscard]] bool read(QIODevice& device);
    // Writes format as the file at path. False when the file cannot be written.
    [[nodiscard]] bool write(const SegyFormat& format, const QString& description);

    // The document write() produces.
    static QByteArray toXml(const SegyFormat& format, const QString& description);
    // Copies the standard format installed with the program ("SEGY Standard.xml") into directory
    // when no such file is there; false (with errorText) when it could not be read or written.
    [[nodiscard]] static bool installStandard(const QString& directory, QString* errorText = nullptr);

    SegyFormat& format() { return *format_; }
    int mode() const { return mode_; }
    const QString& path() const { return path_; }
    const QString& description() const { return description_; }
    const QString& versionText() const { return versionText_; }
    double version() const { return version_; }
    const QString& name() const { return name_; }
    const QString& errorString() const { return errorString_; }

private:
    void readRootAttributes();
    void readElement();
    void readBinaryWord(const QXmlStreamAttributes& attributes);
    void readTraceWord(const QXmlStreamAttributes& attributes);

    int mode_;
    QString path_;
    QString description_;
    QString versionText_;
    double version_ = 1.0;
    QString name_;
    QString errorString_;
    std::unique_ptr<SegyFormat> format_;
    QXmlStreamReader reader_;
};
