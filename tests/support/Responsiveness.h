#pragma once

#include "devices/DiskDevice.h"

#include <functional>

namespace obrtest {

// Runs an action, then keeps the event loop turning for up to `forMs` (or until `done`), and
// checks that neither the action nor any turn of the loop kept the window from answering for
// more than `limitMs`.
[[nodiscard]] bool answersQuickly(const std::function<void()>& action, int forMs = 0,
                                  const std::function<bool()>& done = {}, qint64 limitMs = 200);

// A disk that hands over every block a little late, as a slow drive does.
class SlowDisk : public DiskDevice {
public:
    using DiskDevice::DiskDevice;
    bool read(char* buffer, int length) override;
};

} // namespace obrtest
