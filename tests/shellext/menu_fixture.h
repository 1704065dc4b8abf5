#pragma once
// Tests that need the library registered: one registration per test suite, in a folder whose
// name holds a blank, and COM for the test thread. With TOLVANE_INSTALLED_MENU_LIBRARY set to
// the path the installation registered, they run against that installed library instead,
// registered by the package and reached only through the registry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <memory>

#include "base/handles.h"
#include "base/strings.h"
#include "shellext/menu_client.h"

namespace tvtest::menu {

class RegisteredLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (const wchar_t* installed = _wgetenv(L"TOLVANE_INSTALLED_MENU_LIBRARY")) {
            registered_ = _wcsicmp(LongPath(RegisteredServer()).c_str(), installed) == 0;
            return;
        }
        library_ = std::make_unique<LibraryFolder>();
        registered_ = RunRegsvr32(library_->dll(), false) == 0;
    }
    static void TearDownTestSuite() {
        if (registered_ && library_) RunRegsvr32(library_->dll(), true);
        CoUninitialize();  // lets COM free the library before its folder goes
        library_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(registered_) << "registered server: " << tv::ToUtf8(RegisteredServer());
        if (library_) library_->Clear();
    }

    static LibraryFolder& library() { return *library_; }

    // A new handler made through COM as Explorer makes it, set up with `data` when given.
    static tv::ComPtr<IContextMenu3> NewHandler(IDataObject* data = nullptr) {
        tv::ComPtr<IShellExtInit> init;
        if (FAILED(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                    init.put_void())))
            return {};
        if (data && FAILED(init->Initialize(nullptr, data, nullptr))) return {};
        tv::ComPtr<IContextMenu3> menu;
        init->QueryInterface(IID_IContextMenu3, menu.put_void());
        return menu;
    }
    static tv::ComPtr<IContextMenu3> HandlerFor(const std::vector<std::wstring>& paths) {
        return NewHandler(NewDropData(paths).get());
    }

    static std::wstring LongPath(const std::wstring& path) {
        wchar_t full[MAX_PATH] = {};
        DWORD n = GetLongPathNameW(path.c_str(), full, MAX_PATH);
        return n && n < MAX_PATH ? std::wstring(full) : path;
    }
    static std::wstring RegisteredServer() {
        return RegString(std::wstring(L"CLSID\\") + kClsidText + L"\\InprocServer32", nullptr);
    }
    // The library as COM loaded it, from the registered (short) path.
    static HMODULE LoadedLibrary() { return GetModuleHandleW(RegisteredServer().c_str()); }
    // One of its exports, as Explorer's COM reaches it.
    template <class F>
    static F Export(const char* name) {
        return reinterpret_cast<F>(GetProcAddress(LoadedLibrary(), name));
    }

private:
    static inline std::unique_ptr<LibraryFolder> library_;
    static inline bool registered_ = false;
};

// Invokes the item by its command offset.
inline HRESULT InvokeOffset(IContextMenu* menu, UINT offset) {
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

}  // namespace tvtest::menu
