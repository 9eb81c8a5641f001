#include "devices/ImageScsiBus.h"

#include "devices/TapeImageScsiTarget.h"

ImageScsiBus::ImageScsiBus(const QStringList& imagePaths) : paths(imagePaths) {}

ScsiBus::Support ImageScsiBus::support(int* adapters)
{
    *adapters = static_cast<int>((paths.size() + targetsPerAdapter - 1) / targetsPerAdapter);
    return Ready;
}

bool ImageScsiBus::rescan(int adapter)
{
    return adapter >= 0 && adapter * targetsPerAdapter < paths.size();
}

bool ImageScsiBus::adapterInquiry(int adapter, int* targets)
{
    *targets = targetsPerAdapter;
    return rescan(adapter);
}

int ImageScsiBus::imageIndex(int adapter, int target) const
{
    if (adapter < 0 || target < 0 || target >= targetsPerAdapter)
        return -1;
    const int index = adapter * targetsPerAdapter + target;
    return index < paths.size() ? index : -1;
}

bool ImageScsiBus::deviceType(int adapter, int target, int* type)
{
    if (imageIndex(adapter, target) < 0)
        return false;
    *type = sequentialAccess;
    return true;
}

std::unique_ptr<ScsiPassThrough> ImageScsiBus::connect(int adapter, int target)
{
    const int index = imageIndex(adapter, target);
    if (index < 0)
        return nullptr;
    return std::make_unique<TapeImageScsiTarget>(paths.at(index));
}
