// The item launcher over a fake machine and a shell that records what would be started.
#include "replay/item_launcher.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/shell_links.h"
#include "base/file_util.h"
#include "capture/fake_machine.h"
#include "replay/open64link.h"
#include "replay/launcher_fixture.h"
#include "replay/recording_shell.h"
#include "replay/run_as_admin.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;

namespace {

TEST_F(LauncherTest, StoredPathsOpenAsTheUserKnowsThem) {
    machine.AddFile(L"C:\\My Files\\a.doc");
    machine.AddFolder(L"C:\\Projects\\Old");
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\My%20Files\\a.doc"));
    // Explored without a trailing backslash, which would escape the shell's closing quote.
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\Projects\\Old"));
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=none verb=open [C:\\My Files\\a.doc] params=[(none)] dir=[(none)] show=1",
                              L"ExecuteW owner=main verb=explore [C:\\Projects\\Old] params=[(none)] dir=[(none)] show=1"}));
    EXPECT_EQ(helps, 0);
}

TEST_F(LauncherTest, HelpProgramInAnyFolderOpensTheProgramsOwnHelp) {
    machine.AddFile(L"C:\\Windows\\hh.exe");
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\Windows\\hh.exe"));
    EXPECT_TRUE(Launcher().OpenItem(L"D:\\Tools\\HH.EXE "));  // missing, still the help
    EXPECT_EQ(helps, 2);
    EXPECT_TRUE(shell.calls.empty()) << Calls().front();
}

TEST_F(LauncherTest, LibrariesOpenExplorerOnTheLibraryFolder) {
    EXPECT_TRUE(Launcher().OpenItem(L"Libraries\\Music"));
    EXPECT_TRUE(Launcher().OpenItem(L"  LIBRARIES\\My%20Pictures"));
    std::wstring folder = std::wstring(kAppData) + L"\\Microsoft\\Windows\\Libraries";
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=main verb=Open [Explorer] params=[\"" + folder +
                                  L"\\Music\"] dir=[(none)] show=1",
                              L"ExecuteW owner=main verb=Open [Explorer] params=[\"" + folder +
                                  L"\\My Pictures\"] dir=[(none)] show=1"}));
}

TEST_F(LauncherTest, PictureViewerStartsWithoutAFile) {
    EXPECT_TRUE(Launcher().OpenItem(L"rundll32.exe C:\\Windows\\system32\\shimgvw.dll,ImageView_Fullscreen C:\\p\\a.jpg"));
    EXPECT_TRUE(Launcher().OpenItem(L"Windows Photo Viewer"));
    const std::wstring viewer = std::wstring(L"ExecuteW owner=none verb=open [rundll32.exe] params=[") + kViewerEntry +
                                L"] dir=[(none)] show=1";
    EXPECT_EQ(Calls(), (Lines{viewer, viewer}));
}

TEST_F(LauncherTest, PictureViewerOfTheShellTableShowsThePathUnquoted) {
    Launcher().ShowInPictureViewer(L"C:\\My Pictures\\a b.jpg");
    EXPECT_EQ(Calls(), (Lines{std::wstring(L"ExecuteW owner=main verb=open [rundll32.exe] params=[") + kViewerEntry +
                              L" C:\\My Pictures\\a b.jpg] dir=[(none)] show=1"}));
}

TEST_F(LauncherTest, ShortcutInWow64OnWindows7GoesToTheLinkOpener) {
    machine.PlayWow64();
    const std::wstring link = L"C:\\Users\\ann\\Desktop\\Mail \x00e9t\x00e9.lnk";
    EXPECT_TRUE(Launcher().OpenItem(link));
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=none verb=open [C:\\Program Files\\TolVane\\TolvaneOpen64Link.exe]"
                              L" params=[(none)] dir=[(none)] show=1"}));
    std::string expected = "\xFF\xFE" + Utf16(link + L"\r\n");
    EXPECT_EQ(ReadAll(context.dataFolder + L"\\open64link.txt"), expected);

    // Each hand-off replaces the last one.
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\b.lnk"));
    EXPECT_EQ(ReadAll(context.dataFolder + L"\\open64link.txt"), "\xFF\xFE" + Utf16(L"C:\\b.lnk\r\n"));
    EXPECT_EQ(HandedOffShortcut(ReadAll(context.dataFolder + L"\\open64link.txt")), L"C:\\b.lnk");
}

