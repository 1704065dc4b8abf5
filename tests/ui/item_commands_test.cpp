// The record trees' item and file commands: their rules, and the commands through the real window.
#include <gtest/gtest.h>

#include "support/page_server.h"  // before windows.h, as Winsock 2 asks

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "capture/recent_documents.h"
#include "records/record_file.h"
#include "replay/recording_shell.h"
#include "support/fake_prompter.h"
#include "support/record_entries.h"
#include "support/test_support.h"
#include "base/text_file.h"
#include "capture/path_resolution.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/dialogs/send_to_dialog.h"
#include "ui/main/commands/item_commands.h"
#include "ui/main/commands/send_to_commands.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/menus/main_menus.h"
#include "ui/message_pump.h"
#include "ui/window_text.h"

using namespace tv;

TEST(ItemCommandRules, LocationsPasteDestinationsAndRecentEntries) {
    EXPECT_EQ(FolderPartOf(L"C:\\a\\b.txt"), L"C:\\a\\");
    EXPECT_EQ(LocationToOpen(L"C:\\a\\b.txt", false), L"C:\\a\\");
    EXPECT_EQ(LocationToOpen(L"C:\\a", true), L"C:\\a");
    EXPECT_EQ(LocationToCopy(L"C:\\a\\b.txt", false, false, L"c:\\"), L"C:\\a\\");
    EXPECT_EQ(LocationToCopy(L"C:\\a\\sub", true, true, L"C:\\a"), L"C:\\a");
    EXPECT_EQ(LocationToCopy(L"C:\\a\\sub", true, false, L"C:\\a"), L"C:\\a\\sub");
    // A group item without a trailing backslash still gets the file inside it.
    EXPECT_EQ(PasteDestination(L"D:\\Work", L"C:\\x\\report.doc"), L"D:\\Work\\report.doc");
    EXPECT_EQ(PasteDestination(L"D:\\Work\\", L"C:\\x\\report.doc"), L"D:\\Work\\report.doc");

    const std::wstring links = L"c:\\docs\\tolvane\\links\\";
    struct Case {
        const wchar_t* target;
        const wchar_t* path;
        bool leads;
    } cases[] = {
        {L"c:\\a\\b.txt", L"c:\\a\\b.txt", true},       {L"c:\\a\\", L"c:\\a", true},
        {L"c:\\a", L"c:\\a\\", true},                   {L"c:\\a\\b.txt", L"c:\\a\\b.txt2", false},
        {L"c:\\a\\b.txt", L"c:\\a", false},             {L"d:\\x\\note.lnk", L"c:\\docs\\tolvane\\links\\note.lnk", true},
        {L"d:\\x\\note.txt", L"c:\\docs\\tolvane\\links\\note.txt", false}, {L"", L"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(RecentEntryLeadsTo(c.target, c.path, links), c.leads) << c.target << " " << c.path;
}

TEST(ItemCommandRules, OpeningCommandsFollowTheExtensionAndElevation) {
    struct Case {
        const wchar_t* extension;
        bool elevated;
        OpeningItems shown;
    } cases[] = {
        {L".exe", false, {true, false, false, false}}, {L".exe", true, {false, false, false, false}},
        {L".bat", false, {true, true, false, true}},   {L".msc", true, {true, true, false, false}},
        {L".txt", false, {false, true, true, true}},   {L".txt", true, {false, true, false, false}},
        {L"", false, {false, false, false, false}},
    };
    for (const Case& c : cases) {
        const OpeningItems got = OpeningItemsFor(c.extension, c.elevated);
        EXPECT_EQ((std::vector<bool>{got.runAsAdmin, got.openWith, got.openAsAdmin, got.openWithAdmin}),
                  (std::vector<bool>{c.shown.runAsAdmin, c.shown.openWith, c.shown.openAsAdmin, c.shown.openWithAdmin}))
            << c.extension << (c.elevated ? " elevated" : "");
    }
}

namespace {

// The main window on a record folder holding one record written by the test.
class ItemCommandsWindow : public ::testing::Test {
protected:
    tvtest::ScopedDataFolders folders;
    tvtest::TempFolder dir, files;
    Settings settings = OpenSettingsFiles();
    std::unique_ptr<TTolvaneWindow> window;
    tvtest::ScriptedPrompter prompter;
    tvtest::RecordingShell shell;
    ShownRecord written;

    std::wstring RecordPath() const { return dir.file(L"Dec 09,2026_001.tolvane"); }
    void Open() {
        ASSERT_TRUE(WriteRecordFile(written, RecordPath(), L"test"));
        settings.user->WriteString(keys::kDefault, keys::kRecordPath, dir.path());
        window = std::make_unique<TTolvaneWindow>(settings, nullptr);
        window->parts().recording.askRecord = [](auto&&...) { return false; };
        ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        window->parts().prompter = &prompter;
        window->parts().shellCalls = &shell;
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 10; ++i, Sleep(20)) ProcessMessages();
        ASSERT_EQ(window->parts().records.SelectedIndex(), 0);
    }
    void TearDown() override {
        if (window && IsWindow(window->hwnd())) DestroyWindow(window->hwnd());
        window.reset();
        tvtest::DropQuitMessages();
    }
    HWND Tree(int page = 0) { return window->parts().pages.views().Tree(page); }
    // Selects the nodes of these captions in the tree of `page`, which is shown.
    void Select(std::vector<std::wstring> captions, int page = 0) {
        window->parts().pages.ShowPage(page);
        HWND tree = Tree(page);
        DeselectAll(tree);
        std::vector<HTREEITEM> items;
        for (const std::wstring& caption : captions) {
            items.push_back(SearchByCaption(tree, caption, false));
            ASSERT_NE(items.back(), nullptr) << caption;
        }
        // The focus first: moving it takes the mark off the node it leaves.
        TreeView_SelectItem(tree, items.back());
        for (HTREEITEM item : items) TreeView_SetItemState(tree, item, TVIS_SELECTED, TVIS_SELECTED);
    }
    void Run(UINT id) { tvtest::RunCommand(window->hwnd(), id); }
    // Whether the trees' menu, made ready to open, holds the command.
    bool Offered(UINT id) {
        window->parts().items.PmDocTreePopup();
        return GetMenuState(window->parts().menus.PmDocTree, id, MF_BYCOMMAND) != static_cast<UINT>(-1);
    }
    std::vector<std::wstring> Captions(int page = 0) {
        std::vector<std::wstring> out;
        HWND tree = Tree(page);
        ForEachItem(tree, [&](HTREEITEM item) { out.push_back(tvtest::ItemText(tree, item)); });
        return out;
    }
    std::vector<tvtest::ShellCall> Opened() {
        std::vector<tvtest::ShellCall> out;
        for (const auto& call : shell.calls)
            if (call.kind == L"ExecuteW") out.push_back(call);
        return out;
    }
};

std::wstring ClipboardText() {
    ClipboardScope clipboard(nullptr);
    HANDLE data = clipboard.open() ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    if (!data) return L"(none)";
    LockedGlobal text(data);
    return text.bytes() ? std::wstring(reinterpret_cast<const wchar_t*>(text.bytes())) : L"";
}

}  // namespace

TEST_F(ItemCommandsWindow, CopyFilePutsAWideFileListAndCopyNameAndLocationPutText) {
    const std::wstring plain = L"C:\\a\\b.txt", foreign = L"C:\\\u6587\u4ef6\\\u0444\u0430\u0439\u043b \u5199.txt";
    tvtest::AddEntry(written, nullptr, L"plain", plain, kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"foreign", foreign, kProgramOrDocument, 0);
    Open();
    Select({L"plain", L"foreign"});
    Run(kCmdCopyFile);
    {
        ClipboardScope clipboard(nullptr);
        ASSERT_TRUE(clipboard.open());
        HDROP list = static_cast<HDROP>(GetClipboardData(CF_HDROP));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(DragQueryFileW(list, 0xFFFFFFFF, nullptr, 0), 2u);
        std::vector<std::wstring> names;
        for (UINT i = 0; i < 2; ++i) {
            wchar_t name[1025] = {};
            DragQueryFileW(list, i, name, 1024);
            names.push_back(name);
        }
        // Tree order is caption order: "foreign" before "plain".
        EXPECT_EQ(names, (std::vector<std::wstring>{foreign, plain}));
        LockedGlobal block(list);
        ASSERT_GE(block.size(), sizeof(DROPFILES));
        EXPECT_TRUE(reinterpret_cast<const DROPFILES*>(block.bytes())->fWide);
    }
    // With two items the last one's path stays.
    Run(kCmdCopyFileName);
    EXPECT_EQ(ClipboardText(), plain);
    Select({L"plain"});
    Run(kCmdCopyFileLocation);
    EXPECT_EQ(ClipboardText(), L"C:\\a\\");
}

TEST_F(ItemCommandsWindow, PasteCopiesTheFilesIntoTheFolderItemAndOpensItWhileChecked) {
    const std::wstring target = files.file(L"Work"), source = dir.file(L"source");
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
    for (const wchar_t* name : {L"one.txt", L"two.txt", L"three.txt"}) {
        ASSERT_TRUE(tvtest::WriteAll(source + L"\\" + name, "x"));
        tvtest::AddEntry(written, nullptr, name, source + L"\\" + name, kProgramOrDocument, 0);
    }
    tvtest::AddEntry(written, nullptr, L"Work", target, kFolderOrLocation, 0);
    Open();

    // Offered only for an existing folder.
    Select({L"one.txt"});
    EXPECT_FALSE(Offered(kCmdPaste));
    Select({L"one.txt", L"two.txt", L"three.txt"});
    Run(kCmdCopyFile);
    Select({L"Work"});
    EXPECT_TRUE(Offered(kCmdPaste));
    EXPECT_TRUE(GetMenuState(window->parts().menus.PmDocTree, kCmdOpenAfterPaste, MF_BYCOMMAND) & MF_CHECKED);
    Run(kCmdPaste);
    for (const wchar_t* name : {L"one.txt", L"two.txt", L"three.txt"}) EXPECT_TRUE(FileExists(target + L"\\" + name)) << name;
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0].verb, L"explore");

    // Unchecked, stored as such, and the folder no longer opens. (The copies go first: the shell
    // would ask before overwriting them.)
    for (const wchar_t* name : {L"one.txt", L"two.txt", L"three.txt"}) DeleteFileW((target + L"\\" + name).c_str());
    Run(kCmdOpenAfterPaste);
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kOpenFolderAfterPaste, true));
    window->parts().items.PmDocTreePopup();
    EXPECT_FALSE(GetMenuState(window->parts().menus.PmDocTree, kCmdOpenAfterPaste, MF_BYCOMMAND) & MF_CHECKED);
    Run(kCmdPaste);
    EXPECT_TRUE(FileExists(target + L"\\three.txt"));
    EXPECT_EQ(Opened().size(), 1u);
}

