#include "capture/open_locations.h"

#include <commctrl.h>
#include <exdisp.h>

#include "base/debug_log.h"
#include "base/constants.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/late_imports.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/program_records.h"
#include "capture/recent_documents.h"

namespace tv {

namespace {
std::wstring Key(const std::wstring& s) { return ToLower(Trim(s)); }

std::wstring FromBstr(BSTR s) { return s ? std::wstring(s, late::SysStringLen(s)) : std::wstring(); }

class ShellBrowser : public ShellBrowserWindow {
public:
    explicit ShellBrowser(ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}

    std::wstring LocationURL() override {
        Bstr url;
        if (FAILED(browser_->get_LocationURL(url.put()))) return {};
        return url.text();
    }

    bool HasDocument() override { return Document(); }

    bool DocumentTitle(std::wstring& title) override {
        if (!Document()) return false;
        OLECHAR name[] = L"title";
        LPOLESTR names[] = {name};
        DISPID id = 0;
        if (FAILED(document_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
        DISPPARAMS none{};
        VARIANT result;
        late::VariantInit(&result);
        HRESULT hr = document_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                                       nullptr, nullptr);
        bool ok = SUCCEEDED(hr) && SUCCEEDED(late::VariantChangeType(&result, &result, 0, VT_BSTR));
        if (ok) title = FromBstr(result.bstrVal);
        late::VariantClear(&result);
        return ok;
    }

private:
    bool Document() {
        if (!document_) browser_->get_Document(document_.put());
        return static_cast<bool>(document_);
    }
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IDispatch> document_;
};

bool IsRemovableTitle(const std::wstring& title, const DriveTypeQuery& driveType) {
    // Only a drive ("E:") can be removable; a page title must not reach the drive query.
    if (title.size() < 2 || title[1] != L':') return false;
    return driveType(ToUpper(title.substr(0, 2)) + L"\\") == DRIVE_REMOVABLE;
}

bool Matches(const std::wstring& p, const std::wstring& l) {
    return p == l || p + L'\\' == l || l + L'\\' == p;
}

void SetCell(HWND listView, int row, int column, const std::wstring& text) {
    LVITEMW sub{};
    sub.iSubItem = column;
    sub.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(listView, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
}
}  // namespace

struct ShellWindowsHold::Impl {
    ComPtr<IShellWindows> windows;
};

ShellWindowsHold::ShellWindowsHold() : impl_(std::make_unique<Impl>()) {}
ShellWindowsHold::~ShellWindowsHold() = default;

struct TShellWindows::Impl {
    ComPtr<IShellWindows> windows;
};

namespace {
ComPtr<IShellWindows> MakeShellWindows() {
    ComPtr<IShellWindows> windows;
    CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.put_void());
    return windows;
}
}  // namespace

TShellWindows::TShellWindows(ShellWindowsHold* hold) : impl_(std::make_unique<Impl>()) {
    if (!hold) {
        impl_->windows = MakeShellWindows();
        return;
    }
    ComPtr<IShellWindows>& kept = hold->impl_->windows;
    long count = 0;
    // A collection whose Explorer has gone is made again. One that cannot count at all (Wine's)
    // has not gone: making it again would cost every scan the request to Explorer for nothing.
    const HRESULT counted = kept ? kept->get_Count(&count) : E_FAIL;
    if (!kept || (FAILED(counted) && counted != E_NOTIMPL)) kept = MakeShellWindows();
    if (kept) kept->QueryInterface(IID_IShellWindows, impl_->windows.put_void());
}

TShellWindows::~TShellWindows() = default;

int TShellWindows::Count() {
    long count = 0;
    if (!impl_->windows || FAILED(impl_->windows->get_Count(&count)) || count < 0) return 0;
    return static_cast<int>(count);
}

std::unique_ptr<ShellBrowserWindow> TShellWindows::Item(int index) {
    if (!impl_->windows) return nullptr;
    VARIANT at;
    late::VariantInit(&at);
    at.vt = VT_I4;
    at.lVal = index;
    ComPtr<IDispatch> item;
    if (FAILED(impl_->windows->Item(at, item.put())) || !item) return nullptr;
    ComPtr<IWebBrowser2> browser;
    if (FAILED(item->QueryInterface(IID_IWebBrowser2, browser.put_void())) || !browser) return nullptr;
    return std::make_unique<ShellBrowser>(std::move(browser));
}

std::wstring DecodeFileAddress(const std::wstring& address) {
    std::wstring out;
    out.reserve(address.size());
    for (size_t i = 0; i < address.size(); ++i) {
        if (address[i] == L'%' && i + 2 < address.size() && address[i + 1] == L'2' &&
            (address[i + 2] == L'0' || address[i + 2] == L'5')) {
            out += address[i + 2] == L'0' ? L' ' : L'%';
            i += 2;
        } else {
            out += address[i];
        }
    }
    return out;
}

std::vector<LocationPair> ScanOpenLocations(ShellWindowCollection& windows, bool includeWebPages,
                                            bool recordWebPages, const LocationScanServices& services) {
    auto directoryExists = services.directoryExists
                               ? services.directoryExists
                               : std::function<bool(const std::wstring&)>([](const std::wstring& p) {
                                     return DirectoryExists(p);
                                 });
    const bool webPages = includeWebPages || recordWebPages;
    std::vector<LocationPair> list;
    int count = windows.Count();
    for (int i = 0; i < count; ++i) {
        try {
            std::unique_ptr<ShellBrowserWindow> window = windows.Item(i);
            if (!window) continue;
            std::wstring url = window->LocationURL();
            if (url.empty() || !window->HasDocument()) continue;
            std::wstring a = Trim(url);
            std::wstring location, title;
            bool pseudo = false;
            if (StartsWithNoCase(a, L"file:///")) {
                location = ReplaceAll(DecodeFileAddress(a.substr(8)), L"/", L"\\");
                title = FileNameOf(location);
                if (title.empty()) {
                    location = NormaliseFolder(location);
                    title = DisplayNameOfPath(location, directoryExists);
                }
            } else if (StartsWithNoCase(a, L"file://")) {
                location = ReplaceAll(DecodeFileAddress(a.substr(5)), L"/", L"\\");
                title = location;
            } else {
                if (!webPages) continue;
                a = ReplaceAll(a, L"%25", L"%");
                pseudo = IsPseudoPage(a);
                if (!window->DocumentTitle(title)) title = a;
                location = a;
            }
            if (pseudo) continue;
            bool listed = false;
            for (const auto& pair : list)
                if (Key(pair.location) == Key(location)) listed = true;
            if (listed) continue;
            if (IsRemovableTitle(title, services.driveType))
                title = L"Removable Disk (" + ToUpper(title.substr(0, 2)) + L")";
            list.push_back({location, title});
        } catch (...) {
            // A failure inside one window skips only that window.
        }
    }
    if (webPages) {
        try {
            for (const PagePair& page : services.otherBrowsers()) list.push_back({page.address, page.title});
        } catch (...) {
            // The collection's pairs stay listed.
        }
    }
    return list;
}

std::vector<LocationNode> LocationNodesOf(const ShownRecord& record) {
    std::vector<LocationNode> nodes;
    for (const auto& node : record.docs.top()) {
        if (static_cast<int>(nodes.size()) >= kMaxWalk) break;
        LocationNode n;
        if (record.items.Valid(node->data.itemIndex)) n.path = record.items.At(node->data.itemIndex).path;
        for (const auto& child : node->children)
            if (record.items.Valid(child->data.itemIndex)) n.childPaths.push_back(record.items.At(child->data.itemIndex).path);
        nodes.push_back(std::move(n));
    }
    return nodes;
}

bool LocationInRecord(const std::wstring& location, const std::vector<LocationNode>& nodes) {
    if (Trim(location).empty()) return true;
    const std::wstring l = Key(CommandLineProgramPath(location));
    int visited = 0;
    for (const auto& node : nodes) {
        if (++visited > kMaxWalk) break;
        if (Matches(Key(node.path), l)) return true;
        for (const auto& child : node.childPaths)
            if (Matches(Key(child), l)) return true;
    }
    return false;
}

bool RecordOpenLocations(const std::vector<LocationPair>& locations, bool recordWebPages,
                         const std::function<std::vector<PagePair>()>& otherBrowsers, LocationRecordSink& sink,
                         const std::function<void()>& tick) {
    bool added = false;
    for (const auto& pair : locations) {
        try {
            std::wstring location = Trim(pair.location);
            if (location.empty() || sink.LocationInRecord(location)) continue;
            sink.AddItem(location, pair.title);
            added = true;
        } catch (...) {
            // A failure inside one pair skips only that pair.
        }
    }
    if (!recordWebPages) return added;
    std::vector<PagePair> pages;
    try {
        pages = otherBrowsers();
    } catch (...) {
        return added;
    }
    for (const auto& page : pages) {
        try {
            if (sink.LocationInRecord(page.address)) continue;
            sink.AddEntry(page.address, page.title);
            sink.SetLastAdded(page.address);
            tick();
            sink.StepGauge();
            added = true;
        } catch (...) {
            LogSwallowed(L"recording an open location");  // the next location is still taken
        }
    }
    return added;
}

bool AppendOpenLocationRows(HWND listView, const std::vector<LocationPair>& locations,
                            const LocationRowServices& services) {
    bool added = false;
    for (const auto& pair : locations) {
        if (Trim(pair.location).empty()) continue;
        std::vector<TopNode> rows;
        int count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) rows.push_back({ListViewText(listView, i, 1), ListViewText(listView, i, 0)});
        if (AlreadyInRecord(pair.location, pair.title, rows)) continue;
        std::wstring lower = ToLower(pair.location);
        int image = 0;
        if (lower.find(L"http:") != std::wstring::npos || lower.find(L"https:") != std::wstring::npos) image = 1;
        else if (services.fileExists(pair.location)) image = services.iconIndex(pair.location);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = count;
        item.pszText = const_cast<wchar_t*>(pair.title.c_str());
        item.iImage = image;
        int row = static_cast<int>(SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0) continue;
        SetCell(listView, row, 1, pair.location);
        added = true;
    }
    return added;
}

}  // namespace tv
