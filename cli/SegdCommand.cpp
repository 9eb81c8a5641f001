#include "cli/SegdCommand.h"

#include "base/ObrConsole.h"
#include "devices/DiskDevice.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SercelData.h"

#include <QFile>

namespace {

constexpr int sercelManufacturer = 13;

// The manufacturer code of the file's general header, or 0 when it cannot be read.
int manufacturerOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray leading = file.read(SegdGeneralHeader::leadingBytes);
    return SegdGeneralHeader::parse(
               SegdBytes(reinterpret_cast<const uchar*>(leading.constData()), leading.size()))
        .manufacturer;
}

} // namespace

namespace SegdCommand {

cli::Argument fileArgument()
{
    return cli::argument("FILE", QStringLiteral("the SEG-D field file"));
}

std::unique_ptr<SegdData> open(const QString& path, ObrConsole& console)
{
    std::unique_ptr<SegdData> data;
    if (manufacturerOf(path) == sercelManufacturer) {
        data = std::make_unique<SercelData>(&console, path, false, false, false);
    } else {
        auto* device = new DiskDevice(&console, path, 0);
        data = std::make_unique<SegdData>(device, false, false, false);
        if (device->ok())
            static_cast<void>(data->open(path));
    }
    if (!data->ok())
        return nullptr;
    return data;
}

} // namespace SegdCommand
