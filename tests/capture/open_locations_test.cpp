// The open-location rules over a fake shell window collection, fake browsers and fake windows.
#include <gtest/gtest.h>

#include <map>

#include "base/strings.h"
#include "capture/browser_pages.h"
#include "capture/open_locations.h"

namespace tv {
// Readable failures.
void PrintTo(const LocationPair& p, std::ostream* os) { *os << ToUtf8(p.location) << " | " << ToUtf8(p.title); }
void PrintTo(const PagePair& p, std::ostream* os) { *os << ToUtf8(p.address) << " | " << ToUtf8(p.title); }
}  // namespace tv

using namespace tv;
using Pairs = std::vector<LocationPair>;
using Pages = std::vector<PagePair>;

namespace {

const std::wstring kHuge(64 * 1024, L'x');

// A shell window as the collection documents it: an address (empty for virtual folders), a
// document or none, and a title that may be unreadable.
struct FakeWindowData {
    std::wstring url;
    bool document = true;
    bool titleReadable = true;
    std::wstring title;
    bool throws = false;
};

class FakeWindow : public ShellBrowserWindow {
public:
    explicit FakeWindow(FakeWindowData d) : d_(std::move(d)) {}
    std::wstring LocationURL() override {
        if (d_.throws) throw std::runtime_error("automation error");
        return d_.url;
    }
    bool HasDocument() override { return d_.document; }
    bool DocumentTitle(std::wstring& title) override {
        if (!d_.titleReadable) return false;
        title = d_.title;
        return true;
    }

private:
    FakeWindowData d_;
};

class FakeCollection : public ShellWindowCollection {
public:
    std::vector<FakeWindowData> windows;  // an entry with `url` "<none>" is no browser
    int Count() override { return static_cast<int>(windows.size()); }
    std::unique_ptr<ShellBrowserWindow> Item(int i) override {
        if (windows[i].url == L"<none>") return nullptr;
        return std::make_unique<FakeWindow>(windows[i]);
    }
    void Add(const std::wstring& url, const std::wstring& title = L"") { windows.push_back({url, true, true, title, false}); }
};

LocationScanServices Services(Pages others = {}) {
    LocationScanServices s;
    s.driveType = [](const std::wstring& root) -> UINT {
        if (root.size() != 3 || root[1] != L':' || root[2] != L'\\') return DRIVE_NO_ROOT_DIR;
        wchar_t d = static_cast<wchar_t>(towupper(root[0]));
        return d == L'E' ? DRIVE_REMOVABLE : d == L'C' ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
    };
    s.directoryExists = [](const std::wstring& p) { return p == L"C:\\" || p == L"E:\\"; };
    s.otherBrowsers = [others] { return others; };
    return s;
}

}  // namespace

TEST(OpenLocationScan, FoldersDrivesAndSharesFromTheirAddresses) {
    FakeCollection c;
    c.Add(L"file:///C:/Program%20Files");
    c.Add(L"file:///C:/");
    c.Add(L"file:///e:/");
    c.Add(L"file:///E:/Photos");
    c.Add(L"file://server/share/team%20docs");
    c.Add(L" file:///C:/100%25%20done/a%2520b ");
    EXPECT_EQ(ScanOpenLocations(c, false, false, Services()),
              (Pairs{{L"C:\\Program Files", L"Program Files"},
                     {L"C:\\", L"C:"},
                     {L"e:\\", L"Removable Disk (E:)"},
                     {L"E:\\Photos", L"Photos"},
                     {L"\\\\server\\share\\team docs", L"\\\\server\\share\\team docs"},
                     {L"C:\\100% done\\a%20b", L"a%20b"}}));
}

TEST(OpenLocationScan, VirtualFoldersEmptyWindowsAndRepeatsAreLeftOut) {
    FakeCollection c;
    c.Add(L"");  // My Computer
    c.windows.push_back({L"file:///C:/NoDocument", false, true, L"", false});
    c.windows.push_back({L"<none>", true, true, L"", false});
    c.windows.push_back({L"file:///C:/Broken", true, true, L"", true});
    c.Add(L"file:///C:/Work");
    c.Add(L"file:///c:/work");
    c.Add(L"file:///C:/Work/");
    EXPECT_EQ(ScanOpenLocations(c, false, false, Services()),
              (Pairs{{L"C:\\Work", L"Work"}, {L"C:\\Work\\", L"C:\\Work\\"}}));
}

