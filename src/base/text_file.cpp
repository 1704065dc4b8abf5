#include "base/text_file.h"

#include "base/file_util.h"
#include "base/strings.h"

namespace tv {

namespace {
std::wstring DecodeUtf16(const std::string& bytes, size_t start, bool bigEndian) {
    size_t count = (bytes.size() - start) / 2;  // an odd last byte is no character
    std::wstring out(count, L'\0');
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + start;
    for (size_t i = 0; i < count; ++i) {
        unsigned lo = p[2 * i], hi = p[2 * i + 1];
        out[i] = static_cast<wchar_t>(bigEndian ? (lo << 8) | hi : (hi << 8) | lo);
    }
    return out;
}

bool HasPrefix(const std::string& s, const char* prefix, size_t n) {
    return s.size() >= n && s.compare(0, n, prefix, n) == 0;
}
}  // namespace

std::wstring DecodeText(const std::string& bytes) {
    if (HasPrefix(bytes, "\xFF\xFE", 2)) return DecodeUtf16(bytes, 2, false);
    if (HasPrefix(bytes, "\xFE\xFF", 2)) return DecodeUtf16(bytes, 2, true);
    if (HasPrefix(bytes, "\xEF\xBB\xBF", 3)) return FromUtf8(bytes.substr(3));
    return FromAnsi(bytes);
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0, i = 0;
    const size_t n = text.size();
    while (i < n) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.emplace_back(text, start, i - start);
            if (c == L'\r' && i + 1 < n && text[i + 1] == L'\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n) lines.emplace_back(text, start, n - start);
    return lines;
}

std::string EncodeLines(const std::vector<std::wstring>& lines) {
    size_t total = 2;
    for (const auto& l : lines) total += (l.size() + 2) * 2;
    std::string out;
    out.reserve(total);
    out.append("\xFF\xFE", 2);
    auto put = [&out](wchar_t c) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    };
    for (const auto& l : lines) {
        for (wchar_t c : l) put(c);
        put(L'\r');
        put(L'\n');
    }
    return out;
}

bool ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines) {
    lines.clear();
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) return false;
    lines = SplitLines(DecodeText(bytes));
    return true;
}

bool WriteTextLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    return WriteFileAtomic(path, EncodeLines(lines));
}

}  // namespace tv
