#include "devices/ScsiSenseData.h"

#include <QtEndian>

ScsiSenseData ScsiSenseData::parse(const QByteArray& sense)
{
    ScsiSenseData data;
    if (sense.size() < 7)
        return data;
    const auto* bytes = reinterpret_cast<const uchar*>(sense.constData());
    data.key = bytes[2] & ScsiSense::keyMask;
    data.fileMark = (bytes[2] & ScsiSense::fileMark) != 0;
    data.endOfMedium = (bytes[2] & ScsiSense::endOfMedium) != 0;
    data.incorrectLength = (bytes[2] & ScsiSense::incorrectLength) != 0;
    data.informationValid = (bytes[0] & ScsiSense::valid) != 0;
    if (data.informationValid)
        data.information = qFromBigEndian<qint32>(bytes + 3);
    return data;
}

QByteArray ScsiSenseData::build(int key, unsigned char flags, bool informationValid, qint32 information,
                                unsigned char additionalCode, unsigned char qualifier)
{
    QByteArray sense(18, '\0');
    auto* bytes = reinterpret_cast<uchar*>(sense.data());
    bytes[0] = 0x70 | (informationValid ? ScsiSense::valid : 0);
    bytes[2] = static_cast<uchar>(flags | (key & ScsiSense::keyMask));
    qToBigEndian<qint32>(information, bytes + 3);
    bytes[7] = 10; // additional sense length
    bytes[12] = additionalCode;
    bytes[13] = qualifier;
    return sense;
}
