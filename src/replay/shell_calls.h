#pragma once
// Every call the item launcher makes into the shell, in one place: the real one hands each
// request to Windows, a test's records what would have been started.
#include <windows.h>

#include <string>

namespace tv {

class ShellCalls {
public:
    virtual ~ShellCalls() = default;

    // ShellExecuteW. A null verb is the file's default action; null parameters and folder are
    // none at all. The value ShellExecuteW returns: above 32 is success.
    virtual INT_PTR ExecuteW(HWND owner, const wchar_t* verb, const std::wstring& file,
                             const wchar_t* parameters, const wchar_t* folder, int show) = 0;
    // While kept, ExecuteW holds on to the process each call starts (ShellExecuteExW with
    // SEE_MASK_NOCLOSEPROCESS), so the caller can find its window; the taker closes it. A shell
    // that starts nothing of its own has none to give.
    virtual void KeepStartedProcesses(bool keep) { (void)keep; }
    virtual HANDLE TakeStartedProcess() { return nullptr; }
    // GetLastError, read right after a failed ExecuteW.
    virtual DWORD LastError() = 0;
    // ShellExecuteA, for the web-page open that hands addresses over as ANSI text. Its result
    // is never examined.
    virtual void ExecuteA(const std::string& verb, const std::string& file, const char* parameters,
                          const char* folder, int show) = 0;
    // A shell folder by CSIDL: its item-id list handed to ShellExecuteExA "open". Failures are
    // ignored.
    virtual void OpenSpecialFolder(int csidl) = 0;
    // ShellExecuteExW "runas" with SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI; true when the shell
    // accepted the request (a refused elevation is false).
    virtual bool ExecuteElevated(HWND owner, const std::wstring& file, const std::wstring& parameters) = 0;
    virtual void WinExec(const std::string& commandLine, UINT show) = 0;
    // "Shell.Application" MinimizeAll: the desktop shows. Failures are ignored.
    virtual void MinimizeAll() = 0;
    // A plain message with an OK button under the program's title.
    virtual void ShowMessage(HWND owner, const std::wstring& text) = 0;
    // The open command of web addresses (HKEY_CLASSES_ROOT\http\shell\open\command, default
    // value); empty when it cannot be read.
    virtual std::wstring BrowserCommand() = 0;
    // The "IE" value of HKEY_LOCAL_MACHINE\Software\Microsoft\Internet Explorer\Version Vector,
    // opened with full access; false when the key cannot be opened so (a user without
    // administrator rights) or the value is missing.
    virtual bool InternetExplorerVersion(std::wstring& version) = 0;
    // The system folder (GetSystemDirectory), without a trailing backslash.
    virtual std::wstring SystemFolder() = 0;
};

// Calls a method without arguments of the "Shell.Application" object; failures are ignored.
void CallShellApplication(const wchar_t* methodName);

// The shell of this machine. Message boxes are owned by the window given to each call.
ShellCalls& RealShellCalls();

}  // namespace tv
