#pragma once
// Commands about the program itself: its help file and its folder.
#include <windows.h>

#include <functional>

#include "replay/shell_calls.h"
#include "ui/main/commands/command_table.h"

namespace tv {

// Adds the rows of "Help" (F1) and "Open Application Path"; `owner` is the main window, `shell`
// what starts the programs.
void AddProgramCommands(CommandTable& table, std::function<HWND()> owner, std::function<ShellCalls&()> shell);

}  // namespace tv
