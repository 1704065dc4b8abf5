// Adding paths to the shown record over a fake machine: kinds, groups, the nodes of the four
// trees, the presence tests and the names of installed programs.
#include "capture/add_operations.h"

#include <gtest/gtest.h>

#include <map>

#include "base/strings.h"
#include "capture/fake_machine.h"
#include "records/record_file.h"
#include "support/test_support.h"

using namespace tv;
using tvtest::FakeMachine;
using Strings = std::vector<std::wstring>;

namespace {

const wchar_t kDocuments[] = L"C:\\Users\\me\\Documents";
const wchar_t kNotepad[] = L"C:\\Windows\\notepad.exe";

// Remembers what the window was told and checks that every node it is told of is in a tree.
struct ViewLog : RecordAddView {
    std::vector<std::pair<int, const RecordNode*>> added;
    int webTabs = 0, steps = 0;
    Strings refused;
    void NodeAdded(int page, const RecordNode& node) override { added.push_back({page, &node}); }
    void ShowWebPageTab() override { ++webTabs; }
    void Step() override { ++steps; }
    void Refused(const std::wstring& path) override { refused.push_back(path); }
};

Strings Captions(const std::vector<std::unique_ptr<RecordNode>>& nodes) {
    Strings captions;
    for (const auto& node : nodes) captions.push_back(node->caption);
    return captions;
}

struct AddFixture : ::testing::Test {
    FakeMachine machine;
    ShownRecord record;
    ViewLog view;
    RecentDocumentList recent;
    InstalledProgramNames names;
    RecordAdder adder{record, view};

    AddFixture() {
        adder.machine = &machine;
        adder.myDocuments = kDocuments;
        adder.recentDocuments = &recent;
        adder.programNames = &names;
        adder.iconIndex = [](const std::wstring&, const std::wstring&) { return 80; };
        machine.AddFile(kNotepad);
        machine.Associate(L".txt", L"txtfile", L"\"C:\\Windows\\notepad.exe\" %1");
    }
    const TMyDoc& ItemOf(const RecordNode& node) { return record.items.At(node.data.itemIndex); }
    const RecordNode& Top(const RecordTree& tree, size_t i) { return *tree.top().at(i); }
    // Every node the window was told of is a node of the tree of its page.
    bool ToldNodesAreInTheirTrees() {
        const RecordTree* trees[] = {&record.docs, &record.apps, &record.paths, &record.pages};
        for (auto [page, told] : view.added) {
            bool found = false;
            trees[page]->Walk([&](RecordNode& n) { found |= &n == told; });
            if (!found) return false;
        }
        return true;
    }
};

}  // namespace

TEST(GroupKey, FoldersNearTheRootHostsMyDocumentsAndPathsOfTheirOwn) {
    EXPECT_EQ(GroupKey(L"C:\\Program Files\\Tool\\tool.exe", kDocuments), L"C:\\Program Files");
    EXPECT_EQ(GroupKey(L"D:\\notes.txt", kDocuments), L"D:\\notes.txt");
    EXPECT_EQ(GroupKey(L"D:/Work/Project/plan.txt", kDocuments), L"D:\\Work");
    EXPECT_EQ(GroupKey(L"D:\\Work\\", kDocuments), L"D:\\Work");
    EXPECT_EQ(GroupKey(L"C:\\", kDocuments), L"C:\\");
    EXPECT_EQ(GroupKey(L"http://www.example.com/a/b.html", kDocuments), L"www.example.com");
    EXPECT_EQ(GroupKey(L"https://example.org", kDocuments), L"example.org");
    // My Documents is one group whatever lies below it, in any case.
    EXPECT_EQ(GroupKey(L"c:\\users\\ME\\documents\\Letters\\a.doc", kDocuments), kDocuments);
    EXPECT_EQ(GroupKey(L"file:///C:/Users/me/Documents/a.doc", kDocuments), kDocuments);
    EXPECT_EQ(GroupKey(L"file:///D:/Work/Sub/a.txt", kDocuments), L"D:\\Work");
    EXPECT_EQ(GroupKey(L"file:///D:/a.txt", kDocuments), L"D:\\a.txt");
    // A network path is a group of its own; so is a bare name.
    EXPECT_EQ(GroupKey(L"\\\\server\\share\\dir\\f.txt", kDocuments), L"\\\\server\\share\\dir\\f.txt");
    EXPECT_EQ(GroupKey(L"Windows Update", kDocuments), L"Windows Update");
    // Without a documents folder nothing is taken for it.
    EXPECT_EQ(GroupKey(L"C:\\Users\\me\\Documents\\a.doc", L""), L"C:\\Users");
}

