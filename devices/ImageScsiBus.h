#pragma once

#include "devices/ScsiBus.h"

#include <QStringList>

// A SCSI bus whose targets are tape images: sixteen targets per adapter, one
// image per target, in the order given.
class ImageScsiBus : public ScsiBus {
public:
    static constexpr int targetsPerAdapter = 16;

    explicit ImageScsiBus(const QStringList& imagePaths);

    Support support(int* adapters) override;
    bool rescan(int adapter) override;
    bool adapterInquiry(int adapter, int* targets) override;
    bool deviceType(int adapter, int target, int* type) override;
    std::unique_ptr<ScsiPassThrough> connect(int adapter, int target) override;
    int largestTransfer() override { return 0; }

private:
    // The image at a target; -1 when none.
    int imageIndex(int adapter, int target) const;

    QStringList paths;
};
