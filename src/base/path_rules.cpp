#include "base/path_rules.h"

#include <windows.h>

#include "base/strings.h"

namespace tv {

std::wstring RealEnvironmentVariable(const std::wstring& name) {
    if (name.empty()) return {};
    DWORD n = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name.c_str(), &value[0], n);
    value.resize(n);
    return value;
}

std::wstring ExpandFirstVariable(const std::wstring& s, const EnvLookup& env) {
    if (Trim(s).empty()) return s;
    size_t first = s.find(L'%');
    if (first == std::wstring::npos) return s;
    size_t second = s.find(L'%', first + 1);
    if (second == std::wstring::npos) return s;
    std::wstring value = env(s.substr(first + 1, second - first - 1));
    if (value.empty()) return s;
    return s.substr(0, first) + value + s.substr(second + 1);
}

std::wstring FileNameOf(const std::wstring& path) {
    size_t cut = path.find_last_of(L"\\:");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring ContainerOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\:");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

bool IsWebAddress(const std::wstring& s) {
    return StartsWithNoCase(s, L"http:") || StartsWithNoCase(s, L"https:");
}

std::wstring CommandLineProgramPath(const std::wstring& input, const EnvLookup& env) {
    if (IsWebAddress(input)) return input;
    std::wstring c = ExpandFirstVariable(input, env);
    if (!c.empty() && c[0] == L'"') {
        size_t close = c.find(L'"', 1);
        c = close == std::wstring::npos ? c.substr(1) : c.substr(1, close - 1);
    }
    size_t sep = c.find_last_of(L"\\:");
    size_t dot = c.rfind(L'.');
    if (dot == std::wstring::npos || (sep != std::wstring::npos && dot < sep)) return c;
    std::wstring base = Trim(c.substr(0, dot));
    std::wstring ext = Trim(c.substr(dot));
    if (base.empty() || ext.empty()) return c;
    if (base[0] == L'"') base.erase(0, 1);
    for (wchar_t stop : std::wstring(L"\"/\\:*?<>|")) {
        size_t at = ext.find(stop);
        if (at != std::wstring::npos) ext.resize(at);
    }
    size_t blank = ext.find(L' ');
    if (blank != std::wstring::npos) ext.resize(blank);
    return base + ext;
}

std::wstring NormaliseFolder(const std::wstring& path) {
    std::wstring s = Trim(path);
    if (s.empty() || s.compare(0, 2, L"\\\\") == 0) return s;
    s += L'\\';
    s = ReplaceAll(s, L"\\\\\\", L"\\");
    s = ReplaceAll(s, L"\\\\", L"\\");
    return s;
}

std::wstring FolderArgument(const std::wstring& folder) {
    std::wstring s = folder;
    while (s.size() > 1 && (s.back() == L'\\' || s.back() == L'/')) s.pop_back();
    if (s.size() == 2 && s[1] == L':') s += L"\\.";
    return s;
}

std::wstring QuotedArgument(const std::wstring& path) { return L"\"" + path + L"\""; }

bool IsPhotoViewer(const std::wstring& text) {
    std::wstring t = ToLower(text);
    if (t.find(L"rundll32.exe") != std::wstring::npos &&
        (t.find(L"photoviewer.dll") != std::wstring::npos || t.find(L"shimgvw.dll") != std::wstring::npos))
        return true;
    for (const wchar_t* start : {L"windows photo viewer", L"photo viewer", L"windows picture and fax viewer",
                                 L"picture and fax viewer"})
        if (t.compare(0, wcslen(start), start) == 0) return true;
    return false;
}

}  // namespace tv
