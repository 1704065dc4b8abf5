// Where a recorded window goes on the monitors of today, and its attributes in a record file.
#include "records/window_place.h"

#include <gtest/gtest.h>

#include <map>

using namespace tv;

namespace {

WindowPlace Stored(RECT normal, const wchar_t* device, RECT work) {
    WindowPlace p;
    p.known = true;
    p.normal = normal;
    p.monitor = {device, work, {}};
    return p;
}

const MonitorArea kLeft{L"\\\\.\\DISPLAY1", {0, 0, 1920, 1040}, {0, 0, 1920, 1080}};
const MonitorArea kRight{L"\\\\.\\DISPLAY2", {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}};
const MonitorArea kSmall{L"\\\\.\\DISPLAY1", {0, 0, 1024, 768}, {0, 0, 1024, 768}};

}  // namespace

TEST(WindowPlace, AStoredPlaceLandsWhollyOnAMonitorThatExistsNow) {
    struct Case {
        const char* what;
        WindowPlace stored;
        std::vector<MonitorArea> now;
        RECT expected;
        const wchar_t* device;
    } cases[] = {
        {"same monitor, inside", Stored({100, 50, 900, 650}, L"\\\\.\\DISPLAY1", kLeft.work), {kLeft, kRight},
         {100, 50, 900, 650}, L"\\\\.\\DISPLAY1"},
        {"same monitor, hanging off its edge", Stored({1500, 900, 2300, 1300}, L"\\\\.\\DISPLAY1", kLeft.work),
         {kLeft, kRight}, {1120, 640, 1920, 1040}, L"\\\\.\\DISPLAY1"},
        {"right monitor gone: the left one, same relative place",
         Stored({2020, 100, 2420, 400}, L"\\\\.\\DISPLAY2", kRight.work), {kLeft}, {100, 96, 500, 396},
         L"\\\\.\\DISPLAY1"},
        {"a monitor left of both gone: the nearer one",
         Stored({-1800, 100, -1400, 400}, L"\\\\.\\DISPLAY3", {-1920, 0, 0, 1080}), {kRight, kLeft},
         {120, 96, 520, 396}, L"\\\\.\\DISPLAY1"},
        {"a smaller work area now: scaled, then kept inside",
         Stored({960, 540, 1760, 1040}, L"\\\\.\\DISPLAY1", {0, 0, 1920, 1080}), {kSmall}, {224, 268, 1024, 768},
         L"\\\\.\\DISPLAY1"},
        {"larger than the work area: shrunk to it", Stored({-50, -50, 3000, 2000}, L"\\\\.\\DISPLAY1", kSmall.work),
         {kSmall}, {0, 0, 1024, 768}, L"\\\\.\\DISPLAY1"},
        {"no monitors known: unchanged", Stored({5000, 10, 5400, 300}, L"\\\\.\\DISPLAY9", {4000, 0, 6000, 1000}),
         {}, {5000, 10, 5400, 300}, L"\\\\.\\DISPLAY9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WindowPlace placed = PlaceOnMonitors(c.stored, c.now);
        EXPECT_EQ(placed.monitor.device, c.device);
        EXPECT_EQ(std::vector<LONG>({placed.normal.left, placed.normal.top, placed.normal.right, placed.normal.bottom}),
                  std::vector<LONG>({c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}));
    }
}

TEST(WindowPlace, AttributesRoundTripAndAnythingUnreadableLeavesNoPlace) {
    WindowPlace place = Stored({-10, 20, 410, 320}, L"\\\\.\\DISPLAY1", kLeft.work);
    place.shown = ShownState::Minimised;
    std::map<std::wstring, std::wstring> attributes;
    for (const auto& [name, value] : PlaceAttributes(place)) attributes[name] = value;
    auto read = [&attributes] {
        return PlaceFromAttributes([&](const wchar_t* name, std::wstring& value) {
            auto found = attributes.find(name);
            if (found == attributes.end()) return false;
            value = found->second;
            return true;
        });
    };
    WindowPlace back = read();
    ASSERT_TRUE(back.known);
    EXPECT_TRUE(EqualRect(&back.normal, &place.normal));
    EXPECT_EQ(back.shown, ShownState::Minimised);
    EXPECT_EQ(back.monitor.device, place.monitor.device);
    EXPECT_TRUE(PlaceAttributes(WindowPlace{}).empty());

    const std::map<std::wstring, std::wstring> good = attributes;
    for (const auto& [name, bad] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"windowRect", L"1,2,3"}, {L"windowRect", L"10,10,5,20"}, {L"windowRect", L"a,b,c,d"},
             {L"windowRect", L"1,2,3,4,5"}, {L"windowShown", L"hidden"}, {L"monitorWorkArea", L""}}) {
        attributes = good;
        attributes[name] = bad;
        EXPECT_FALSE(read().known) << bad;
    }
    attributes = good;
    attributes.erase(L"monitor");
    EXPECT_FALSE(read().known);
}
