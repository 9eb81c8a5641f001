#include "devices/LinuxScsiBus.h"

#include "devices/SgPassThrough.h"

#include <QMap>
#include <QPair>
#include <algorithm>
#include <fcntl.h>
#include <linux/fs.h>
#include <scsi/sg.h>

namespace {
const QString deviceDirectory = QStringLiteral("/dev");
constexpr int inquiryLength = 36;
} // namespace

LinuxScsiBus::LinuxScsiBus(std::shared_ptr<LinuxSystemCalls> calls) : system(std::move(calls)) {}

ScsiBus::Support LinuxScsiBus::support(int* adapters)
{
    *adapters = 0;
    devices.clear();
    transferLimit = 0;
    QStringList names = system->entries(deviceDirectory, QStringLiteral("sg*"));
    // sg2 before sg10.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    if (names.isEmpty())
        return NoAdapters;

    QMap<QPair<int, int>, int> adapterOf;
    struct Found {
        QString path;
        QPair<int, int> hostChannel;
        int target;
    };
    QList<Found> found;
    for (const QString& name : names) {
        const QString path = deviceDirectory + QLatin1Char('/') + name;
        const int descriptor = system->open(path.toLocal8Bit(), O_RDWR | O_NONBLOCK);
        if (descriptor < 0)
            continue;
        sg_scsi_id identity{};
        int limit = 0;
        const bool identified = system->ioctl(descriptor, SG_GET_SCSI_ID, &identity) >= 0;
        if (system->ioctl(descriptor, BLKSECTGET, &limit) >= 0 && limit > 0)
            transferLimit = transferLimit == 0 ? limit : std::min(transferLimit, limit);
        system->close(descriptor);
        if (!identified || identity.lun != 0 || identity.scsi_id < 0 || identity.scsi_id >= targetsPerAdapter)
            continue;
        const QPair<int, int> hostChannel(identity.host_no, identity.channel);
        adapterOf.insert(hostChannel, 0);
        found.append({path, hostChannel, identity.scsi_id});
    }
    if (found.isEmpty())
        return Failed;
    // Adapters in the order of their host and channel numbers.
    int next = 0;
    for (auto it = adapterOf.begin(); it != adapterOf.end(); ++it)
        it.value() = next++;
    for (const Found& device : found)
        devices.append({device.path, adapterOf.value(device.hostChannel), device.target});
    *adapters = next;
    return Ready;
}

bool LinuxScsiBus::rescan(int adapter)
{
    // The kernel keeps its device list current by itself.
    return std::any_of(devices.begin(), devices.end(),
                       [adapter](const Device& d) { return d.adapter == adapter; });
}

bool LinuxScsiBus::adapterInquiry(int adapter, int* targets)
{
    *targets = targetsPerAdapter;
    return rescan(adapter);
}

const LinuxScsiBus::Device* LinuxScsiBus::find(int adapter, int target) const
{
    for (const Device& device : devices) {
        if (device.adapter == adapter && device.target == target)
            return &device;
    }
    return nullptr;
}

bool LinuxScsiBus::deviceType(int adapter, int target, int* type)
{
    std::unique_ptr<ScsiPassThrough> passThrough = connect(adapter, target);
    if (!passThrough)
        return false;
    char inquiry[inquiryLength] = {};
    ScsiRequest request;
    request.cdb = QByteArray("\x12\0\0\0\x24\0", 6);
    request.direction = ScsiRequest::Direction::In;
    request.data = inquiry;
    request.length = inquiryLength;
    request.timeLimitMs = 500;
    if (passThrough->execute(request).status != ScsiCompletion::Done)
        return false;
    // A peripheral qualifier other than 0 means no device is connected there.
    if ((inquiry[0] & 0xE0) != 0)
        return false;
    *type = inquiry[0] & 0x1F;
    return true;
}

std::unique_ptr<ScsiPassThrough> LinuxScsiBus::connect(int adapter, int target)
{
    const Device* device = find(adapter, target);
    if (!device)
        return nullptr;
    const int descriptor = system->open(device->path.toLocal8Bit(), O_RDWR | O_NONBLOCK);
    if (descriptor < 0)
        return nullptr;
    return std::make_unique<SgPassThrough>(system, descriptor);
}
