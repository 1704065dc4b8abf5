#pragma once
#include <windows.h>

namespace tv {
// Lets the message queue run: handles every message waiting now, then returns. Used by long
// loops so the window stays live between items.
void ProcessMessages();

// For loops over many items: lets the queue run when some milliseconds have passed since it
// last ran, so the window stays live without a queue pass per item.
void KeepResponsive();

// The next message of the queue for a loop of its own, taken off the queue: waits for one when
// `wait`, otherwise false when none is waiting. False for the end-of-program message too, which
// is posted again so that the main loop still sees it and ends the program.
bool NextMessage(MSG& msg, bool wait);
}  // namespace tv
