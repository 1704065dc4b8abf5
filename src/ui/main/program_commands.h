#pragma once
// Commands about the program itself: its help file and its folder.
#include <windows.h>

#include <functional>

#include "ui/main/command_table.h"

namespace tv {

// Adds the rows of "Help" (F1) and "Open Application Path"; `owner` is the main window.
void AddProgramCommands(CommandTable& table, std::function<HWND()> owner);

}  // namespace tv
