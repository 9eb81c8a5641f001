#pragma once

#include "devices/ScsiPassThrough.h"

#include <QByteArray>

// The fields of fixed-format sense data that a tape device acts on.
struct ScsiSenseData {
    int key = 0;
    bool fileMark = false;
    bool endOfMedium = false;
    bool incorrectLength = false;
    bool informationValid = false;
    qint32 information = 0; // signed: a negative residue means the block was longer

    static ScsiSenseData parse(const QByteArray& sense);
    // Builds fixed-format sense data (18 bytes) for a target to return.
    static QByteArray build(int key, unsigned char flags, bool informationValid, qint32 information,
                            unsigned char additionalCode = 0, unsigned char qualifier = 0);
};
