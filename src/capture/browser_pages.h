#pragma once
// Pages shown by browsers outside the shell's window collection: those that answer the DDE
// request "WWW_GetWindowInfo", and Chrome, read from the texts of its windows.
#include <windows.h>
#include <ddeml.h>

#include <memory>
#include <string>
#include <vector>

namespace tv {

struct PagePair {
    std::wstring address;
    std::wstring title;
    bool operator==(const PagePair& o) const { return address == o.address && title == o.title; }
};

// True for addresses that are no real page: empty, exactly "http://" or "https://", or one of
// the browsers' own "about:" pages.
bool IsPseudoPage(const std::wstring& address);

// A "WWW_GetWindowInfo" reply: "address","title",... False when it names no address.
bool ParseWindowInfoReply(const std::wstring& reply, PagePair& page);

// One DDE client conversation, reused for every service asked.
class DdeConversation {
public:
    virtual ~DdeConversation() = default;
    // Opens a conversation with (service, topic), dropping any earlier one; false when no
    // server answers.
    virtual bool Open(const std::wstring& service, const std::wstring& topic) = 0;
    // The text of a request for `item`; empty when there is no answer.
    virtual std::wstring Request(const std::wstring& item) = 0;
};

// The DDEML client, as a text-format (CF_TEXT) requester.
class TDdeClientConv : public DdeConversation {
public:
    TDdeClientConv();
    ~TDdeClientConv() override;
    TDdeClientConv(const TDdeClientConv&) = delete;
    TDdeClientConv& operator=(const TDdeClientConv&) = delete;
    bool Open(const std::wstring& service, const std::wstring& topic) override;
    std::wstring Request(const std::wstring& item) override;

private:
    void Close();
    DWORD instance_ = 0;
    HCONV conversation_ = nullptr;
};

// The browser page reader: asks each DDE browser in turn for its current page.
class TWebbrowserActiveUrl {
public:
    // Uses the real DDE client when `conversation` is null.
    explicit TWebbrowserActiveUrl(std::unique_ptr<DdeConversation> conversation = nullptr);
    // Asks "Firefox", "Netscape", "Mosaic", "Netscp6" and "Mozilla", in this order.
    const std::vector<PagePair>& Query();
    const std::vector<PagePair>& pages() const { return pages_; }

private:
    std::unique_ptr<DdeConversation> conversation_;
    std::vector<PagePair> pages_;
};

// The windows Chrome's page is read from.
class BrowserWindows {
public:
    virtual ~BrowserWindows() = default;
    virtual std::vector<HWND> TopLevelWindows() = 0;
    virtual std::vector<HWND> ChildWindows(HWND parent) = 0;  // every descendant, in order
    virtual std::wstring ClassName(HWND window) = 0;
    // The first direct child of `parent` with the class, or null.
    virtual HWND FindChild(HWND parent, const std::wstring& className) = 0;
    virtual std::wstring Text(HWND window) = 0;
};

class RealBrowserWindows : public BrowserWindows {
public:
    std::vector<HWND> TopLevelWindows() override;
    std::vector<HWND> ChildWindows(HWND parent) override;
    std::wstring ClassName(HWND window) override;
    HWND FindChild(HWND parent, const std::wstring& className) override;
    std::wstring Text(HWND window) override;
};

// The texts of Chrome's windows, one per line: for each child of a "Chrome_WidgetWin_0"
// window up to its "Chrome_OmniboxView", the non-blank text of the first direct child of
// that class.
std::vector<std::wstring> ChromeTexts(BrowserWindows& windows);
// The page those texts show (title on the first line, address on the second); false when the
// address is a pseudo page. An address without a scheme gets "http://".
bool ChromePage(const std::vector<std::wstring>& texts, PagePair& page);

// The DDE browsers' pages, then Chrome's.
std::vector<PagePair> OtherBrowserQuery(TWebbrowserActiveUrl& reader, BrowserWindows& windows);

}  // namespace tv