TEST_F(ItemCommandsWindow, DeletedSelectedRemovesTheShownSelectionWithItsRecentEntryAndSaves) {
    const std::wstring kept = files.file(L"kept.txt"), gone = files.file(L"gone.txt");
    ASSERT_TRUE(tvtest::WriteAll(kept, "x"));
    ASSERT_TRUE(tvtest::WriteAll(gone, "x"));
    tvtest::AddEntry(written, nullptr, L"kept", kept, kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"gone", gone, kProgramOrDocument, 0);
    const std::wstring recent = RecentFolder();
    CreateFolderTree(recent);
    const std::wstring keptLink = recent + L"\\kept-test.lnk", goneLink = recent + L"\\gone-test.lnk";
    ASSERT_TRUE(CreateShortcut(keptLink, kept, L""));
    ASSERT_TRUE(CreateShortcut(goneLink, gone, L""));
    Open();
    const std::wstring question = L"Are you sure you want to remove selected item of current record?";

    // "kept" selected on the "All" page, hidden once another page shows; "gone" selected there.
    Select({L"kept"}, 0);
    Select({L"gone"}, 1);
    prompter.answers = {false};
    Run(kCmdDeleteSelected);
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"gone", L"kept"}));

    prompter.answers = {true};
    SetFocus(Tree(1));
    tvtest::PressKey(VK_DELETE);
    for (int i = 0; i < 5; ++i, Sleep(10)) ProcessMessages();
    EXPECT_EQ(prompter.asked, (std::vector<std::wstring>{question, question}));
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"kept"});
    EXPECT_FALSE(FileExists(goneLink));
    EXPECT_TRUE(FileExists(keptLink));
    // Saved: the record read again holds only "kept".
    window->parts().selected.Show();
    EXPECT_EQ(Captions(), std::vector<std::wstring>{L"kept"});
    DeleteFileW(keptLink.c_str());
}

