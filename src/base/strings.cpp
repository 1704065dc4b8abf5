#include "base/strings.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>

namespace tv {

namespace {
bool IsBlank(wchar_t c) { return c <= L' '; }

std::wstring MapCase(const std::wstring& s, DWORD flag) {
    if (s.empty()) return s;
    std::wstring out(s);
    // Plain ASCII text, as most paths are, maps the same without asking the system, at a
    // fraction of the cost: rules lower-case the same paths over and over.
    const bool lower = flag == LCMAP_LOWERCASE;
    size_t i = 0;
    for (; i < out.size() && out[i] < 0x80; ++i) {
        wchar_t& c = out[i];
        if (lower && c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + (L'a' - L'A'));
        else if (!lower && c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
    }
    if (i == out.size()) return out;
    // LCMapString keeps the length for simple case mapping of UTF-16 text.
    int n = LCMapStringW(LOCALE_INVARIANT, flag, s.data(), static_cast<int>(s.size()), &out[0],
                         static_cast<int>(out.size()));
    if (n != static_cast<int>(s.size())) {
        out = s;
        if (flag == LCMAP_LOWERCASE) CharLowerBuffW(&out[0], static_cast<DWORD>(out.size()));
        else CharUpperBuffW(&out[0], static_cast<DWORD>(out.size()));
    }
    return out;
}
}  // namespace

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::wstring ToLower(const std::wstring& s) { return MapCase(s, LCMAP_LOWERCASE); }
std::wstring ToUpper(const std::wstring& s) { return MapCase(s, LCMAP_UPPERCASE); }

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
    if (prefix.size() > s.size()) return false;
    return ToLower(s.substr(0, prefix.size())) == ToLower(prefix);
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && ToLower(a) == ToLower(b);
}

std::wstring ReplaceAll(std::wstring s, const std::wstring& from, const std::wstring& to) {
    if (from.empty()) return s;
    size_t pos = 0;
    while ((pos = s.find(from, pos)) != std::wstring::npos) {
        s.replace(pos, from.size(), to);
        pos += to.size();
    }
    return s;
}

std::wstring FromCodePage(const std::string& s, unsigned codePage) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

std::string ToCodePage(const std::wstring& s, unsigned codePage) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& s) { return FromCodePage(s, CP_UTF8); }
std::string ToUtf8(const std::wstring& s) { return ToCodePage(s, CP_UTF8); }

bool ParseInteger(const std::wstring& text, int& result) {
    std::wstring t = Trim(text);
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
    if (i >= t.size()) return false;
    unsigned long long value = 0;
    const unsigned long long limit = base == 16 ? 0xFFFFFFFFull : 0x80000000ull;
    for (; i < t.size(); ++i) {
        wchar_t c = t[i];
        unsigned digit;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        else return false;
        value = value * base + digit;
        if (value > limit) return false;
    }
    if (base == 10 && !negative && value > 0x7FFFFFFFull) return false;
    // Hexadecimal fills the 32 bits, so "$FFFFFFFF" is -1.
    unsigned bits = static_cast<unsigned>(value);
    result = static_cast<int>(negative ? 0u - bits : bits);
    return true;
}

std::wstring Format(const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int n = _vscwprintf(fmt, copy);
    va_end(copy);
    std::wstring out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        _vsnwprintf(&out[0], out.size(), fmt, args);
        out.resize(static_cast<size_t>(n));
    }
    va_end(args);
    return out;
}

std::wstring SystemMessageText(unsigned long error) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length && text ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? L"Error " + std::to_wstring(error) : message;
}

}  // namespace tv
