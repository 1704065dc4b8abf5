#include "e2e/e2e_support.h"

namespace {
const wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\version_probe.exe";

// What the probe reports when Wine is told to be `version`.
std::string NameUnder(const wchar_t* version) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return "no key";
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    tvtest::TempFolder dir;
    tvtest::Process probe;
    std::wstring out = dir.file(L"version.txt");
    if (!probe.Start(tvtest::ExeFolder() + L"\\version_probe.exe", L"\"" + out + L"\"")) return "no start";
    long code = probe.Wait(30000);
    RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults);
    if (code != 0) return "exit " + std::to_string(code);
    return tvtest::ReadAll(out);
}
}  // namespace

TEST(WindowsVersionUnderWine, EachReportedVersionGetsItsName) {
    EXPECT_EQ(NameUnder(L"winxp"), "windows xp");
    EXPECT_EQ(NameUnder(L"vista"), "windows vista");
    EXPECT_EQ(NameUnder(L"win7"), "windows 7");
    EXPECT_EQ(NameUnder(L"win10"), "windows");
}