TEST(OpenLocationScan, WebPagesOnlyWhenAskedOrRecordedAndNeverPseudoPages) {
    FakeCollection c;
    c.Add(L"about:blank", L"Blank");
    c.Add(L"http://example.com/a%25b", L"Example");
    c.Add(L"http://e.example/", L"E:\\ drive notes");
    c.windows.push_back({L"https://untitled.example/", true, false, L"", false});
    c.Add(L"http://", L"nothing");
    Pages others{{L"http://firefox.example/", L"Fox"}};
    EXPECT_TRUE(ScanOpenLocations(c, false, false, Services(others)).empty());
    Pairs expected{{L"http://example.com/a%b", L"Example"},
                   {L"http://e.example/", L"Removable Disk (E:)"},
                   {L"https://untitled.example/", L"https://untitled.example/"},
                   {L"http://firefox.example/", L"Fox"}};
    EXPECT_EQ(ScanOpenLocations(c, true, false, Services(others)), expected);
    EXPECT_EQ(ScanOpenLocations(c, false, true, Services(others)), expected);
}

TEST(OpenLocationScan, OtherBrowsersFollowWithoutDuplicateTestAndAFailingQueryKeepsTheRest) {
    FakeCollection c;
    c.Add(L"file:///C:/Work");
    Pages others{{L"http://a.example/", L"A"}, {L"http://a.example/", L"A"}};
    EXPECT_EQ(ScanOpenLocations(c, true, false, Services(others)).size(), 3u);
    LocationScanServices failing = Services();
    failing.otherBrowsers = []() -> Pages { throw std::runtime_error("no DDE"); };
    EXPECT_EQ(ScanOpenLocations(c, true, false, failing), (Pairs{{L"C:\\Work", L"Work"}}));
}

TEST(DecodeFileAddress, OnePassOverBlanksAndPercents) {
    EXPECT_EQ(DecodeFileAddress(L"a%20b%25c"), L"a b%c");
    EXPECT_EQ(DecodeFileAddress(L"%2520"), L"%20");
    EXPECT_EQ(DecodeFileAddress(L"%"), L"%");
    EXPECT_EQ(DecodeFileAddress(L"50%2"), L"50%2");
    EXPECT_EQ(DecodeFileAddress(L"%41"), L"%41");
    EXPECT_EQ(DecodeFileAddress(L""), L"");
}

TEST(PseudoPage, EmptySchemesAloneAndAboutPages) {
    for (const wchar_t* a : {L"", L"http://", L"https://", L"about:blank", L" ABOUT:Tabs ", L"about:home"})
        EXPECT_TRUE(IsPseudoPage(a)) << a;
    for (const wchar_t* a : {L"HTTP://", L"http:// ", L"about:config", L"http://x", L"%"}) EXPECT_FALSE(IsPseudoPage(a)) << a;
}

TEST(WindowInfoReply, QuotedAddressAndTitle) {
    PagePair p;
    ASSERT_TRUE(ParseWindowInfoReply(L"\"http://example.com/\",\"Example Domain\",\"\"", p));
    EXPECT_EQ(p, (PagePair{L"http://example.com/", L"Example Domain"}));
    ASSERT_TRUE(ParseWindowInfoReply(L"\"http://a/\",\"Unterminated title", p));
    EXPECT_EQ(p, (PagePair{L"http://a/", L"Unterminated title"}));
    ASSERT_TRUE(ParseWindowInfoReply(L"\"%\",\"%\"", p));
    EXPECT_EQ(p, (PagePair{L"%", L"%"}));
    ASSERT_TRUE(ParseWindowInfoReply(L"\"" + kHuge + L"\",\"" + kHuge + L"\"", p));
    EXPECT_EQ(p.address.size(), kHuge.size());
    EXPECT_EQ(p.title.size(), kHuge.size());
}

TEST(WindowInfoReply, RepliesWithoutAnAddressGiveNothing) {
    PagePair p;
    for (const std::wstring& reply : {std::wstring(L""), std::wstring(L"\""), std::wstring(L"\"http://a/"),
                                      std::wstring(L"\",\"title\""), std::wstring(L"%"), kHuge})
        EXPECT_FALSE(ParseWindowInfoReply(reply, p)) << reply.substr(0, 20);
}

namespace {

class FakeDde : public DdeConversation {
public:
    std::map<std::wstring, std::wstring> replies;  // service -> reply
    std::vector<std::wstring> asked;
    std::wstring open;
    bool Open(const std::wstring& service, const std::wstring& topic) override {
        asked.push_back(service + L"|" + topic);
        open = replies.count(service) ? service : L"";
        return !open.empty();
    }
    std::wstring Request(const std::wstring& item) override {
        EXPECT_EQ(item, L"0xFFFFFFFF,sURL,sTitle");
        return open.empty() ? L"" : replies[open];
    }
};

}  // namespace

