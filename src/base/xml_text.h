#pragma once
// What an XML 1.0 document can carry. A record file holding anything else cannot be read
// back, so no such text may reach an item or a record file.
#include <string>

namespace tv {

// True when `text` holds a character XML 1.0 forbids: a control character other than tab,
// CR and LF, U+FFFE, U+FFFF, or half of a surrogate pair without its other half.
bool HasCharacterXmlForbids(const std::wstring& text);
// `text` with every such character left out (a caption of the program's own may lose them; a
// path may not, it would name another file).
std::wstring WithoutXmlForbidden(const std::wstring& text);
// Appends `text` as the value of an attribute quoted with '"': markup characters as entity
// references, and tab, CR and LF as character references, which a reader hands back as they
// are (written plainly it would read them as blanks).
void AppendXmlAttributeValue(std::wstring& out, const std::wstring& text);

}  // namespace tv
