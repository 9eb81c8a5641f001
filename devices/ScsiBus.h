#pragma once

#include "devices/ScsiPassThrough.h"

#include <memory>

// The host adapters of one kind and the targets behind them, as a SCSI manager
// offers them: how many adapters, a bus rescan, an adapter inquiry, the device
// type of a target, and a pass-through to a target.
class ScsiBus {
public:
    // Support status of the manager.
    enum Support { Ready = 1, NoAdapters = 0xE8, Failed = 0xFF };
    static constexpr int sequentialAccess = 1;

    virtual ~ScsiBus() = default;
    // Ready with the adapter count, or why the manager is not usable.
    virtual Support support(int* adapters) = 0;
    [[nodiscard]] virtual bool rescan(int adapter) = 0;
    // The number of targets the adapter addresses.
    [[nodiscard]] virtual bool adapterInquiry(int adapter, int* targets) = 0;
    // False when no device answers at the target (logical unit 0).
    [[nodiscard]] virtual bool deviceType(int adapter, int target, int* type) = 0;
    virtual std::unique_ptr<ScsiPassThrough> connect(int adapter, int target) = 0;
    // The largest transfer a single command may carry; 0 when the bus sets no limit.
    virtual int largestTransfer() = 0;
};
