#pragma once

#include <QComboBox>
#include <QStringList>

namespace obrtest {

// The entries of the SEG-Y windows' sample format boxes: the codes 1 to 12, 15 and 16 in order.
inline const QStringList sampleFormatTexts{
    "4-byte IBM float",        "4-byte integer",          "2-byte integer",
    "4-byte fixed point",      "4-byte IEEE float",       "8-byte IEEE double",
    "3-byte integer",          "1-byte integer",          "8-byte integer",
    "4-byte unsigned integer", "2-byte unsigned integer", "8-byte unsigned integer",
    "3-byte unsigned integer", "1-byte unsigned integer", "Undefined"};

inline QStringList comboTexts(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace obrtest
