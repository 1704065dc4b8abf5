#include "app/command_line.h"

#include <gtest/gtest.h>

using namespace tv;
using Lines = std::vector<std::wstring>;
using K = IntakeStep::Kind;

TEST(CommandLine, SplitsLikeTheSystemWithQuotesGroupingAndRemoved) {
    EXPECT_EQ(SplitCommandLine(L"tolvane.exe  C:\\a.txt\t/run"),
              (Lines{L"tolvane.exe", L"C:\\a.txt", L"/run"}));
    EXPECT_EQ(SplitCommandLine(L"\"C:\\Program Files\\t.exe\" \"C:\\My Docs\\a b.txt\""),
              (Lines{L"C:\\Program Files\\t.exe", L"C:\\My Docs\\a b.txt"}));
    EXPECT_EQ(SplitCommandLine(L"x a\"b c\"d"), (Lines{L"x", L"ab cd"}));
    EXPECT_EQ(SplitCommandLine(L"x \"\" y"), (Lines{L"x", L"", L"y"}));
    EXPECT_EQ(SplitCommandLine(L"x \"open"), (Lines{L"x", L"open"}));
    EXPECT_TRUE(SplitCommandLine(L"  \r\n ").empty());
}

TEST(CommandLine, SwitchesCountOnlyInTheirPositions) {
    StartupSwitches s = ReadSwitches({L" /run ", L"a", L"/runasadmin"});
    EXPECT_TRUE(s.replayMode);
    EXPECT_TRUE(s.elevatedInstance);
    EXPECT_FALSE(s.installLast);
    s = ReadSwitches({L"a", L"/run", L"/install"});
    EXPECT_FALSE(s.replayMode);
    EXPECT_TRUE(s.installLast);
    s = ReadSwitches({L"/runasadmin", L"a"});
    EXPECT_FALSE(s.elevatedInstance);
    EXPECT_TRUE(ReadSwitches({L"/run_admin"}).replayMode);
    EXPECT_FALSE(ReadSwitches({L"/RUN"}).replayMode);  // exact case
    EXPECT_FALSE(ReadSwitches({}).replayMode);
}

TEST(CommandLine, ElevationRestartIsSkippedOnlyForItsOwnLastSwitches) {
    EXPECT_TRUE(WantsElevationRestart({}));
    EXPECT_TRUE(WantsElevationRestart({L"/run"}));
    EXPECT_TRUE(WantsElevationRestart({L"/runasadmin", L"x"}));
    EXPECT_FALSE(WantsElevationRestart({L"/run", L"/runasadmin"}));
    EXPECT_FALSE(WantsElevationRestart({L"x", L"/ctmenu "}));
    EXPECT_FALSE(WantsElevationRestart({L"/run_admin"}));
}

TEST(ItemLists, EveryStarEndsAnItemAndTextAfterTheLastIsNone) {
    EXPECT_EQ(SplitItemList(L"C:\\a.txt*C:\\b.txt"), (Lines{L"C:\\a.txt"}));
    EXPECT_EQ(SplitItemList(L"C:\\a.txt*C:\\b.txt*"), (Lines{L"C:\\a.txt", L"C:\\b.txt"}));
    EXPECT_EQ(SplitItemList(L"**a*"), (Lines{L"", L"", L"a"}));
    EXPECT_TRUE(SplitItemList(L"no star").empty());
}

TEST(ItemLists, AtMost5000ItemsAreTaken) {
    std::wstring text;
    for (int i = 0; i < 5001; ++i) text += L"i" + std::to_wstring(i) + L"*";
    Lines items = SplitItemList(text);
    ASSERT_EQ(items.size(), 5000u);
    EXPECT_EQ(items.back(), L"i4999");
}

TEST(HandOff, SwitchesAreNotHandedOverAndCtmenuReplacesTheList) {
    auto menu = [](Lines& l) { l = {L"C:\\m1", L"C:\\m 2"}; return true; };
    auto noMenu = [](Lines&) { return false; };
    EXPECT_EQ(HandOffLines({L"/run_admin"}, noMenu), Lines{});
    EXPECT_EQ(HandOffLines({L"/run", L"a", L"/install", L"/runasadmin"}, noMenu), Lines{L"a"});
    EXPECT_EQ(HandOffLines({L"x", L"/ctmenu", L"y"}, menu), (Lines{L"C:\\m1", L"C:\\m 2"}));
    EXPECT_EQ(HandOffLines({L"x", L"/ctmenu", L"y"}, noMenu), Lines{L"x"});
    EXPECT_EQ(HandOffLines({}, menu), Lines{});
}

