#include "app/windows_version.h"

#include "base/strings.h"

namespace tv {

std::wstring WindowsVersionName(DWORD platformId, DWORD major, DWORD minor) {
    std::wstring part;
    switch (platformId) {
        case VER_PLATFORM_WIN32s:
            part = L"32";
            break;
        case VER_PLATFORM_WIN32_WINDOWS:
            if (major == 4 && minor == 0) part = L"95";
            else if (major == 4 && minor == 10) part = L"98";
            else if (major == 4 && minor == 90) part = L"me";
            else part = L"9x";
            break;
        case VER_PLATFORM_WIN32_NT:
            if (major == 3 && minor == 51) part = L"nt 3.51";
            else if (major == 4 && minor == 0) part = L"nt 4.0";
            else if (major == 5 && minor == 0) part = L"2000";
            else if (major == 5 && minor == 1) part = L"xp";
            else if (major == 5 && minor == 2) part = L"2003";
            else if (major == 6 && minor == 0) part = L"vista";
            else if (major == 6 && minor == 1) part = L"7";
            break;
        default:
            part = L"unknow";
            break;
    }
    return Trim(ToLower(L"windows " + part));
}

std::wstring CurrentWindowsVersionName() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
    return WindowsVersionName(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace tv