TEST_F(LauncherTest, ShortcutHandOffThatCannotBeWrittenStartsNothingAndFails) {
    machine.PlayWow64();
    // A file where the data folder should be.
    ASSERT_TRUE(WriteAll(context.dataFolder, "x"));
    EXPECT_FALSE(Launcher().OpenItem(L"C:\\a.lnk"));
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(LauncherTest, ShortcutOnXpInWow64OpensDirectlyWithRedirectionOff) {
    machine.PlayWow64();
    context.versionName = L"windows xp";
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\Documents and Settings\\ann\\a.lnk"));
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=none verb=open [C:\\Documents and Settings\\ann\\a.lnk]"
                              L" params=[(none)] dir=[(none)] show=1"}));
    EXPECT_TRUE(shell.calls[0].redirectionOff);
    EXPECT_FALSE(platform.off());
    EXPECT_FALSE(FileExists(context.dataFolder + L"\\open64link.txt"));
}

TEST_F(LauncherTest, ShortcutOn32BitWindows7GoesThroughAHiddenCommand) {
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\Users\\ann\\Desktop\\a.LNK"));
    context.versionName = L"windows vista";
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\b.lnk"));
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=none verb=open [command] params=[/c explorer \"C:\\Users\\ann\\Desktop\\a.LNK\"]"
                              L" dir=[(none)] show=0",
                              L"ExecuteW owner=none verb=open [command] params=[/c explorer \"C:\\b.lnk\"] dir=[(none)] show=0"}));
}

