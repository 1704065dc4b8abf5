// Writes the target of a shortcut, read as the program reads shortcuts, to the file named by its
// second argument. Exit code 1: the shortcut could not be read.
#include <windows.h>
#include <shellapi.h>

#include "base/file_util.h"
#include "base/strings.h"
#include "capture/path_resolution.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring target;
    bool ok = tv::RealResolutionMachine().LinkTarget(argv[1], target) &&
              tv::WriteFileAtomic(argv[2], tv::ToUtf8(target));
    LocalFree(argv);
    return ok ? 0 : 1;
}
