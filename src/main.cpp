// Program entry: one running instance; a second start hands its items over and ends.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include "app/command_line.h"
#include "app/settings_keys.h"
#include "base/constants.h"
#include "app/folders.h"
#include "app/handoff.h"
#include "app/instance.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/strings.h"
#include "ui/main/frame/main_window.h"

namespace {

void ShowSystemError(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    MessageBoxW(nullptr, text ? text : L"", tv::kAppName, MB_OK | MB_ICONERROR);
    if (text) LocalFree(text);
}

std::wstring QuoteIfBlank(const std::wstring& p) {
    return p.find_first_of(L" \t") == std::wstring::npos ? p : L"\"" + p + L"\"";
}

// Restarts through the elevation program. False when it could not be started (missing, or the
// elevation was refused): then this process goes on as if the setting were off.
bool RestartElevated(const std::vector<std::wstring>& params) {
    std::wstring program = tv::FolderOf(tv::ModulePath()) + L"\\" + tv::kElevationProgram;
    if (!tv::FileExists(program)) return false;
    std::wstring first = params.empty() ? L"" : QuoteIfBlank(params.front());
    HINSTANCE r = ShellExecuteW(nullptr, L"open", program.c_str(), first.c_str(), nullptr,
                                SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

int RunMessageLoop(tv::TTolvaneWindow& window) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.TranslateShortcut(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    std::vector<std::wstring> args = tv::SplitCommandLine(GetCommandLineW());
    std::vector<std::wstring> params(args.empty() ? args.begin() : args.begin() + 1, args.end());

    tv::InstanceBlock block(tv::InstanceBlockName(tv::ModulePath()));
    tv::InstanceBlock::Result started = block.Check(nullptr, tv::kInstanceLimit);
    // The elevated restart starts while the instance it replaces is still closing: give that
    // one a few seconds to go rather than handing this start over to it.
    const bool elevatedRestart = tv::ReadSwitches(params).elevatedInstance;
    for (int wait = 0; elevatedRestart && started == tv::InstanceBlock::Result::AnotherRuns && wait < 50; ++wait) {
        Sleep(200);
        started = block.Check(nullptr, tv::kInstanceLimit);
    }
    switch (started) {
        case tv::InstanceBlock::Result::CreateFailed:
            ShowSystemError(block.lastError());
            return 1;
        case tv::InstanceBlock::Result::AnotherRuns:
            // The exit code is the running window's answer, 0 when none was found.
            return static_cast<int>(tv::HandOff(nullptr, params));
        default:
            break;
    }

    tv::OleScope ole;  // COM for shell links and, later, drag and drop
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    tv::Settings settings = tv::OpenSettingsFiles();
    tv::StartupState& state = tv::Startup();
    state.params = params;
    state.switches = tv::ReadSwitches(params);

    if (settings.common->ReadBool(tv::keys::kDefault, tv::keys::kAlwaysRunAsAdmin, false) &&
        tv::WantsElevationRestart(params) && RestartElevated(params)) {
        return 0;
    }

    int code = 0;
    {
        tv::TTolvaneWindow window(settings, &block);
        if (!window.Create(instance)) {
            ShowSystemError(GetLastError());
            code = 1;
        } else {
            window.Show(showCommand);
            code = RunMessageLoop(window);
        }
    }
    return code;
}