TEST_F(LauncherTest, MissingLocalPathIsReportedOutsideStartupReplay) {
    EXPECT_TRUE(Launcher().OpenItem(L"D:\\Docs\\old.txt"));
    // Drive A: never counts as present.
    machine.AddFile(L"A:\\disk.txt");
    EXPECT_TRUE(Launcher().OpenItem(L"A:\\disk.txt"));
    EXPECT_EQ(Calls(), (Lines{L"Message owner=main [Windows cannot find 'D:\\Docs\\old.txt'.]",
                              L"Message owner=main [Windows cannot find 'A:\\disk.txt'.]"}));

    shell.calls.clear();
    context.startupReplay = true;
    EXPECT_TRUE(Launcher().OpenItem(L"D:\\Docs\\old.txt"));
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(LauncherTest, AddressesAndNetworkPathsGoToTheBrowser) {
    EXPECT_TRUE(Launcher().OpenItem(L"http://www.example.com/a/b.html?q=1", true));
    EXPECT_TRUE(Launcher().OpenItem(L"http://www.example.com/a/b.html?q=1"));
    EXPECT_TRUE(Launcher().OpenItem(L"\\\\server\\share\\x.doc"));
    EXPECT_TRUE(Launcher().OpenItem(L"//server/share/y.doc"));
    EXPECT_EQ(Calls(), (Lines{L"ExecuteA owner=none verb=open [http://www.example.com] params=[] dir=[] show=5",
                              L"ExecuteA owner=none verb=open [http://www.example.com/a/b.html?q=1] params=[] dir=[] show=5",
                              L"ExecuteA owner=none verb=open [\\\\server\\share\\x.doc] params=[] dir=[] show=5",
                              L"ExecuteA owner=none verb=open [//server/share/y.doc] params=[] dir=[] show=5"}));
}

TEST_F(LauncherTest, OldInternetExplorerGetsTheAddressAsItsParameter) {
    const std::wstring ie = L"C:\\Program Files\\Internet Explorer\\iexplore.exe";
    shell.browserCommand = L"\"" + ie + L"\" -nohome";
    shell.ieReadable = true;
    struct Case {
        const wchar_t* version;
        bool old;
    } cases[] = {{L"6.0000", true}, {L"5.5", true}, {L"7.0000", false}, {L"11.0000", false}, {L"abc", false},
                 {L"", false}};
    for (const Case& c : cases) {
        shell.calls.clear();
        shell.ieVersion = c.version;
        Launcher().OpenWebPage(L"http://x.org/");
        Lines expected{c.old ? L"ExecuteA owner=none verb=open [" + ie + L"] params=[http://x.org/] dir=[(none)] show=5"
                             : L"ExecuteA owner=none verb=open [http://x.org/] params=[] dir=[] show=5"};
        EXPECT_EQ(Calls(), expected) << c.version;
    }

    // A user who may not open the key with full access gets the ordinary rule; so does any
    // other browser, and a command without a quoted program.
    shell.ieVersion = L"6.0";
    struct Setup {
        bool readable;
        std::wstring command;
    } setups[] = {{false, shell.browserCommand},
                  {true, L"\"C:\\Firefox\\firefox.exe\" -url \"%1\""},
                  {true, L"C:\\ie\\IEXPLORE.EXE %1"}};
    for (const Setup& setup : setups) {
        shell.calls.clear();
        shell.ieReadable = setup.readable;
        shell.browserCommand = setup.command;
        Launcher().OpenWebPage(L"http://x.org/");
        EXPECT_EQ(Calls(), (Lines{L"ExecuteA owner=none verb=open [http://x.org/] params=[] dir=[] show=5"}));
    }
}

TEST(WebPageRules, BrowserProgramAndVersionNumbers) {
    EXPECT_EQ(BrowserProgramOf(L"\"C:\\a b\\b.exe\" -- \"%1\""), L"C:\\a b\\b.exe");
    EXPECT_EQ(BrowserProgramOf(L"\"C:\\a b\\b.exe"), L"");
    EXPECT_EQ(BrowserProgramOf(L""), L"");
    double v = 0;
    EXPECT_TRUE(ParseVersionNumber(L"6.0000", v));
    EXPECT_DOUBLE_EQ(v, 6.0);
    EXPECT_TRUE(ParseVersionNumber(L" 6.99 ", v));
    EXPECT_LT(v, 7.0);
    EXPECT_TRUE(ParseVersionNumber(L"10", v));
    EXPECT_DOUBLE_EQ(v, 10.0);
    for (const wchar_t* bad : {L"", L".", L"6.0.1", L"6,0", L"-6", L"six"}) EXPECT_FALSE(ParseVersionNumber(bad, v)) << bad;
}

TEST_F(LauncherTest, DocumentsKeepRedirectionOnlyUnderTheThirtyTwoBitProgramFolder) {
    machine.PlayWow64();
    machine.AddFile(L"C:\\Program Files (x86)\\App\\readme.txt");
    machine.AddFile(L"C:\\Program Files\\App\\readme.txt");
    machine.AddFile(L"C:\\Windows\\System32\\drivers\\etc\\hosts.txt");
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\PROGRAM FILES (X86)\\App\\readme.txt"));
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\Program Files\\App\\readme.txt"));
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\Windows\\System32\\drivers\\etc\\hosts.txt"));
    ASSERT_EQ(shell.calls.size(), 3u);
    EXPECT_FALSE(shell.calls[0].redirectionOff);
    EXPECT_TRUE(shell.calls[1].redirectionOff);
    EXPECT_TRUE(shell.calls[2].redirectionOff);
    EXPECT_FALSE(platform.off());
}

TEST_F(LauncherTest, DocumentWithoutAssociationBringsOpenWith) {
    machine.AddFile(L"C:\\data\\a.xyz");
    machine.AddFile(L"C:\\tools\\broken.exe");
    shell.executeResult = SE_ERR_NOASSOC;
    shell.lastError = ERROR_NO_ASSOCIATION;
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\data\\a.xyz"));
    EXPECT_TRUE(Launcher().OpenItem(L"C:\\tools\\broken.exe"));
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=none verb=open [C:\\data\\a.xyz] params=[(none)] dir=[(none)] show=1",
                              L"ExecuteW owner=main verb=open [rundll32.exe] params=[shell32.dll,OpenAs_RunDLL C:\\data\\a.xyz]"
                              L" dir=[(none)] show=1",
                              L"ExecuteW owner=none verb=open [C:\\tools\\broken.exe] params=[(none)] dir=[(none)] show=1"}));
}

TEST_F(LauncherTest, ErrorOfAFailedOpenIsTheShellsOwnNotTheRedirectionRestores) {
    machine.PlayWow64();
    machine.AddFile(L"C:\\data\\a.xyz");
    shell.executeResult = SE_ERR_NOASSOC;
    shell.lastError = ERROR_NO_ASSOCIATION;
    // Restoring redirection sets the thread's error as any system call may.
    platform.onRevert = [this] { shell.lastError = ERROR_INVALID_PARAMETER; };
    Launcher().OpenDocument(L"C:\\data\\a.xyz", L"", true);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[1].parameters, L"shell32.dll,OpenAs_RunDLL C:\\data\\a.xyz");

    // A shell that reports no association only by its return value is understood too.
    shell.calls.clear();
    platform.onRevert = nullptr;
    shell.lastError = ERROR_SUCCESS;
    Launcher().OpenDocument(L"C:\\data\\a.xyz", L"", true);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[1].file, L"rundll32.exe");
}

