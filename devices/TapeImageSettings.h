#pragma once

#include <QString>

// What an image file cannot say about itself: its format, the capacity of the
// tape it stands for, whether it has been unloaded and where the tape was left.
// Kept in a small settings file beside the image ("IMAGE.ini"); an image without
// one is a SIMH image (a Tape-In-File image when its suffix is ".tif") of the
// default capacity, loaded, at its beginning.
struct TapeImageSettings {
    enum class Format { Simh, TapeInFile };

    // Generous enough that no job meets it unless asked to.
    static constexpr qint64 defaultCapacity = Q_INT64_C(1) << 40;
    // The early-warning zone before the capacity: a tenth of it, at most this much.
    static constexpr qint64 maximumWarningZone = Q_INT64_C(64) << 20;

    Format format = Format::Simh;
    qint64 capacity = defaultCapacity;
    bool offline = false;
    // The position the tape was left at, valid while the file still has the size it had then.
    qint64 position = 0;
    qint64 positionFileSize = 0;

    // The largest file the format can address: Tape-In-File headers hold 32-bit offsets.
    static qint64 largestFile(Format format);
    static QString settingsPath(const QString& imagePath);
    static Format formatBySuffix(const QString& imagePath);
    static TapeImageSettings load(const QString& imagePath);
    // False when the settings file cannot be written (a read-only directory, say).
    [[nodiscard]] bool save(const QString& imagePath) const;

    // The capacity as set, within what the format can address.
    qint64 usableCapacity() const;
    // Where the early-warning zone before the usable capacity begins.
    qint64 earlyWarningPosition() const;
};