TEST_F(ItemCommandsWindow, DeleteAllAsksItsOwnQuestionSavesTheEmptyRecordAndLeavesRecentAlone) {
    const std::wstring doc = files.file(L"doc.txt");
    ASSERT_TRUE(tvtest::WriteAll(doc, "x"));
    tvtest::AddEntry(written, nullptr, L"doc", doc, kProgramOrDocument, 0);
    const std::wstring link = RecentFolder() + L"\\doc-test.lnk";
    CreateFolderTree(RecentFolder());
    ASSERT_TRUE(CreateShortcut(link, doc, L""));
    Open();
    prompter.answers = {true};
    Run(kCmdDeleteAll);
    EXPECT_EQ(prompter.asked, std::vector<std::wstring>{L"Are you sure you want to remove all items of current record?"});
    EXPECT_TRUE(Captions().empty());
    window->parts().selected.Show();
    EXPECT_TRUE(Captions().empty());
    EXPECT_TRUE(FileExists(link));
    DeleteFileW(link.c_str());
}

TEST_F(ItemCommandsWindow, TheTreeKeysSelectClearOpenAndExpand) {
    const std::wstring folder = files.file(L"with blank"), doc = folder + L"\\doc.txt";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(tvtest::WriteAll(doc, "x"));
    RecordNode* program = tvtest::AddEntry(written, nullptr, L"program", L"C:\\p\\program.exe", kProgramOrDocument, 0);
    tvtest::AddEntry(written, program, L"doc", doc, kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"other", L"C:\\other.txt", kProgramOrDocument, 0);
    Open();
    HWND tree = Tree();
    SetForegroundWindow(window->hwnd());
    SetFocus(tree);
    auto press = [](WORD key, bool shift, bool ctrl) {
        tvtest::PressKey(key, shift, ctrl);
        for (int i = 0; i < 5; ++i, Sleep(10)) ProcessMessages();
    };
    // Ctrl+A: the top level and its direct children.
    press('A', false, true);
    std::vector<std::wstring> selected;
    for (HTREEITEM item : SelectedItems(tree)) selected.push_back(tvtest::ItemText(tree, item));
    EXPECT_EQ(selected, (std::vector<std::wstring>{L"other", L"program", L"doc"}));
    // Escape clears the selection.
    press(VK_ESCAPE, false, false);
    EXPECT_TRUE(SelectedItems(tree).empty());

    Select({L"doc"});
    SetFocus(tree);
    press('L', false, true);  // the folder of the document
    press('W', false, true);  // the Open With dialog
    press('W', true, false);  // the elevation helper, the path as one argument
    const auto calls = Opened();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].verb, L"explore");
    EXPECT_EQ(ToLower(tvtest::ArgumentAsReceived(calls[0].file)), ToLower(folder));  // the opener lower-cases it
    EXPECT_EQ(calls[1].file, L"rundll32.exe");
    EXPECT_EQ(calls[1].parameters, L"shell32.dll,OpenAs_RunDLL " + doc);
    EXPECT_EQ(FileNameOf(calls[2].file), L"tolvaneadmin.exe");
    EXPECT_EQ(calls[2].parameters, L"\"" + doc + L"\"");
    // Enter opens the focused item, its path shown in the hint panel first.
    press(VK_RETURN, false, false);
    EXPECT_EQ(window->parts().progress.hint(), doc);
    EXPECT_GT(shell.calls.size(), 3u);

    Run(kCmdFullExpand);
    int expanded = 0;
    ForEachItem(tree, [&](HTREEITEM item) { expanded += (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) ? 1 : 0; });
    EXPECT_EQ(expanded, 1);  // "program"
    Run(kCmdFullCollapse);
    expanded = 0;
    ForEachItem(tree, [&](HTREEITEM item) { expanded += (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) ? 1 : 0; });
    EXPECT_EQ(expanded, 0);
}

