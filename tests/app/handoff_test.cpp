#include "app/handoff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "app/instance.h"
#include "base/constants.h"
#include "base/text_file.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;

namespace {

std::wstring UniqueName(const wchar_t* what) {
    return std::wstring(L"tvtest-") + what + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount());
}

}  // namespace

TEST(HandOffLock, ASenderNeverWritesWhileAnotherHandOffHoldsTheLock) {
    TempFolder dir;
    std::wstring file = dir.file(L"sendparam.txt"), lock = HandOffLockName(UniqueName(L"lock"));
    ASSERT_TRUE(WriteTextLines(file, {L"C:\\not-yet-taken.txt"}));
    std::string before = ReadAll(file);

    HANDLE held = CreateMutexW(nullptr, TRUE, lock.c_str());
    ASSERT_NE(held, nullptr);
    // Another thread is another sender: it gives up rather than overwrite.
    LRESULT answer = -1;
    std::thread([&] { answer = SendHandOff(lock, file, nullptr, {L"C:\\second.txt"}, {50, 0}); }).join();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(ReadAll(file), before);

    // Released, the next sender writes (and, with no window running, answers 0).
    ReleaseMutex(held);
    std::thread([&] { answer = SendHandOff(lock, file, nullptr, {L"C:\\second.txt"}, {50, 0}); }).join();
    EXPECT_EQ(answer, 0);
    std::vector<std::wstring> lines;
    ASSERT_TRUE(ReadTextLines(file, lines));
    EXPECT_EQ(lines, std::vector<std::wstring>{L"C:\\second.txt"});

    // A sender that died holding the lock does not block the next one.
    std::thread([&] { WaitForSingleObject(held, INFINITE); }).join();  // ends owning it
    std::thread([&] { answer = SendHandOff(lock, file, nullptr, {L"C:\\third.txt"}, {50, 0}); }).join();
    ASSERT_TRUE(ReadTextLines(file, lines));
    EXPECT_EQ(lines, std::vector<std::wstring>{L"C:\\third.txt"});
    CloseHandle(held);

    EXPECT_NE(HandOffLockName(L"C:Ptolvane.exe"), L"C:Ptolvane.exe");  // not the block's name
}

TEST(HandOffReceiver, TakesTheFileAndLeavesOutWhatARecordCannotHold) {
    ScopedDataFolders folders;
    std::vector<IntakeStep> steps;
    std::vector<std::wstring> refused;
    EXPECT_FALSE(TakeHandOff(steps, refused));  // no file yet: nothing taken
    ASSERT_TRUE(WriteTextLines(folders.dataFolder() + L"\\sendparam.txt",
                               {L"C:\\a.txt", L"http://x/\x01", L"C:\\b?|?c.txt", L"/run"}));
    ASSERT_TRUE(TakeHandOff(steps, refused));
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].path, L"C:\\a.txt");
    EXPECT_EQ(steps[1].path, L"C:\\b c.txt");
    EXPECT_EQ(refused, std::vector<std::wstring>{L"http://x/\x01"});
}

TEST(InstanceBlock, OfManySimultaneousChecksExactlyOneRegisters) {
    for (int round = 0; round < 20; ++round) {
        std::wstring name = UniqueName(L"race") + L"-" + std::to_wstring(round);
        HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::vector<std::unique_ptr<InstanceBlock>> blocks;
        std::vector<InstanceBlock::Result> results(16);
        std::vector<std::thread> starts;
        for (int i = 0; i < 16; ++i) blocks.push_back(std::make_unique<InstanceBlock>(name));
        for (int i = 0; i < 16; ++i)
            starts.emplace_back([&, i] {
                WaitForSingleObject(go, INFINITE);
                results[i] = blocks[i]->Check(nullptr, 1);
            });
        SetEvent(go);
        for (auto& t : starts) t.join();
        CloseHandle(go);
        EXPECT_EQ(std::count(results.begin(), results.end(), InstanceBlock::Result::FirstInstance), 1) << round;
        EXPECT_EQ(std::count(results.begin(), results.end(), InstanceBlock::Result::AnotherRuns), 15) << round;
    }
}

// Twenty processes started at once, each with one item, as twenty clicks on twenty files:
// one of them receives, and every item arrives exactly once.
TEST(HandOffRace, TwentySimultaneousStartsGiveOneReceiverAndEveryItem) {
    ScopedDataFolders folders;
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TempFolder dir;
        std::wstring exe = dir.file(L"racer.exe"), log = dir.file(L"received.txt");
        ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\handoff_racer.exe").c_str(), exe.c_str(), FALSE));
        std::vector<Process> starts(20);
        std::vector<std::wstring> expected;
        for (int i = 0; i < 20; ++i) {
            expected.push_back(L"C:\\race\\file" + std::to_wstring(round) + L"_" + std::to_wstring(i) + L".txt");
            ASSERT_TRUE(starts[i].Start(exe, L"\"" + log + L"\" " + expected.back()));
        }
        HWND receiver = WaitForWindow(kMainWindowClass, 0);
        ASSERT_NE(receiver, nullptr);
        DWORD receiverPid = 0;
        GetWindowThreadProcessId(receiver, &receiverPid);
        Process* receiving = nullptr;
        for (auto& p : starts) {
            if (p.pid() == receiverPid) {
                receiving = &p;
                continue;
            }
            EXPECT_EQ(p.Wait(180000), 1) << "a sender's answer";
        }
        ASSERT_NE(receiving, nullptr);
        EXPECT_EQ(FindWindows(kMainWindowClass).size(), 1u);
        EXPECT_EQ(CloseAndWait(receiver, *receiving), 100);
        std::vector<std::wstring> received;
        ASSERT_TRUE(ReadTextLines(log, received));
        std::sort(received.begin(), received.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(received, expected);
    }
}

namespace {
int g_messages = 0;
LRESULT CALLBACK NotReadyTwice(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) return ++g_messages < 3 ? 0 : 1;  // 0: not ready for items yet
    if (msg == WM_CLOSE) {
        DestroyWindow(hwnd);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
}  // namespace

TEST(HandOffLock, AWindowNotReadyYetGetsTheMessageAgainUntilItTakesIt) {
    TempFolder dir;
    std::wstring file = dir.file(L"sendparam.txt"), lock = HandOffLockName(UniqueName(L"retry"));
    HWND window = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread receiver([&] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = NotReadyTwice;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kMainWindowClass;
        RegisterClassW(&wc);
        window = CreateWindowW(kMainWindowClass, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        SetEvent(made);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        UnregisterClassW(kMainWindowClass, wc.hInstance);
    });
    WaitForSingleObject(made, INFINITE);
    CloseHandle(made);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendHandOff(lock, file, nullptr, {L"C:\\a.txt"}, {1000, 60000}), 1);
    EXPECT_EQ(g_messages, 3);
    std::vector<std::wstring> lines;
    ASSERT_TRUE(ReadTextLines(file, lines));
    EXPECT_EQ(lines, std::vector<std::wstring>{L"C:\\a.txt"});
    PostMessageW(window, WM_CLOSE, 0, 0);
    receiver.join();
}
