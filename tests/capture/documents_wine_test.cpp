// Documents, associations and browser pages against the real machine of the test prefix:
// shortcuts in the Recent folder, association keys, a DDE server of the test's own and
// windows with the Chrome classes.
#include <windows.h>
#include <commctrl.h>
#include <ddeml.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/browser_pages.h"
#include "capture/open_locations.h"
#include "capture/path_resolution.h"
#include "capture/program_records.h"
#include "capture/recent_documents.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;

namespace {

bool Write(const std::wstring& path, const std::string& bytes = "x") { return WriteAll(path, bytes); }

// Sets a file's last-write time `ageDays` before now.
bool Age(const std::wstring& path, double ageDays) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= static_cast<ULONGLONG>(ageDays * 864000000000.0);
    FILETIME written{t.LowPart, t.HighPart};
    UniqueHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && SetFileTime(file.get(), nullptr, nullptr, &written);
}

// A folder of this test inside the prefix's Recent folder, removed afterwards.
class RecentSubfolder {
public:
    RecentSubfolder() : path_(RecentFolder() + L"\\tolvane-test-" + std::to_wstring(GetCurrentProcessId())) {
        RemoveTree(path_);
        CreateFolderTree(path_);
    }
    ~RecentSubfolder() { RemoveTree(path_); }
    const std::wstring& path() const { return path_; }
    // A shortcut to `target` written `ageDays` ago.
    bool Shortcut(const std::wstring& name, const std::wstring& target, double ageDays) const {
        std::wstring link = path_ + L"\\" + name;
        return CreateShortcut(link, target, L"") && Age(link, ageDays);
    }

private:
    std::wstring path_;
};

size_t CountOf(const std::vector<std::wstring>& list, const std::wstring& path) {
    return static_cast<size_t>(
        std::count_if(list.begin(), list.end(), [&](const std::wstring& e) { return EqualsNoCase(e, path); }));
}

std::vector<std::wstring> ScanRecent(const RecentScanOptions& options, RecentDocumentList& list) {
    RealRecentFolderReader reader;
    RealResolutionMachine machine;
    ScanRecentDocuments(RecentFolder(), options, list, reader, machine);
    return list.entries();
}
std::vector<std::wstring> ScanRecent(const RecentScanOptions& options) {
    RecentDocumentList list;
    return ScanRecent(options, list);
}

}  // namespace

TEST(RecentDocumentsUnderWine, TheAgeLimitDecidesByTheShortcutsOwnTime) {
    ComScope com;
    ASSERT_FALSE(RecentFolder().empty());
    TempFolder docs;
    RecentSubfolder recent;
    for (const wchar_t* name : {L"young.txt", L"seven.txt", L"month.txt", L"hour.txt", L"three.txt"})
        ASSERT_TRUE(Write(docs.file(name)));
    ASSERT_TRUE(recent.Shortcut(L"young.lnk", docs.file(L"young.txt"), 6.9));
    ASSERT_TRUE(recent.Shortcut(L"seven.lnk", docs.file(L"seven.txt"), 7.0));
    ASSERT_TRUE(recent.Shortcut(L"month.lnk", docs.file(L"month.txt"), 30.0));
    ASSERT_TRUE(recent.Shortcut(L"hour.lnk", docs.file(L"hour.txt"), 1.0 / 24));
    ASSERT_TRUE(recent.Shortcut(L"three.lnk", docs.file(L"three.txt"), 3.0 / 24));

    std::vector<std::wstring> week = ScanRecent({true, 7, false});
    EXPECT_EQ(CountOf(week, docs.file(L"young.txt")), 1u);
    EXPECT_EQ(CountOf(week, docs.file(L"seven.txt")), 0u);
    EXPECT_EQ(CountOf(week, docs.file(L"month.txt")), 0u);

    std::vector<std::wstring> all = ScanRecent({true, kRecentDaysTakeAll, false});
    for (const wchar_t* name : {L"young.txt", L"seven.txt", L"month.txt", L"hour.txt", L"three.txt"})
        EXPECT_EQ(CountOf(all, docs.file(name)), 1u) << name;

    std::vector<std::wstring> off = ScanRecent({false, kRecentDaysTakeAll, false});
    EXPECT_EQ(CountOf(off, docs.file(L"hour.txt")), 1u);
    EXPECT_EQ(CountOf(off, docs.file(L"three.txt")), 0u);
    EXPECT_EQ(CountOf(off, docs.file(L"young.txt")), 0u);
}

