#include "capture/browser_pages.h"

#include <algorithm>

#include "base/strings.h"

namespace tv {

namespace {
const wchar_t kChromeFrame[] = L"Chrome_WidgetWin_0";
const wchar_t kChromeOmnibox[] = L"Chrome_OmniboxView";

// A reply or a window text longer than this is no address and no title.
constexpr size_t kMaxText = 1u << 20;
// A browser that takes longer than this to answer is treated as not answering.
constexpr DWORD kAnswerTimeoutMs = 3000;

HDDEDATA CALLBACK IgnoreDdeEvents(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// A DDE string handle freed with its instance's use of it.
class DdeString {
public:
    DdeString(DWORD instance, const std::wstring& text)
        : instance_(instance), handle_(DdeCreateStringHandleW(instance, text.c_str(), CP_WINUNICODE)) {}
    ~DdeString() {
        if (handle_) DdeFreeStringHandle(instance_, handle_);
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(window);
    return TRUE;
}

// Each text is one line of the buffer, whatever line breaks it carries itself.
std::wstring OneLine(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    return text;
}
}  // namespace

bool IsPseudoPage(const std::wstring& address) {
    if (address.empty() || address == L"http://" || address == L"https://") return true;
    std::wstring key = ToLower(Trim(address));
    return key == L"about:tabs" || key == L"about:blank" || key == L"about:home";
}

bool ParseWindowInfoReply(const std::wstring& reply, PagePair& page) {
    if (reply.empty()) return false;
    std::wstring rest = reply.substr(1);  // the opening quote
    size_t separator = rest.find(L"\",\"");
    if (separator == std::wstring::npos) return false;
    page.address = rest.substr(0, separator);
    rest.erase(0, separator + 3);
    page.title = rest.substr(0, rest.find(L'"'));
    return !page.address.empty();
}

TDdeClientConv::TDdeClientConv() {
    if (DdeInitializeW(&instance_, IgnoreDdeEvents, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) instance_ = 0;
}

TDdeClientConv::~TDdeClientConv() {
    Close();
    if (instance_) DdeUninitialize(instance_);
}

void TDdeClientConv::Close() {
    if (conversation_) DdeDisconnect(conversation_);
    conversation_ = nullptr;
}

bool TDdeClientConv::Open(const std::wstring& service, const std::wstring& topic) {
    Close();
    if (!instance_) return false;
    DdeString s(instance_, service), t(instance_, topic);
    if (!s.get() || !t.get()) return false;
    conversation_ = DdeConnect(instance_, s.get(), t.get(), nullptr);
    return conversation_ != nullptr;
}

std::wstring TDdeClientConv::Request(const std::wstring& item) {
    if (!conversation_) return {};
    DdeString i(instance_, item);
    if (!i.get()) return {};
    HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation_, i.get(), CF_TEXT, XTYP_REQUEST,
                                         kAnswerTimeoutMs, nullptr);
    if (!data) return {};
    std::string text;
    DWORD size = DdeGetData(data, nullptr, 0, 0);
    if (size > 0 && size <= kMaxText) {
        text.resize(size);
        text.resize(DdeGetData(data, reinterpret_cast<BYTE*>(&text[0]), size, 0));
    }
    DdeFreeDataHandle(data);
    // The reply is a zero-terminated text, though a server may leave the zero out.
    size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return FromAnsi(text);
}

TWebbrowserActiveUrl::TWebbrowserActiveUrl(std::unique_ptr<DdeConversation> conversation)
    : conversation_(conversation ? std::move(conversation) : std::make_unique<TDdeClientConv>()) {}

const std::vector<PagePair>& TWebbrowserActiveUrl::Query() {
    pages_.clear();
    for (const wchar_t* service : {L"Firefox", L"Netscape", L"Mosaic", L"Netscp6", L"Mozilla"}) {
        std::wstring reply;
        if (conversation_->Open(service, L"WWW_GetWindowInfo")) reply = conversation_->Request(L"0xFFFFFFFF,sURL,sTitle");
        PagePair page;
        if (ParseWindowInfoReply(reply, page) && !IsPseudoPage(page.address)) pages_.push_back(page);
    }
    return pages_;
}

std::vector<HWND> RealBrowserWindows::TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> RealBrowserWindows::ChildWindows(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring RealBrowserWindows::ClassName(HWND window) {
    wchar_t name[129] = {};
    GetClassNameW(window, name, 129);
    return name;
}

HWND RealBrowserWindows::FindChild(HWND parent, const std::wstring& className) {
    return FindWindowExW(parent, nullptr, className.c_str(), nullptr);
}

std::wstring RealBrowserWindows::Text(HWND window) {
    // A browser that hangs must not hang the recording.
    const UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, flags, kAnswerTimeoutMs, &length) || length == 0)
        return {};
    if (length > kMaxText) length = kMaxText;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), flags,
                             kAnswerTimeoutMs, &copied))
        return {};
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::vector<std::wstring> ChromeTexts(BrowserWindows& windows) {
    std::vector<std::wstring> texts;
    for (HWND top : windows.TopLevelWindows()) {
        if (windows.ClassName(top) != kChromeFrame) continue;
        bool omnibox = false;
        for (HWND child : windows.ChildWindows(top)) {
            if (omnibox) break;
            std::wstring className = windows.ClassName(child);
            HWND source = windows.FindChild(top, className);
            std::wstring text = source ? windows.Text(source) : std::wstring();
            if (!Trim(text).empty()) texts.push_back(OneLine(text));
            if (className == kChromeOmnibox) omnibox = true;
        }
    }
    return texts;
}

bool ChromePage(const std::vector<std::wstring>& texts, PagePair& page) {
    std::wstring address = texts.size() > 1 ? Trim(texts[1]) : std::wstring();
    if (IsPseudoPage(address)) return false;
    std::wstring lower = ToLower(address);
    if (lower.compare(0, 7, L"http://") != 0 && lower.compare(0, 8, L"https://") != 0) address = L"http://" + address;
    page.address = address;
    page.title = Trim(texts[0]);
    return true;
}

std::vector<PagePair> OtherBrowserQuery(TWebbrowserActiveUrl& reader, BrowserWindows& windows) {
    std::vector<PagePair> pages = reader.Query();
    PagePair chrome;
    if (ChromePage(ChromeTexts(windows), chrome)) pages.push_back(chrome);
    return pages;
}

}  // namespace tv
