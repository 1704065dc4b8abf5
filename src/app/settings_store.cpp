#include "app/settings_store.h"

#include <windows.h>

#include "base/strings.h"

namespace tv {

SettingsWriteError::SettingsWriteError(const std::wstring& path)
    : std::runtime_error("Unable to write to " + ToAnsi(path)), path_(path) {}

int ParseProfileInteger(const std::wstring& raw, int defaultValue) {
    std::wstring t = Trim(raw);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == L'-' || t[i] == L'+')) negative = t[i++] == L'-';
    int base = 10;
    if (i < t.size() && t[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == L'0' && (t[i + 1] == L'x' || t[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) return defaultValue;
    unsigned long long value = 0;
    const unsigned long long limit = base == 16 ? 0xFFFFFFFFull : 0x80000000ull;
    for (; i < t.size(); ++i) {
        wchar_t c = t[i];
        unsigned digit;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        else return defaultValue;
        value = value * base + digit;
        if (value > limit) return defaultValue;
    }
    if (base == 16) {
        // Hexadecimal fills the 32 bits, so "$FFFFFFFF" is -1.
        int v = static_cast<int>(static_cast<unsigned>(value));
        return negative ? -v : v;
    }
    if (!negative && value > 0x7FFFFFFFull) return defaultValue;
    return negative ? static_cast<int>(-static_cast<long long>(value)) : static_cast<int>(value);
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