TEST_F(LauncherTest, OtherOpenErrorsShowTheSystemTextUnlessQuiet) {
    shell.executeResult = SE_ERR_ACCESSDENIED;
    shell.lastError = ERROR_ACCESS_DENIED;
    Launcher().OpenDocument(L"C:\\a.doc", L"-x", true);
    Launcher().OpenDocument(L"C:\\a.doc", L"-x", false);
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=none verb=open [C:\\a.doc] params=[-x] dir=[(none)] show=1",
                              L"Message owner=main [" + SystemMessageText(ERROR_ACCESS_DENIED) + L"]",
                              L"ExecuteW owner=none verb=open [C:\\a.doc] params=[-x] dir=[(none)] show=1"}));

    // In start-up replay the open-item operation stays quiet too.
    machine.AddFile(L"C:\\b.doc");
    shell.calls.clear();
    context.startupReplay = true;
    Launcher().OpenItem(L"C:\\b.doc");
    EXPECT_TRUE(shell.Messages().empty());
}

TEST_F(LauncherTest, QuickOpenOfShellPlacesByTitle) {
    ItemLauncher launcher = Launcher();
    launcher.QuickOpen(L"C:\\Windows\\explorer.exe", L"Control Panel");
    launcher.QuickOpen(L"x", L"\x63a7\x5236\x9762\x677f");
    launcher.QuickOpen(L"x", L"\x684c\x9762");
    launcher.QuickOpen(L"x", L"\x7f51\x4e0a\x90bb\x5c45");
    launcher.QuickOpen(L"", L"\x684c\x9762");
    EXPECT_EQ(Calls(), (Lines{L"SpecialFolder owner=none [3]",
                              L"WinExec owner=none [rundll32.exe   shell32.dll,Control_RunDLL] show=9",
                              L"MinimizeAll owner=none []", L"SpecialFolder owner=none [18]"}));
}

TEST_F(LauncherTest, QuickOpenOfAPlaceTheTableOpenedOpensNothingElse) {
    ItemLauncher launcher = Launcher();
    launcher.QuickOpen(L"C:\\Windows\\System32\\rundll32.exe", L"a.jpg - Windows Photo Viewer");
    launcher.QuickOpen(L"C:\\Windows\\explorer.exe", L"Windows Update");
    EXPECT_EQ(Calls(), (Lines{std::wstring(L"ExecuteW owner=main verb=open [rundll32.exe] params=[") + kViewerEntry +
                                  L" C:\\Windows\\System32\\rundll32.exe] dir=[(none)] show=1",
                              L"WinExec owner=none [C:\\Windows\\system32\\control.exe /name Microsoft.WindowsUpdate] show=1"}));
}

TEST_F(LauncherTest, QuickOpenOfPathsAndAddresses) {
    machine.AddFolder(L"C:\\Work");
    machine.AddFile(L"C:\\Work\\plan.doc");
    ItemLauncher launcher = Launcher();
    launcher.QuickOpen(L"HTTPS://www.example.com/a", L"Example");
    launcher.QuickOpen(L"res://ieframe.dll/navcancl.htm", L"Cancelled");
    launcher.QuickOpen(L"C:\\Work", L"Work");             // explored, lower-cased
    launcher.QuickOpen(L"C:\\Gone", L"Gone");             // no such folder: nothing
    launcher.QuickOpen(L"C:\\Work\\plan.doc", L"Plan");
    launcher.QuickOpen(L"C:\\Work\\old.doc", L"Old");     // no longer there: nothing
    launcher.QuickOpen(L"C:\\Users\\ann\\Desktop\\x.lnk", L"X");
    launcher.QuickOpen(L"example.com", L"Example");
    EXPECT_EQ(Calls(), (Lines{L"ExecuteW owner=main verb=open [HTTPS://www.example.com/a] params=[(none)] dir=[(none)] show=1",
                              L"ExecuteW owner=main verb=explore [c:\\work] params=[(none)] dir=[(none)] show=1",
                              L"ExecuteW owner=main verb=open [C:\\Work\\plan.doc] params=[(none)] dir=[(none)] show=1",
                              L"ExecuteW owner=main verb=(none) [C:\\Users\\ann\\Desktop\\x.lnk] params=[(none)] dir=[(none)] show=1",
                              L"ExecuteW owner=main verb=open [http://example.com] params=[(none)] dir=[(none)] show=1"}));
}

