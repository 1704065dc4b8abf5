#include "e2e/e2e_support.h"

#include "base/file_util.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "records/record_file.h"
#include "records/record_library.h"

using namespace tvtest;

namespace {

class SingleInstance : public ::testing::Test {
protected:
    ScopedDataFolders folders;
    ProgramFolder program;
    Process first;
    HWND window = nullptr;

    void SetUp() override {
        window = StartProgram(first, program.exe(), L"");
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (window) {
            EXPECT_EQ(CloseAndWait(window, first), 0);
        }
    }
    // Runs a second instance to its end; its exit code is the running window's answer.
    long Second(const std::wstring& params) {
        Process second;
        if (!second.Start(program.exe(), params)) return -2;
        return second.Wait(30000);
    }
    std::string HandOffFile() { return ReadAll(folders.dataFolder() + L"\\sendparam.txt"); }
    std::vector<HWND> MainWindows() { return FindWindows(L"TTolvaneWindow"); }
    // The one record of the data folder, where a start with no record saves.
    std::wstring RecordFile() {
        std::vector<std::wstring> names = tv::ListRecordNames(folders.dataFolder());
        return names.size() == 1 ? folders.dataFolder() + L"\\" + names[0] + L".tolvane" : L"";
    }
    std::vector<std::wstring> SavedPaths() {
        tv::ShownRecord r;
        std::vector<std::wstring> paths;
        if (tv::ReadRecordFile(r, RecordFile()) != tv::ReadOutcome::Complete) return paths;
        r.docs.Walk([&](tv::RecordNode& n) { paths.push_back(tv::ToLower(r.items.At(n.data.itemIndex).path)); });
        return paths;
    }
    // The running instance answers before it adds: the record is written a moment later.
    bool Saved(const std::wstring& path) {
        for (int i = 0; i < 100; ++i, Sleep(100)) {
            std::vector<std::wstring> paths = SavedPaths();
            if (std::find(paths.begin(), paths.end(), tv::ToLower(path)) != paths.end()) return true;
        }
        return false;
    }
};

const std::string kMark("\xFF\xFE", 2);

}  // namespace

TEST_F(SingleInstance, ASecondStartHandsItsItemOverAndLeavesOneWindow) {
    EXPECT_EQ(Second(L"C:\\a.txt"), 1);  // the running instance answered 1
    EXPECT_EQ(HandOffFile(), kMark + Utf16(L"C:\\a.txt\r\n"));
    EXPECT_EQ(MainWindows().size(), 1u);
    EXPECT_EQ(NodeCount(window), 1);

    // The same item again is found in the record and only selected.
    EXPECT_EQ(Second(L"C:\\a.txt"), 1);
    EXPECT_EQ(NodeCount(window), 1);
    EXPECT_EQ(MainWindows().size(), 1u);
}

TEST_F(SingleInstance, WithoutParametersTheFileIsOnlyTheMark) {
    EXPECT_EQ(Second(L""), 1);
    EXPECT_EQ(HandOffFile(), kMark);
    EXPECT_EQ(NodeCount(window), 0);
}

TEST_F(SingleInstance, RunAdminAloneIsNotHandedOver) {
    EXPECT_EQ(Second(L"/run_admin"), 1);
    EXPECT_EQ(HandOffFile(), kMark);
}

TEST_F(SingleInstance, CtmenuHandsOverTheMenuFileLinesOnly) {
    EXPECT_EQ(Second(L"x /ctmenu y"), 1);
    EXPECT_EQ(HandOffFile(), kMark + Utf16(L"x\r\n"));  // no menu file yet: x alone

    ASSERT_TRUE(tv::WriteTextLines(folders.dataFolder() + L"\\ctmenu.txt",
                                   {L"C:\\Users\\me\\a b.txt", L"C:\\Data"}));
    EXPECT_EQ(Second(L"x /ctmenu y"), 1);
    EXPECT_EQ(HandOffFile(), kMark + Utf16(L"C:\\Users\\me\\a b.txt\r\nC:\\Data\r\n"));
    EXPECT_EQ(NodeCount(window), 3);  // x, then the two menu paths
}

