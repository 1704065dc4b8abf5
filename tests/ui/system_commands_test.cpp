// The system commands through the real window: each one's request to the shell, the questions,
// the elevated restart and the program's guide.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/startup.h"
#include "app/shell_links.h"
#include "base/constants.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "replay/recording_shell.h"
#include "support/fake_prompter.h"
#include "support/recording_system.h"
#include "support/test_support.h"
#include "ui/main/commands/system_commands.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/menus/main_menus.h"
#include "ui/message_pump.h"

using namespace tv;

namespace {

class SystemCommandsWindow : public ::testing::Test {
protected:
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder programFolder;
    Settings settings = OpenSettingsFiles();
    std::unique_ptr<TTolvaneWindow> window;
    tvtest::ScriptedPrompter prompter;
    tvtest::RecordingShell shell;
    tvtest::RecordingSystem system{shell};

    void SetUp() override { Open(); }
    void Open() {
        window = std::make_unique<TTolvaneWindow>(settings, nullptr);
        window->parts().recording.askRecord = [](auto&&...) { return false; };
        ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        window->parts().prompter = &prompter;
        window->parts().shellCalls = &shell;
        window->parts().systemCalls = &system;
        window->parts().programFolder = programFolder.path();
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 10; ++i, Sleep(20)) ProcessMessages();
        shell.calls.clear();
    }
    // The program started again on the same settings files.
    void Reopen() {
        DestroyWindow(window->hwnd());
        tvtest::DropQuitMessages();
        Open();
    }
    void TearDown() override {
        if (window && IsWindow(window->hwnd())) DestroyWindow(window->hwnd());
        window.reset();
        tvtest::DropQuitMessages();
    }
    void Run(UINT id) {
        tvtest::RunCommand(window->hwnd(), id);
        for (int i = 0; i < 5; ++i) ProcessMessages();
    }
    bool Checked(UINT id) {
        // Every menu holding the item shows the same mark.
        std::set<bool> marks;
        for (HMENU menu : {window->parts().menus.MainMenu1, window->parts().menus.PopupMenuMore}) {
            const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
            if (state != static_cast<UINT>(-1)) marks.insert((state & MF_CHECKED) != 0);
        }
        EXPECT_EQ(marks.size(), 1u) << id;
        return marks.count(true) != 0;
    }
    // One call as "kind|verb|file|parameters|show", the owner as "owner" or "none".
    std::vector<std::wstring> Calls() {
        std::vector<std::wstring> out;
        for (const tvtest::ShellCall& c : shell.calls)
            out.push_back(c.kind + L"|" + c.verb + L"|" + c.file + L"|" + c.parameters + L"|" + std::to_wstring(c.show) +
                          (c.owner ? L"|owner" : L""));
        return out;
    }
    std::wstring Guide() { return programFolder.file(kGuideFileName); }
};

const std::wstring kPage = L"RunDLL32.exe Shell32.dll,Control_RunDLL ";

}  // namespace

