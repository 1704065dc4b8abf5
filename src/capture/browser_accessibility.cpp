#include "capture/browser_accessibility.h"

#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "base/handles.h"
#include "base/late_imports.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/running_programs.h"

namespace tv {

namespace {

const wchar_t kChromiumFrame[] = L"Chrome_WidgetWin_1";
const wchar_t kFirefoxFrame[] = L"MozillaWindowClass";
const wchar_t* const kChromiumPrograms[] = {L"chrome.exe", L"msedge.exe", L"brave.exe", L"opera.exe", L"vivaldi.exe"};

// What a browser appends to the page title in its window title.
const wchar_t* const kBrowserTitleEnds[] = {
    L" - Google Chrome", L" - Microsoft\u200b Edge", L" - Microsoft Edge", L" - Brave", L" - Opera",
    L" - Vivaldi",       L" - Chromium",            L" \u2014 Mozilla Firefox", L" - Mozilla Firefox",
};

// A browser's own controls come before the page in its tree; a walk that goes no further than
// these bounds cannot be kept busy by a hostile or endless tree.
constexpr int kMaxElements = 2000;
constexpr int kMaxDepth = 32;

VARIANT ChildId(LONG id) {
    VARIANT v;
    late::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

LONG RoleOf(IAccessible* holder, const VARIANT& id) {
    VARIANT role;
    late::VariantInit(&role);
    if (FAILED(holder->get_accRole(id, &role))) return 0;
    LONG r = role.vt == VT_I4 ? role.lVal : 0;
    late::VariantClear(&role);
    return r;
}

bool FindAddress(IAccessible* parent, int depth, int& budget, std::wstring& value);

// Visits one child as AccessibleChildren gave it: an object of its own, or an element the
// parent answers for by its child id.
bool VisitChild(IAccessible* parent, const VARIANT& kid, int depth, int& budget, std::wstring& value) {
    ComPtr<IAccessible> object;
    IAccessible* holder = parent;
    VARIANT id = ChildId(CHILDID_SELF);
    if (kid.vt == VT_DISPATCH && kid.pdispVal) {
        if (FAILED(kid.pdispVal->QueryInterface(__uuidof(IAccessible), object.put_void()))) return false;
        holder = object.get();
    } else if (kid.vt == VT_I4) {
        id = kid;
    } else {
        return false;
    }
    const LONG role = RoleOf(holder, id);
    if (role == ROLE_SYSTEM_TEXT) {
        Bstr text;
        if (SUCCEEDED(holder->get_accValue(id, text.put()))) value = text.text();
        return true;
    }
    // The page's own text fields are no address.
    if (role == ROLE_SYSTEM_DOCUMENT || !object) return false;
    return FindAddress(object.get(), depth + 1, budget, value);
}

// The first editable text below `parent`, in tree order: true when there is one, with its
// value (which may be empty) in `value`.
bool FindAddress(IAccessible* parent, int depth, int& budget, std::wstring& value) {
    LONG count = 0;
    if (depth > kMaxDepth || budget <= 0 || FAILED(parent->get_accChildCount(&count)) || count <= 0) return false;
    count = std::min<LONG>(count, budget);
    std::vector<VARIANT> kids(static_cast<size_t>(count));
    for (VARIANT& kid : kids) late::VariantInit(&kid);
    LONG got = 0;
    if (FAILED(late::AccessibleChildren(parent, 0, count, kids.data(), &got))) got = 0;
    got = std::min(got, count);
    bool found = false;
    for (LONG i = 0; i < got; ++i) {
        if (!found && budget-- > 0) found = VisitChild(parent, kids[i], depth, budget, value);
        late::VariantClear(&kids[i]);
    }
    return found;
}

// What one reader thread and the recording share; the last of the two to let go frees it.
struct ReadBatch {
    std::vector<HWND> windows;
    DWORD limitMs = 0;
    std::mutex lock;
    std::vector<std::pair<bool, PagePair>> read;  // one per window finished, in order
    UniqueHandle answered{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    bool abandoned = false;
};

DWORD WINAPI ReadBatchThread(void* parameter) {
    std::unique_ptr<std::shared_ptr<ReadBatch>> hold(static_cast<std::shared_ptr<ReadBatch>*>(parameter));
    ReadBatch& batch = **hold;
    try {
        ComScope com(COINIT_MULTITHREADED);
        for (HWND window : batch.windows) {
            {
                std::lock_guard<std::mutex> guard(batch.lock);
                if (batch.abandoned) break;
            }
            PagePair page;
            bool ok = false;
            try {
                ok = ReadAccessiblePage(window, batch.limitMs, page);
            } catch (...) {
                ok = false;  // a window that fails gives no page
            }
            {
                std::lock_guard<std::mutex> guard(batch.lock);
                batch.read.emplace_back(ok, std::move(page));
            }
            SetEvent(batch.answered.get());
        }
    } catch (...) {
        // Nothing leaves the thread; the recording sees the windows it read.
    }
    return 0;
}

}  // namespace

bool IsAccessibleBrowserWindow(const std::wstring& className, const std::wstring& processName) {
    const std::wstring program = ToLower(processName);
    if (className == kFirefoxFrame) return program == L"firefox.exe";
    if (className != kChromiumFrame) return false;
    return std::any_of(std::begin(kChromiumPrograms), std::end(kChromiumPrograms),
                       [&](const wchar_t* name) { return program == name; });
}

std::wstring PageTitleOfWindowTitle(const std::wstring& windowTitle) {
    for (const wchar_t* end : kBrowserTitleEnds) {
        const size_t n = wcslen(end);
        if (windowTitle.size() > n && windowTitle.compare(windowTitle.size() - n, n, end) == 0)
            return windowTitle.substr(0, windowTitle.size() - n);
    }
    return windowTitle;
}

bool ReadAccessiblePage(HWND window, DWORD limitMs, PagePair& page) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG, limitMs,
                             &result) ||
        result == 0)
        return false;
    ComPtr<IAccessible> root;
    HRESULT hr = late::ObjectFromLresult(static_cast<LRESULT>(result), __uuidof(IAccessible), 0, root.put_void());
    if (FAILED(hr) || !root) return false;
    int budget = kMaxElements;
    std::wstring address;
    if (!FindAddress(root.get(), 0, budget, address)) return false;
    Bstr name;
    if (FAILED(root->get_accName(ChildId(CHILDID_SELF), name.put()))) name.reset();
    // The address bar shows a page's address as the window-text route reads it: a host alone
    // is taken as a web address.
    return ChromePage({PageTitleOfWindowTitle(Trim(name.text())), address}, page);
}