TEST_F(ItemCommandsWindow, TheMenuOffersWhatTheFocusedItemAndThePageAllow) {
    tvtest::AddEntry(written, nullptr, L"tool", L"C:\\p\\tool.exe", kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"script", L"C:\\p\\run.bat", kProgramOrDocument, 0);
    Open();
    Select({L"tool"});
    EXPECT_TRUE(Offered(kCmdRunItemAsAdmin));
    EXPECT_FALSE(Offered(kCmdOpenWith));
    EXPECT_TRUE(Offered(kCmdDeleteSelected));
    EXPECT_TRUE(Offered(kCmdDeleteAll));
    Select({L"script"});
    EXPECT_TRUE(Offered(kCmdOpenWithAdmin));
    EXPECT_FALSE(Offered(kCmdOpenAsAdmin));
    // On another page the removal commands are not offered.
    Select({L"script"}, 1);
    EXPECT_FALSE(Offered(kCmdDeleteSelected));
    EXPECT_FALSE(Offered(kCmdDeleteAll));
    EXPECT_TRUE(Offered(kCmdOpenWith));
}

TEST_F(ItemCommandsWindow, ElevatedCommandsGoThroughTheShellWithThePathAsOneArgument) {
    // A document type of the test's own, opened by the prefix's text editor.
    tvtest::ScopedClasses classes;
    classes.Set(L".tvnote", L"txtfile");
    const std::wstring text = files.file(L"a note.tvnote"), odd = files.file(L"no type.zzqx");
    ASSERT_TRUE(tvtest::WriteAll(text, "x"));
    ASSERT_TRUE(tvtest::WriteAll(odd, "x"));
    tvtest::AddEntry(written, nullptr, L"note", text, kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"odd", odd, kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"tool", L"C:\\p q\\tool.exe", kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"Control Panel", L"C:\\windows\\explorer.exe", kProgramOrDocument, 0);
    Open();
    // A document opens elevated in its program; a type with no program goes to the helper.
    Select({L"note", L"odd"});
    Run(kCmdOpenAsAdmin);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].kind, L"Elevated");
    EXPECT_EQ(ToLower(FileNameOf(shell.calls[0].file)), L"notepad.exe");
    EXPECT_EQ(shell.calls[0].parameters, L"\"" + text + L"\"");
    EXPECT_EQ(shell.calls[1].kind, L"ExecuteW");
    EXPECT_EQ(FileNameOf(shell.calls[1].file), L"tolvaneadmin.exe");
    EXPECT_EQ(shell.calls[1].parameters, L"\"" + odd + L"\"");

    // A program runs elevated; the Control Panel under explorer.exe opens as itself, not elevated.
    shell.calls.clear();
    Select({L"tool", L"Control Panel"});
    Run(kCmdRunItemAsAdmin);
    std::vector<std::wstring> elevated;
    for (const auto& call : shell.calls)
        if (call.kind == L"Elevated") elevated.push_back(call.file);
    EXPECT_EQ(elevated, std::vector<std::wstring>{L"C:\\p q\\tool.exe"});
    EXPECT_GT(shell.calls.size(), elevated.size());

    // An elevated instance offers no elevation for documents, nor "Run as admin" for a program.
    window->parts().hosts.ShowRunAsAdminItems(false);
    Select({L"note"});
    EXPECT_FALSE(Offered(kCmdOpenAsAdmin));
    EXPECT_FALSE(Offered(kCmdOpenWithAdmin));
    Select({L"tool"});
    EXPECT_FALSE(Offered(kCmdRunItemAsAdmin));
}

namespace {

// Puts text and a file list on the clipboard together.
void PutOnClipboard(const std::wstring& text, const std::vector<std::wstring>& files) {
    ClipboardScope clipboard(nullptr);
    ASSERT_TRUE(clipboard.open());
    EmptyClipboard();
    auto put = [](UINT format, const void* bytes, size_t size) {
        GlobalOwner block(GlobalAlloc(GMEM_MOVEABLE, size));
        memcpy(GlobalLock(block.get()), bytes, size);
        GlobalUnlock(block.get());
        if (SetClipboardData(format, block.get())) block.release();
    };
    put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    if (!files.empty()) {
        const std::vector<BYTE> list = FileListBlock(files);
        put(CF_HDROP, list.data(), list.size());
    }
}

}  // namespace