TEST_F(SystemCommandsWindow, EachFolderPageAndPlaceCommandMakesOnlyItsRequest) {
    struct Case {
        UINT id;
        std::wstring call;
    } cases[] = {
        {kCmdMyComputer, L"SpecialFolder||17||-1"},     {kCmdMyDocuments, L"SpecialFolder||5||-1"},
        {kCmdDesktopFolder, L"SpecialFolder||16||-1"},  {kCmdRecycleBin, L"SpecialFolder||10||-1"},
        {kCmdControlPanel, L"SpecialFolder||3||-1"},    {kCmdNetworkPlaces, L"SpecialFolder||18||-1"},
        {kCmdHistory, L"SpecialFolder||34||-1"},        {kCmdRecentDocuments, L"SpecialFolder||8||-1"},
        {kCmdAddRemovePrograms, L"WinExec||" + kPage + L"AppWiz.cpl,,0||1"},
        {kCmdSystemProperties, L"WinExec||" + kPage + L"SysDm.cpl,,0||1"},
        {kCmdSystemHardware, L"WinExec||" + kPage + L"SysDm.cpl,,2||1"},
        {kCmdSystemAdvanced, L"WinExec||" + kPage + L"SysDm.cpl,,3||1"},
        {kCmdDisplayDesktop, L"WinExec||" + kPage + L"desk.cpl,,0||1"},
        {kCmdDisplaySettings, L"WinExec||" + kPage + L"desk.cpl,,3||1"},
        {kCmdDisplayScreenSaver, L"WinExec||" + kPage + L"desk.cpl,,1||1"},
        {kCmdTaskManager, L"ExecuteW|open|taskmgr||1"},
        {kCmdShowDesktop, L"ToggleDesktop||||-1"},
        {kCmdFavorites, L"ExecuteW|explore|C:\\users\\me\\Favorites|(none)|1|owner"},
        {kCmdStartup, L"ExecuteW|open|" + Guide() + L"|(none)|1|owner"},
        {kCmdHomePage, L"ExecuteW|Open|" + Guide() + L"|(none)|1|owner"},
        {kCmdOnlineGuide, L"ExecuteW|open|" + Guide() + L"|(none)|3|owner"},
        // No help file beside the test: Help opens the guide as Online Guide does.
        {kCmdHelp, L"ExecuteW|open|" + Guide() + L"|(none)|3|owner"},
    };
    for (const Case& c : cases) {
        shell.calls.clear();
        Run(c.id);
        EXPECT_EQ(Calls(), std::vector<std::wstring>{c.call}) << c.id;
    }
    EXPECT_TRUE(prompter.asked.empty());

    // The shell gave no Favorites folder: nothing opens, not some default folder.
    system.favorites.clear();
    shell.calls.clear();
    Run(kCmdFavorites);
    EXPECT_TRUE(Calls().empty());

    // The start-up tool where it belongs is started instead of the guide.
    tvtest::TempFolder documents;
    system.documents = documents.path();
    CreateDirectoryW(documents.file(L"Brindlemark").c_str(), nullptr);
    ASSERT_TRUE(WriteFileAtomic(StartupToolPath(documents.path()), ""));
    shell.calls.clear();
    Run(kCmdStartup);
    EXPECT_EQ(Calls(), std::vector<std::wstring>{L"ExecuteW|open|" + StartupToolPath(documents.path()) + L"|(none)|1|owner"});
}

TEST_F(SystemCommandsWindow, QuestionsAskEveryTimeAndOnlyOkGoesOn) {
    struct Case {
        UINT id;
        const wchar_t* question;
        std::wstring request;
    } cases[] = {
        {kCmdClearRecentDocuments, L"Are you sure you want to clear My Recent Documents?", L"ClearRecent||"},
        {kCmdLogOff, L"Are you sure you want to quick log off computer without save the change?",
         L"EndSession||" + std::to_wstring(EWX_LOGOFF | EWX_FORCE)},
        {kCmdRestart, L"Are you sure you want to quick restart computer without save the change?",
         L"EndSession||" + std::to_wstring(EWX_REBOOT | EWX_FORCE) + L"+privilege"},
        {kCmdShutDown, L"Are you sure you want to quick shut down computer without save the change?",
         L"EndSession||" + std::to_wstring(EWX_FORCE | EWX_POWEROFF) + L"+privilege"},
    };
    // "Prompt before executing" turned off changes no question, and is stored at once.
    ASSERT_TRUE(Checked(kCmdPromptBeforeExecuting));
    Run(kCmdPromptBeforeExecuting);
    EXPECT_FALSE(Checked(kCmdPromptBeforeExecuting));
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kPromptBeforeShutdown, true));
    for (const Case& c : cases) {
        prompter.asked.clear();
        shell.calls.clear();
        prompter.answers = {false};
        Run(c.id);
        EXPECT_TRUE(Calls().empty()) << c.question;
        prompter.answers = {true};
        Run(c.id);
        EXPECT_EQ(prompter.asked, (std::vector<std::wstring>{c.question, c.question}));
        EXPECT_EQ(Calls(), std::vector<std::wstring>{c.request + L"||-1"}) << c.question;
    }
}

