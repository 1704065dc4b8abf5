#include "app/command_line.h"

#include "base/constants.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/xml_text.h"

namespace tv {

namespace {
const wchar_t kBlankMark[] = L"?|?";

bool IsHandOffSwitch(const std::wstring& p) {
    return p == L"/run" || p == L"/install" || p == L"/runasadmin" || p == L"/run_admin";
}

// The receiver's filter: "/run_admin" never reaches a hand-off file, so it is not listed.
bool IsSkippedItem(const std::wstring& p) {
    return p.empty() || p == L"/run" || p == L"/install" || p == L"/runasadmin";
}

void AppendListSteps(const std::wstring& text, std::vector<IntakeStep>& steps) {
    for (const auto& raw : SplitItemList(text)) {
        std::wstring item = Trim(raw);
        if (IsSkippedItem(item)) continue;
        steps.push_back({IntakeStep::Kind::ListItem, ReplaceAll(ConvertItem(item), kBlankMark, L" ")});
    }
}
}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& cmd) {
    std::vector<std::wstring> out;
    size_t i = 0;
    const size_t n = cmd.size();
    for (;;) {
        while (i < n && cmd[i] <= L' ') ++i;
        if (i >= n) break;
        std::wstring arg;
        while (i < n && cmd[i] > L' ') {
            if (cmd[i] == L'"') {
                ++i;
                while (i < n && cmd[i] != L'"') arg += cmd[i++];
                if (i < n) ++i;
            } else {
                arg += cmd[i++];
            }
        }
        out.push_back(arg);
    }
    return out;
}

StartupSwitches ReadSwitches(const std::vector<std::wstring>& params) {
    StartupSwitches s;
    if (params.empty()) return s;
    std::wstring first = Trim(params.front()), last = Trim(params.back());
    s.replayMode = first == L"/run" || first == L"/run_admin";
    s.elevatedInstance = last == L"/runasadmin";
    s.installLast = last == L"/install";
    return s;
}

bool WantsElevationRestart(const std::vector<std::wstring>& params) {
    if (params.empty()) return true;
    std::wstring last = Trim(params.back());
    return last != L"/runasadmin" && last != L"/ctmenu" && last != L"/run_admin";
}

bool IsItemList(const std::wstring& text) { return text.find(L'*') != std::wstring::npos; }

std::vector<std::wstring> SplitItemList(const std::wstring& text) {
    std::vector<std::wstring> items;
    size_t start = 0;
    for (size_t star; (star = text.find(L'*', start)) != std::wstring::npos;) {
        if (static_cast<int>(items.size()) >= kMaxWalk) break;
        items.push_back(text.substr(start, star - start));
        start = star + 1;
    }
    return items;
}

std::vector<std::wstring> HandOffLines(const std::vector<std::wstring>& params,
                                       const MenuFileReader& readMenuFile) {
    std::vector<std::wstring> lines;
    for (const auto& p : params) {
        if (IsHandOffSwitch(p)) continue;
        if (p == L"/ctmenu") {
            std::vector<std::wstring> menuLines;
            if (readMenuFile && readMenuFile(menuLines)) lines = std::move(menuLines);
            break;
        }
        lines.push_back(p);
    }
    return lines;
}

std::wstring ConvertItem(const std::wstring& item) {
    return IsWebAddress(item) ? item : CommandLineProgramPath(item);
}

std::vector<IntakeStep> HandOffFileSteps(const std::vector<std::wstring>& fileLines) {
    std::vector<IntakeStep> steps;
    for (const auto& line : fileLines) {
        if (IsItemList(line)) {
            AppendListSteps(line, steps);
            continue;
        }
        std::wstring item = ReplaceAll(line, kBlankMark, L" ");
        if (IsSkippedItem(item)) continue;
        steps.push_back({IntakeStep::Kind::Item, ConvertItem(item)});
    }
    return steps;
}

std::vector<IntakeStep> CommandLineSteps(const std::vector<std::wstring>& params) {
    std::vector<IntakeStep> steps;
    for (const auto& p : params) {
        if (p.empty() || IsHandOffSwitch(p)) continue;
        if (p == L"/ctmenu") {
            steps.push_back({IntakeStep::Kind::Menu, L""});
        } else if (!IsItemList(p)) {
            std::wstring item = ConvertItem(p);
            if (!item.empty()) steps.push_back({IntakeStep::Kind::Item, item});
        } else {
            AppendListSteps(p, steps);
            steps.push_back({IntakeStep::Kind::ListEnd, L""});
        }
    }
    return steps;
}

std::vector<IntakeStep> MenuFileSteps(const std::vector<std::wstring>& fileLines) {
    std::vector<IntakeStep> steps;
    for (const auto& line : fileLines) steps.push_back({IntakeStep::Kind::Item, ConvertItem(line)});
    return steps;
}

bool CanEnterRecord(const std::wstring& item) { return !HasCharacterXmlForbids(item); }

std::vector<std::wstring> WithoutUnwritableLines(const std::vector<std::wstring>& lines,
                                                 std::vector<std::wstring>& refused) {
    std::vector<std::wstring> kept;
    kept.reserve(lines.size());
    for (const auto& line : lines) {
        if (CanEnterRecord(line)) kept.push_back(line);
        else refused.push_back(line);
    }
    return kept;
}

std::vector<IntakeStep> WithoutUnwritableItems(const std::vector<IntakeStep>& steps,
                                               std::vector<std::wstring>& refused) {
    std::vector<IntakeStep> kept;
    kept.reserve(steps.size());
    for (const auto& step : steps) {
        if (step.kind == IntakeStep::Kind::Item || step.kind == IntakeStep::Kind::ListItem) {
            if (!CanEnterRecord(step.path)) {
                refused.push_back(step.path);
                continue;
            }
        }
        kept.push_back(step);
    }
    return kept;
}

std::wstring RefusedItemMessage(const std::wstring& item) {
    std::wstring shown;
    for (size_t i = 0; i < item.size(); ++i) {
        wchar_t c = item[i];
        bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < item.size() && item[i + 1] >= 0xDC00 &&
                    item[i + 1] <= 0xDFFF;
        if (pair) {
            shown += item.substr(i++, 2);
        } else if (HasCharacterXmlForbids(std::wstring(1, c))) {
            shown += Format(L"<U+%04X>", static_cast<unsigned>(c));
        } else {
            shown += c;
        }
    }
    return L"Not added: a record cannot hold the marked character of\n" + shown;
}

}  // namespace tv
