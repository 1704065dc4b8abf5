#include "ui/main/frame/window_layout.h"

#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "base/strings.h"
#include "support/test_support.h"
#include "ui/window_text.h"
#include "app/settings_keys.h"

using namespace tv;
using tvtest::TempFolder;

namespace {

// What "reachable" means: inside the area in size, the top edge on it, 100 by 100 pixels on it.
void ExpectReachable(const RECT& r, const RECT& area) {
    EXPECT_LE(r.right - r.left, area.right - area.left);
    EXPECT_LE(r.bottom - r.top, area.bottom - area.top);
    EXPECT_GE(r.top, area.top);
    EXPECT_GE(std::min(r.right, area.right) - std::max(r.left, area.left), kMinVisible);
    EXPECT_GE(std::min(r.bottom, area.bottom) - std::max(r.top, area.top), kMinVisible);
}

class StoredPlace : public ::testing::Test {
protected:
    TempFolder dir;
    SettingsStore user{dir.file(L"defualt.ini")};
    void Store(int left, int top, int width, int height) {
        user.WriteInteger(keys::kDefault, keys::kLeft, left);
        user.WriteInteger(keys::kDefault, keys::kTop, top);
        user.WriteInteger(keys::kDefault, keys::kWidth, width);
        user.WriteInteger(keys::kDefault, keys::kHeight, height);
    }
    RECT Stored() {
        int left = user.ReadInteger(keys::kDefault, keys::kLeft, -1), top = user.ReadInteger(keys::kDefault, keys::kTop, -1);
        return RECT{left, top, left + user.ReadInteger(keys::kDefault, keys::kWidth, -1),
                    top + user.ReadInteger(keys::kDefault, keys::kHeight, -1)};
    }
};

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

}  // namespace

TEST_F(StoredPlace, HostileValuesGiveAReachableWindowAndTheCorrectionIsStored) {
    // A taskbar at the top and a second monitor's area that does not start at 0.
    const RECT areas[] = {{0, 0, 1024, 738}, {0, 40, 1280, 1024}, {1920, -200, 3200, 824}};
    const int hostile[] = {2147483647, 50000, -500, 0, -2147483647 - 1};
    for (const RECT& area : areas) {
        for (int v : hostile) {
            for (int which = 0; which < 5; ++which) {
                int place[4] = {100, 100, 500, 400};  // left, top, width, height
                if (which < 4) place[which] = v;
                else place[0] = place[1] = place[2] = place[3] = v;
                SCOPED_TRACE(std::to_string(v) + " in field " + std::to_string(which) + " of area at " +
                             std::to_string(area.left));
                Store(place[0], place[1], place[2], place[3]);
                StoredGeometry g = LoadWindowGeometry(user, area);
                ExpectReachable(g.bounds, area);
                // What is stored now is the place the window opens at, and loading it again
                // changes nothing.
                EXPECT_TRUE(Same(Stored(), g.bounds));
                EXPECT_TRUE(Same(LoadWindowGeometry(user, area).bounds, g.bounds));
            }
        }
    }
}

TEST_F(StoredPlace, AReachablePlaceIsKeptAsItWasAndNotWrittenAgain) {
    const RECT area{0, 0, 1280, 984};
    // Fully inside, hanging off the left edge with enough left on the screen, in the corner.
    const RECT places[] = {{100, 50, 620, 950}, {-300, 0, 200, 500}, {1100, 700, 1280, 984}};
    for (const RECT& p : places) {
        Store(p.left, p.top, p.right - p.left, p.bottom - p.top);
        std::string before = tvtest::ReadAll(user.path());
        StoredGeometry g = LoadWindowGeometry(user, area);
        EXPECT_TRUE(Same(g.bounds, p)) << p.left;
        EXPECT_EQ(tvtest::ReadAll(user.path()), before);
    }
}

