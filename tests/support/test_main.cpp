// The entry point of every test program: the tests run on one apartment thread with OLE
// started, as the program's own window thread does, under a time limit per test.
#include <windows.h>
#include <ole2.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/handles.h"

namespace {

// Longer than any test of the suite takes when it passes, and far below the time ctest gives a
// whole program: a test that hangs then fails alone, by name, and the programs after it still run.
// TOLVANE_TEST_TIME_LIMIT (seconds) overrides it.
constexpr unsigned kDefaultLimitSeconds = 120;
// What the program ends with when the limit is passed.
constexpr UINT kTimedOutCode = 124;

unsigned LimitSeconds() {
    const char* text = std::getenv("TOLVANE_TEST_TIME_LIMIT");
    const unsigned long value = text ? std::strtoul(text, nullptr, 10) : 0;
    return value > 0 && value < 100000 ? static_cast<unsigned>(value) : kDefaultLimitSeconds;
}

// Ends every process this one started, and what those started, so a hung test leaves no
// program behind to disturb the test programs that follow.
void EndDescendants() {
    tv::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return;
    std::multimap<DWORD, DWORD> children;  // parent, child
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        children.emplace(entry.th32ParentProcessID, entry.th32ProcessID);
    std::vector<DWORD> parents{GetCurrentProcessId()};
    for (size_t i = 0; i < parents.size() && i < 10000; ++i) {
        auto [first, last] = children.equal_range(parents[i]);
        for (auto it = first; it != last; ++it) {
            if (it->second == GetCurrentProcessId()) continue;
            parents.push_back(it->second);
            tv::UniqueHandle child(OpenProcess(PROCESS_TERMINATE, FALSE, it->second));
            if (child.valid()) TerminateProcess(child.get(), kTimedOutCode);
        }
    }
}

// Watches the step the program is in (a test, or a suite's set-up or tear-down) from a thread
// of its own, and ends the program when one step runs past the limit.
class TestTimeLimit final : public ::testing::EmptyTestEventListener {
public:
    explicit TestTimeLimit(unsigned seconds) : limit_(seconds), watch_([this] { Watch(); }) {}
    ~TestTimeLimit() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        watch_.join();
    }

    void OnTestSuiteStart(const ::testing::TestSuite& suite) override {
        Enter(std::string("the set-up of ") + suite.name());
    }
    void OnTestStart(const ::testing::TestInfo& test) override {
        Enter(std::string(test.test_suite_name()) + "." + test.name());
    }
    void OnTestEnd(const ::testing::TestInfo& test) override {
        Enter(std::string("the tear-down of ") + test.test_suite_name());
    }
    void OnTestSuiteEnd(const ::testing::TestSuite&) override { Enter("the step between suites"); }
    void OnTestProgramEnd(const ::testing::UnitTest&) override { Enter(""); }

private:
    void Enter(std::string step) {
        std::lock_guard<std::mutex> lock(mutex_);
        step_ = std::move(step);
        since_ = std::chrono::steady_clock::now();
    }

    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stop_) {
            if (!step_.empty() && std::chrono::steady_clock::now() - since_ > limit_) {
                std::fflush(stdout);
                std::printf("\n[ TIME OUT ] %s ran longer than %lld s; the test program ends here.\n",
                            step_.c_str(), static_cast<long long>(limit_.count()));
                std::fflush(stdout);
                EndDescendants();
                TerminateProcess(GetCurrentProcess(), kTimedOutCode);
            }
            wake_.wait_for(lock, std::chrono::seconds(1));
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::string step_;
    std::chrono::steady_clock::time_point since_;
    std::thread watch_;  // last: it starts once everything it reads is made
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // gtest owns the listener from here; it outlives every test.
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestTimeLimit(LimitSeconds()));
    HRESULT ole = OleInitialize(nullptr);
    int result = RUN_ALL_TESTS();
    if (SUCCEEDED(ole)) OleUninitialize();
    return result;
}
