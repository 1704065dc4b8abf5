#include "base/late_imports.h"

#include <string>

namespace tv::late {

namespace {

// A function of a library in the system folder, loaded on the first call for it; null when the
// library or the function is missing. Libraries stay loaded for the rest of the run.
FARPROC SystemFunction(const wchar_t* library, const char* name) {
    wchar_t folder[MAX_PATH];
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    // A full path, so a library of the same name beside the program or in the current folder is
    // never taken instead.
    HMODULE module = LoadLibraryW((std::wstring(folder, n) + L"\\" + library).c_str());
    return module ? GetProcAddress(module, name) : nullptr;
}

// Each function is looked up once, whichever thread asks first (static locals are made once).
#define TV_LATE(library, function)                                                                        \
    static const auto fn = reinterpret_cast<decltype(&::function)>(                                       \
        reinterpret_cast<void*>(SystemFunction(library, #function)))

constexpr const wchar_t* kAutomation = L"oleaut32.dll";
constexpr const wchar_t* kAccessibility = L"oleacc.dll";
constexpr const wchar_t* kInternet = L"wininet.dll";

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    TV_LATE(kAutomation, SysAllocStringLen);
    return fn ? fn(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
    TV_LATE(kAutomation, SysFreeString);
    if (fn) fn(text);
}

UINT SysStringLen(BSTR text) {
    TV_LATE(kAutomation, SysStringLen);
    return fn ? fn(text) : 0;
}

void VariantInit(VARIANTARG* value) {
    // What the library's own does: an empty value. No library needed for that.
    value->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* value) {
    TV_LATE(kAutomation, VariantClear);
    return fn ? fn(value) : E_FAIL;
}

HRESULT VariantChangeType(VARIANTARG* to, VARIANTARG* from, USHORT flags, VARTYPE type) {
    TV_LATE(kAutomation, VariantChangeType);
    return fn ? fn(to, from, flags, type) : E_FAIL;
}

HRESULT AccessibleChildren(IAccessible* parent, LONG first, LONG count, VARIANT* children, LONG* got) {
    TV_LATE(kAccessibility, AccessibleChildren);
    return fn ? fn(parent, first, count, children, got) : E_FAIL;
}

HRESULT ObjectFromLresult(LRESULT result, REFIID iid, WPARAM wParam, void** object) {
    TV_LATE(kAccessibility, ObjectFromLresult);
    return fn ? fn(result, iid, wParam, object) : E_FAIL;
}

HINTERNET InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags) {
    TV_LATE(kInternet, InternetOpenW);
    return fn ? fn(agent, access, proxy, bypass, flags) : nullptr;
}

HINTERNET InternetOpenUrlW(HINTERNET session, LPCWSTR url, LPCWSTR headers, DWORD headersLength, DWORD flags,
                           DWORD_PTR context) {
    TV_LATE(kInternet, InternetOpenUrlW);
    return fn ? fn(session, url, headers, headersLength, flags, context) : nullptr;
}

BOOL InternetReadFile(HINTERNET file, void* buffer, DWORD size, DWORD* read) {
    TV_LATE(kInternet, InternetReadFile);
    return fn ? fn(file, buffer, size, read) : FALSE;
}

BOOL InternetSetOptionW(HINTERNET handle, DWORD option, void* buffer, DWORD length) {
    TV_LATE(kInternet, InternetSetOptionW);
    return fn ? fn(handle, option, buffer, length) : FALSE;
}

INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET handle, INTERNET_STATUS_CALLBACK callback) {
    TV_LATE(kInternet, InternetSetStatusCallbackW);
    return fn ? fn(handle, callback) : INTERNET_INVALID_STATUS_CALLBACK;
}

BOOL InternetCloseHandle(HINTERNET handle) {
    TV_LATE(kInternet, InternetCloseHandle);
    return fn ? fn(handle) : FALSE;
}

#undef TV_LATE

}  // namespace tv::late
