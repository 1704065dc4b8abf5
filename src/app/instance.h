#pragma once
// The single-instance block: 8 bytes of named shared memory holding the running instance's
// window (32 bits) and the number of registered instances (signed 32 bits).
#include <windows.h>

#include <string>

#include "base/handles.h"

namespace tv {

// The block's name: the executable's full path with every backslash removed.
std::wstring InstanceBlockName(const std::wstring& exePath);

class InstanceBlock {
public:
    explicit InstanceBlock(std::wstring name) : name_(std::move(name)) {}
    ~InstanceBlock();  // a registered instance counts itself out
    InstanceBlock(const InstanceBlock&) = delete;
    InstanceBlock& operator=(const InstanceBlock&) = delete;

    enum class Result { FirstInstance, Registered, AnotherRuns, CreateFailed };

    // Registers this process unless `limit` instances run already. When another one runs it
    // is restored if minimised and brought to the front. CreateFailed carries the system's
    // error in lastError().
    Result Check(HWND window, int limit);

    // Points the block at this instance's main window once it exists.
    void SetWindow(HWND window);

    bool registered() const { return registered_; }
    DWORD lastError() const { return lastError_; }

private:
    struct Data {
        LONG window;
        LONG count;
    };
    Data* data() const { return static_cast<Data*>(view_.get()); }

    std::wstring name_;
    UniqueHandle mapping_;
    MappedView view_;
    bool registered_ = true;
    DWORD lastError_ = 0;
};

}  // namespace tv
