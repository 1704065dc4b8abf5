// Pages of today's browsers read through their accessible objects: the rules, then browser
// stubs of the test's own, started under browsers' program names.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "base/handles.h"
#include "capture/browser_accessibility.h"
#include "capture/recording.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;

TEST(AccessibleBrowsers, FrameClassAndProgramNameTogetherMakeABrowser) {
    struct Case {
        const wchar_t *cls, *program;
        bool browser;
    } cases[] = {
        {L"Chrome_WidgetWin_1", L"chrome.exe", true},   {L"Chrome_WidgetWin_1", L"MSEDGE.EXE", true},
        {L"Chrome_WidgetWin_1", L"brave.exe", true},    {L"Chrome_WidgetWin_1", L"opera.exe", true},
        {L"Chrome_WidgetWin_1", L"vivaldi.exe", true},  {L"MozillaWindowClass", L"firefox.exe", true},
        {L"Chrome_WidgetWin_1", L"firefox.exe", false}, {L"MozillaWindowClass", L"chrome.exe", false},
        {L"Chrome_WidgetWin_1", L"code.exe", false},    {L"Chrome_WidgetWin_0", L"chrome.exe", false},
        {L"Chrome_WidgetWin_1", L"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAccessibleBrowserWindow(c.cls, c.program), c.browser) << c.cls << c.program;
}

TEST(AccessibleBrowsers, TheBrowserNameLeavesTheTitleAndEachAddressIsKeptOnce) {
    EXPECT_EQ(PageTitleOfWindowTitle(L"Example - Google Chrome"), L"Example");
    EXPECT_EQ(PageTitleOfWindowTitle(L"Example \u2014 Mozilla Firefox"), L"Example");
    EXPECT_EQ(PageTitleOfWindowTitle(L"Example - Microsoft\u200b Edge"), L"Example");
    EXPECT_EQ(PageTitleOfWindowTitle(L" - Google Chrome"), L" - Google Chrome");  // no page title before it
    EXPECT_EQ(PageTitleOfWindowTitle(L"- Google Chrome"), L"- Google Chrome");
    EXPECT_EQ(PageTitleOfWindowTitle(L"Notes - Google Chrome help"), L"Notes - Google Chrome help");
    std::vector<PagePair> pages{{L"http://a.example/", L"A"}};
    AppendNewPages(pages, {{L" HTTP://A.example/ ", L"A again"}, {L"http://b.example/", L"B"}, {L"http://b.example/", L"B"}});
    EXPECT_EQ(pages, (std::vector<PagePair>{{L"http://a.example/", L"A"}, {L"http://b.example/", L"B"}}));
}

TEST(AccessibleBrowsersUnderWine, EveryBrowserWindowIsRecordedWithItsAddressAndTitle) {
    TempFolder dir;
    Process chrome, firefox, other;
    ASSERT_TRUE(StartBrowserStubAs(dir, L"chrome.exe", chrome, L"Chrome_WidgetWin_1",
                                   {L"Example - Google Chrome|example.org/a", L"Second|https://b.example/x?y=1",
                                    L"New Tab - Google Chrome|"}));
    ASSERT_TRUE(StartBrowserStubAs(dir, L"firefox.exe", firefox, L"MozillaWindowClass",
                                   {L"Fox \u2014 Mozilla Firefox|https://fox.example/"}));
    // The frame class alone makes no browser.
    ASSERT_TRUE(StartBrowserStubAs(dir, L"editor.exe", other, L"Chrome_WidgetWin_1", {L"Editor|https://editor.example/"}));

    std::vector<PagePair> pages = RealRecordingSources(L"").OtherBrowserPages();
    std::sort(pages.begin(), pages.end(), [](const PagePair& a, const PagePair& b) { return a.address < b.address; });
    EXPECT_EQ(pages, (std::vector<PagePair>{{L"http://example.org/a", L"Example"},
                                            {L"https://b.example/x?y=1", L"Second"},
                                            {L"https://fox.example/", L"Fox"}}));
}

TEST(AccessibleBrowsersUnderWine, ABrowserThatNeverAnswersIsLeftAndTheOthersAreRead) {
    TempFolder dir;
    Process silent, stuck, fine;
    // A window whose thread takes no message; one whose object never returns from its calls.
    ASSERT_TRUE(StartBrowserStubAs(dir, L"msedge.exe", silent, L"Chrome_WidgetWin_1", {L"!silent"}));
    ASSERT_TRUE(StartBrowserStubAs(dir, L"brave.exe", stuck, L"Chrome_WidgetWin_1", {L"!stuck"}));
    ASSERT_TRUE(StartBrowserStubAs(dir, L"vivaldi.exe", fine, L"Chrome_WidgetWin_1",
                                   {L"Fine|https://fine.example/", L"Also fine|https://also.example/"}));
    std::vector<HWND> windows = AccessibleBrowserPages::BrowserWindows();
    ASSERT_EQ(windows.size(), 4u);
    std::vector<PagePair> pages = AccessibleBrowserPages(300).Read(windows);
    std::sort(pages.begin(), pages.end(), [](const PagePair& a, const PagePair& b) { return a.address < b.address; });
    EXPECT_EQ(pages, (std::vector<PagePair>{{L"https://also.example/", L"Also fine"}, {L"https://fine.example/", L"Fine"}}));
}
