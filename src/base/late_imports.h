#pragma once
// Functions of system libraries that the first paint does not need. Each library is loaded the
// first time one of its functions is called (reading a record, asking a page for its title,
// reading a browser's pages), so a start does not pay for loading it and what it pulls in.
// Every function here is safe to call from any thread. Should a library be missing, calls fail
// the way the function reports failure (E_FAIL, null, FALSE) and change nothing.
#include <windows.h>
#include <oleacc.h>
#include <oleauto.h>
#include <wininet.h>

namespace tv::late {

// oleaut32
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
void VariantInit(VARIANTARG* value);
HRESULT VariantClear(VARIANTARG* value);
HRESULT VariantChangeType(VARIANTARG* to, VARIANTARG* from, USHORT flags, VARTYPE type);

// oleacc
HRESULT AccessibleChildren(IAccessible* parent, LONG first, LONG count, VARIANT* children, LONG* got);
HRESULT ObjectFromLresult(LRESULT result, REFIID iid, WPARAM wParam, void** object);

// wininet
HINTERNET InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags);
HINTERNET InternetOpenUrlW(HINTERNET session, LPCWSTR url, LPCWSTR headers, DWORD headersLength, DWORD flags,
                           DWORD_PTR context);
BOOL InternetReadFile(HINTERNET file, void* buffer, DWORD size, DWORD* read);
BOOL InternetSetOptionW(HINTERNET handle, DWORD option, void* buffer, DWORD length);
INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET handle, INTERNET_STATUS_CALLBACK callback);
BOOL InternetCloseHandle(HINTERNET handle);

}  // namespace tv::late
