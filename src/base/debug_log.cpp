#include "base/debug_log.h"

#include <windows.h>

#include <string>

namespace tv {

void LogSwallowed(const wchar_t* where) {
    std::wstring line = L"TolVane: a failure was ignored in ";
    line += where ? where : L"?";
    line += L"\n";
    OutputDebugStringW(line.c_str());
}

}  // namespace tv
