#include "records/record_scan.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace tv {

namespace {

constexpr size_t kLevelLimit = 256;  // items deeper than this are not read
constexpr size_t kNestingLimit = 200;  // deeper files go to the XML library, which decides

struct Declined {};

class Scanner {
public:
    explicit Scanner(const std::wstring& text) : s_(text) {}

    std::vector<std::pair<std::wstring, std::wstring>> items;

    void Run() {
        if (At(0) == 0xFEFF) ++i_;
        if (Starts(L"<?xml") && IsBlank(At(5))) Declaration();
        SkipBlanks();
        if (At(0) != L'<') throw Declined();
        Elements();
        SkipBlanks();
        if (i_ != s_.size()) throw Declined();
    }

private:
    struct Open {
        std::wstring name;
        bool visited;  // its items count
        size_t children = 0;
    };

    wchar_t At(size_t k) const { return i_ + k < s_.size() ? s_[i_ + k] : 0; }
    bool Starts(const wchar_t* t) const { return s_.compare(i_, wcslen(t), t) == 0; }
    static bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }
    void SkipBlanks() {
        while (i_ < s_.size() && IsBlank(s_[i_])) ++i_;
    }
    void Expect(wchar_t c) {
        if (At(0) != c) throw Declined();
        ++i_;
    }

    // Plain names only: a prefix would need its namespace declared.
    std::wstring Name() {
        size_t start = i_;
        auto first = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
        auto next = [&first](wchar_t c) { return first(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.'; };
        if (!first(At(0))) throw Declined();
        while (next(At(0))) ++i_;
        return s_.substr(start, i_ - start);
    }

    static void Append(std::wstring& out, unsigned long code) {
        if (code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
            (code >= 0xE000 && code <= 0xFFFD)) {
            out += static_cast<wchar_t>(code);
        } else if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (code >> 10));
            out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            throw Declined();
        }
    }

    void Reference(std::wstring& out) {
        size_t end = s_.find(L';', i_);
        if (end == std::wstring::npos || end - i_ > 12) throw Declined();
        std::wstring ref = s_.substr(i_ + 1, end - i_ - 1);
        i_ = end + 1;
        if (ref == L"amp") out += L'&';
        else if (ref == L"lt") out += L'<';
        else if (ref == L"gt") out += L'>';
        else if (ref == L"quot") out += L'"';
        else if (ref == L"apos") out += L'\'';
        else if (ref.size() > 1 && ref[0] == L'#') {
            bool hex = ref[1] == L'x';
            std::wstring digits = ref.substr(hex ? 2 : 1);
            if (digits.empty()) throw Declined();
            unsigned long code = 0;
            for (wchar_t c : digits) {
                int d = c >= L'0' && c <= L'9' ? c - L'0'
                        : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                        : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                        : -1;
                if (d < 0) throw Declined();
                code = code * (hex ? 16 : 10) + static_cast<unsigned long>(d);
                if (code > 0x10FFFF) throw Declined();
            }
            Append(out, code);
        } else {
            throw Declined();
        }
    }

    // A quoted value with its references resolved and its line ends and blanks made spaces, as
    // the XML library hands it over.
    std::wstring Value() {
        wchar_t quote = At(0);
        if (quote != L'"' && quote != L'\'') throw Declined();
        ++i_;
        std::wstring out;
        for (;;) {
            wchar_t c = At(0);
            if (i_ >= s_.size() || c == L'<') throw Declined();
            if (c == quote) break;
            if (c == L'&') {
                Reference(out);
                continue;
            }
            if (c == L'\r') {
                if (At(1) == L'\n') ++i_;
                out += L' ';
            } else if (c == L'\t' || c == L'\n') {
                out += L' ';
            } else {
                out += c;
            }
            ++i_;
        }
        ++i_;
        return out;
    }

    // Attributes up to the end of a start tag; true when the element closes itself.
    bool Attributes(std::wstring& path, std::wstring& text) {
        std::vector<std::wstring> seen;
        for (;;) {
            bool blank = IsBlank(At(0));
            SkipBlanks();
            if (At(0) == L'>') {
                ++i_;
                return false;
            }
            if (Starts(L"/>")) {
                i_ += 2;
                return true;
            }
            if (!blank) throw Declined();
            std::wstring name = Name();
            for (const auto& n : seen)
                if (n == name) throw Declined();
            seen.push_back(name);
            SkipBlanks();
            Expect(L'=');
            SkipBlanks();
            std::wstring value = Value();
            if (name == L"path") path = std::move(value);
            else if (name == L"text") text = std::move(value);
        }
    }

    void Declaration() {
        i_ += 5;
        std::wstring version, encoding, standalone;
        std::vector<std::wstring> seen;
        for (;;) {
            SkipBlanks();
            if (Starts(L"?>")) {
                i_ += 2;
                break;
            }
            std::wstring name = Name();
            SkipBlanks();
            Expect(L'=');
            SkipBlanks();
            std::wstring value = Value();
            if (name == L"version" && seen.empty()) version = value;
            else if (name == L"encoding" && seen.size() == 1) encoding = value;
            else if (name == L"standalone" && (seen.size() == 1 || seen.size() == 2)) standalone = value;
            else throw Declined();
            seen.push_back(name);
        }
        for (wchar_t& c : encoding) c = static_cast<wchar_t>(towlower(c));
        if (version != L"1.0" || !(encoding.empty() || encoding == L"utf-8")) throw Declined();
        if (!(standalone.empty() || standalone == L"yes" || standalone == L"no")) throw Declined();
    }

    void Elements() {
        std::vector<Open> open;
        for (;;) {
            SkipBlanks();
            if (At(0) != L'<') throw Declined();  // text between items, or the end too soon
            if (At(1) == L'/') {
                i_ += 2;
                std::wstring name = Name();
                SkipBlanks();
                Expect(L'>');
                if (open.empty() || open.back().name != name) throw Declined();
                open.pop_back();
                if (open.empty()) return;
                continue;
            }
            if (At(1) == L'?' || At(1) == L'!') throw Declined();
            ++i_;
            std::wstring name = Name(), path, text;
            bool closed = Attributes(path, text);
            bool visited = false;
            if (!open.empty()) {
                Open& parent = open.back();
                bool top = open.size() == 1;
                visited = (top || parent.visited) && open.size() <= kLevelLimit;
                if (visited) items.emplace_back(std::move(path), std::move(text));
            }
            if (closed) {
                if (open.empty()) return;
                continue;
            }
            if (open.size() >= kNestingLimit) throw Declined();
            open.push_back({std::move(name), visited || open.empty()});
        }
    }

    const std::wstring& s_;
    size_t i_ = 0;
};

// The text of UTF-8 bytes; false when they are no valid UTF-8 or hold a character XML forbids.
bool Utf8Text(const std::string& bytes, std::wstring& text) {
    if (bytes.empty()) return false;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return false;
    text.assign(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    for (size_t k = 0; k < text.size(); ++k) {
        wchar_t c = text[k];
        if ((c < 0x20 && c != 0x9 && c != 0xA && c != 0xD) || c == 0xFFFE || c == 0xFFFF) return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (k + 1 >= text.size() || text[k + 1] < 0xDC00 || text[k + 1] > 0xDFFF) return false;
            ++k;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ScanRecordItems(const std::string& bytes, const ItemVisit& visit) {
    std::wstring text;
    if (!Utf8Text(bytes, text)) return false;
    Scanner scanner(text);
    try {
        scanner.Run();
    } catch (const Declined&) {
        return false;
    }
    for (const auto& [path, caption] : scanner.items) visit(path, caption);
    return true;
}

}  // namespace tv
