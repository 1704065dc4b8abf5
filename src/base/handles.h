#pragma once
// Owners for system resources: each frees what it holds, nothing more.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "base/late_imports.h"

namespace tv {

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    HANDLE release() { return std::exchange(h_, nullptr); }
    void reset(HANDLE h = nullptr) {
        if (valid()) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// A mapped view of a file mapping.
class MappedView {
public:
    MappedView() = default;
    explicit MappedView(void* p) : p_(p) {}
    ~MappedView() { reset(); }
    MappedView(MappedView&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    MappedView& operator=(MappedView&& o) noexcept {
        if (this != &o) reset(std::exchange(o.p_, nullptr));
        return *this;
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    void* get() const { return p_; }
    void reset(void* p = nullptr) {
        if (p_) UnmapViewOfFile(p_);
        p_ = p;
    }

private:
    void* p_ = nullptr;
};

// COM pointer that releases its interface.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// COM initialised for the lifetime of the object on this thread. Uninitialised only when the
// initialisation succeeded (S_FALSE included): a thread already in another apartment keeps it.
class ComScope {
public:
    explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

// OLE (COM, drag and drop, the clipboard) initialised for the lifetime of the object on this
// thread, with the same rule as ComScope.
class OleScope {
public:
    OleScope() : hr_(OleInitialize(nullptr)) {}
    ~OleScope() {
        if (SUCCEEDED(hr_)) OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

// An open registry key.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { reset(); }
    RegKey(RegKey&& o) noexcept : key_(std::exchange(o.key_, nullptr)) {}
    RegKey& operator=(RegKey&& o) noexcept {
        if (this != &o) reset(std::exchange(o.key_, nullptr));
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY get() const { return key_; }
    HKEY* put() {
        reset();
        return &key_;
    }
    explicit operator bool() const { return key_ != nullptr; }
    void reset(HKEY key = nullptr) {
        if (key_) RegCloseKey(key_);
        key_ = key;
    }

private:
    HKEY key_ = nullptr;
};

// A BSTR, made from a string or received from a COM method through put().
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& s) : b_(late::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    ~Bstr() { reset(); }
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) reset(std::exchange(o.b_, nullptr));
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return b_; }
    operator BSTR() const { return b_; }  // passed straight to COM methods that take a BSTR
    BSTR* put() {
        reset();
        return &b_;
    }
    // The text, empty for a null BSTR; embedded zeros are kept.
    std::wstring text() const { return b_ ? std::wstring(b_, late::SysStringLen(b_)) : std::wstring(); }
    void reset(BSTR b = nullptr) {
        if (b_) late::SysFreeString(b_);
        b_ = b;
    }

private:
    BSTR b_ = nullptr;
};

// The device context of a window (or of the screen for a null window), released at the end.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another (or with the screen), deleted at the end.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A handle of type H freed by `Free` (a callable taking H) unless null. The owners below name
// the kinds the program keeps; each frees what it holds, once.
template <class H, class Free>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(H h) : h_(h) {}
    ~UniqueOwner() { reset(); }
    UniqueOwner(UniqueOwner&& o) noexcept : h_(o.release()) {}
    UniqueOwner& operator=(UniqueOwner&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    H release() { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) {
        if (h_) Free()(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyMenuHandle {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyImageList {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};

// A pen, brush, font, bitmap or region (typed as H), deleted at the end.
template <class H = HGDIOBJ>
using GdiOwner = UniqueOwner<H, DeleteGdiObject>;
using GdiObject = GdiOwner<>;
using MenuOwner = UniqueOwner<HMENU, DestroyMenuHandle>;
using IconOwner = UniqueOwner<HICON, DestroyIconHandle>;
using ImageListOwner = UniqueOwner<HIMAGELIST, DestroyImageList>;

struct CloseFind {
    void operator()(HANDLE find) const { FindClose(find); }
};
struct FreeGlobal {
    void operator()(HGLOBAL block) const { GlobalFree(block); }
};
// A file search (FindFirstFileW); build it from the search's handle with FindOwnerOf, which
// turns INVALID_HANDLE_VALUE into none.
using FindOwner = UniqueOwner<HANDLE, CloseFind>;
inline FindOwner FindOwnerOf(HANDLE find) { return FindOwner(find == INVALID_HANDLE_VALUE ? nullptr : find); }
// A global memory block until something else (the clipboard) takes it with release().
using GlobalOwner = UniqueOwner<HGLOBAL, FreeGlobal>;

// The clipboard, open for `owner` for the life of the object. Another program may hold it for a
// moment: the opening is tried a few times.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) {
        for (int i = 0; i < 10 && !open_; ++i) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(10);
        }
    }
    ~ClipboardScope() {
        if (open_) CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

// Selects an object into a device context and puts the previous one back at the end. A null
// object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (ok()) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    bool ok() const { return old_ != nullptr && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A global memory block locked for the life of the object; null bytes when it cannot be locked.
// The size is the block's own, which bounds every read of it.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block)
        : block_(block), bytes_(block ? static_cast<const char*>(GlobalLock(block)) : nullptr),
          size_(bytes_ ? GlobalSize(block) : 0) {}
    ~LockedGlobal() {
        if (bytes_) GlobalUnlock(block_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    const char* bytes() const { return bytes_; }
    size_t size() const { return size_; }

private:
    HGLOBAL block_;
    const char* bytes_;
    size_t size_;
};

// A storage medium filled by a data object, released at the end.
class StorageMedium {
public:
    StorageMedium() = default;
    ~StorageMedium() { reset(); }
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;

    // What `data` gives for `format`; nothing is held when it fails.
    HRESULT GetFrom(IDataObject* data, FORMATETC& format) {
        reset();
        HRESULT hr = data->GetData(&format, &medium_);
        filled_ = SUCCEEDED(hr);
        return hr;
    }
    // The medium's global block; null unless it is one.
    HGLOBAL global() const { return filled_ && medium_.tymed == TYMED_HGLOBAL ? medium_.hGlobal : nullptr; }
    void reset() {
        if (filled_) ReleaseStgMedium(&medium_);
        medium_ = STGMEDIUM{};
        filled_ = false;
    }

private:
    STGMEDIUM medium_{};
    bool filled_ = false;
};

}  // namespace tv