TEST_F(LauncherTest, ShellTableOpensItsSpecialFoldersThroughTheLauncher) {
    std::wstring title = L"Recycle Bin", path = L"C:\\Windows\\explorer.exe";
    ItemLauncher launcher = Launcher();
    EXPECT_EQ(ShellWindowTable(title, path, ShellTableMode::Launch, &launcher), 1);
    EXPECT_EQ(Calls(), (Lines{L"SpecialFolder owner=none [" + std::to_wstring(CSIDL_BITBUCKET) + L"]"}));
}

TEST(RunAsAdmin, AsksOnceAndLaunchesThroughRunas) {
    RecordingShell shell;
    int asked = 0;
    TRunAsAdmin admin(shell, [&asked] {
        ++asked;
        return true;
    });
    EXPECT_TRUE(admin.IsAdministrator());
    EXPECT_TRUE(admin.IsAdministrator());
    EXPECT_EQ(asked, 1);

    EXPECT_TRUE(admin.ElevatedLaunch(kMainWindow, L"C:\\a b\\setup.exe", L"/quiet"));
    shell.elevationAccepted = false;
    EXPECT_FALSE(admin.ElevatedLaunch(nullptr, L"C:\\x.bat", L""));
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].owner, kMainWindow);
    EXPECT_EQ(shell.calls[0].file, L"C:\\a b\\setup.exe");
    EXPECT_EQ(shell.calls[0].parameters, L"/quiet");
    EXPECT_EQ(shell.calls[1].file, L"C:\\x.bat");
    EXPECT_EQ(shell.calls[1].parameters, L"");
}

// Token groups built by hand: which of them make an administrator.
class Groups {
public:
    Groups() : buffer_(sizeof(TOKEN_GROUPS) + 8 * sizeof(SID_AND_ATTRIBUTES)) {}
    ~Groups() {
        for (PSID s : sids_) FreeSid(s);
    }
    Groups& Add(DWORD firstRid, DWORD secondRid, DWORD attributes) {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        PSID sid = nullptr;
        if (!AllocateAndInitializeSid(&nt, 2, firstRid, secondRid, 0, 0, 0, 0, 0, 0, &sid)) return *this;
        sids_.push_back(sid);
        auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer_.data());
        groups->Groups[groups->GroupCount++] = {sid, attributes};
        return *this;
    }
    const TOKEN_GROUPS& get() const { return *reinterpret_cast<const TOKEN_GROUPS*>(buffer_.data()); }

private:
    std::vector<char> buffer_;
    std::vector<PSID> sids_;
};

TEST(RunAsAdmin, AdministratorsGroupCountsOnlyWhenItGrantsRights) {
    const DWORD enabled = SE_GROUP_ENABLED | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_MANDATORY;
    EXPECT_FALSE(GroupsHoldAdministrators(Groups().get()));
    EXPECT_FALSE(GroupsHoldAdministrators(Groups().Add(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, enabled).get()));
    // Power users (547) and a Users group are not administrators, wherever they stand.
    EXPECT_TRUE(GroupsHoldAdministrators(Groups()
                                             .Add(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, enabled)
                                             .Add(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_POWER_USERS, enabled)
                                             .Add(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, enabled)
                                             .get()));
    // An administrator before elevation holds the group only to be denied by it.
    EXPECT_FALSE(GroupsHoldAdministrators(
        Groups().Add(SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, SE_GROUP_USE_FOR_DENY_ONLY).get()));
}

TEST(OpenLinkHandOff, OnlyAShortcutOnTheFirstLineIsTaken) {
    const std::string bom = "\xFF\xFE";
    EXPECT_EQ(HandedOffShortcut(bom + Utf16(L"  C:\\a b\\x.lnk \r\nC:\\y.lnk\r\n")), L"C:\\a b\\x.lnk");
    EXPECT_EQ(HandedOffShortcut("C:\\plain.LNK"), L"C:\\plain.LNK");  // no mark: the ANSI code page
    for (const std::string& garbled :
         {std::string(), bom, bom + Utf16(L"\r\n"), bom + Utf16(L"C:\\evil.exe\r\n"), bom + Utf16(L".lnk\r\n"),
          bom + Utf16(L"C:\\a\x0001.lnk"), std::string("\x00\x01\x02\xff\xfe\x80", 6), std::string("\xFE\xFF\x00", 3),
          bom + std::string(kMaxHandOffBytes, 'a') + Utf16(L".lnk")})
        EXPECT_EQ(HandedOffShortcut(garbled), L"") << garbled.size();
}

}  // namespace
