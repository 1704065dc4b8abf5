#pragma once
// Small string rules shared by the whole program. Text is UTF-16 inside; ANSI and UTF-8
// only at the edges that need them.
#include <string>
#include <vector>

namespace tv {

// Blanks and control characters (code <= 32) are trimmed, as the program has always done.
std::wstring Trim(const std::wstring& s);
std::wstring ToLower(const std::wstring& s);
std::wstring ToUpper(const std::wstring& s);
bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix);
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);
std::wstring ReplaceAll(std::wstring s, const std::wstring& from, const std::wstring& to);

// Conversions at the edges; invalid input never fails, it is replaced.
std::wstring FromCodePage(const std::string& s, unsigned codePage);
std::string ToCodePage(const std::wstring& s, unsigned codePage);
inline std::wstring FromAnsi(const std::string& s) { return FromCodePage(s, 0 /*CP_ACP*/); }
inline std::string ToAnsi(const std::wstring& s) { return ToCodePage(s, 0 /*CP_ACP*/); }
std::wstring FromUtf8(const std::string& s);
std::string ToUtf8(const std::wstring& s);

// A 32-bit integer: decimal with an optional sign, or hexadecimal after "$", "0x" or "0X".
// False for anything else, including values out of range.
bool ParseInteger(const std::wstring& text, int& value);

// The system's own text for an error code (FormatMessage), without its closing line break;
// the code in figures when the system has no text for it.
std::wstring SystemMessageText(unsigned long error);

// printf-style formatting into a wide string.
std::wstring Format(const wchar_t* fmt, ...);

}  // namespace tv
