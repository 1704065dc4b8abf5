#include "shellext/registration.h"

#include <oleauto.h>

#include "base/handles.h"
#include "base/strings.h"
#include "shellext/module.h"

namespace tv::menu {

namespace {

// In keys and data, %C stands for the class identifier in braces, %P for the ProgID and %M for
// the registered library path.
struct RegistryEntry {
    const wchar_t* key;
    const wchar_t* name;  // null: the key's default value
    const wchar_t* data;
};

// The handler's description is empty.
const RegistryEntry kEntries[] = {
    {L"CLSID\\%C", nullptr, L""},
    {L"CLSID\\%C\\InprocServer32", nullptr, L"%M"},
    {L"CLSID\\%C\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {L"%P", nullptr, L""},
    {L"%P\\Clsid", nullptr, L"%C"},
    {L"CLSID\\%C\\ProgID", nullptr, L"%P"},
};

// Subkeys before the keys that hold them.
const wchar_t* const kRemovalOrder[] = {
    L"CLSID\\%C\\ProgID", L"%P\\Clsid", L"%P", L"CLSID\\%C\\InprocServer32", L"CLSID\\%C",
};

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    return StringFromGUID2(guid, text, 40) ? std::wstring(text) : std::wstring();
}

std::wstring Expand(const wchar_t* pattern, const std::wstring& path) {
    std::wstring s = ReplaceAll(pattern, L"%C", GuidText(kClsidContextMenu));
    s = ReplaceAll(s, L"%P", kProgId);
    return ReplaceAll(s, L"%M", path);
}

bool WriteEntry(const RegistryEntry& entry, const std::wstring& path) {
    RegKey key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, Expand(entry.key, path).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    std::wstring data = Expand(entry.data, path);
    return RegSetValueExW(key.get(), entry.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool KeyExists(const std::wstring& subKey) {
    RegKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::wstring TypeLibraryKey() { return L"TypeLib\\" + GuidText(kLibId) + L"\\1.0"; }

}  // namespace

std::wstring RegisteredPath(const std::wstring& libraryPath) {
    if (libraryPath.find(L' ') == std::wstring::npos) return libraryPath;
    DWORD need = GetShortPathNameW(libraryPath.c_str(), nullptr, 0);
    if (need == 0) return libraryPath;
    std::wstring shortPath(need, L'\0');
    DWORD got = GetShortPathNameW(libraryPath.c_str(), &shortPath[0], need);
    if (got == 0 || got >= need) return libraryPath;
    shortPath.resize(got);
    return shortPath;
}

HRESULT RegisterServer(const std::wstring& libraryPath) {
    if (libraryPath.empty()) return E_FAIL;
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLibEx(libraryPath.c_str(), REGKIND_NONE, &library))) return E_FAIL;
    std::wstring file = libraryPath;  // the call takes a writable string
    HRESULT hr = RegisterTypeLib(library, &file[0], nullptr);
    library->Release();
    if (FAILED(hr)) return E_FAIL;

    std::wstring path = RegisteredPath(libraryPath);
    for (const RegistryEntry& entry : kEntries) {
        if (!WriteEntry(entry, path)) return E_FAIL;
    }
    return S_OK;
}

HRESULT UnregisterServer() {
    bool ok = true;
    // An unregistered type library is no failure; one that stays registered is.
    UnRegisterTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, kSysKind);
    if (KeyExists(TypeLibraryKey())) ok = false;
    for (const wchar_t* pattern : kRemovalOrder) {
        std::wstring key = Expand(pattern, L"");
        LONG result = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) ok = false;
    }
    return ok ? S_OK : E_FAIL;
}

}  // namespace tv::menu
