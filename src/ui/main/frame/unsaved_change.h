#pragma once
// What closing the main window does with a change to the shown record that could not be saved:
// it is not dropped silently with the window.
#include <windows.h>

namespace tv {

class Prompter;
class RecordSession;

// While the shown record holds an unsaved change, asks whether to try saving again, save it as
// a new record or discard it, and does so. True when the window may close; false when the
// question was closed without a choice, so the window stays open.
bool SettleUnsavedChange(HWND owner, RecordSession& session, Prompter& prompter);

}  // namespace tv