TEST_F(ItemCommandsWindow, PasteShortcutAddsTheClipboardsTextAndFilesOnceAndSaves) {
    const std::wstring known = files.file(L"known.txt"), fresh = files.file(L"fresh.txt");
    ASSERT_TRUE(tvtest::WriteAll(known, "x"));
    ASSERT_TRUE(tvtest::WriteAll(fresh, "x"));
    tvtest::AddEntry(written, nullptr, L"known", known, kProgramOrDocument, 0);
    Open();
    // The page's title comes from a page the test serves itself.
    tvtest::Winsock winsock;
    tvtest::PageServer server({tvtest::PageServer::Answer("<html><title>Served Page</title></html>")});
    ASSERT_TRUE(server.listening());
    const std::wstring address = server.Address();
    PutOnClipboard(address, {known, fresh});
    SetFocus(Tree());
    tvtest::PressKey('V', false, true);
    for (int i = 0; i < 5; ++i, Sleep(10)) ProcessMessages();
    EXPECT_EQ(server.connections(), 1);

    ShownRecord back;
    ASSERT_EQ(ReadRecordFile(back, RecordPath()), ReadOutcome::Complete);
    std::vector<std::wstring> paths;
    for (int i = 0; i < back.items.Count(); ++i) paths.push_back(back.items.At(i).path);
    // The known file once, the fresh one, the page (with its site's group).
    EXPECT_EQ(std::count(paths.begin(), paths.end(), known), 1);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), fresh), 1);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), address), 1);
    EXPECT_EQ(paths.size(), 4u);
    std::vector<std::wstring> captions;
    back.docs.Walk([&](RecordNode& node) { captions.push_back(node.caption); });
    EXPECT_NE(std::find(captions.begin(), captions.end(), L"Served Page"), captions.end());
    EXPECT_EQ(window->parts().pages.activePage(), 0);
}

// ---- sending items elsewhere -------------------------------------------------------------------

TEST(ItemCommandRules, SentNamesStayInsideTheirFolderAndNeverShareAFile) {
    struct Case {
        const wchar_t* caption;
        const wchar_t* name;
    } cases[] = {
        {L"Report: 2024/Q1", L"Report_ 2024_Q1"}, {L"C:\\Program Files", L"C__Program Files"}, {L"..", L"_"},
        {L"..\\..\\up", L".._.._up"}, {L"a. . ", L"a"}, {L"con", L"_con"}, {L"Com1.txt", L"_Com1.txt"},
        {L"LPT0", L"LPT0"}, {L"console", L"console"}, {L"x<>|\"?*\ty", L"x_______y"}, {L"", L"_"},
    };
    for (const Case& c : cases) EXPECT_EQ(CleanFileName(c.caption), c.name) << c.caption;

    ShortcutNames names;
    EXPECT_EQ(names.FileFor(L"C:\\out", L"twin"), L"C:\\out\\twin.lnk");
    EXPECT_EQ(names.FileFor(L"C:\\out\\", L"TWIN"), L"C:\\out\\TWIN (2).lnk");
    EXPECT_EQ(names.FileFor(L"C:\\out", L"twin"), L"C:\\out\\twin (3).lnk");
    EXPECT_EQ(names.FileFor(L"C:\\out\\sub", L"twin"), L"C:\\out\\sub\\twin.lnk");

    // E: and G: both removable: the last one is offered.
    auto drives = [](std::wstring removable) {
        return [removable](const std::wstring& root) -> UINT {
            return removable.find(root[0]) != std::wstring::npos ? DRIVE_REMOVABLE : DRIVE_FIXED;
        };
    };
    EXPECT_EQ(LastRemovableRoot(drives(L"EG")), L"G:\\");
    EXPECT_EQ(LastRemovableRoot(drives(L"")), L"");
}

namespace {

// The names in `folder`, folders marked with a trailing backslash, sorted.
std::vector<std::wstring> Listing(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        names.push_back(name + ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? L"\\" : L""));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring TargetOf(const std::wstring& link) {
    RealResolutionMachine machine;
    return ShortcutTarget(link, machine);
}

}  // namespace

