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

std::wstring SettingsStore::ReadString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& defaultValue) const {
    // A control character no stored value holds tells a missing key in one read of the file.
    static const wchar_t kMissing[] = L"\x01";
    wchar_t buf[kMaxValueLength + 1] = {};
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), kMissing, buf,
                                       static_cast<DWORD>(kMaxValueLength + 1), path_.c_str());
    std::wstring value(buf, n);
    return value == kMissing ? defaultValue : value;
}

int SettingsStore::ReadInteger(const std::wstring& section, const std::wstring& key,
                               int defaultValue) const {
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
