#pragma once
namespace tv {
// Lets the message queue run: handles every message waiting now, then returns. Used by long
// loops so the window stays live between items.
void ProcessMessages();
}  // namespace tv
