#pragma once

#include <QImage>
#include <QString>

namespace obrtest {

// Why two pictures are not the same, or an empty string when they are: of equal size, and
// differing only where edges are blended (a few pixels by a few levels).
QString pictureDifference(const QImage& actual, const QImage& expected);

} // namespace obrtest

// Compares a picture shown or written with the picture drawn for it.
#define OBR_COMPARE_PICTURES(actual, expected)                                                               \
    do {                                                                                                     \
        const QString obrDifference = obrtest::pictureDifference((actual), (expected));                      \
        QVERIFY2(obrDifference.isEmpty(), qPrintable(obrDifference));                                        \
    } while (false)
