// Stands in for the elevation program: notes the command line it was given beside itself.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR params, int) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring out(self);
    out = out.substr(0, out.find_last_of(L'\\')) + L"\\admin_args.txt";
    HANDLE f = CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD put = 0;
    std::wstring text = params ? params : L"";
    WriteFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &put, nullptr);
    CloseHandle(f);
    return 0;
}
