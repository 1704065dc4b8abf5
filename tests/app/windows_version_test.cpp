#include "app/windows_version.h"

#include <gtest/gtest.h>

using tv::WindowsVersionName;

TEST(WindowsVersionName, FollowsThePlatformAndVersionTable) {
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_NT, 5, 1), L"windows xp");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_NT, 6, 0), L"windows vista");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_NT, 6, 1), L"windows 7");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_NT, 6, 2), L"windows");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_NT, 10, 0), L"windows");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_NT, 5, 2), L"windows 2003");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_NT, 3, 51), L"windows nt 3.51");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_WINDOWS, 4, 90), L"windows me");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32_WINDOWS, 4, 3), L"windows 9x");
    EXPECT_EQ(WindowsVersionName(VER_PLATFORM_WIN32s, 9, 9), L"windows 32");
    EXPECT_EQ(WindowsVersionName(7, 1, 0), L"windows unknow");
}
