#pragma once
#include <windows.h>

#include <string>

namespace tv {

// "windows xp", "windows vista", "windows 7"...; "windows" alone for versions after 7.
std::wstring WindowsVersionName(DWORD platformId, DWORD major, DWORD minor);
// The name of the running system; empty when it cannot be worked out.
std::wstring CurrentWindowsVersionName();

}  // namespace tv
