#include "app/shell_links.h"

#include <windows.h>
#include <shlobj.h>

#include "base/handles.h"

namespace tv {

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& workingFolder) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())))
        return false;
    if (FAILED(link->SetPath(target.c_str())) ||
        FAILED(link->SetWorkingDirectory(workingFolder.c_str())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), FALSE));
}

bool IsRunningAsAdmin() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                  0, 0, 0, 0, 0, &admins))
        return false;
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, admins, &member)) member = FALSE;
    FreeSid(admins);
    return member != FALSE;
}

}  // namespace tv
