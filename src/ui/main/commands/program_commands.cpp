#include "ui/main/commands/program_commands.h"

#include <shellapi.h>

#include "base/constants.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "ui/main/menus/main_menus.h"

namespace tv {

std::wstring AboutText() {
    return Format(L"Tolvane %1.1f\r\n\r\nRemembers the programs, documents, folders and web pages you work with as "
                  L"records, and opens a whole record again when you ask or when Windows starts.",
                  kProgramVersion);
}

void AddProgramCommands(CommandTable& table, std::function<HWND()> owner, std::function<ShellCalls&()> shell,
                        std::function<void(const std::wstring&)> tell) {
    table.Add(kCmdAbout, [tell](UINT) { tell(AboutText()); });
    table.Add(kCmdHelp, [&table, owner, shell](UINT) {
        // The help file beside the program; without one, the guide on the web.
        std::wstring help = FolderOf(ModulePath()) + L"\\" + kAppName + L".chm";
        if (FileExists(help)) shell().ExecuteW(owner(), L"open", help, nullptr, nullptr, SW_SHOWNORMAL);
        else table.Run(kCmdOnlineGuide);
    });
    table.Add(kCmdOpenApplicationPath, [owner, shell](UINT) {
        std::wstring folder = FolderOf(ModulePath());
        if (DirectoryExists(folder)) {
            folder = ReplaceAll(NormaliseFolder(folder), L"/", L"\\");
            shell().ExecuteW(owner(), L"explore", FolderArgument(folder), nullptr, nullptr, SW_SHOWNORMAL);
        } else {
            shell().ExecuteW(owner(), L"Open", folder, nullptr, nullptr, SW_SHOW);
        }
    });
}

}  // namespace tv
