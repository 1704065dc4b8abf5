#include "e2e/e2e_support.h"

#include "base/text_file.h"

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
