#include "seismic/SegdReader.h"

#include "devices/DiskDevice.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SercelData.h"

#include <algorithm>

namespace SegdReader {

std::unique_ptr<SegdData> open(const QString& path, ObrConsole* console, bool directoryMode)
{
    auto device = std::make_unique<DiskDevice>(console, path, 0);
    if (!device->ok())
        return nullptr;
    return open(std::move(device), directoryMode);
}

std::unique_ptr<SegdData> open(std::unique_ptr<ObrDevice> device, bool directoryMode)
{
    const QString path = device->path();
    // The manufacturer code decides the reader; the data set reads the file from its start again.
    uchar first[SegdGeneralHeader::blockBytes] = {};
    const qint64 length = std::min<qint64>(device->size(), sizeof first);
    const bool read = length > 0 && device->read(reinterpret_cast<char*>(first), int(length));
    const bool sercel = read && SegdGeneralHeader::parse(SegdBytes(first, length)).sercel();
    std::unique_ptr<SegdData> data;
    if (sercel)
        data = std::make_unique<SercelData>(device.release(), false, directoryMode);
    else
        data = std::make_unique<SegdData>(device.release(), false, directoryMode);
    static_cast<void>(data->open(path));
    return data;
}

} // namespace SegdReader
