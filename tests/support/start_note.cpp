// Stands in for the program beside the menu library: adds the command line it was given as one
// line to "starts.txt" beside itself, so a test counts the starts and sees their parameters.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR params, int) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring out(self);
    out = out.substr(0, out.find_last_of(L'\\')) + L"\\starts.txt";
    std::wstring line = std::wstring(params ? params : L"") + L"\r\n";
    // Two starts close together take turns at the file.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE f = CreateFileW(out.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD put = 0;
            WriteFile(f, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &put, nullptr);
            CloseHandle(f);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
