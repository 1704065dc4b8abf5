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
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize,
                                      name_.c_str()));
    if (!mapping_.valid()) {
        lastError_ = GetLastError();
        return Result::CreateFailed;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
        if (data()) {
            data()->window = WindowToField(window);
            data()->count = 1;
        }
        return Result::FirstInstance;
    }
    // Another process made the block: open it by name to read its state.
    UniqueHandle existing(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name_.c_str()));
    if (!existing.valid()) {
        registered_ = false;
        return Result::AnotherRuns;  // the caller hands its items over anyway
    }
    mapping_ = std::move(existing);
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
    Data* d = data();
    if (!d) {
        registered_ = false;
        return Result::AnotherRuns;
    }
    if (d->count < limit) {
        d->window = WindowToField(window);
        ++d->count;
        return Result::Registered;
    }
    registered_ = false;
    HWND running = FieldToWindow(d->window);
    if (running && IsWindow(running)) {
        if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
    }
    return Result::AnotherRuns;
}

void InstanceBlock::SetWindow(HWND window) {
    if (registered_ && data()) data()->window = WindowToField(window);
}

InstanceBlock::~InstanceBlock() {
    if (registered_ && view_.get()) {
        UniqueHandle block(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name_.c_str()));
        if (block.valid()) {
            MappedView v(MapViewOfFile(block.get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
            if (v.get()) InterlockedDecrement(&static_cast<Data*>(v.get())->count);
        }
    }
}

}  // namespace tv
