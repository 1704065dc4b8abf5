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

void AppendXmlAttributeValue(std::wstring& out, const std::wstring& text) {
    size_t plain = 0;  // start of the characters not yet appended
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t* reference = nullptr;
        switch (text[i]) {
            case L'&': reference = L"&amp;"; break;
            case L'<': reference = L"&lt;"; break;
            case L'>': reference = L"&gt;"; break;
            case L'"': reference = L"&quot;"; break;
            case L'\t': reference = L"&#9;"; break;
            case L'\n': reference = L"&#10;"; break;
            case L'\r': reference = L"&#13;"; break;
            default: continue;
        }
        out.append(text, plain, i - plain);
        out += reference;
        plain = i + 1;
    }
    out.append(text, plain, std::wstring::npos);
}

}  // namespace tv
