// Writes the menu library's type library: its name, help string, identifier and version, and
// no type descriptions. Run under Wine by scripts/make_typelib.sh; the output is committed
// beside the library's other resources.
//   make_typelib <output.tlb> win32|win64
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>

#include "shellext/module.h"

using tv::menu::kLibId;

namespace {
int Fail(const char* step, HRESULT hr) {
    std::fprintf(stderr, "make_typelib: %s failed (0x%08lx)\n", step, static_cast<unsigned long>(hr));
    return 1;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 || (wcscmp(argv[2], L"win32") != 0 && wcscmp(argv[2], L"win64") != 0)) {
        std::fprintf(stderr, "usage: make_typelib <output.tlb> win32|win64\n");
        return 2;
    }
    SYSKIND kind = wcscmp(argv[2], L"win64") == 0 ? SYS_WIN64 : SYS_WIN32;
    ICreateTypeLib2* lib = nullptr;
    HRESULT hr = CreateTypeLib2(kind, argv[1], &lib);
    if (FAILED(hr)) return Fail("CreateTypeLib2", hr);
    wchar_t name[] = L"TolvaneMenuDLL";
    wchar_t help[] = L"TolvaneMenuDLL Library";
    if (FAILED(hr = lib->SetName(name))) return Fail("SetName", hr);
    if (FAILED(hr = lib->SetDocString(help))) return Fail("SetDocString", hr);
    if (FAILED(hr = lib->SetGuid(kLibId))) return Fail("SetGuid", hr);
    if (FAILED(hr = lib->SetVersion(1, 0))) return Fail("SetVersion", hr);
    if (FAILED(hr = lib->SetLcid(LOCALE_NEUTRAL))) return Fail("SetLcid", hr);
    if (FAILED(hr = lib->SaveAllChanges())) return Fail("SaveAllChanges", hr);
    lib->Release();
    return 0;
}