TEST(BrowserPageReader, AsksEachDdeBrowserInOrderAndKeepsRealPages) {
    auto dde = std::make_unique<FakeDde>();
    FakeDde* fake = dde.get();
    fake->replies[L"Firefox"] = L"\"http://fox.example/\",\"Fox\"";
    fake->replies[L"Netscape"] = L"\"about:blank\",\"Blank\"";
    fake->replies[L"Mosaic"] = L"";
    fake->replies[L"Mozilla"] = L"\"http://moz.example/\",\"Moz\"";
    TWebbrowserActiveUrl reader(std::move(dde));
    EXPECT_EQ(reader.Query(), (Pages{{L"http://fox.example/", L"Fox"}, {L"http://moz.example/", L"Moz"}}));
    EXPECT_EQ(fake->asked, (std::vector<std::wstring>{L"Firefox|WWW_GetWindowInfo", L"Netscape|WWW_GetWindowInfo",
                                                      L"Mosaic|WWW_GetWindowInfo", L"Netscp6|WWW_GetWindowInfo",
                                                      L"Mozilla|WWW_GetWindowInfo"}));
    // Each query starts afresh.
    fake->replies.clear();
    EXPECT_TRUE(reader.Query().empty());
}

namespace {

// Windows by handle number: class, text, parent.
class FakeWindows : public BrowserWindows {
public:
    struct W {
        std::wstring cls, text;
        int parent;
    };
    std::vector<W> w{{L"", L"", 0}};  // handle 0 unused
    int Add(const std::wstring& cls, const std::wstring& text, int parent = 0) {
        w.push_back({cls, text, parent});
        return static_cast<int>(w.size()) - 1;
    }
    static HWND H(int i) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(i)); }
    static int I(HWND h) { return static_cast<int>(reinterpret_cast<INT_PTR>(h)); }
    bool Descends(int i, int ancestor) {
        for (int p = w[i].parent; p; p = w[p].parent)
            if (p == ancestor) return true;
        return false;
    }
    std::vector<HWND> TopLevelWindows() override {
        std::vector<HWND> out;
        for (int i = 1; i < static_cast<int>(w.size()); ++i)
            if (!w[i].parent) out.push_back(H(i));
        return out;
    }
    std::vector<HWND> ChildWindows(HWND parent) override {
        std::vector<HWND> out;
        for (int i = 1; i < static_cast<int>(w.size()); ++i)
            if (Descends(i, I(parent))) out.push_back(H(i));
        return out;
    }
    std::wstring ClassName(HWND h) override { return w[I(h)].cls; }
    HWND FindChild(HWND parent, const std::wstring& cls) override {
        for (int i = 1; i < static_cast<int>(w.size()); ++i)
            if (w[i].parent == I(parent) && w[i].cls == cls) return H(i);
        return nullptr;
    }
    std::wstring Text(HWND h) override { return w[I(h)].text; }
};

}  // namespace

TEST(ChromeTexts, ChildTextsUpToTheOmniboxOfEachChromeFrame) {
    FakeWindows f;
    f.Add(L"Notepad", L"Untitled - Notepad");
    int chrome = f.Add(L"Chrome_WidgetWin_0", L"frame");
    f.Add(L"Chrome_TitleView", L"Example Domain", chrome);
    f.Add(L"Chrome_Blank", L"   ", chrome);
    int box = f.Add(L"Chrome_Box", L"", chrome);
    f.Add(L"Chrome_Deep", L"nested only", box);  // no direct child of that class: no text
    f.Add(L"Chrome_OmniboxView", L"example.org", chrome);
    f.Add(L"Chrome_After", L"after the omnibox", chrome);
    std::vector<std::wstring> texts = ChromeTexts(f);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Example Domain", L"example.org"}));
    PagePair page;
    ASSERT_TRUE(ChromePage(texts, page));
    EXPECT_EQ(page, (PagePair{L"http://example.org", L"Example Domain"}));
}

TEST(ChromePage, SchemesKeptPseudoAndMissingAddressesGiveNothing) {
    PagePair page;
    ASSERT_TRUE(ChromePage({L"T", L"HTTPS://secure.example/"}, page));
    EXPECT_EQ(page.address, L"HTTPS://secure.example/");
    EXPECT_FALSE(ChromePage({}, page));
    EXPECT_FALSE(ChromePage({L"Only a title"}, page));
    EXPECT_FALSE(ChromePage({L"New Tab", L"about:blank"}, page));
    ASSERT_TRUE(ChromePage({L"%", L"%"}, page));
    EXPECT_EQ(page.address, L"http://%");
    ASSERT_TRUE(ChromePage({kHuge, kHuge}, page));
    EXPECT_EQ(page.address.size(), kHuge.size() + 7);
}

