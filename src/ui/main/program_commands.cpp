#include "ui/main/program_commands.h"

#include <shellapi.h>

#include "base/constants.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "ui/main/main_menus.h"

namespace tv {

void AddProgramCommands(CommandTable& table, std::function<HWND()> owner) {
    table.Add(kCmdHelp, [&table, owner](UINT) {
        // The help file beside the program; without one, the guide on the web.
        std::wstring help = FolderOf(ModulePath()) + L"\\" + kAppName + L".chm";
        if (FileExists(help)) ShellExecuteW(owner(), L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        else table.Run(kCmdOnlineGuide);
    });
    table.Add(kCmdOpenApplicationPath, [owner](UINT) {
        std::wstring folder = FolderOf(ModulePath());
        if (DirectoryExists(folder)) {
            folder = ReplaceAll(NormaliseFolder(folder), L"/", L"\\");
            ShellExecuteW(owner(), L"explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        } else {
            ShellExecuteW(owner(), L"Open", folder.c_str(), nullptr, nullptr, SW_SHOW);
        }
    });
}

}  // namespace tv