TEST(FolderLikeAndTypeImage, DecidedByWhatTheTextIsAndWhatExists) {
    FakeMachine m;
    m.AddFile(L"D:\\notes.txt");
    m.AddFolder(L"D:\\Work");
    EXPECT_TRUE(IsFolderLike(L"D:\\Work\\Project\\", m));
    EXPECT_TRUE(IsFolderLike(L" d:\\missing", m));
    EXPECT_TRUE(IsFolderLike(L"file:///C:/x", m));
    EXPECT_TRUE(IsFolderLike(L"\\\\srv\\share", m));
    EXPECT_FALSE(IsFolderLike(L"D:\\notes.txt", m));  // an existing file
    EXPECT_FALSE(IsFolderLike(L"http://D:/x", m));
    EXPECT_FALSE(IsFolderLike(L"HTTPS://host/x", m));
    EXPECT_FALSE(IsFolderLike(L"Windows Update", m));

    EXPECT_EQ(TypeImage(L"D:\\Work", m), 0);
    EXPECT_EQ(TypeImage(L"http://host/a.zip", m), 2);
    EXPECT_EQ(TypeImage(L"C:\\x\\Backup.ZIP", m), 9);
    EXPECT_EQ(TypeImage(L"C:\\Program Files\\WinRAR\\WinRAR.exe", m), 9);
    EXPECT_EQ(TypeImage(L"page.Aspx", m), 2);
    EXPECT_EQ(TypeImage(L"photo.JPEG ", m), 3);
    EXPECT_EQ(TypeImage(L"notes.txt", m), 12);
    EXPECT_EQ(TypeImage(L"no extension", m), 12);
}

TEST_F(AddFixture, TwoDocumentsOfOneProgramGiveOneProgramNodeWithBoth) {
    machine.AddFile(L"D:\\a.txt");
    machine.AddFile(L"D:\\b.txt");
    EXPECT_FALSE(adder.AddItem(L"D:\\a.txt", L""));  // the program was not there yet
    EXPECT_TRUE(adder.AddItem(L"D:\\b.txt", L""));   // filed under the program now held
    ASSERT_EQ(record.docs.top().size(), 1u);
    const RecordNode& program = Top(record.docs, 0);
    EXPECT_EQ(program.caption, L"notepad.exe");
    EXPECT_EQ(ToLower(ItemOf(program).path), ToLower(kNotepad));
    EXPECT_EQ(ItemOf(program).kind, kProgramOrDocument);
    EXPECT_EQ(Captions(program.children), (Strings{L"a.txt", L"b.txt"}));
    EXPECT_EQ(ItemOf(*program.children[1]).path, L"D:\\b.txt");
    EXPECT_EQ(Captions(record.apps.top()), (Strings{L"notepad.exe"}));
    EXPECT_EQ(adder.lastAdded(), L"D:\\b.txt");
    EXPECT_EQ(recent.entries(), (Strings{L"D:\\a.txt", L"D:\\b.txt"}));
    EXPECT_TRUE(record.NodesPointToItems());
    EXPECT_TRUE(ToldNodesAreInTheirTrees());
    EXPECT_TRUE(adder.InTree(L" d:\\B.txt"));
}