void AppendNewPages(std::vector<PagePair>& pages, const std::vector<PagePair>& more) {
    for (const PagePair& page : more) {
        const std::wstring key = ToLower(Trim(page.address));
        bool known = std::any_of(pages.begin(), pages.end(),
                                 [&](const PagePair& p) { return ToLower(Trim(p.address)) == key; });
        if (!known) pages.push_back(page);
    }
}

std::vector<HWND> AccessibleBrowserPages::BrowserWindows() {
    RealBrowserWindows windows;
    RealDesktopWindows desktop;
    std::unordered_map<DWORD, std::wstring> programOf;  // a process is asked once
    std::vector<HWND> browsers;
    for (HWND window : windows.TopLevelWindows()) {
        if (!IsWindowVisible(window)) continue;
        const std::wstring className = windows.ClassName(window);
        if (className != kChromiumFrame && className != kFirefoxFrame) continue;
        const DWORD pid = desktop.ProcessIdOf(window);
        auto known = programOf.find(pid);
        if (known == programOf.end()) known = programOf.emplace(pid, FileNameOf(desktop.ProgramPathOf(pid))).first;
        if (IsAccessibleBrowserWindow(className, known->second)) browsers.push_back(window);
    }
    return browsers;
}

std::vector<PagePair> AccessibleBrowserPages::Read(const std::vector<HWND>& windows) const {
    // One reader a browser process, all reading at once: the browsers answer side by side, and
    // the windows of one process share its hang when it has one.
    std::vector<std::shared_ptr<ReadBatch>> batches;
    std::unordered_map<DWORD, size_t> batchOf;
    for (HWND window : windows) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        auto known = batchOf.find(pid);
        if (known == batchOf.end()) {
            known = batchOf.emplace(pid, batches.size()).first;
            batches.push_back(std::make_shared<ReadBatch>());
            batches.back()->limitMs = limitMs_;
        }
        batches[known->second]->windows.push_back(window);
    }
    std::vector<std::shared_ptr<ReadBatch>> started;
    for (const auto& batch : batches) {
        if (!batch->answered.valid()) continue;
        auto* share = new std::shared_ptr<ReadBatch>(batch);
        UniqueHandle thread(CreateThread(nullptr, 0, ReadBatchThread, share, 0, nullptr));
        if (thread.valid())
            started.push_back(batch);
        else
            delete share;
    }
    std::vector<PagePair> pages;
    for (const auto& batch : started) {
        size_t taken = 0;
        for (;;) {
            const bool timedOut = WaitForSingleObject(batch->answered.get(), limitMs_) == WAIT_TIMEOUT;
            std::lock_guard<std::mutex> guard(batch->lock);
            for (; taken < batch->read.size(); ++taken)
                if (batch->read[taken].first) pages.push_back(batch->read[taken].second);
            if (taken == batch->windows.size()) break;
            if (timedOut) {
                // The browser keeps its reader and the rest of its windows.
                batch->abandoned = true;
                break;
            }
        }
    }
    return pages;
}

const std::vector<PagePair>& AccessibleBrowserPages::Pages() {
    if (!read_) pages_ = Read(BrowserWindows());
    read_ = true;
    return pages_;
}

}  // namespace tv