TEST_F(ItemCommandsWindow, SendToWritesTheRecordAsAFolderOfShortcutsThatStayInside) {
    std::vector<std::wstring> docs;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt", L"f.txt"}) {
        docs.push_back(files.file(name));
        ASSERT_TRUE(tvtest::WriteAll(docs.back(), "x"));
    }
    RecordNode* program = tvtest::AddEntry(written, nullptr, L"Editor", L"C:\\windows\\notepad.exe", kProgramOrDocument, 0);
    tvtest::AddEntry(written, program, L"a", docs[0], kProgramOrDocument, 0);
    tvtest::AddEntry(written, program, L"b", docs[1], kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"C:\\Program Files", docs[2], kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"..", docs[3], kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"twin", docs[4], kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"twin", docs[5], kProgramOrDocument, 0);
    Open();
    tvtest::TempFolder out;
    int desktopShown = 0;
    window->parts().sendTo.showDesktop = [&] { ++desktopShown; };
    // Confirms the dialog with `name` in `folder` once it shows.
    auto send = [&](const std::wstring& folder, const std::wstring& name) {
        tvtest::RunSoon([&, folder, name] {
            TFormSendTo* dialog = window->parts().sendTo.dialog();
            ASSERT_NE(dialog, nullptr);
            SetWindowTextW(dialog->EdtRecordPath, folder.c_str());
            SetWindowTextW(dialog->EdtRename, name.c_str());
            dialog->BtnConfirmClick();
        });
        Run(kCmdSendTo);
    };
    send(out.path(), L"Sent");

    const std::wstring sent = out.file(L"Sent");
    EXPECT_EQ(Listing(out.path()), std::vector<std::wstring>{L"Sent\\"});
    EXPECT_EQ(Listing(sent), (std::vector<std::wstring>{L"C__Program Files.lnk", L"Desktop.ini", L"Editor\\",
                                                        L"_.lnk", L"twin (2).lnk", L"twin.lnk"}));
    EXPECT_EQ(Listing(sent + L"\\Editor"), (std::vector<std::wstring>{L"a.lnk", L"b.lnk"}));
    EXPECT_EQ(TargetOf(sent + L"\\Editor\\a.lnk"), docs[0]);
    EXPECT_EQ(TargetOf(sent + L"\\Editor\\b.lnk"), docs[1]);
    EXPECT_EQ(TargetOf(sent + L"\\C__Program Files.lnk"), docs[2]);
    EXPECT_EQ(TargetOf(sent + L"\\_.lnk"), docs[3]);
    // The two twins, one shortcut each, whichever comes first.
    EXPECT_EQ((std::set<std::wstring>{TargetOf(sent + L"\\twin.lnk"), TargetOf(sent + L"\\twin (2).lnk")}),
              (std::set<std::wstring>{docs[4], docs[5]}));
    std::vector<std::wstring> ini;
    ASSERT_TRUE(ReadTextLines(sent + L"\\Desktop.ini", ini));
    EXPECT_EQ(ini, (std::vector<std::wstring>{L"[.ShellClassInfo]",
                                              L"IconFile = " + RealEnvironmentVariable(L"Windir") + L"\\system32\\SHELL32.DLL",
                                              L"IconIndex = 38", L"InfoTip = This is folder with icon"}));
    EXPECT_EQ(GetFileAttributesW((sent + L"\\Desktop.ini").c_str()) & 7u, 6u);  // hidden and system
    // Whether this file system keeps a folder's read-only mark at all (Wine keeps it only where
    // the disk takes extended attributes).
    const std::wstring probe = out.file(L"probe");
    CreateDirectoryW(probe.c_str(), nullptr);
    SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool marksKept = GetFileAttributesW(probe.c_str()) & FILE_ATTRIBUTE_READONLY;
    SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(probe.c_str());
    if (marksKept) EXPECT_TRUE(GetFileAttributesW(sent.c_str()) & FILE_ATTRIBUTE_READONLY);
    else std::printf("this disk keeps no read-only mark on folders: the folder's mark is not checked\n");
    // The folder opens; the box was not ticked, and that is stored.
    ASSERT_FALSE(Opened().empty());
    EXPECT_EQ(Opened().back().verb, L"explore");
    EXPECT_EQ(desktopShown, 0);
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kAsRecordFileName, true));
    EXPECT_TRUE(prompter.told.empty());

    // Into a folder of the user's own: its Desktop.ini and marks stay. A shortcut that cannot be
    // written is told once, by name and reason, and the shortcuts made before it stay.
    const std::wstring mine = out.file(L"Mine");
    ASSERT_TRUE(CreateDirectoryW(mine.c_str(), nullptr));
    ASSERT_TRUE(tvtest::WriteAll(mine + L"\\Desktop.ini", "mine"));
    ASSERT_TRUE(CreateDirectoryW((mine + L"\\twin.lnk").c_str(), nullptr));
    send(out.path(), L"Mine");
    EXPECT_EQ(tvtest::ReadAll(mine + L"\\Desktop.ini"), "mine");
    EXPECT_EQ(Listing(out.path()), (std::vector<std::wstring>{L"Mine\\", L"Sent\\"}));
    EXPECT_FALSE(GetFileAttributesW(mine.c_str()) & FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(prompter.told.size(), 1u);
    EXPECT_NE(prompter.told[0].find(L"\"twin\""), std::wstring::npos) << prompter.told[0];
    const size_t reason = prompter.told[0].find(L"\r\n");  // the system's reason on the next line
    ASSERT_NE(reason, std::wstring::npos) << prompter.told[0];
    EXPECT_FALSE(Trim(prompter.told[0].substr(reason)).empty()) << prompter.told[0];
    EXPECT_TRUE(FileExists(mine + L"\\Editor\\a.lnk"));
    EXPECT_FALSE(FileExists(mine + L"\\twin (2).lnk"));
}