TEST_F(AddFixture, ADocumentWhoseProgramIsNotOnDiskIsAddedAloneUnderItsFileName) {
    machine.AddFile(L"D:\\r.doc");
    machine.Associate(L".doc", L"Word.Document", L"\"C:\\Office\\WINWORD.EXE\" /n \"%1\"");
    adder.AddItem(L"D:\\r.doc", L"");
    ASSERT_EQ(record.docs.top().size(), 1u);
    EXPECT_EQ(Top(record.docs, 0).caption, L"r.doc");
    EXPECT_EQ(ItemOf(Top(record.docs, 0)).path, L"D:\\r.doc");
    EXPECT_TRUE(Top(record.docs, 0).children.empty());
    EXPECT_EQ(Top(record.docs, 0).imageIndex, 80);  // its own icon
}

TEST_F(AddFixture, AFolderIsAChildOfItsGroupUnlessItIsTheGroup) {
    machine.AddFolder(L"D:\\Work");
    machine.AddFolder(L"D:\\Work\\Project");
    adder.AddItem(L"D:\\Work\\Project", L"");
    ASSERT_EQ(Captions(record.docs.top()), (Strings{L"D:\\Work"}));
    const RecordNode& group = Top(record.docs, 0);
    EXPECT_EQ(Captions(group.children), (Strings{L"Project"}));
    EXPECT_EQ(ItemOf(group).path, L"D:\\Work");  // the group's item carries the group
    EXPECT_EQ(ItemOf(*group.children[0]).path, L"D:\\Work\\Project\\");
    EXPECT_EQ(ItemOf(*group.children[0]).kind, kFolderOrLocation);
    EXPECT_EQ(group.imageIndex, 0);
    ASSERT_EQ(Captions(record.paths.top()), (Strings{L"D:\\Work"}));
    EXPECT_EQ(Captions(Top(record.paths, 0).children), (Strings{L"Project"}));
    EXPECT_TRUE(record.apps.top().empty());
    EXPECT_EQ(adder.lastAdded(), L"D:\\Work\\Project\\");
    EXPECT_TRUE(adder.InTree(L"D:\\Work\\Project\\"));
    EXPECT_TRUE(ToldNodesAreInTheirTrees());

    // A second folder of the group joins the nodes already there.
    machine.AddFolder(L"D:\\Work\\Other");
    view.added.clear();
    adder.AddItem(L"D:\\Work\\Other\\", L"");
    EXPECT_EQ(record.docs.top().size(), 1u);
    EXPECT_EQ(Captions(group.children), (Strings{L"Other", L"Project"}));
    EXPECT_EQ(view.added.size(), 2u);  // the new child in "All" and in "File Folder"
    EXPECT_TRUE(ToldNodesAreInTheirTrees());

    ShownRecord alone;
    RecordAdder second(alone, view);
    second.machine = &machine;
    second.AddItem(L"D:\\Work", L"");
    ASSERT_EQ(Captions(alone.docs.top()), (Strings{L"D:\\Work"}));
    EXPECT_TRUE(alone.docs.top()[0]->children.empty());
    EXPECT_EQ(alone.items.At(alone.docs.top()[0]->data.itemIndex).path, L"D:\\Work\\");
}

TEST_F(AddFixture, WebPagesGoUnderTheirHostInAllAndWebPage) {
    adder.AddItem(L"http://example.com/", L"Example");
    ASSERT_EQ(Captions(record.docs.top()), (Strings{L"example.com"}));
    EXPECT_TRUE(Top(record.docs, 0).children.empty());
    EXPECT_EQ(Captions(record.pages.top()), (Strings{L"example.com"}));
    EXPECT_EQ(Top(record.docs, 0).imageIndex, 1);
    EXPECT_EQ(view.webTabs, 1);

    adder.AddItem(L"http://example.com/docs/page.html", L"The Page");
    ASSERT_EQ(record.docs.top().size(), 1u);
    EXPECT_EQ(Captions(Top(record.docs, 0).children), (Strings{L"The Page"}));
    EXPECT_EQ(Captions(Top(record.pages, 0).children), (Strings{L"The Page"}));
    EXPECT_EQ(ItemOf(*Top(record.pages, 0).children[0]).path, L"http://example.com/docs/page.html");
    EXPECT_EQ(ItemOf(*Top(record.pages, 0).children[0]).kind, kWebPage);
    EXPECT_TRUE(ToldNodesAreInTheirTrees());

    // A page further down a host not yet held: the host's group and the page below it.
    adder.AddItem(L"http://other.org/a/b", L"");
    const RecordNode& other = Top(record.docs, 1);
    EXPECT_EQ(other.caption, L"other.org");
    EXPECT_EQ(ItemOf(other).path, L"other.org");
    EXPECT_EQ(Captions(other.children), (Strings{L"http://other.org/a/b"}));  // no title: the address
    EXPECT_EQ(ItemOf(*other.children[0]).path, L"http://other.org/a/b");
}

