#include "app/instance.h"

#include <gtest/gtest.h>

using namespace tv;

namespace {
std::wstring UniqueName() {
    return L"tvtest-instance-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount());
}
}  // namespace

TEST(InstanceBlock, NameIsTheExecutablePathWithoutBackslashes) {
    EXPECT_EQ(InstanceBlockName(L"C:\\Program Files\\TolVane\\tolvane.exe"),
              L"C:Program FilesTolVanetolvane.exe");
}

TEST(InstanceBlock, TheSecondInstanceIsNotRegisteredAndTheFirstCountsItselfOut) {
    std::wstring name = UniqueName();
    auto first = std::make_unique<InstanceBlock>(name);
    EXPECT_EQ(first->Check(nullptr, 1), InstanceBlock::Result::FirstInstance);
    {
        InstanceBlock second(name);
        EXPECT_EQ(second.Check(nullptr, 1), InstanceBlock::Result::AnotherRuns);
        EXPECT_FALSE(second.registered());
    }
    // The second did not count itself out, so the first still fills the limit.
    {
        InstanceBlock third(name);
        EXPECT_EQ(third.Check(nullptr, 1), InstanceBlock::Result::AnotherRuns);
    }
    // Below a larger limit another one registers, and counts itself out when it ends.
    {
        InstanceBlock extra(name);
        EXPECT_EQ(extra.Check(nullptr, 2), InstanceBlock::Result::Registered);
    }
    InstanceBlock again(name);
    EXPECT_EQ(again.Check(nullptr, 2), InstanceBlock::Result::Registered);
}

TEST(InstanceBlock, TheRunningWindowIsRestoredAndBroughtToTheFront) {
    std::wstring name = UniqueName() + L"-window";
    HWND w = CreateWindowExW(0, L"STATIC", L"running", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    InstanceBlock first(name);
    ASSERT_EQ(first.Check(nullptr, 1), InstanceBlock::Result::FirstInstance);
    first.SetWindow(w);
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(w));
    InstanceBlock second(name);
    EXPECT_EQ(second.Check(nullptr, 1), InstanceBlock::Result::AnotherRuns);
    EXPECT_FALSE(IsIconic(w));
    DestroyWindow(w);
}
