#include "capture/page_title.h"

#include <windows.h>
#include <wininet.h>

#include <utility>

#include "base/handles.h"
#include "base/late_imports.h"
#include "base/strings.h"

namespace tv {

namespace {

constexpr DWORD kMostBytes = 65536;
// Long enough for a slow page, short enough that a dead host does not hold the window long.
constexpr DWORD kTimeoutMs = 5000;

struct CloseInternetHandle {
    void operator()(HINTERNET h) const { late::InternetCloseHandle(h); }
};
using InternetHandle = UniqueOwner<HINTERNET, CloseInternetHandle>;

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// Where `lowerNeedle` (in lower case) first stands in `text`, in any case of its ASCII letters.
size_t FindNoCase(const std::wstring& text, const std::wstring& lowerNeedle) {
    if (lowerNeedle.size() > text.size()) return std::wstring::npos;
    for (size_t i = 0; i + lowerNeedle.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < lowerNeedle.size() && AsciiLower(text[i + k]) == lowerNeedle[k]) ++k;
        if (k == lowerNeedle.size()) return i;
    }
    return std::wstring::npos;
}

void SetTimeouts(HINTERNET session) {
    DWORD ms = kTimeoutMs;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        late::InternetSetOptionW(session, option, &ms, sizeof(ms));
}

// Some systems give a page's request none of its session's timeouts; the request handle gets
// them too, from the session's status callback, before it sends and waits for the answer.
void CALLBACK GiveRequestTimeouts(HINTERNET handle, DWORD_PTR, DWORD status, void*, DWORD) {
    if (status == INTERNET_STATUS_CONNECTING_TO_SERVER || status == INTERNET_STATUS_SENDING_REQUEST)
        SetTimeouts(handle);
}

// The page's first bytes: up to kMostBytes, as many reads as the connection needs.
std::string ReadPageStart(HINTERNET page) {
    std::string bytes(kMostBytes, '\0');
    DWORD total = 0;
    while (total < kMostBytes) {
        DWORD got = 0;
        if (!late::InternetReadFile(page, &bytes[total], kMostBytes - total, &got) || got == 0) break;
        total += got;
    }
    bytes.resize(total);
    return bytes;
}

}  // namespace

std::wstring TitleInPageText(const std::wstring& text) {
    const std::wstring open = L"<title>", close = L"</title>";
    size_t start = FindNoCase(text, open);
    if (start == std::wstring::npos) return L"";  // a page without a title has none, not its whole text
    start += open.size();
    size_t end = text.find(close, start);
    if (end == std::wstring::npos) return L"";
    return text.substr(start, end - start);
}

std::wstring FetchPageTitle(const std::wstring& address) {
    InternetHandle session(late::InternetOpenW(L"", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return L"";
    SetTimeouts(session.get());
    late::InternetSetStatusCallbackW(session.get(), GiveRequestTimeouts);
    // The callback is called only for a request with a context other than 0.
    const DWORD_PTR context = 1;
    InternetHandle page(
        late::InternetOpenUrlW(session.get(), address.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, context));
    if (!page) return L"";
    // Pages are read as the system's ANSI code page, as the browsers of its time did.
    return Trim(TitleInPageText(FromAnsi(ReadPageStart(page.get()))));
}

}  // namespace tv