TEST_F(AddFixture, ASecurePageIsAWebPageAndKeepsItsAddressThroughASave) {
    adder.AddItem(L"https://secure.example.com/a/b", L"B Page");
    ASSERT_EQ(Captions(record.pages.top()), (Strings{L"secure.example.com"}));
    const RecordNode& host = Top(record.docs, 0);
    ASSERT_EQ(Captions(host.children), (Strings{L"B Page"}));
    EXPECT_EQ(ItemOf(*host.children[0]).kind, kWebPage);
    EXPECT_TRUE(record.apps.top().empty());

    std::string bytes;
    ASSERT_TRUE(RecordFileBytes(record, L"C:\\tolvane.exe", bytes));
    ShownRecord reread;
    ASSERT_EQ(ReadRecordBytes(reread, bytes), ReadOutcome::Complete);
    Strings paths;
    reread.docs.Walk([&](RecordNode& n) { paths.push_back(reread.items.At(n.data.itemIndex).path); });
    EXPECT_NE(std::find(paths.begin(), paths.end(), L"https://secure.example.com/a/b"), paths.end());
}

TEST_F(AddFixture, NothingFromResourcePagesAndNothingTwice) {
    adder.AddItem(L"res://ieframe.dll/navcancl.htm", L"");
    adder.AddEntryCore(L"RES://x.dll/a", L"t", L"", true);
    EXPECT_EQ(record.items.Count(), 0);

    // The same program reached by two captures.
    adder.AddEntry(kNotepad, L"Notepad");
    adder.AddEntry(L"c:\\windows\\NOTEPAD.exe ", L"Notepad");
    adder.AddEntry(L"file:///C:/Windows/notepad.exe", L"Notepad");
    EXPECT_EQ(record.docs.top().size(), 1u);
    EXPECT_EQ(record.apps.top().size(), 1u);
    EXPECT_TRUE(adder.HoldsProgram(L"\"C:\\Windows\\notepad.exe\" /x", L""));
}

TEST_F(AddFixture, ANetworkFolderIsItsOwnGroup) {
    adder.AddItem(L"\\\\server\\share\\dir", L"");
    ASSERT_EQ(Captions(record.docs.top()), (Strings{L"\\\\server\\share\\dir"}));
    EXPECT_TRUE(Top(record.docs, 0).children.empty());
    EXPECT_EQ(ItemOf(Top(record.docs, 0)).kind, kFolderOrLocation);
    EXPECT_EQ(Captions(record.paths.top()), (Strings{L"\\\\server\\share\\dir"}));
}

TEST_F(AddFixture, ThePresenceTestFollowsChangesMadeBehindTheAddersBack) {
    adder.AddEntry(kNotepad, L"Notepad");
    EXPECT_TRUE(adder.InTree(L"C:\\WINDOWS\\notepad.exe"));
    record.docs.Clear();
    record.apps.Clear();
    record.items.Empty();
    EXPECT_FALSE(adder.InTree(kNotepad));
    adder.AddEntry(kNotepad, L"Notepad");  // not taken for present any more
    EXPECT_EQ(record.docs.top().size(), 1u);

    // Items read from a file are seen too.
    TMyDoc item;
    item.path = item.groupKey = item.title = L"D:\\read.txt";
    int index = record.items.Append(item);
    record.docs.Add(nullptr, item.title, index);
    EXPECT_TRUE(adder.InTree(L"d:\\read.txt"));
    adder.AddEntryCore(L"D:\\read.txt", L"", L"", true);
    EXPECT_EQ(record.docs.top().size(), 2u);
}

