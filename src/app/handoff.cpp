#include "app/handoff.h"

#include "base/constants.h"
#include "app/folders.h"
#include "app/instance.h"
#include "base/handles.h"
#include "base/file_util.h"
#include "base/text_file.h"

namespace tv {

COPYDATASTRUCT HandOffMessageData() {
    COPYDATASTRUCT cds{};
    cds.dwData = 0;
    cds.cbData = sizeof(kHandOffText);
    cds.lpData = const_cast<char*>(kHandOffText);
    return cds;
}

bool ReadMenuFile(std::vector<std::wstring>& lines) {
    std::wstring path = DataFile(kMenuFileName);
    return FileExists(path) && ReadTextLines(path, lines);
}

std::wstring HandOffLockName(const std::wstring& instanceBlockName) {
    // Kernel objects share one namespace: the lock must not take the block's own name.
    return instanceBlockName + L" hand-off";
}

namespace {

// Holds a named mutex for its lifetime; an owner that died holding it leaves it to the next.
class LockHolder {
public:
    LockHolder(const std::wstring& name, DWORD waitMs) : mutex_(CreateMutexW(nullptr, FALSE, name.c_str())) {
        if (!mutex_.valid()) return;
        DWORD r = WaitForSingleObject(mutex_.get(), waitMs);
        held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    ~LockHolder() {
        if (held_) ReleaseMutex(mutex_.get());
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    bool held() const { return held_; }

private:
    UniqueHandle mutex_;
    bool held_ = false;
};

// The running instance's window; a start that lost the race to a process still creating its
// window waits for it rather than sending into nothing.
HWND WaitForRunningWindow(DWORD waitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND running = FindWindowW(kMainWindowClass, nullptr);
        if (running || GetTickCount() - start >= waitMs) return running;
        Sleep(20);
    }
}

}  // namespace

LRESULT SendHandOff(const std::wstring& lockName, const std::wstring& file, HWND sender,
                    const std::vector<std::wstring>& lines, const HandOffWaits& waits) {
    LockHolder lock(lockName, waits.lockMs);
    if (!lock.held()) return 0;  // a hand-off before this one never finished: leave its file alone
    if (!WriteTextLines(file, lines)) return 0;
    // A window that answers 0 has not taken the file (it is still being made, or not ready for
    // items yet): the file stays as written and the message is sent again until it is taken.
    DWORD start = GetTickCount();
    for (;;) {
        DWORD spent = GetTickCount() - start;
        HWND running = WaitForRunningWindow(waits.windowMs > spent ? waits.windowMs - spent : 0);
        if (!running) return 0;
        COPYDATASTRUCT cds = HandOffMessageData();
        LRESULT answer =
            SendMessageW(running, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&cds));
        if (answer != 0 || GetTickCount() - start >= waits.windowMs) return answer;
        Sleep(20);
    }
}

LRESULT HandOff(HWND sender, const std::vector<std::wstring>& params) {
    std::vector<std::wstring> lines = HandOffLines(params, ReadMenuFile);
    return SendHandOff(HandOffLockName(InstanceBlockName(ModulePath())), DataFile(kHandOffFileName), sender, lines);
}

bool ReadHandOffFile(std::vector<IntakeStep>& steps) {
    steps.clear();
    std::wstring path = DataFile(kHandOffFileName);
    std::vector<std::wstring> lines;
    if (!FileExists(path) || !ReadTextLines(path, lines)) return false;
    steps = HandOffFileSteps(lines);
    return true;
}

bool TakeHandOff(std::vector<IntakeStep>& steps, std::vector<std::wstring>& refused) {
    steps.clear();
    std::wstring path = DataFile(kHandOffFileName);
    std::vector<std::wstring> lines;
    bool found = FileExists(path) && ReadTextLines(path, lines);
    if (InSendMessage()) ReplyMessage(1);  // the contents are taken: the sender may go
    if (!found) return false;
    steps = WithoutUnwritableItems(HandOffFileSteps(WithoutUnwritableLines(lines, refused)), refused);
    return true;
}

}  // namespace tv