TEST(HandOff, FileLinesBecomeConvertedItems) {
    std::vector<IntakeStep> steps = HandOffFileSteps({
        L"C:\\My?|?Docs\\a.txt",
        L"\"C:\\Program Files\\app.exe\" --flag",
        L"/run",
        L"",
        L" C:\\x.txt * /install *http://h/a?|?b*tail",
        L"https://example.com/?q=1 2",
    });
    std::vector<IntakeStep> want{
        {K::Item, L"C:\\My Docs\\a.txt"},
        {K::Item, L"C:\\Program Files\\app.exe"},
        {K::ListItem, L"C:\\x.txt"},
        {K::ListItem, L"http://h/a b"},
        {K::Item, L"https://example.com/?q=1 2"},
    };
    EXPECT_EQ(steps, want);
}

TEST(HandOff, CommandLineStepsKeepListsAndTheMenuSwitchInOrder) {
    std::vector<IntakeStep> steps =
        CommandLineSteps({L"/run", L"", L"C:\\a.txt", L"/ctmenu", L"C:\\b.txt*C:\\c.txt*", L"/run_admin"});
    std::vector<IntakeStep> want{
        {K::Item, L"C:\\a.txt"},
        {K::Menu, L""},
        {K::ListItem, L"C:\\b.txt"},
        {K::ListItem, L"C:\\c.txt"},
        {K::ListEnd, L""},
    };
    EXPECT_EQ(steps, want);
}

TEST(HandOff, MenuLinesAreTakenAsTheyAreWithoutListOrSwitchHandling) {
    std::vector<IntakeStep> steps = MenuFileSteps({L"C:\\a*b", L"/run", L"C:\\x?|?y.txt"});
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].path, L"C:\\a*b");
    EXPECT_EQ(steps[1].path, L"/run");
    EXPECT_EQ(steps[2].path, L"C:\\x?|?y.txt");
}

TEST(IntakeCheck, LinesAndItemsARecordCannotHoldAreRefusedAndNamed) {
    std::vector<std::wstring> lines{L"C:\\a.txt", L"C:\\b\x01.txt", L"C:\\x.txt*C:\\y\xFFFFz.txt*",
                                    L"http://example.com/\x01", L"C:\\c \xD83D\xDE00.txt"};
    std::vector<std::wstring> refused;
    std::vector<std::wstring> keptLines = WithoutUnwritableLines(lines, refused);
    EXPECT_EQ(keptLines, (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\c \xD83D\xDE00.txt"}));
    EXPECT_EQ(refused, (std::vector<std::wstring>{L"C:\\b\x01.txt", L"C:\\x.txt*C:\\y\xFFFFz.txt*",
                                                  L"http://example.com/\x01"}));

    // Items are checked once more after converting, which the lines do not show.
    refused.clear();
    std::vector<IntakeStep> kept = WithoutUnwritableItems(
        HandOffFileSteps({L"C:\\x.txt*C:\\y\xFFFFz.txt*", L"https://example.com/\xD800", L"C:\\a.txt"}), refused);
    EXPECT_EQ(refused, (std::vector<std::wstring>{L"C:\\y\xFFFFz.txt", L"https://example.com/\xD800"}));
    std::vector<std::wstring> keptPaths;
    for (const auto& s : kept)
        if (s.kind != IntakeStep::Kind::ListEnd) keptPaths.push_back(s.path);
    EXPECT_EQ(keptPaths, (std::vector<std::wstring>{L"C:\\x.txt", L"C:\\a.txt"}));

    // The message shows where the bad character was and keeps whole pairs as they are.
    std::wstring message = RefusedItemMessage(L"C:\\b\x01\xD83D\xDE00.txt");
    EXPECT_NE(message.find(L"C:\\b<U+0001>\xD83D\xDE00.txt"), std::wstring::npos);
    EXPECT_TRUE(CanEnterRecord(message));
}