TEST_F(SystemCommandsWindow, PromptCheckMarkComesBackAfterARestart) {
    for (bool expected : {false, true}) {
        Run(kCmdPromptBeforeExecuting);
        Reopen();
        EXPECT_EQ(Checked(kCmdPromptBeforeExecuting), expected);
    }
}

TEST_F(SystemCommandsWindow, RestartThatDidNotHappenKeepsTheWindowAndTellsWhyOnce) {
    const bool runAsAdminBefore = settings.user->ReadBool(keys::kDefault, keys::kRunAsAdmin, false);
    for (int code : {kElevationRefused, kElevationImpossible}) {
        for (UINT id : {kCmdRunAsAdmin, kCmdRunTolvaneAsAdmin}) {
            settings.user->WriteBool(keys::kDefault, keys::kRunAsAdmin, runAsAdminBefore);
            system.helperExitCode = code;
            prompter.told.clear();
            shell.calls.clear();
            Run(id);
            EXPECT_EQ(Calls(), std::vector<std::wstring>{L"Helper||" + programFolder.file(kElevationProgram) + L"||-1"});
            EXPECT_EQ(prompter.told, std::vector<std::wstring>{RestartRefusedText(code)});
            EXPECT_TRUE(IsWindow(window->hwnd()));
            EXPECT_EQ(settings.user->ReadBool(keys::kDefault, keys::kRunAsAdmin, !runAsAdminBefore), runAsAdminBefore);
        }
    }
    EXPECT_NE(RestartRefusedText(kElevationRefused), RestartRefusedText(kElevationImpossible));

    system.helperExitCode = kElevationStarted;
    settings.user->WriteBool(keys::kDefault, keys::kRunAsAdmin, false);
    prompter.told.clear();
    Run(kCmdRunAsAdmin);
    EXPECT_TRUE(prompter.told.empty());
    EXPECT_TRUE(settings.user->ReadBool(keys::kDefault, keys::kRunAsAdmin, false));
    EXPECT_FALSE(IsWindow(window->hwnd()));  // closing ends this instance
}

TEST_F(SystemCommandsWindow, AlwaysRunAsAdminRestartsOnlyWhenNotElevatedAndIsStoredForTheNextStart) {
    system.helperExitCode = kElevationRefused;  // the window stays for the next step
    Run(kCmdAlwaysRunAsAdmin);
    EXPECT_TRUE(settings.common->ReadBool(keys::kDefault, keys::kAlwaysRunAsAdmin, false));
    EXPECT_TRUE(Checked(kCmdAlwaysRunAsAdmin));
    EXPECT_EQ(Calls(), std::vector<std::wstring>{L"Helper||" + programFolder.file(kElevationProgram) + L"||-1"});
    // Unchecking never restarts.
    shell.calls.clear();
    Run(kCmdAlwaysRunAsAdmin);
    EXPECT_FALSE(settings.common->ReadBool(keys::kDefault, keys::kAlwaysRunAsAdmin, true));
    EXPECT_TRUE(Calls().empty());

    // An elevated instance only stores it, and offers no "Run Tolvane as admin".
    window->parts().hosts.ShowRunAsAdminItems(false);
    window->parts().hosts.LoadAndApplyOptions();
    EXPECT_EQ(GetMenuState(window->parts().menus.PopupMenuMore, kCmdRunTolvaneAsAdmin, MF_BYCOMMAND), static_cast<UINT>(-1));
    Run(kCmdAlwaysRunAsAdmin);
    EXPECT_TRUE(settings.common->ReadBool(keys::kDefault, keys::kAlwaysRunAsAdmin, false));
    EXPECT_TRUE(Calls().empty());

    Reopen();
    EXPECT_TRUE(Checked(kCmdAlwaysRunAsAdmin));
}

