#include "shellext/menu_client.h"

#include <tlhelp32.h>

#include <cwchar>

#include "base/text_file.h"

namespace tvtest::menu {

namespace {

class DataObject : public IDataObject {
public:
    DataObject(std::vector<std::wstring> paths, bool offersDrop)
        : paths_(std::move(paths)), offersDrop_(offersDrop) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        HRESULT hr = QueryGetData(format);
        if (FAILED(hr)) return hr;
        // The list ends with an empty name; an empty list is two zeros, as Wine's reader
        // counts past a lone one.
        size_t chars = paths_.empty() ? 2 : 1;
        for (const auto& p : paths_) chars += p.size() + 1;
        HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        if (!block) return E_OUTOFMEMORY;
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        auto* out = reinterpret_cast<wchar_t*>(drop + 1);
        for (const auto& p : paths_) {
            wmemcpy(out, p.c_str(), p.size() + 1);
            out += p.size() + 1;
        }
        GlobalUnlock(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        if (!offersDrop_ || format->cfFormat != CF_HDROP) return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        return S_OK;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    virtual ~DataObject() = default;
    ULONG refs_ = 1;
    std::vector<std::wstring> paths_;
    bool offersDrop_;
};

}  // namespace

long RunRegsvr32(const std::wstring& dll, bool unregister) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    Process regsvr;
    std::wstring params = std::wstring(unregister ? L"/u " : L"") + L"/s \"" + dll + L"\"";
    if (!regsvr.Start(std::wstring(system) + L"\\regsvr32.exe", params)) return -2;
    return regsvr.Wait(60000);
}

bool RegKeyExists(const std::wstring& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

std::wstring RegString(const std::wstring& key, const wchar_t* name, bool* found) {
    if (found) *found = false;
    wchar_t buf[2048] = {};
    DWORD size = sizeof(buf) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return {};
    if (found) *found = true;
    return buf;
}

std::set<std::wstring> SubkeyNames(const std::wstring& key) {
    std::set<std::wstring> names;
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
    wchar_t name[512];
    for (DWORD i = 0;; ++i) {
        DWORD len = 512;
        if (RegEnumKeyExW(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.insert(name);
    }
    RegCloseKey(h);
    return names;
}

LibraryFolder::LibraryFolder() {
    folder_ = dir_.file(L"menu lib");
    CreateDirectoryW(folder_.c_str(), nullptr);
    dll_ = folder_ + L"\\" + kLibraryName;
    CopyFileW((ExeFolder() + L"\\" + kLibraryName).c_str(), dll_.c_str(), FALSE);
}

bool LibraryFolder::PutProgram(const std::wstring& exeName) {
    return CopyFileW((ExeFolder() + L"\\" + exeName).c_str(), file(L"tolvane.exe").c_str(), FALSE) !=
           FALSE;
}

void LibraryFolder::Clear() {
    DeleteFileW(file(L"tolvane.exe").c_str());
    DeleteFileW(file(L"starts.txt").c_str());
}

tv::ComPtr<IDataObject> NewDropData(const std::vector<std::wstring>& paths) {
    tv::ComPtr<IDataObject> data;
    *data.put() = new DataObject(paths, true);
    return data;
}

tv::ComPtr<IDataObject> NewFormatlessData() {
    tv::ComPtr<IDataObject> data;
    *data.put() = new DataObject({}, false);
    return data;
}

HRESULT ShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names,
                        IDataObject** out) {
    *out = nullptr;
    IShellFolder* desktop = nullptr;
    HRESULT hr = SHGetDesktopFolder(&desktop);
    if (FAILED(hr)) return hr;
    PIDLIST_RELATIVE folderId = nullptr;
    hr = desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(folder.c_str()), nullptr,
                                   &folderId, nullptr);
    IShellFolder* parent = nullptr;
    if (SUCCEEDED(hr)) hr = desktop->BindToObject(folderId, nullptr, IID_IShellFolder, (void**)&parent);
    std::vector<PITEMID_CHILD> children;
    for (const auto& name : names) {
        if (FAILED(hr)) break;
        PIDLIST_RELATIVE child = nullptr;
        hr = parent->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(name.c_str()), nullptr,
                                      &child, nullptr);
        if (SUCCEEDED(hr)) children.push_back(reinterpret_cast<PITEMID_CHILD>(child));
    }
    if (SUCCEEDED(hr))
        hr = parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                                   const_cast<PCUITEMID_CHILD_ARRAY>(children.data()), IID_IDataObject,
                                   nullptr, reinterpret_cast<void**>(out));
    for (auto c : children) CoTaskMemFree(c);
    if (parent) parent->Release();
    CoTaskMemFree(folderId);
    desktop->Release();
    return hr;
}

void WaitForProcessesToEnd(const wchar_t* exeName, DWORD timeoutMs) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    std::vector<HANDLE> running;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName) != 0) continue;
        if (HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) running.push_back(p);
    }
    CloseHandle(snapshot);
    for (HANDLE p : running) {
        WaitForSingleObject(p, timeoutMs);
        CloseHandle(p);
    }
}

std::vector<std::wstring> StartsNoted(const LibraryFolder& folder) {
    std::string bytes = ReadAll(folder.file(L"starts.txt"));
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    return tv::SplitLines(text);
}

}  // namespace tvtest::menu
