// TolvaneOpen64Link: opens the shortcut named in "open64link.txt" of the data folder. The
// program starts it when it runs as a 32-bit process on 64-bit Windows, so that shortcuts to
// 64-bit programs are opened by a 64-bit process. Exit code 0 when the shell took the
// shortcut, 1 when there was no hand-off file, 2 when it named no shortcut, 3 when the shell
// refused it.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/folders.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "replay/open64link.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring handOff = tv::DataFolder() + L"\\" + tv::kOpen64LinkFileName;
    if (!tv::FileExists(handOff)) return 1;
    std::string bytes;
    if (!tv::ReadFileBytes(handOff, bytes, tv::kMaxHandOffBytes)) return 2;
    std::wstring shortcut = tv::HandedOffShortcut(bytes);
    if (shortcut.empty() || !tv::FileExists(shortcut)) return 2;
    tv::ComScope com;
    HINSTANCE r = ShellExecuteW(nullptr, L"open", shortcut.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32 ? 0 : 3;
}