TEST(ChromeTexts, ALineBreakInsideATextDoesNotShiftTheAddress) {
    FakeWindows f;
    int chrome = f.Add(L"Chrome_WidgetWin_0", L"");
    f.Add(L"Chrome_TitleView", L"Two\r\nlines", chrome);
    f.Add(L"Chrome_OmniboxView", L"example.org", chrome);
    PagePair page;
    ASSERT_TRUE(ChromePage(ChromeTexts(f), page));
    EXPECT_EQ(page.address, L"http://example.org");
}

TEST(LocationInRecord, TopLevelNodesAndTheirChildrenUpToOneBackslash) {
    std::vector<LocationNode> nodes{{L"C:\\Work\\", {L"C:\\Work\\Notes", L"http://Example.com/"}},
                                    {L" c:\\windows\\notepad.exe ", {}}};
    EXPECT_TRUE(LocationInRecord(L"C:\\work", nodes));
    EXPECT_TRUE(LocationInRecord(L"c:\\work\\notes\\", nodes));
    EXPECT_TRUE(LocationInRecord(L"HTTP://example.com/", nodes));
    EXPECT_TRUE(LocationInRecord(L"\"C:\\Windows\\NOTEPAD.EXE\" %1", nodes));
    EXPECT_TRUE(LocationInRecord(L"  ", nodes));
    EXPECT_FALSE(LocationInRecord(L"C:\\Work\\Notes\\Deeper", nodes));
    EXPECT_FALSE(LocationInRecord(L"C:\\Wor", nodes));
    std::vector<LocationNode> many(5000, LocationNode{L"C:\\x", {}});
    many.push_back({L"C:\\late", {}});
    EXPECT_FALSE(LocationInRecord(L"C:\\late", many));
}

TEST(LocationInRecord, ReadsTheShownRecordsTopLevelAndDirectChildren) {
    ShownRecord r;
    auto item = [&](const std::wstring& path) {
        TMyDoc d;
        d.path = path;
        return r.items.Append(d);
    };
    RecordNode* top = r.docs.Add(nullptr, L"Work", item(L"C:\\Work"));
    RecordNode* child = r.docs.Add(top, L"Notes", item(L"C:\\Work\\Notes"));
    r.docs.Add(child, L"Deep", item(L"C:\\Work\\Notes\\Deep"));
    std::vector<LocationNode> nodes = LocationNodesOf(r);
    EXPECT_TRUE(LocationInRecord(L"C:\\Work\\Notes", nodes));
    EXPECT_FALSE(LocationInRecord(L"C:\\Work\\Notes\\Deep", nodes));
}

namespace {

class LocationSink : public LocationRecordSink {
public:
    std::vector<std::wstring> held{L"c:\\held"};
    std::vector<std::wstring> log;
    int steps = 0;
    bool LocationInRecord(const std::wstring& l) override {
        for (const auto& h : held)
            if (h == l) return true;
        return false;
    }
    void AddItem(const std::wstring& p, const std::wstring& t) override {
        log.push_back(L"item " + p + L" " + t);
        held.push_back(p);
    }
    void AddEntry(const std::wstring& p, const std::wstring& t) override {
        log.push_back(L"entry " + p + L" " + t);
        held.push_back(p);
    }
    void SetLastAdded(const std::wstring& p) override { log.push_back(L"last " + p); }
    void StepGauge() override { ++steps; }
};

}  // namespace

TEST(RecordOpenLocations, NewLocationsAsItemsThenNewPagesAsEntries) {
    LocationSink sink;
    Pairs locations{{L" C:\\New ", L"New"}, {L"c:\\held", L"Held"}, {L"  ", L"Blank"}};
    int queries = 0;
    auto others = [&] {
        ++queries;
        return Pages{{L"http://a.example/", L"A"}, {L"http://a.example/", L"A again"}};
    };
    EXPECT_TRUE(RecordOpenLocations(locations, true, others, sink));
    EXPECT_EQ(sink.log, (std::vector<std::wstring>{L"item C:\\New New", L"entry http://a.example/ A",
                                                   L"last http://a.example/"}));
    EXPECT_EQ(sink.steps, 1);
    // Everything held: nothing added, nothing reported, and no browser asked without the option.
    EXPECT_FALSE(RecordOpenLocations(locations, true, others, sink));
    EXPECT_FALSE(RecordOpenLocations(locations, false, others, sink));
    EXPECT_EQ(queries, 2);
}
