#include "base/xml_text.h"

namespace tv {

namespace {
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// How many characters of `text` from `i` on make one character XML 1.0 carries (2 for a
// surrogate pair); 0 when the character there is forbidden.
size_t AllowedLength(const std::wstring& text, size_t i) {
    wchar_t c = text[i];
    if (c < 0x20) return c == L'\t' || c == L'\r' || c == L'\n' ? 1 : 0;
    if (c == 0xFFFE || c == 0xFFFF || IsLowSurrogate(c)) return 0;  // a low half alone too
    if (IsHighSurrogate(c)) return i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 0;
    return 1;
}
}  // namespace

bool HasCharacterXmlForbids(const std::wstring& text) {
    for (size_t i = 0; i < text.size();) {
        size_t n = AllowedLength(text, i);
        if (!n) return true;
        i += n;
    }
    return false;
}

std::wstring WithoutXmlForbidden(const std::wstring& text) {
    std::wstring kept;
    kept.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t n = AllowedLength(text, i);
        kept.append(text, i, n);
        i += n ? n : 1;
    }
    return kept;
}

}  // namespace tv
