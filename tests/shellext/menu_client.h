#pragma once
// A test client for the Explorer menu library that does what Explorer does: registers the
// library with Wine's regsvr32, creates the handler by its class identifier, hands it a data
// object with the selection, and drives its menu item.
#include <windows.h>
#include <shlobj.h>

#include <set>
#include <string>
#include <vector>

#include "base/handles.h"
#include "support/test_support.h"

namespace tvtest::menu {

// {ADE68C79-6ACF-41A3-A787-39ED643F4786}
inline constexpr CLSID kClsid = {
    0xADE68C79, 0x6ACF, 0x41A3, {0xA7, 0x87, 0x39, 0xED, 0x64, 0x3F, 0x47, 0x86}};
inline constexpr wchar_t kClsidText[] = L"{ADE68C79-6ACF-41A3-A787-39ED643F4786}";
inline constexpr wchar_t kLibIdText[] = L"{2F15E0EA-A0D8-477A-A5CA-C5F998F5749C}";
inline constexpr wchar_t kLibraryName[] = L"TolvaneMenuDLL.dll";

// The exit code of Wine's regsvr32 run silently on `dll`.
long RunRegsvr32(const std::wstring& dll, bool unregister);

bool RegKeyExists(const std::wstring& key);  // under HKEY_CLASSES_ROOT
// A string value under HKEY_CLASSES_ROOT; `found` tells an empty value from a missing one.
std::wstring RegString(const std::wstring& key, const wchar_t* name, bool* found = nullptr);
std::set<std::wstring> SubkeyNames(const std::wstring& key);  // "" for HKEY_CLASSES_ROOT itself

// A folder whose name holds a blank, with a copy of the library in it.
class LibraryFolder {
public:
    LibraryFolder();
    const std::wstring& folder() const { return folder_; }
    const std::wstring& dll() const { return dll_; }
    std::wstring file(const std::wstring& name) const { return folder_ + L"\\" + name; }
    // Puts a copy of the test folder's `exeName` beside the library as "tolvane.exe".
    bool PutProgram(const std::wstring& exeName);
    // Takes away "tolvane.exe" and what the stand-in wrote.
    void Clear();

private:
    TempFolder dir_;
    std::wstring folder_, dll_;
};

// A data object that offers CF_HDROP with `paths` in this order.
tv::ComPtr<IDataObject> NewDropData(const std::vector<std::wstring>& paths);
// A data object that offers no format at all.
tv::ComPtr<IDataObject> NewFormatlessData();
// The data object the shell itself makes for `names` in `folder`.
HRESULT ShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names,
                        IDataObject** out);

// Waits until no process with this file name (any folder) runs any more.
void WaitForProcessesToEnd(const wchar_t* exeName, DWORD timeoutMs = 30000);
// Lines "starts.txt" holds (the stand-in program's record of its starts).
std::vector<std::wstring> StartsNoted(const LibraryFolder& folder);

}  // namespace tvtest::menu