TEST_F(AddFixture, AProgramTakesItsRecentDocumentsExceptWhenOnlyMatchesCount) {
    for (const wchar_t* d : {L"D:\\a.txt", L"D:\\b.txt", L"D:\\c.txt"}) {
        machine.AddFile(d);
        recent.Add(d);
    }
    adder.AddItem(L"D:\\b.txt", L"");
    ASSERT_EQ(record.docs.top().size(), 1u);
    EXPECT_EQ(Captions(Top(record.docs, 0).children), (Strings{L"a.txt", L"b.txt", L"c.txt"}));

    ShownRecord found;
    RecordAdder search(found, view);
    search.machine = &machine;
    search.recentDocuments = &recent;
    search.onlyMatches = true;
    search.AddItem(L"D:\\b.txt", L"");
    ASSERT_EQ(found.docs.top().size(), 1u);
    EXPECT_EQ(Captions(found.docs.top()[0]->children), (Strings{L"b.txt"}));
    EXPECT_EQ(recent.entries().size(), 3u);  // the search leaves the recent documents alone
}

TEST_F(AddFixture, InstalledProgramsGiveTheirShortcutsNames) {
    struct StartMenu : RecentFolderReader {
        std::map<std::wstring, std::vector<ListedEntry>> folders;
        std::vector<ListedEntry> List(const std::wstring& folder, size_t) override {
            std::wstring key = ToLower(folder);
            if (!key.empty() && key.back() == L'\\') key.pop_back();
            return folders[key];
        }
        bool LastWriteDays(const std::wstring&, double&) override { return false; }
        double NowDays() override { return 0; }
    } menu;
    menu.folders[L"c:\\menu"] = {{L".", FILE_ATTRIBUTE_DIRECTORY}, {L"Tool Suite", FILE_ATTRIBUTE_DIRECTORY},
                                 {L"Readme.lnk", FILE_ATTRIBUTE_ARCHIVE}};
    menu.folders[L"c:\\menu\\tool suite"] = {{L"Tool.lnk", FILE_ATTRIBUTE_ARCHIVE}};
    machine.AddLink(L"C:\\Menu\\Tool Suite\\Tool.lnk", L"C:\\Tools\\tool.exe");
    machine.AddLink(L"C:\\Menu\\Readme.lnk", L"C:\\Tools\\readme.txt");
    machine.AddFile(L"C:\\Tools\\tool.exe");
    names.Load({L"C:\\Menu"}, menu, machine);
    EXPECT_TRUE(names.loaded());
    EXPECT_EQ(names.NameOf(L" c:\\tools\\TOOL.exe"), L"Tool");
    EXPECT_EQ(names.NameOf(L"C:\\Tools\\readme.txt"), L"");  // no program

    adder.AddItem(L"C:\\Tools\\tool.exe", L"");
    ASSERT_EQ(record.docs.top().size(), 1u);
    EXPECT_EQ(Top(record.docs, 0).caption, L"Tool");
}

TEST_F(AddFixture, AFolderWhoseGroupOnlyAProgramHoldsStillGetsItsNodes) {
    // The program's group is C:\Tools, but its node is captioned with the program's name.
    machine.AddFile(L"C:\\Tools\\tool.exe");
    machine.AddFolder(L"C:\\Tools");
    machine.AddFolder(L"C:\\Tools\\Plugins");
    adder.AddItem(L"C:\\Tools\\tool.exe", L"Tool");
    adder.AddItem(L"C:\\Tools\\Plugins", L"");
    ASSERT_EQ(Captions(record.docs.top()), (Strings{L"C:\\Tools", L"Tool"}));
    EXPECT_EQ(Captions(Top(record.docs, 0).children), (Strings{L"Plugins"}));
    EXPECT_EQ(Captions(record.paths.top()), (Strings{L"C:\\Tools"}));
    EXPECT_TRUE(adder.InTree(L"C:\\Tools\\Plugins\\"));
    EXPECT_TRUE(ToldNodesAreInTheirTrees());
}

