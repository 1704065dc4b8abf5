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

// The second instance's whole hand-off. Returns the running window's answer (1 when it took
// the message), 0 when no window of the program was found.
LRESULT HandOff(HWND sender, const std::vector<std::wstring>& params);

// The receiving side: the items of the hand-off file. False when there is no such file.
bool ReadHandOffFile(std::vector<IntakeStep>& steps);
// The lines of "ctmenu.txt"; false when it cannot be read.
bool ReadMenuFile(std::vector<std::wstring>& lines);

}  // namespace tv