TEST(RecentDocumentsUnderWine, HiddenSystemFilesDeletedDocumentsAndRepeatsAreNotCollected) {
    ComScope com;
    TempFolder docs;
    RecentSubfolder recent;
    ASSERT_TRUE(Write(docs.file(L"kept.txt")));
    ASSERT_TRUE(Write(docs.file(L"deleted.txt")));
    ASSERT_TRUE(recent.Shortcut(L"kept.lnk", docs.file(L"kept.txt"), 0.01));
    ASSERT_TRUE(recent.Shortcut(L"kept again.lnk", docs.file(L"kept.txt"), 0.01));
    ASSERT_TRUE(recent.Shortcut(L"deleted.lnk", docs.file(L"deleted.txt"), 0.01));
    ASSERT_TRUE(DeleteFileW(docs.file(L"deleted.txt").c_str()));
    std::wstring ini = recent.path() + L"\\desktop.ini";
    ASSERT_TRUE(Write(ini, "[.ShellClassInfo]\r\n"));
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    std::vector<std::wstring> list = ScanRecent({true, 7, false});
    EXPECT_EQ(CountOf(list, docs.file(L"kept.txt")), 1u);
    EXPECT_EQ(CountOf(list, docs.file(L"deleted.txt")), 0u);
    EXPECT_EQ(CountOf(list, ini), 0u);
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(RecentDocumentsUnderWine, SmartRecordKeepsTheListAndAddsNoCaseVariant) {
    ComScope com;
    TempFolder docs;
    RecentSubfolder recent;
    ASSERT_TRUE(Write(docs.file(L"Report.txt")));
    ASSERT_TRUE(recent.Shortcut(L"report.lnk", docs.file(L"Report.txt"), 0.01));
    RecentDocumentList list;
    list.Add(L"C:\\earlier\\kept.txt");
    list.Add(ToUpper(docs.file(L"Report.txt")));
    std::vector<std::wstring> kept = ScanRecent({true, 7, true}, list);
    EXPECT_EQ(CountOf(kept, docs.file(L"Report.txt")), 1u);
    EXPECT_EQ(CountOf(kept, L"C:\\earlier\\kept.txt"), 1u);
}

namespace {
class CollectingSink : public DocumentRecordSink {
public:
    std::vector<std::pair<std::wstring, std::wstring>> added;
    bool RecordPathFound(const std::wstring&) override { return false; }
    bool ProgramAlreadyRecorded(const std::wstring&) override { return false; }
    void AddItem(const std::wstring& p, const std::wstring& t) override { added.push_back({p, t}); }
    void StepGauge() override {}
};
}  // namespace

TEST(RecentDocumentsUnderWine, AShortcutToAFolderRecordsTheFolderWithOneTrailingBackslash) {
    ComScope com;
    TempFolder docs;
    RecentSubfolder recent;
    std::wstring folder = docs.file(L"Project Files");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(recent.Shortcut(L"Project Files.lnk", folder, 0.01));
    RecentDocumentList list;
    ASSERT_EQ(CountOf(ScanRecent({true, 7, false}, list), folder), 1u);
    CollectingSink sink;
    RealResolutionMachine machine;
    RecordRecentDocuments(list, sink, machine);
    auto it = std::find_if(sink.added.begin(), sink.added.end(),
                           [&](const auto& a) { return EqualsNoCase(a.first, folder + L"\\"); });
    ASSERT_NE(it, sink.added.end());
    EXPECT_EQ(it->second, L"Project Files");
}

TEST(ShortcutTargetUnderWine, RealShortcutsResolveAndBrokenOnesStayThemselves) {
    ComScope com;
    TempFolder dir;
    ASSERT_TRUE(Write(dir.file(L"doc.txt")));
    ASSERT_TRUE(CreateShortcut(dir.file(L"doc.lnk"), dir.file(L"doc.txt"), L""));
    ASSERT_TRUE(Write(dir.file(L"garbage.lnk"), std::string(70000, '\x7f')));
    ASSERT_TRUE(Write(dir.file(L"empty.lnk"), ""));
    RealResolutionMachine m;
    EXPECT_TRUE(EqualsNoCase(ShortcutTarget(dir.file(L"doc.lnk"), m), dir.file(L"doc.txt")));
    EXPECT_EQ(ShortcutTarget(dir.file(L"garbage.lnk"), m), dir.file(L"garbage.lnk"));
    EXPECT_EQ(ShortcutTarget(dir.file(L"empty.lnk"), m), dir.file(L"empty.lnk"));
    EXPECT_EQ(ShortcutTarget(dir.file(L"missing.lnk"), m), dir.file(L"missing.lnk"));
}

namespace {
// A shortcut to a place outside the file system (the Control Panel): it has no path.
bool PlaceShortcut(const std::wstring& linkPath) {
    PIDLIST_ABSOLUTE place = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &place))) return false;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    bool made = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           link.put_void())) &&
                SUCCEEDED(link->SetIDList(place)) && SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void())) &&
                SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
    CoTaskMemFree(place);
    return made;
}
}  // namespace

