#pragma once

#include "devices/LinuxSystemCalls.h"
#include "devices/ScsiPassThrough.h"

#include <memory>

// SCSI commands sent with SG_IO to one Linux SCSI generic device (/dev/sgN).
class SgPassThrough : public ScsiPassThrough {
public:
    // Takes over the open `descriptor`.
    SgPassThrough(std::shared_ptr<LinuxSystemCalls> calls, int descriptor);
    ~SgPassThrough() override;
    SgPassThrough(const SgPassThrough&) = delete;
    SgPassThrough& operator=(const SgPassThrough&) = delete;

    ScsiCompletion execute(const ScsiRequest& request) override;

private:
    std::shared_ptr<LinuxSystemCalls> system;
    int descriptor;
};
