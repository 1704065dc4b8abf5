// Writes the Windows version name as this process sees it to the file named by its argument.
#include <windows.h>
#include <shellapi.h>

#include "app/windows_version.h"
#include "base/file_util.h"
#include "base/strings.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    bool ok = tv::WriteFileAtomic(argv[1], tv::ToUtf8(tv::CurrentWindowsVersionName()));
    LocalFree(argv);
    return ok ? 0 : 1;
}