// The real shell of this prefix: the Recent folder the test filled is empty afterwards.
TEST_F(SystemCommandsWindow, ClearMyRecentDocumentsEmptiesTheRecentFolder) {
    wchar_t recent[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_RECENT, nullptr, SHGFP_TYPE_CURRENT, recent)));
    tvtest::TempFolder targets;
    std::vector<std::wstring> links;
    for (const wchar_t* name : {L"a.txt", L"b.txt"}) {
        ASSERT_TRUE(WriteFileAtomic(targets.file(name), "x"));
        links.push_back(std::wstring(recent) + L"\\" + name + L".lnk");
        ASSERT_TRUE(CreateShortcut(links.back(), targets.file(name), targets.path()));
    }
    window->parts().systemCalls = &RealSystemCalls();
    prompter.answers = {false};
    Run(kCmdClearRecentDocuments);
    for (const std::wstring& link : links) EXPECT_TRUE(FileExists(link)) << "Cancel keeps " << link;
    prompter.answers = {true};
    Run(kCmdClearRecentDocuments);
    for (const std::wstring& link : links) EXPECT_FALSE(FileExists(link)) << link;
}

// The guide shipped beside the program: its links lead somewhere and its headings name things
// the program has.
TEST(ShippedGuide, LinksResolveAndHeadingsNameTheProgramsParts) {
    std::string html;
    ASSERT_TRUE(ReadFileBytes(GuidePath(tvtest::ExeFolder()), html));
    std::set<std::string> ids;
    const std::regex id("id=\"([^\"]+)\""), href("href=\"([^\"]+)\""), heading("<h2 id=\"[^\"]+\">([^<]+)</h2>");
    for (std::sregex_iterator m(html.begin(), html.end(), id), end; m != end; ++m) ids.insert((*m)[1]);
    int links = 0;
    for (std::sregex_iterator m(html.begin(), html.end(), href), end; m != end; ++m, ++links) {
        const std::string target = (*m)[1];
        ASSERT_EQ(target[0], '#') << "the guide opens offline: " << target;
        EXPECT_TRUE(ids.count(target.substr(1))) << target;
    }
    EXPECT_GT(links, 5);
    tvtest::ScopedDataFolders folders;
    Settings settings = OpenSettingsFiles();
    TTolvaneWindow window(settings, nullptr);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    auto has = [&window](UINT id) { return [&window, id] { return window.parts().commands.Has(id); }; };
    // Every heading, and what of the program it names.
    const std::map<std::string, std::function<bool()>> named = {
        {"Records", has(kCmdRefresh)},
        {"Recording", has(kCmdRecord)},
        {"Smart Record", has(kCmdSmartRecord)},
        {"Replay", has(kCmdReplayAll)},
        {"Search", has(kCmdSearch)},
        {"Editing a record", has(kCmdAdd)},
        {"The Explorer menu &ldquo;Add to Tolvane&rdquo;",
         [] { return FileExists(tvtest::ExeFolder() + L"\\TolvaneMenuDLL.dll"); }},
        {"The Windows and Shut down menus", has(kCmdShutDown)},
        {"The start-up tool", has(kCmdStartup)},
        {"Run as administrator", has(kCmdRunAsAdmin)},
    };
    int headings = 0;
    for (std::sregex_iterator m(html.begin(), html.end(), heading), end; m != end; ++m, ++headings) {
        auto found = named.find((*m)[1]);
        ASSERT_NE(found, named.end()) << (*m)[1];
        EXPECT_TRUE(found->second()) << (*m)[1];
    }
    EXPECT_EQ(headings, static_cast<int>(named.size()));
    DestroyWindow(window.hwnd());
    tvtest::DropQuitMessages();
}
