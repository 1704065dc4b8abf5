// Checks the time limit every test program runs under (support/test_main.cpp), when started by
// tests/scripts/time_limit_test.sh with a short limit; skipped otherwise. Its first test never
// ends, and the copy of this program it starts would leave a mark a few seconds later: the
// limit must end both.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/strings.h"
#include "support/test_support.h"

namespace {
const char* Mark() { return std::getenv("TOLVANE_TIME_LIMIT_MARK"); }
}  // namespace

TEST(TimeLimit, NeverEnds) {
    if (!Mark()) GTEST_SKIP() << "run by the time-limit check";
    // The copy runs under a limit of its own far beyond its few seconds.
    SetEnvironmentVariableW(L"TOLVANE_TEST_TIME_LIMIT", L"600");
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    tvtest::Process copy;
    ASSERT_TRUE(copy.Start(self, L"--gtest_filter=TimeLimit.LeavesAMarkLater"));
    Sleep(INFINITE);
}

TEST(TimeLimit, LeavesAMarkLater) {
    if (!Mark()) GTEST_SKIP() << "run by the time-limit check";
    Sleep(5000);
    tvtest::WriteAll(tv::FromAnsi(Mark()), "still running");
}