TEST(SendToDialog, RefusesWhatItCannotUseAndKeepsItsBoxesBetweenShowings) {
    tvtest::TempFolder desktop;
    std::vector<std::wstring> explored;
    TFormSendTo dialog(desktop.path(), [](HWND, const std::wstring&, const std::wstring&) { return std::wstring(L"C:\\picked"); },
                       [&](const std::wstring& folder) { explored.push_back(folder); });
    struct Seen {
        std::wstring name;
        COLORREF nameColour = 0, pathColour = 0;
    } empty, badDrive, second, third;
    auto showing = [&](const std::function<void()>& step) { tvtest::RunSoon(step); };

    // An empty name and a drive that does not exist keep the dialog open, the box red; a new
    // folder is made.
    const std::wstring made = desktop.file(L"new\\deeper");
    showing([&] {
        empty.name = TextOf(dialog.EdtRename);
        SetWindowTextW(dialog.EdtRename, L"  ");
        dialog.BtnConfirmClick();
        empty.nameColour = dialog.nameColour();
        SetWindowTextW(dialog.EdtRename, L"Sent");
        SetWindowTextW(dialog.EdtRecordPath, L"Q:\\nowhere");
        dialog.BtnConfirmClick();
        badDrive.pathColour = dialog.pathColour();
        SetWindowTextW(dialog.EdtRecordPath, made.c_str());
        dialog.BtnConfirmClick();
    });
    EXPECT_TRUE(dialog.Execute(nullptr, L"A", true));
    EXPECT_EQ(empty.name, L"A");
    EXPECT_EQ(empty.nameColour, kRefusedBoxColour);
    EXPECT_EQ(badDrive.pathColour, kRefusedBoxColour);
    EXPECT_TRUE(DirectoryExists(made));
    EXPECT_FALSE(dialog.destinationIsDesktop());

    // Ticked, the next record's name shows; exactly the desktop's path counts as the desktop.
    showing([&] {
        second.name = TextOf(dialog.EdtRename);
        second.nameColour = dialog.nameColour();
        SetWindowTextW(dialog.EdtRecordPath, desktop.path().c_str());
        dialog.BtnConfirmClick();
    });
    EXPECT_TRUE(dialog.Execute(nullptr, L"B", true));
    EXPECT_EQ(second.name, L"B");
    EXPECT_EQ(second.nameColour, kInputBoxColour);
    EXPECT_TRUE(dialog.destinationIsDesktop());

    // Unticked, the name stays from the last showing; the box gives "TolVane" when unticked by
    // hand; a trailing backslash is another spelling. "&Select" and "&Open" use the path box.
    showing([&] {
        third.name = TextOf(dialog.EdtRename);
        Check(dialog.cbAsRecordFileName, true);
        dialog.cbAsRecordFileNameClick();
        Check(dialog.cbAsRecordFileName, false);
        dialog.cbAsRecordFileNameClick();
        dialog.BtnSelectPathClick();
        dialog.BtnOpenDirClick();
        SetWindowTextW(dialog.EdtRecordPath, (desktop.path() + L"\\").c_str());
        dialog.BtnConfirmClick();
    });
    EXPECT_TRUE(dialog.Execute(nullptr, L"C", false));
    EXPECT_EQ(third.name, L"B");
    EXPECT_EQ(dialog.folderName(), L"TolVane");
    EXPECT_EQ(explored, std::vector<std::wstring>{L"C:\\picked\\"});
    EXPECT_FALSE(dialog.destinationIsDesktop());
    EXPECT_TRUE(dialog.openAfterConfirm());

    // The close box and Escape never confirm.
    showing([&] { PostMessageW(dialog.hwnd(), WM_CLOSE, 0, 0); });
    EXPECT_FALSE(dialog.Execute(nullptr, L"D", false));
}

