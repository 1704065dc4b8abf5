#pragma once
namespace tv {
// Lets the message queue run: handles every message waiting now, then returns. Used by long
// loops so the window stays live between items.
void ProcessMessages();

// For loops over many items: lets the queue run when some milliseconds have passed since it
// last ran, so the window stays live without a queue pass per item.
void KeepResponsive();
}  // namespace tv
