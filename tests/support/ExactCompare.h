#pragma once

#include <QString>
#include <QtTest>

// QCOMPARE on doubles forgives a relative 1e-12; round trips of stored values must be exact.
#define OBR_COMPARE_EXACT(actual, expected)                                                                  \
    do {                                                                                                     \
        const double obrActual = (actual);                                                                   \
        const double obrExpected = (expected);                                                               \
        QVERIFY2(obrActual == obrExpected, qPrintable(QStringLiteral("actual %1, expected %2")               \
                                                          .arg(obrActual, 0, 'g', 17)                        \
                                                          .arg(obrExpected, 0, 'g', 17)));                   \
    } while (false)