TEST_F(SingleInstance, AMinimisedRunningWindowIsRestored) {
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    EXPECT_EQ(Second(L""), 1);
    EXPECT_FALSE(IsIconic(window));
}

TEST_F(SingleInstance, ClosingTheFirstLetsTheNextStartRunAsFirstInstance) {
    EXPECT_EQ(CloseAndWait(window, first), 0);
    window = nullptr;
    EXPECT_TRUE(OpensAndClosesNormally(program.exe(), L""));
}

TEST(HandOffMessage, TheWindowAnswersOneToTheExactMessage) {
    ScopedDataFolders folders;
    ProgramFolder program;
    Process first;
    HWND window = StartProgram(first, program.exe(), L"");
    ASSERT_NE(window, nullptr);
    char text[8] = "tolvane";
    COPYDATASTRUCT cds{0, 8, text};
    // Until its first-run step has shown the record the window answers 0, and a sender sends
    // again; then it answers 1.
    LRESULT answer = 0;
    for (int i = 0; i < 200 && answer != 1; ++i) {
        answer = SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
        if (answer != 1) Sleep(50);
    }
    EXPECT_EQ(answer, 1);
    char wrong[8] = "tolvanX";
    COPYDATASTRUCT other{0, 8, wrong};
    EXPECT_EQ(SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)), 0);
    EXPECT_EQ(CloseAndWait(window, first), 0);
}

TEST_F(SingleInstance, AHandedOffFileIsAddedAndSavedAndHandedAgainOnlySelected) {
    TempFolder docs;
    const std::wstring document = docs.file(L"a.txt");
    ASSERT_TRUE(tv::WriteTextLines(document, {L"text"}));
    EXPECT_EQ(Second(L"\"" + document + L"\""), 1);
    ASSERT_TRUE(Saved(document));
    const int nodes = NodeCount(window);
    EXPECT_GE(nodes, 1);
    const std::string bytes = ReadAll(RecordFile());

    // The same start again finds it in the record: nothing is added and nothing written.
    EXPECT_EQ(Second(L"\"" + document + L"\""), 1);
    Sleep(1000);  // time enough for a save, were there one
    EXPECT_EQ(NodeCount(window), nodes);
    EXPECT_EQ(ReadAll(RecordFile()), bytes);
}

TEST_F(SingleInstance, AStarListAndTheMenuFileAddEveryItemTheyName) {
    TempFolder docs;
    const std::wstring one = docs.file(L"one.tvx"), two = docs.file(L"two.tvx");
    ASSERT_TRUE(tv::WriteTextLines(one, {L"1"}) && tv::WriteTextLines(two, {L"2"}));
    EXPECT_EQ(Second(one + L"*" + two + L"*"), 1);
    EXPECT_TRUE(Saved(one));
    EXPECT_TRUE(Saved(two));

    const std::wstring menu[] = {docs.file(L"m1.tvx"), docs.file(L"m2.tvx"), docs.file(L"Menu Folder")};
    ASSERT_TRUE(tv::WriteTextLines(menu[0], {L"m"}) && tv::WriteTextLines(menu[1], {L"m"}));
    ASSERT_TRUE(CreateDirectoryW(menu[2].c_str(), nullptr));
    ASSERT_TRUE(tv::WriteTextLines(folders.dataFolder() + L"\\ctmenu.txt", {menu[0], menu[1], menu[2]}));
    EXPECT_EQ(Second(L"/ctmenu"), 1);
    EXPECT_TRUE(Saved(menu[0]));
    EXPECT_TRUE(Saved(menu[1]));
    EXPECT_TRUE(Saved(menu[2] + L"\\"));  // a folder is kept with its backslash
    EXPECT_TRUE(Saved(one));                // the earlier items stay
}
