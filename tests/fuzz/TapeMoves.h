#pragma once

#include "devices/TapeImage.h"
#include "devices/TapeImageSettings.h"

#include <QFile>
#include <vector>

namespace TapeMoves {

// Opens the image at path as found (no settings file) and moves over it as a tape job would:
// reads to the end, spaces back and forth by records and tape marks, then writes, erases and
// unloads. Each loop stops at the first result other than Ok, or after a bound.
inline void run(const QString& path)
{
    QFile::remove(TapeImageSettings::settingsPath(path));
    const auto image = TapeImage::open(path, nullptr);
    if (!image)
        return;
    std::vector<char> buffer(4096);
    int length = 0;
    qint64 spaced = 0;
    constexpr int bound = 1000;
    for (int i = 0; i < bound; ++i) {
        const TapeImage::Result result = image->readRecord(buffer.data(), int(buffer.size()), &length);
        if (result != TapeImage::Result::Ok && result != TapeImage::Result::FileMark &&
            result != TapeImage::Result::BlockTooLong)
            break;
    }
    for (int i = 0; i < bound && image->spaceRecords(-1, &spaced) == TapeImage::Result::Ok; ++i) {
    }
    static_cast<void>(image->spaceFileMarks(2, &spaced));
    static_cast<void>(image->spaceFileMarks(-1, &spaced));
    static_cast<void>(image->spaceToEndOfData());
    static_cast<void>(image->rewind());
    static_cast<void>(image->spaceRecords(3, &spaced));
    static_cast<void>(image->writeRecord("record", 6));
    int marks = 0;
    static_cast<void>(image->writeFileMarks(1, &marks));
    static_cast<void>(image->spaceRecords(-2, &spaced));
    static_cast<void>(image->readRecord(buffer.data(), 4, &length));
    static_cast<void>(image->erase());
    static_cast<void>(image->unload());
    QFile::remove(TapeImageSettings::settingsPath(path));
}

} // namespace TapeMoves
