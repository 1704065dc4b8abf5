#pragma once
// The program's text files ("sendparam.txt", "ctmenu.txt", selection files...): one reader
// and one writer serve them all.
#include <string>
#include <vector>

namespace tv {

// Decodes file bytes by their byte-order mark: FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF
// UTF-8, none the ANSI code page. The mark is not part of the text.
std::wstring DecodeText(const std::string& bytes);

// Splits text into lines ended by CR LF, CR or LF. A final line ending adds no empty line.
std::vector<std::wstring> SplitLines(const std::wstring& text);

// Byte-order mark FF FE, then UTF-16LE, every line (the last included) ended by CR LF.
std::string EncodeLines(const std::vector<std::wstring>& lines);

// False when the file cannot be read; a missing file is such a case.
bool ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines);
// Written through a temporary file that replaces the old one.
bool WriteTextLines(const std::wstring& path, const std::vector<std::wstring>& lines);

}  // namespace tv
