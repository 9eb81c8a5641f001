#include "seismic/SegdReadWindow.h"

#include "devices/ObrDevice.h"

#include <algorithm>

const uchar* SegdReadWindow::find(qint64 position, qint64 length) const
{
    if (position < start_ || length < 0 || position + length > start_ + length_)
        return nullptr;
    return bytes_.data() + (position - start_);
}

bool SegdReadWindow::fill(ObrDevice& device, qint64 position, qint64 fileSize)
{
    clear();
    const qint64 wanted = std::min(size, fileSize - position);
    if (position < 0 || wanted <= 0)
        return false;
    // As much as this file can fill: a small file does not pay for a whole window.
    if (!bytes_.reserve(size_t(wanted)))
        return false;
    if ((device.pos() != position && !device.seek(position)) ||
        !device.read(reinterpret_cast<char*>(bytes_.data()), int(wanted)))
        return false;
    start_ = position;
    // A disk file may hand back fewer bytes than asked for.
    length_ = std::max<qint64>(device.pos() - position, 0);
    return true;
}
