#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace tvtest {

// One value of a real key, changed for a test and put back afterwards: the old data, or no
// value, and no key when the key was not there.
class ScopedRegValue {
public:
    ScopedRegValue(HKEY root, std::wstring key, std::wstring name)
        : root_(root), key_(std::move(key)), name_(std::move(name)) {
        HKEY h;
        keyExisted_ = RegOpenKeyExW(root_, key_.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS;
        if (!keyExisted_) return;
        DWORD size = 0;
        if (RegQueryValueExW(h, name_.c_str(), nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
            old_.resize(size);
            valueExisted_ = RegQueryValueExW(h, name_.c_str(), nullptr, &oldType_, old_.data(), &size) ==
                            ERROR_SUCCESS;
        }
        RegCloseKey(h);
    }
    ~ScopedRegValue() {
        HKEY h;
        if (RegOpenKeyExW(root_, key_.c_str(), 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
        if (valueExisted_)
            RegSetValueExW(h, name_.c_str(), 0, oldType_, old_.data(), static_cast<DWORD>(old_.size()));
        else
            RegDeleteValueW(h, name_.c_str());
        RegCloseKey(h);
        if (!keyExisted_) RegDeleteKeyW(root_, key_.c_str());
    }
    ScopedRegValue(const ScopedRegValue&) = delete;
    ScopedRegValue& operator=(const ScopedRegValue&) = delete;

    bool Set(DWORD type, const void* data, DWORD bytes) {
        HKEY h;
        if (RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
            return false;
        bool ok = RegSetValueExW(h, name_.c_str(), 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
        RegCloseKey(h);
        return ok;
    }
    bool SetText(const std::wstring& text, DWORD type = REG_SZ) {
        return Set(type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

private:
    HKEY root_;
    std::wstring key_, name_;
    bool keyExisted_ = false, valueExisted_ = false;
    DWORD oldType_ = REG_NONE;
    std::vector<BYTE> old_;
};

}  // namespace tvtest
