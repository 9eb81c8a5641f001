#pragma once

#include "devices/LinuxSystemCalls.h"
#include "devices/ScsiBus.h"

#include <QList>
#include <QString>
#include <memory>

// The Linux SCSI generic devices (/dev/sg*) as host adapters and targets: one
// adapter per SCSI host and channel, the target number as the kernel gives it.
// Only logical unit 0 of a target is used.
class LinuxScsiBus : public ScsiBus {
public:
    static constexpr int targetsPerAdapter = 16;

    explicit LinuxScsiBus(std::shared_ptr<LinuxSystemCalls> calls);

    Support support(int* adapters) override;
    bool rescan(int adapter) override;
    bool adapterInquiry(int adapter, int* targets) override;
    bool deviceType(int adapter, int target, int* type) override;
    std::unique_ptr<ScsiPassThrough> connect(int adapter, int target) override;
    int largestTransfer() override { return transferLimit; }

private:
    struct Device {
        QString path;
        int adapter = 0;
        int target = 0;
    };
    const Device* find(int adapter, int target) const;

    std::shared_ptr<LinuxSystemCalls> system;
    QList<Device> devices;
    int transferLimit = 0;
};
