#pragma once
// Helpers for tests that run under Wine: temporary folders, the program's data folders,
// processes, windows and screenshots.
#include <windows.h>

#include <algorithm>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace tvtest {

// A new empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);

// Points "My Documents" and the shared documents folder of this prefix at fresh temporary
// folders for the life of the object, so each test starts with no data folder and no
// settings files. Processes started meanwhile see the same folders.
class ScopedDataFolders {
public:
    ScopedDataFolders();
    ~ScopedDataFolders();
    ScopedDataFolders(const ScopedDataFolders&) = delete;
    ScopedDataFolders& operator=(const ScopedDataFolders&) = delete;
    std::wstring documents() const { return documents_.path(); }
    std::wstring common() const { return common_.path(); }
    std::wstring dataFolder() const { return documents_.path() + L"\\TolVane"; }
    std::wstring commonFolder() const { return common_.path() + L"\\TolVane"; }

private:
    TempFolder documents_, common_;
    std::wstring oldPersonal_, oldPersonalShell_, oldCommon_, oldCommonShell_;
};

// A process started for the test; killed at the end if it still runs.
class Process {
public:
    Process() = default;
    ~Process();
    Process(Process&& o) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts `exe` with `params` (already quoted as needed). False when it did not start.
    // With CREATE_SUSPENDED it waits for Resume(), so many can be let go at one moment.
    bool Start(const std::wstring& exe, const std::wstring& params, DWORD creationFlags = 0);
    bool Resume();
    // The exit code, or -1 when the process is still running after `ms`.
    long Wait(DWORD ms);
    DWORD pid() const { return pi_.dwProcessId; }
    HANDLE handle() const { return pi_.hProcess; }
    void Kill();

private:
    PROCESS_INFORMATION pi_{};
};

// Wine's notepad in the system folder.
std::wstring SystemNotepad();

// Waits until a visible top-level window of `className` exists (owned by `pid` when not 0).
HWND WaitForWindow(const wchar_t* className, DWORD pid, DWORD timeoutMs = 30000);
// All top-level windows of a class.
std::vector<HWND> FindWindows(const wchar_t* className);
// Closes a window normally and waits for its process to end; the exit code, -1 on time-out.
long CloseAndWait(HWND window, Process& process, DWORD timeoutMs = 30000);
// The window helper (test_windows.exe) copied into `dir` as `name` and started with one window
// per title; the copy's path, empty when its windows did not come up.
std::wstring StartHelperAs(const TempFolder& dir, const wchar_t* name, Process& process,
                           const std::wstring& titles, size_t windows);
// The browser stub (browser_stub.exe) copied into `dir` as `name` and started with one window of
// `className` per entry ("title|address", "!silent" or "!stuck"); false when they did not come up.
bool StartBrowserStubAs(const TempFolder& dir, const wchar_t* name, Process& process, const std::wstring& className,
                        const std::vector<std::wstring>& windows);

// Saves the whole screen as a PNG file. False when it could not be written.
bool SaveScreenshot(const std::wstring& pngPath);
// The build's screenshot folder (created when missing).
std::wstring ScreenshotFolder();

std::wstring ExeFolder();  // where the tests, the program and its helpers are built
std::string ReadAll(const std::wstring& path);
bool WriteAll(const std::wstring& path, const std::string& bytes);
// A UTF-16LE text with no mark, for comparing file bytes.
std::string Utf16(const std::wstring& text);

// Waits for `done` to come true, letting this thread's messages run meanwhile. Its last answer
// when `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// Runs `step` once, `ms` after the call, from inside whatever message loop the test enters next
// (a modal dialog's own loop, say). One step waits at a time.
void RunSoon(std::function<void()> step, UINT ms = 10);

// Takes end-of-program messages off this thread's queue (a main window posts one as it is
// destroyed), so the next loop the test enters does not end at once.
void DropQuitMessages();

// For a probe program showing the main window: starts OLE and the common controls, and answers
// the screen's dots per inch the process was started with.
int StartWindowProbe();

// The captions of the visible buttons, check boxes, radio buttons and labels below `top` that do
// not fit their control or stand outside their parent's client area, each with the reason.
std::vector<std::wstring> ClippedCaptions(HWND top);

// Presses and lets go of `key` as the keyboard would (SendInput), with Shift, Ctrl and Alt held
// around it when asked. The keys reach the window that has the keyboard focus once messages are read.
void PressKey(WORD key, bool shift = false, bool ctrl = false, bool alt = false);

// Runs command `id` of `window` as its menu item would.
inline void RunCommand(HWND window, UINT id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// What a program started with `argument` in double quotes (as the shell hands a "%1") reads as
// its first argument.
std::wstring ArgumentAsReceived(const std::wstring& argument);

// The keys of a settings file in the order the file holds them (every section).
std::vector<std::wstring> KeysInFileOrder(const std::wstring& path);

// The caption of a tree-view node.
std::wstring ItemText(HWND tree, HTREEITEM item);

// Association keys under HKLM\Software\Classes, removed afterwards.
class ScopedClasses {
public:
    ~ScopedClasses() {
        for (const auto& k : roots_) RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + k).c_str());
    }
    void Set(const std::wstring& key, const std::wstring& value) {
        std::wstring root = key.substr(0, key.find(L'\\'));
        if (std::find(roots_.begin(), roots_.end(), root) == roots_.end()) roots_.push_back(root);
        HKEY h;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
            return;  // the type stays unknown, and the test that needs it fails
        RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
    }

private:
    std::vector<std::wstring> roots_;
};

}  // namespace tvtest