TEST(ShortcutTargetUnderWine, OneLinkObjectForARecordingReadsEveryShortcutAsAFreshOne) {
    ComScope com;
    TempFolder dir;
    ASSERT_TRUE(Write(dir.file(L"doc.txt")));
    ASSERT_TRUE(Write(dir.file(L"\u00e9t\u00e9 \u6587\u66f8.txt")));
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"Folder").c_str(), nullptr));
    ASSERT_TRUE(CreateShortcut(dir.file(L"doc.lnk"), dir.file(L"doc.txt"), dir.path()));
    ASSERT_TRUE(CreateShortcut(dir.file(L"unicode.lnk"), dir.file(L"\u00e9t\u00e9 \u6587\u66f8.txt"), L""));
    ASSERT_TRUE(CreateShortcut(dir.file(L"folder.lnk"), dir.file(L"Folder"), L""));
    ASSERT_TRUE(PlaceShortcut(dir.file(L"place.lnk")));
    ASSERT_TRUE(Write(dir.file(L"garbage.lnk"), std::string(70000, '\x7f')));
    ASSERT_TRUE(Write(dir.file(L"empty.lnk"), ""));
    // Each kind after each other kind: a link read after another never answers with what the
    // one before it held.
    const std::vector<std::wstring> order = {L"doc",   L"place", L"unicode", L"garbage", L"folder", L"empty",
                                             L"doc",   L"missing", L"unicode", L"place", L"doc"};
    RecordingResolutionMachine reused;
    for (const std::wstring& name : order) {
        SCOPED_TRACE(name);
        RealResolutionMachine fresh;
        std::wstring expected = L"(unset)", got = L"(unset)";
        const std::wstring link = dir.file(name + L".lnk");
        EXPECT_EQ(reused.LinkTarget(link, got), fresh.LinkTarget(link, expected));
        EXPECT_EQ(got, expected);
        EXPECT_EQ(ShortcutTarget(link, reused), ShortcutTarget(link, fresh));
    }
    std::wstring target;
    ASSERT_TRUE(reused.LinkTarget(dir.file(L"unicode.lnk"), target));
    EXPECT_TRUE(EqualsNoCase(target, dir.file(L"\u00e9t\u00e9 \u6587\u66f8.txt"))) << ToUtf8(target);
    ASSERT_TRUE(reused.LinkTarget(dir.file(L"place.lnk"), target));
    EXPECT_EQ(target, L"");
}

