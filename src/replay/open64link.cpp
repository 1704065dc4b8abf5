#include "replay/open64link.h"

#include <vector>

#include "base/path_rules.h"
#include "base/strings.h"
#include "base/text_file.h"

namespace tv {

std::wstring HandedOffShortcut(const std::string& bytes) {
    if (bytes.size() > kMaxHandOffBytes) return {};
    std::vector<std::wstring> lines = SplitLines(DecodeText(bytes));
    if (lines.empty()) return {};
    std::wstring path = Trim(lines.front());
    for (wchar_t c : path)
        if (c < 32) return {};
    std::wstring name = FileNameOf(path);
    if (name.size() <= 4 || ToLower(name.substr(name.size() - 4)) != L".lnk") return {};
    return path;
}

}  // namespace tv
