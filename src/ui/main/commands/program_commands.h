#pragma once
// Commands about the program itself: its help file, its folder and what it is.
#include <windows.h>

#include <functional>
#include <string>

#include "replay/shell_calls.h"
#include "ui/main/commands/command_table.h"

namespace tv {

// The about box's text: the program's name and version, and what it does.
std::wstring AboutText();

// Adds the rows of "Help" (F1), "Open Application Path" and "About Tolvane"; `owner` is the main
// window, `shell` what starts the programs, `tell` what shows a message over the window.
void AddProgramCommands(CommandTable& table, std::function<HWND()> owner, std::function<ShellCalls&()> shell,
                        std::function<void(const std::wstring&)> tell);

}  // namespace tv
