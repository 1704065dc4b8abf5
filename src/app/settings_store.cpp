#include "app/settings_store.h"

#include <windows.h>

#include "base/strings.h"

namespace tv {

SettingsWriteError::SettingsWriteError(const std::wstring& path)
    : std::runtime_error("Unable to write to " + ToAnsi(path)), path_(path) {}

int ParseProfileInteger(const std::wstring& text, int defaultValue) {
    int value = 0;
    return ParseInteger(text, value) ? value : defaultValue;
}

bool SettingsStore::KeyExists(const std::wstring& section, const std::wstring& key) const {
    // Two different defaults tell a missing key from one stored as either of them.
    wchar_t a[4] = {}, b[4] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"\x01", a, 4, path_.c_str());
    if (a[0] != L'\x01') return true;
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"\x02", b, 4, path_.c_str());
    return b[0] != L'\x02';
}

std::wstring SettingsStore::ReadString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& defaultValue) const {
    if (!KeyExists(section, key)) return defaultValue;
    wchar_t buf[kMaxValueLength + 1] = {};
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf,
                                       static_cast<DWORD>(kMaxValueLength + 1), path_.c_str());
    return std::wstring(buf, n);
}

int SettingsStore::ReadInteger(const std::wstring& section, const std::wstring& key,
                               int defaultValue) const {
    if (!KeyExists(section, key)) return defaultValue;
    return ParseProfileInteger(ReadString(section, key, L""), defaultValue);
}

bool SettingsStore::ReadBool(const std::wstring& section, const std::wstring& key,
                             bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void SettingsStore::WriteString(const std::wstring& section, const std::wstring& key,
                                const std::wstring& value) {
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw SettingsWriteError(path_);
}

void SettingsStore::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
    WriteString(section, key, std::to_wstring(value));
}

void SettingsStore::WriteBool(const std::wstring& section, const std::wstring& key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

}  // namespace tv
