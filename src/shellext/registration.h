#pragma once
// The library's entries in HKEY_CLASSES_ROOT and its type library.
#include <windows.h>

#include <string>

namespace tv::menu {

// "TolvaneMenuDLL" and the handler's class name.
inline constexpr wchar_t kProgId[] = L"TolvaneMenuDLL.MyContextMenu";

// The library path as registered: its short form when the path holds a blank.
std::wstring RegisteredPath(const std::wstring& libraryPath);

HRESULT RegisterServer(const std::wstring& libraryPath);
HRESULT UnregisterServer();

}  // namespace tv::menu