TEST_F(StoredPlace, ReachableRulesAtTheEdges) {
    const RECT area{0, 30, 800, 600};
    struct Case {
        const char* what;
        long long left, top, width, height;  // as stored
        RECT opens;
    };
    // An unreachable place moves whole onto the area at its stored size; only a window larger
    // than the area is cut to it; a reachable place stays where the user left it.
    const Case cases[] = {
        {"on the area", 100, 100, 300, 200, {100, 100, 400, 300}},
        {"far off to the left", -5000, 100, 300, 200, {0, 100, 300, 300}},
        {"far off to the right", 50000, 100, 300, 200, {500, 100, 800, 300}},
        {"10 pixels on at the right", 790, 100, 300, 200, {500, 100, 800, 300}},
        {"above the area", 10, -40, 300, 200, {10, 30, 310, 230}},
        {"far below", 0, 50000, 300, 200, {0, 400, 300, 600}},
        {"far off a corner", 2147483647, 2147483647, 300, 200, {500, 400, 800, 600}},
        {"taller than the area", 0, 30, 300, 5000, {0, 30, 300, 600}},
        {"taller than the area and lower down", 0, 100, 300, 5000, {0, 30, 300, 600}},
        {"larger than the area both ways, off", -100, -100, 2000, 2000, {0, 30, 800, 600}},
        {"partly off the right and bottom, reachable", 600, 400, 500, 400, {600, 400, 1100, 800}},
        {"partly off the left, reachable", -300, 100, 500, 200, {-300, 100, 200, 300}},
        {"too small to use: the default size", 0, 30, -500, 20, {0, 30, 520, 570}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(Same(FitOnWorkArea(c.left, c.top, c.width, c.height, area, 520, 540), c.opens)) << c.what;

    // A maximised window keeps its state; its normal place is corrected all the same.
    TempFolder dir;
    SettingsStore user(dir.file(L"defualt.ini"));
    user.WriteInteger(keys::kDefault, keys::kWindowState, 0);
    user.WriteInteger(keys::kDefault, keys::kTop, -500);
    StoredGeometry g = LoadWindowGeometry(user, area);
    EXPECT_TRUE(g.maximised);
    EXPECT_EQ(user.ReadInteger(keys::kDefault, keys::kTop, 0), g.bounds.top);
    ExpectReachable(g.bounds, area);
}

TEST_F(StoredPlace, OnlyAStoredStateOfOneOpensANormalWindow) {
    const struct {
        const wchar_t* stored;
        bool maximised;
    } cases[] = {{L"1", false}, {L"0", true}, {L"2", true}, {L"-1", true}, {L"2147483647", true},
                 {L"0x1", false}, {L"normal", false}, {L"", false}};
    const RECT area{0, 0, 1024, 738};
    for (const auto& c : cases) {
        user.WriteString(keys::kDefault, keys::kWindowState, c.stored);
        EXPECT_EQ(LoadWindowGeometry(user, area).maximised, c.maximised) << tv::ToUtf8(c.stored);
    }
}

TEST(WindowPlaceOnScreen, TheScreenSizeFormUsesTheMonitorsWorkArea) {
    TempFolder dir;
    SettingsStore user(dir.file(L"defualt.ini"));
    user.WriteInteger(keys::kDefault, keys::kLeft, 2147483647);
    user.WriteInteger(keys::kDefault, keys::kTop, 2147483647);
    user.WriteInteger(keys::kDefault, keys::kWidth, 2147483647);
    user.WriteInteger(keys::kDefault, keys::kHeight, 2147483647);
    StoredGeometry g = LoadWindowGeometry(user, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    ExpectReachable(g.bounds, work);
}

TEST(Mnemonics, TheLetterAfterASingleAmpersandUpperCased) {
    const struct {
        const wchar_t* caption;
        wchar_t letter;
    } cases[] = {
        {L"    &Start Recording", L'S'}, {L"S&top", L'T'},  {L"&search", L'S'},
        {L"Tom && Jerry", 0},            {L"&&a &b", L'B'}, {L"Ends with &", 0}, {L"Smart Record", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MnemonicOf(c.caption), c.letter) << c.caption;
}
