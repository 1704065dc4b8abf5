#include "app/shell_links.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "base/handles.h"

namespace tv {

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& workingFolder) {
    return SUCCEEDED(WriteShellLink(linkPath, target, workingFolder));
}

HRESULT WriteShellLink(const std::wstring& linkPath, const std::wstring& target, const std::wstring& workingFolder) {
    ComPtr<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    if (FAILED(hr)) return hr;
    if (FAILED(hr = link->SetPath(target.c_str())) || FAILED(hr = link->SetWorkingDirectory(workingFolder.c_str())))
        return hr;
    ComPtr<IPersistFile> file;
    if (FAILED(hr = link->QueryInterface(IID_IPersistFile, file.put_void()))) return hr;
    return file->Save(linkPath.c_str(), FALSE);
}

bool GroupsHoldAdministrators(const TOKEN_GROUPS& groups) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &admins))
        return false;
    bool found = false;
    for (DWORD i = 0; i < groups.GroupCount && !found; ++i) {
        const SID_AND_ATTRIBUTES& group = groups.Groups[i];
        found = group.Sid && IsValidSid(group.Sid) && EqualSid(group.Sid, admins) &&
                !(group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY);
    }
    FreeSid(admins);
    return found;
}

bool IsRunningAsAdmin() {
    HANDLE raw = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &raw)) {
        if (GetLastError() != ERROR_NO_TOKEN || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
            return false;
    }
    UniqueHandle token(raw);
    // A member of many groups needs more room than a fixed buffer gives: ask for the size.
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<DWORD_PTR> buffer(size / sizeof(DWORD_PTR) + 1);
    if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(),
                             static_cast<DWORD>(buffer.size() * sizeof(DWORD_PTR)), &size))
        return false;
    return GroupsHoldAdministrators(*reinterpret_cast<const TOKEN_GROUPS*>(buffer.data()));
}

}  // namespace tv
