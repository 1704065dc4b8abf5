#include "base/xml_text.h"

namespace tv {

namespace {
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
}  // namespace

bool HasCharacterXmlForbids(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c < 0x20) {
            if (c != L'\t' && c != L'\r' && c != L'\n') return true;
        } else if (c == 0xFFFE || c == 0xFFFF) {
            return true;
        } else if (IsHighSurrogate(c)) {
            if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1])) return true;
            ++i;  // the pair is one character
        } else if (IsLowSurrogate(c)) {
            return true;  // a low half with no high half before it
        }
    }
    return false;
}

}  // namespace tv
