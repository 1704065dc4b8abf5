#pragma once
// Long loops below the window call a tick between items; the window decides what a tick does
// (paint, move a progress bar, look at its Stop button). Nothing below the window pumps messages.
#include <functional>

namespace tv {
using Tick = std::function<void()>;
inline void RunTick(const Tick& tick) {
    if (tick) tick();
}
}  // namespace tv
