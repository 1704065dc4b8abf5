#include "app/instance.h"

#include "base/strings.h"

namespace tv {

namespace {
constexpr DWORD kBlockSize = 8;
LONG WindowToField(HWND h) { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(h)); }
HWND FieldToWindow(LONG v) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(v)); }
}  // namespace

std::wstring InstanceBlockName(const std::wstring& exePath) {
    return ReplaceAll(exePath, L"\\", L"");
}

InstanceBlock::Result InstanceBlock::Check(HWND window, int limit) {
    // Whichever start makes the block, all of them register the same way below: a start that
    // found the block made a moment ago must not see a count its maker has not written yet.
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize,
                                      name_.c_str()));
    if (!mapping_.valid()) {
        lastError_ = GetLastError();
        return Result::CreateFailed;
    }
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
    Data* d = data();
    if (!d) {
        lastError_ = GetLastError();
        registered_ = false;
        return Result::AnotherRuns;  // the caller hands its items over anyway
    }
    // One compare-and-swap per try: of any number of simultaneous starts, exactly `limit` get in.
    for (LONG seen = InterlockedCompareExchange(&d->count, 0, 0); seen < limit;) {
        LONG before = InterlockedCompareExchange(&d->count, seen + 1, seen);
        if (before == seen) {
            InterlockedExchange(&d->window, WindowToField(window));
            return seen == 0 ? Result::FirstInstance : Result::Registered;
        }
        seen = before;
    }
    registered_ = false;
    HWND running = FieldToWindow(InterlockedCompareExchange(&d->window, 0, 0));
    if (running && IsWindow(running)) {
        if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
    }
    return Result::AnotherRuns;
}

void InstanceBlock::SetWindow(HWND window) {
    if (registered_ && data()) InterlockedExchange(&data()->window, WindowToField(window));
}

InstanceBlock::~InstanceBlock() {
    if (registered_ && data()) InterlockedDecrement(&data()->count);
}

}  // namespace tv