TEST(SkipTestUnderWine, HiddenAndMissingFilesAreSkipped) {
    TempFolder dir;
    ASSERT_TRUE(Write(dir.file(L"plain.txt")));
    ASSERT_TRUE(Write(dir.file(L"hidden.txt")));
    ASSERT_TRUE(SetFileAttributesW(dir.file(L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    RealResolutionMachine m;
    EXPECT_FALSE(IsSkippedDocument(dir.file(L"plain.txt"), m));
    EXPECT_TRUE(IsSkippedDocument(dir.file(L"hidden.txt"), m));
    EXPECT_TRUE(IsSkippedDocument(dir.file(L"missing.txt"), m));
}

TEST(PathTestsUnderWine, APatternIsNoFileAndDrivesAreAskedOncePerMachine) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    RealResolutionMachine m;
    EXPECT_FALSE(m.FileExists(std::wstring(windows) + L"\\*.exe"));
    EXPECT_FALSE(m.FileExists(std::wstring(windows) + L"\\notepad.ex?"));
    EXPECT_TRUE(m.FileExists(std::wstring(windows) + L"\\notepad.exe"));
    EXPECT_TRUE(m.FolderExists(windows));
    EXPECT_TRUE(m.FileExists(ToLower(windows) + L"\\NOTEPAD.EXE"));  // the same drive, remembered
    EXPECT_FALSE(m.FolderExists(L"\\\\server\\share"));
    EXPECT_FALSE(m.FileExists(L"A:\\x.txt"));
}

TEST(PathTestsUnderWine, TheRecordingMachineAnswersEveryTestAsTheRealOneInAnyOrder) {
    TempFolder dir;
    ASSERT_TRUE(Write(dir.file(L"plain.txt")));
    ASSERT_TRUE(Write(dir.file(L"hidden.txt")));
    ASSERT_TRUE(SetFileAttributesW(dir.file(L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryW(dir.file(L"Folder").c_str(), nullptr));
    const std::vector<std::wstring> paths = {dir.file(L"plain.txt"), dir.file(L"hidden.txt"), dir.file(L"Folder"),
                                             dir.file(L"Folder") + L"\\", dir.file(L"missing.txt"),
                                             dir.file(L"plain.tx?"), dir.file(L"*"), L"\\\\server\\share\\a.txt",
                                             L"A:\\a.txt", L"relative.txt", L""};
    // One look at a path answers all its tests: whichever test comes first, the others agree.
    for (int first = 0; first < 3; ++first) {
        RecordingResolutionMachine remembering;
        RealResolutionMachine real;
        for (const std::wstring& path : paths) {
            SCOPED_TRACE(ToUtf8(path) + " first test " + std::to_string(first));
            auto file = [&] { EXPECT_EQ(remembering.FileExists(path), real.FileExists(path)); };
            auto folder = [&] { EXPECT_EQ(remembering.FolderExists(path), real.FolderExists(path)); };
            auto skipped = [&] { EXPECT_EQ(IsSkippedDocument(path, remembering), IsSkippedDocument(path, real)); };
            if (first == 0) file(), folder(), skipped();
            if (first == 1) folder(), skipped(), file();
            if (first == 2) skipped(), file(), folder();
        }
    }
}

TEST(CopyIntoFolderUnderWine, CreatesTheFolderAndFallsBackToTheShortcut) {
    TempFolder dir;
    ASSERT_TRUE(Write(dir.file(L"a.lnk"), "link"));
    std::wstring links = dir.file(L"data\\TolVane\\links");
    std::wstring copy = CopyIntoFolder(dir.file(L"a.lnk"), links);
    EXPECT_TRUE(EqualsNoCase(copy, links + L"\\a.lnk"));
    EXPECT_EQ(ReadAll(copy), "link");
    ASSERT_TRUE(Write(dir.file(L"a.lnk"), "newer"));
    EXPECT_EQ(ReadAll(CopyIntoFolder(dir.file(L"a.lnk"), links + L"\\")), "newer");
    EXPECT_EQ(CopyIntoFolder(dir.file(L"missing.lnk"), links), dir.file(L"missing.lnk"));
    EXPECT_TRUE(EqualsNoCase(LinksFolder().substr(LinksFolder().size() - 15), L"\\TolVane\\links\\"));
}

namespace {


}  // namespace

TEST(AssociationsUnderWine, BothRoutesAndAnUnregisteredType) {
    tvtest::ScopedClasses classes;
    classes.Set(L".tvdoc14", L"Tolvane14.Doc");
    classes.Set(L"Tolvane14.Doc\\shell\\open\\command", L"C:\\WINDOWS\\system32\\NOTEPAD.EXE %1");
    classes.Set(L".tvimg14", L"Tolvane14.Img");
    classes.Set(L"Tolvane14.Img\\shell", L"preview");
    classes.Set(L"Tolvane14.Img\\shell\\preview\\command", L"rundll32 shimgvw.dll,ImageView_Fullscreen %1");
    classes.Set(L".tvbad14", L"Tolvane14.Bad");
    classes.Set(L"Tolvane14.Bad\\shell\\open\\command", std::wstring(64 * 1024, L'%'));
    RealResolutionMachine m;
    EXPECT_EQ(AssociatedProgram(L"C:\\docs\\a.tvdoc14", m), L"C:\\WINDOWS\\system32\\NOTEPAD.EXE");
    EXPECT_EQ(AssociatedProgram(L"C:\\pictures\\b.TVIMG14", m), L"rundll32.EXE");
    EXPECT_EQ(AssociatedProgram(L"C:\\docs\\c.tvnone14", m), L"");
    EXPECT_EQ(AssociatedProgram(L"C:\\docs\\d.tvbad14", m).size(), 64u * 1024);
    // A type opened through the prefix's own text file class, whose command is quoted.
    classes.Set(L".tvtxt14", L"txtfile");
    EXPECT_TRUE(EqualsNoCase(AssociatedProgram(L"C:\\docs\\e.tvtxt14", m), L"C:\\windows\\system32\\notepad.exe"));
}

namespace {

// A DDE server registered under a service name on a thread of its own, answering every
// request with the same text.
class DdeServer {
public:
    DdeServer(const std::wstring& service, std::string reply) : reply_(std::move(reply)) {
        current_ = this;
        thread_ = std::thread([this, service] { Run(service); });
        while (!ready_) Sleep(5);
    }
    ~DdeServer() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        current_ = nullptr;
    }
    int requests() const { return requests_; }

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV, HSZ, HSZ item, HDDEDATA, ULONG_PTR, ULONG_PTR) {
        DdeServer* s = current_;
        if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
        if (type == XTYP_REQUEST && format == CF_TEXT) {
            ++s->requests_;
            std::string bytes = s->reply_ + '\0';
            return DdeCreateDataHandle(s->instance_, reinterpret_cast<BYTE*>(&bytes[0]),
                                       static_cast<DWORD>(bytes.size()), 0, item, CF_TEXT, 0);
        }
        return nullptr;
    }
    void Run(const std::wstring& service) {
        threadId_ = GetCurrentThreadId();
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
        DdeInitializeW(&instance_, Callback, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS, 0);
        HSZ name = DdeCreateStringHandleW(instance_, service.c_str(), CP_WINUNICODE);
        DdeNameService(instance_, name, nullptr, DNS_REGISTER);
        ready_ = true;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        DdeNameService(instance_, name, nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(instance_, name);
        DdeUninitialize(instance_);
    }

    static DdeServer* current_;
    std::string reply_;
    std::thread thread_;
    std::atomic<bool> ready_{false};
    std::atomic<int> requests_{0};
    DWORD threadId_ = 0;
    DWORD instance_ = 0;
};
DdeServer* DdeServer::current_ = nullptr;

}  // namespace

TEST(DdeBrowsersUnderWine, AServerNamedFirefoxGivesItsAddressAndTitle) {
    {
        DdeServer firefox(L"Firefox", "\"http://example.com/\",\"Example Domain\",\"\"");
        TWebbrowserActiveUrl reader;
        EXPECT_EQ(reader.Query(), (std::vector<PagePair>{{L"http://example.com/", L"Example Domain"}}));
        EXPECT_EQ(firefox.requests(), 1);
    }
    TWebbrowserActiveUrl reader;
    EXPECT_TRUE(reader.Query().empty());
}

TEST(DdeBrowsersUnderWine, HostileRepliesGiveNothingOrTheTextAsSent) {
    for (const std::string& reply : {std::string(""), std::string("%"), std::string("\"http://a/"),
                                     std::string(64 * 1024, 'y'), std::string("\"about:blank\",\"x\"")}) {
        DdeServer server(L"Mozilla", reply);
        TWebbrowserActiveUrl reader;
        EXPECT_TRUE(reader.Query().empty()) << reply.substr(0, 20);
    }
    std::string huge(64 * 1024, 'z');
    DdeServer server(L"Netscape", "\"http://" + huge + "\",\"" + huge);
    TWebbrowserActiveUrl reader;
    ASSERT_EQ(reader.Query().size(), 1u);
    EXPECT_EQ(reader.pages()[0].address.size(), huge.size() + 7);
    EXPECT_EQ(reader.pages()[0].title.size(), huge.size());
}

namespace {

// A top-level window of the Chrome frame class with a title view and an omnibox child.
class FakeChrome {
public:
    FakeChrome(const std::wstring& title, const std::wstring& omnibox) {
        for (const wchar_t* cls : {L"Chrome_WidgetWin_0", L"Chrome_RenderWidgetHostHWND", L"Chrome_OmniboxView"}) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = cls;
            RegisterClassW(&wc);
        }
        frame_ = CreateWindowW(L"Chrome_WidgetWin_0", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        CreateWindowW(L"Chrome_RenderWidgetHostHWND", title.c_str(), WS_CHILD, 0, 0, 10, 10, frame_, nullptr,
                      GetModuleHandleW(nullptr), nullptr);
        HWND box = CreateWindowW(L"Chrome_OmniboxView", L"", WS_CHILD, 0, 0, 10, 10, frame_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        SetWindowTextW(box, omnibox.c_str());
    }
    ~FakeChrome() { DestroyWindow(frame_); }
    HWND frame() const { return frame_; }

private:
    HWND frame_;
};

}  // namespace

TEST(ChromeUnderWine, TheOmniboxTextBecomesAnAddress) {
    FakeChrome chrome(L"Example Domain", L"example.org");
    ASSERT_NE(chrome.frame(), nullptr);
    RealBrowserWindows windows;
    std::vector<std::wstring> texts = ChromeTexts(windows);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Example Domain", L"example.org"}));
    TWebbrowserActiveUrl reader;
    EXPECT_EQ(OtherBrowserQuery(reader, windows), (std::vector<PagePair>{{L"http://example.org", L"Example Domain"}}));
}

TEST(ChromeUnderWine, HostileWindowTextsAreReadWholeOrGiveNothing) {
    RealBrowserWindows windows;
    PagePair page;
    {
        FakeChrome chrome(L"Title", std::wstring(64 * 1024, L'a'));
        ASSERT_TRUE(ChromePage(ChromeTexts(windows), page));
        EXPECT_EQ(page.address.size(), 64u * 1024 + 7);
    }
    {
        FakeChrome chrome(L"%", L"%");
        ASSERT_TRUE(ChromePage(ChromeTexts(windows), page));
        EXPECT_EQ(page.address, L"http://%");
    }
    {
        FakeChrome chrome(L"New Tab", L"");
        EXPECT_FALSE(ChromePage(ChromeTexts(windows), page));
    }
    EXPECT_FALSE(ChromePage(ChromeTexts(windows), page));  // no Chrome window at all
}

TEST(ShellWindowsUnderWine, TheUnimplementedCollectionGivesAnEmptyScan) {
    ComScope com;
    TShellWindows shell;
    EXPECT_TRUE(ScanOpenLocations(shell, true, true, LocationScanServices()).empty());
}

TEST(OpenLocationRowsUnderWine, OneRowPerNewLocationWithItsImage) {
    TempFolder dir;
    ASSERT_TRUE(Write(dir.file(L"a.txt")));
    HWND list = CreateWindowW(WC_LISTVIEWW, L"", LVS_REPORT, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_WIDTH;
        col.cx = 100;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
    }
    LocationRowServices services;
    services.iconIndex = [](const std::wstring&) { return 5; };
    services.fileExists = [](const std::wstring& p) { return FileExists(p); };
    std::vector<LocationPair> pairs{{dir.file(L"a.txt"), L"a"},
                                    {L"http://example.com/", L"Example"},
                                    {L"C:\\Work", L"Work"},
                                    {L"c:\\work", L"Work"},
                                    {L" ", L"blank"}};
    EXPECT_TRUE(AppendOpenLocationRows(list, pairs, services));
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
    int images[3];
    for (int i = 0; i < 3; ++i) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        images[i] = item.iImage;
    }
    EXPECT_EQ(images[0], 5);
    EXPECT_EQ(images[1], 1);
    EXPECT_EQ(images[2], 0);
    EXPECT_EQ(ListViewText(list, 1, 1), L"http://example.com/");
    EXPECT_EQ(ListViewText(list, 2, 0), L"Work");
    EXPECT_FALSE(AppendOpenLocationRows(list, pairs, services));
    DestroyWindow(list);
}
