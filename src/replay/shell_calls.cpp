#include "replay/shell_calls.h"

#include <shellapi.h>
#include <shlobj.h>

#include "base/constants.h"
#include "base/handles.h"
#include "base/strings.h"

namespace tv {

namespace {

// The default value, or a named string value, of an open key; empty when unreadable.
std::wstring StringValue(HKEY key, const wchar_t* name) {
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes == 0) return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &bytes) != ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), bytes / sizeof(wchar_t)));
    return value;
}

}  // namespace

void CallShellApplication(const wchar_t* methodName) {
    CLSID shellClass;
    if (FAILED(CLSIDFromProgID(L"Shell.Application", &shellClass))) return;
    ComPtr<IDispatch> shell;
    if (FAILED(CoCreateInstance(shellClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                shell.put_void())))
        return;
    std::wstring name = methodName;
    LPOLESTR names[] = {&name[0]};
    DISPID method = 0;
    if (FAILED(shell->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &method))) return;
    DISPPARAMS none{};
    shell->Invoke(method, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
}

namespace {

class RealShell : public ShellCalls {
public:
    INT_PTR ExecuteW(HWND owner, const wchar_t* verb, const std::wstring& file, const wchar_t* parameters,
                     const wchar_t* folder, int show) override {
        if (!keep_) return reinterpret_cast<INT_PTR>(ShellExecuteW(owner, verb, file.c_str(), parameters, folder, show));
        // What ShellExecuteW does, with the started process kept.
        SHELLEXECUTEINFOW run{};
        run.cbSize = sizeof(run);
        run.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
        run.hwnd = owner;
        run.lpVerb = verb;
        run.lpFile = file.c_str();
        run.lpParameters = parameters;
        run.lpDirectory = folder;
        run.nShow = show;
        const BOOL started = ShellExecuteExW(&run);
        const DWORD error = GetLastError();
        started_.reset(run.hProcess);
        SetLastError(error);
        if (started && reinterpret_cast<INT_PTR>(run.hInstApp) <= 32) return 33;
        return reinterpret_cast<INT_PTR>(run.hInstApp);
    }

    void KeepStartedProcesses(bool keep) override {
        keep_ = keep;
        if (!keep) started_.reset();
    }
    HANDLE TakeStartedProcess() override { return started_.release(); }

    DWORD LastError() override { return GetLastError(); }

    void ExecuteA(const std::string& verb, const std::string& file, const char* parameters, const char* folder,
                  int show) override {
        ShellExecuteA(nullptr, verb.c_str(), file.c_str(), parameters, folder, show);
    }

    void OpenSpecialFolder(int csidl) override {
        LPITEMIDLIST list = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return;
        SHELLEXECUTEINFOA run{};
        run.cbSize = sizeof(run);
        run.fMask = SEE_MASK_IDLIST | SEE_MASK_FLAG_DDEWAIT;
        run.lpVerb = "open";
        run.lpIDList = list;
        run.nShow = SW_SHOWNORMAL;
        ShellExecuteExA(&run);
        ComPtr<IMalloc> shellMemory;
        if (SUCCEEDED(SHGetMalloc(shellMemory.put()))) shellMemory->Free(list);
    }

    bool ExecuteElevated(HWND owner, const std::wstring& file, const std::wstring& parameters) override {
        SHELLEXECUTEINFOW run{};
        run.cbSize = sizeof(run);
        run.hwnd = owner;
        run.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        run.lpVerb = L"runas";
        run.lpFile = file.c_str();
        run.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
        run.nShow = SW_SHOWNORMAL;
        return ShellExecuteExW(&run) != FALSE;
    }

    void WinExec(const std::string& commandLine, UINT show) override { ::WinExec(commandLine.c_str(), show); }

    void MinimizeAll() override { CallShellApplication(L"MinimizeAll"); }

    void ShowMessage(HWND owner, const std::wstring& text) override {
        MessageBoxW(owner, text.c_str(), kAppName, MB_OK);
    }

    std::wstring BrowserCommand() override {
        RegKey key;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, KEY_QUERY_VALUE, key.put()) !=
            ERROR_SUCCESS)
            return {};
        return StringValue(key.get(), nullptr);
    }

    bool InternetExplorerVersion(std::wstring& version) override {
        RegKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer\\Version Vector", 0,
                          KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS)
            return false;
        version = StringValue(key.get(), L"IE");
        return !version.empty();
    }

    std::wstring SystemFolder() override {
        wchar_t folder[MAX_PATH + 1] = {};
        UINT n = GetSystemDirectoryW(folder, MAX_PATH);
        return n > 0 && n <= MAX_PATH ? std::wstring(folder, n) : std::wstring();
    }

private:
    bool keep_ = false;
    UniqueHandle started_;
};

}  // namespace

ShellCalls& RealShellCalls() {
    static RealShell shell;
    return shell;
}

}  // namespace tv
