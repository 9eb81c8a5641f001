#pragma once

#include "devices/DiskDevice.h"

#include <functional>

namespace obrtest {

// How a turn of the event loop is timed: by the clock, or by the time the window's thread spent
// working in it, which the other programs of a busy machine do not lengthen (a turn may then
// take at most ten times the limit by the clock, so that a wait for another thread still shows).
enum class TurnClock { Wall, ThreadCpu };

// Runs an action, then keeps the event loop turning for up to `forMs` (or until `done`), and
// checks that neither the action nor any turn of the loop kept the window from answering for
// more than `limitMs`.
[[nodiscard]] bool answersQuickly(const std::function<void()>& action, int forMs = 0,
                                  const std::function<bool()>& done = {}, qint64 limitMs = 200,
                                  TurnClock clock = TurnClock::Wall);

// A disk that hands over every block a little late, as a slow drive does.
class SlowDisk : public DiskDevice {
public:
    using DiskDevice::DiskDevice;
    bool read(char* buffer, int length) override;
};

} // namespace obrtest
