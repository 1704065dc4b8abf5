#pragma once
// The hand-off between the launcher and the 64-bit link opener: one shortcut path in
// "open64link.txt" of the data folder.
#include <string>

namespace tv {

constexpr wchar_t kOpen64LinkFileName[] = L"open64link.txt";
constexpr wchar_t kOpen64LinkProgram[] = L"TolvaneOpen64Link.exe";

// The shortcut named by the bytes of a hand-off file: its first line, trimmed, when that names
// a ".lnk" file. Empty for anything else (no line, a line with control characters, another
// kind of file), so a garbled file opens nothing.
std::wstring HandedOffShortcut(const std::string& bytes);

// The largest hand-off file read; anything bigger is no hand-off.
constexpr size_t kMaxHandOffBytes = 64 * 1024;

}  // namespace tv
