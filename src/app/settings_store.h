#pragma once
// A settings file in the Windows profile format. It holds no cached values: every read goes
// to the file and every write changes it at once.
#include <stdexcept>
#include <string>

namespace tv {

// Raised when a value cannot be written; the text is "Unable to write to <file path>".
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::wstring& path);
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// Value forms of the profile files.
// Integer: decimal with an optional minus sign; "$", "0x" or "0X" start hexadecimal; anything
// else gives the default.
int ParseProfileInteger(const std::wstring& text, int defaultValue);

class SettingsStore {
public:
    static constexpr wchar_t kDefaultSection[] = L"default";
    static constexpr size_t kMaxValueLength = 2047;

    explicit SettingsStore(std::wstring filePath) : path_(std::move(filePath)) {}
    const std::wstring& path() const { return path_; }

    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& defaultValue) const;
    int ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) const;
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool defaultValue) const;

    // Each throws SettingsWriteError when the file cannot be written.
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value);

private:
    std::wstring path_;
};

}  // namespace tv
