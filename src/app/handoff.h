#pragma once
// Handing a second start's items to the running instance: the items are written to
// "sendparam.txt" in the data folder, then WM_COPYDATA tells the running window to read them.
#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace tv {

// The hand-off message's data block: 8 bytes, "tolvane" and its terminating zero.
COPYDATASTRUCT HandOffMessageData();

// Hand-offs of one program copy are serialised by a named mutex: a sender holds it from writing
// the hand-off file until the running window has answered the message, and the window takes
// the file's contents before it answers (TakeHandOff). So no start overwrites items the running
// instance has not taken, however many start at once.
std::wstring HandOffLockName(const std::wstring& instanceBlockName);

struct HandOffWaits {
    DWORD lockMs = 120000;   // for the hand-offs before this one
    DWORD windowMs = 30000;  // for the running instance's window, which may still be starting
};

// Writes `lines` to `file` and sends the hand-off message to the running window, all under the
// lock. A window that answers 0 has not taken the items (it is not ready for them yet) and gets
// the message again until it answers otherwise or `windowMs` has passed. Returns the window's
// answer (1 when it took the items); 0 when the lock, the window or its 1 did not come in time.
// Without the lock the file is left as it was.
LRESULT SendHandOff(const std::wstring& lockName, const std::wstring& file, HWND sender,
                    const std::vector<std::wstring>& lines, const HandOffWaits& waits = {});

// The second instance's whole hand-off: this program copy's lock, the data folder's hand-off
// file. Returns the running window's answer (1 when it took the message), 0 when none answered.
LRESULT HandOff(HWND sender, const std::vector<std::wstring>& params);

// The receiving side: the items of the hand-off file. False when there is no such file.
bool ReadHandOffFile(std::vector<IntakeStep>& steps);

// The running window's first step on the hand-off message, inside its WM_COPYDATA handler:
// takes the items of the hand-off file, leaving out those a record cannot hold (added to
// `refused`, for the window to tell), then answers 1 at once so the sender and the next hand-off
// go on while the window adds the items. The handler's own return value is then not used.
// A window not ready for items yet (its record not shown yet) answers 0 without calling this:
// the sender then sends again, holding the file for it.
// False when there is no hand-off file (the answer is given all the same).
bool TakeHandOff(std::vector<IntakeStep>& steps, std::vector<std::wstring>& refused);
// The lines of "ctmenu.txt"; false when it cannot be read.
bool ReadMenuFile(std::vector<std::wstring>& lines);

}  // namespace tv