TEST_F(ItemCommandsWindow, TheTreesSendToMakesShortcutsCopiesAndOffersTheLastRemovableDrive) {
    const std::wstring one = files.file(L"one.txt"), two = files.file(L"two.txt");
    ASSERT_TRUE(tvtest::WriteAll(one, "1"));
    ASSERT_TRUE(tvtest::WriteAll(two, "2"));
    tvtest::AddEntry(written, nullptr, L"twin", one, kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"twin", two, kProgramOrDocument, 0);
    Open();
    tvtest::TempFolder desktop, documents;
    SendToCommands& sendTo = window->parts().sendTo;
    sendTo.specialFolder = [&](int csidl) { return csidl == CSIDL_DESKTOP ? desktop.path() : documents.path(); };
    int desktopShown = 0;
    sendTo.showDesktop = [&] { ++desktopShown; };

    // Two items of one caption: two shortcuts on the desktop, then the desktop shows.
    HWND tree = Tree();
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    ForEachItem(tree, [&](HTREEITEM item) { TreeView_SetItemState(tree, item, TVIS_SELECTED, TVIS_SELECTED); });
    Run(kCmdSendToDesktop);
    EXPECT_EQ(Listing(desktop.path()), (std::vector<std::wstring>{L"twin (2).lnk", L"twin.lnk"}));
    EXPECT_EQ(desktopShown, 1);
    // Copies into Documents, then Documents opens.
    Run(kCmdSendToDocuments);
    EXPECT_EQ(Listing(documents.path()), (std::vector<std::wstring>{L"one.txt", L"two.txt"}));
    ASSERT_FALSE(Opened().empty());
    EXPECT_EQ(ToLower(tvtest::ArgumentAsReceived(Opened().back().file)), ToLower(documents.path()));
    // Unticked and stored: nothing opens after sending.
    Run(kCmdOpenAfterSendTo);
    EXPECT_FALSE(settings.user->ReadBool(keys::kDefault, keys::kOpenFolderAfterSendTo, true));
    Run(kCmdSendToDesktop);
    EXPECT_EQ(desktopShown, 1);

    // Opening the submenu looks for removable drives: of E: and G:, G: is offered.
    auto removableItem = [&](const wchar_t* removable) {
        sendTo.driveType = [removable](const std::wstring& root) -> UINT {
            return wcschr(removable, root[0]) ? DRIVE_REMOVABLE : DRIVE_FIXED;
        };
        window->parts().items.PmDocTreePopup();
        HMENU menu = window->parts().menus.PmDocTree, submenu = nullptr;
        for (int i = 0; i < GetMenuItemCount(menu) && !submenu; ++i)
            if (sendTo.IsSendToMenu(GetSubMenu(menu, i))) submenu = GetSubMenu(menu, i);
        if (!submenu) return std::wstring(L"(no submenu)");
        SendMessageW(window->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), 0);
        wchar_t caption[64] = {};
        return GetMenuStringW(submenu, kCmdSendToRemovable, caption, 64, MF_BYCOMMAND) ? std::wstring(caption)
                                                                                      : std::wstring(L"(none)");
    };
    EXPECT_EQ(removableItem(L"EG"), L"Removable Disk (G:)");
    EXPECT_EQ(sendTo.removableRoot(), L"G:\\");
    EXPECT_EQ(removableItem(L""), L"(none)");
}

TEST_F(ItemCommandsWindow, TheRecentSubmenuOffersTheRecordsFilesInTheFocusedFolder) {
    const std::wstring work = files.file(L"Work");
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    tvtest::AddEntry(written, nullptr, L"Work", work, kFolderOrLocation, 0);
    RecordNode* editor = tvtest::AddEntry(written, nullptr, L"Editor", L"C:\\windows\\notepad.exe", kProgramOrDocument, 0);
    tvtest::AddEntry(written, editor, L"child", work + L"\\child.txt", kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"notes", work + L"\\notes.txt", kProgramOrDocument, 0);
    tvtest::AddEntry(written, nullptr, L"elsewhere", files.file(L"other.txt"), kProgramOrDocument, 0);
    for (const wchar_t* name : {L"child.txt", L"notes.txt"}) ASSERT_TRUE(tvtest::WriteAll(work + L"\\" + name, "x"));
    ASSERT_TRUE(tvtest::WriteAll(files.file(L"other.txt"), "x"));
    Open();
    auto recent = [&]() {
        std::vector<std::wstring> captions;
        window->parts().items.PmDocTreePopup();
        HMENU menu = window->parts().menus.PmDocTree;
        wchar_t text[64] = {};
        GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
        if (HMENU sub = GetSubMenu(menu, 0); sub && std::wstring(text) == L"Recent")
            for (int i = 0; i < GetMenuItemCount(sub); ++i) {
                GetMenuStringW(sub, i, text, 64, MF_BYPOSITION);
                captions.push_back(text);
            }
        return captions;
    };
    Select({L"Work"});
    EXPECT_EQ(recent(), (std::vector<std::wstring>{L"child", L"notes"}));
    Run(kCmdRecentFirst + 1);
    ASSERT_FALSE(Opened().empty());
    EXPECT_EQ(ToLower(Opened().back().file), ToLower(work + L"\\notes.txt"));
    // A file item has no Recent submenu.
    Select({L"notes"});
    EXPECT_TRUE(recent().empty());
}

TEST_F(ItemCommandsWindow, BlankAndDuplicatedFilesAreNewRecordsAndLeaveTheNewRecordFlagAlone) {
    tvtest::AddEntry(written, nullptr, L"doc", L"C:\\doc.txt", kProgramOrDocument, 0);
    Open();
    RecordSession& session = window->parts().session;
    auto itemsIn = [](const std::wstring& path) {
        ShownRecord back;
        return ReadRecordFile(back, path) == ReadOutcome::Complete ? back.items.Count() : -1;
    };
    session.SetNewRecordFlag(true);
    Run(kCmdCreateDuplicatedFile);
    EXPECT_EQ(window->parts().records.Count(), 2);
    EXPECT_NE(session.currentRecordPath(), RecordPath());
    EXPECT_EQ(itemsIn(session.currentRecordPath()), 1);
    EXPECT_TRUE(session.newRecordFlag());

    session.SetNewRecordFlag(false);
    Run(kCmdCreateBlankFile);
    EXPECT_EQ(window->parts().records.Count(), 3);
    EXPECT_EQ(itemsIn(session.currentRecordPath()), 0);
    EXPECT_EQ(session.record().items.Count(), 0);
    EXPECT_FALSE(session.newRecordFlag());
    // Nothing of the old record comes back with the next save.
    session.SaveCurrentRecord();
    EXPECT_EQ(itemsIn(session.currentRecordPath()), 0);
    EXPECT_EQ(itemsIn(RecordPath()), 1);
}