TEST_F(AddFixture, ARecordReadInPlaceOfAnotherIsNotTakenForIt) {
    // The array is emptied and refilled past its former length: nothing of the old record counts.
    adder.AddEntry(kNotepad, L"Notepad");
    EXPECT_TRUE(adder.HoldsProgram(kNotepad, L"Notepad"));
    record.docs.Clear();
    record.apps.Clear();
    record.items.Empty();
    for (int i = 0; i < 3; ++i) {
        TMyDoc item;
        item.path = item.groupKey = item.title = L"D:\\other" + std::to_wstring(i) + L".txt";
        record.docs.Add(nullptr, item.title, record.items.Append(item));
    }
    EXPECT_FALSE(adder.HoldsProgram(kNotepad, L"Notepad"));
    adder.AddEntry(kNotepad, L"Notepad");
    EXPECT_EQ(record.docs.top().size(), 4u);
}

// A path a record file cannot carry would make every later save of the record fail, and lose
// all else added with it: it never enters, on any road in. A title of the program's own making
// only loses the characters.
TEST_F(AddFixture, TextARecordFileCannotCarryNeverEntersTheRecord) {
    machine.AddFile(L"C:\\ok\\a.txt");
    const std::wstring badDocument = L"C:\\ok\\b\x01.txt", badProgram = L"C:\\tools\\x\xFFFF.exe";
    machine.AddFile(badDocument);
    machine.AddFile(badProgram);
    adder.AddItem(badDocument, L"");
    adder.AddEntry(badProgram, L"Tool");
    adder.AddEntry(L"C:\\tools\\fine.exe", L"Fine\x02 tool");
    adder.AddItem(L"C:\\ok\\a.txt", L"");
    EXPECT_EQ(view.refused, (Strings{badDocument, badProgram}));
    EXPECT_FALSE(HasUnwritableText(record));
    bool fineTitled = false;
    record.docs.Walk([&](RecordNode& n) { fineTitled |= n.caption == L"Fine tool"; });
    EXPECT_TRUE(fineTitled);
    EXPECT_TRUE(ToldNodesAreInTheirTrees());
}

TEST(PathsBelow, AJunctionBackUpTheTreeAndAnEndlessTreeBothEnd) {
    // Every folder the walk enters holds a junction to its parent and a real subfolder, without end.
    struct Endless : RecentFolderReader {
        int listed = 0;
        std::vector<ListedEntry> List(const std::wstring&, size_t) override {
            ++listed;
            return {{L".", FILE_ATTRIBUTE_DIRECTORY},
                    {L"up", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
                    {L"deeper", FILE_ATTRIBUTE_DIRECTORY},
                    {L"tool.lnk", FILE_ATTRIBUTE_ARCHIVE}};
        }
        bool LastWriteDays(const std::wstring&, double&) override { return false; }
        double NowDays() override { return 0; }
    } tree;
    const std::vector<FoundPath> found = PathsBelow({L"C:\\Menu"}, tree);
    EXPECT_EQ(tree.listed, 33);  // the starting folder and 32 levels below it
    ASSERT_EQ(found.size(), 33u * 3);
    EXPECT_EQ(found[0].path, L"C:\\Menu\\up");
    EXPECT_TRUE(found[0].isFolder);
    EXPECT_EQ(found[3].path, L"C:\\Menu\\deeper\\up");
}

TEST(PathsBelow, FoldersPastTheClassicPathLengthAreListed) {
    tvtest::TempFolder root;
    std::wstring deep = root.path();
    while (deep.size() < 300) {
        deep += L"\\a_rather_long_folder_name_for_the_menu";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
    }
    HANDLE file = CreateFileW((L"\\\\?\\" + deep + L"\\tool.lnk").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    RealRecentFolderReader reader;
    const std::vector<FoundPath> found = PathsBelow({root.path()}, reader);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.back().path, deep + L"\\tool.lnk");
    // Taken away here: the temporary folder's own removal uses the classic length.
    DeleteFileW((L"\\\\?\\" + deep + L"\\tool.lnk").c_str());
    for (; deep.size() > root.path().size(); deep.resize(deep.rfind(L'\\'))) RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
}
