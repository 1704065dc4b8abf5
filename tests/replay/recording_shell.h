#pragma once
// A shell for the launcher's tests: remembers every call instead of starting anything, and
// answers the registry and error questions from its fields.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/strings.h"
#include "replay/shell_calls.h"

namespace tvtest {

// Stands for a null pointer argument in a recorded call.
inline const std::wstring kNone = L"(none)";

struct ShellCall {
    std::wstring kind;  // "ExecuteW", "ExecuteA", "SpecialFolder", "Elevated", "WinExec", "MinimizeAll", "Message"
    HWND owner = nullptr;
    std::wstring verb, file, parameters, folder;
    int show = -1;
    bool redirectionOff = false;  // WOW64 redirection at the moment of the call
};

class RecordingShell : public tv::ShellCalls {
public:
    std::vector<ShellCall> calls;
    INT_PTR executeResult = 42;     // what ExecuteW returns
    DWORD lastError = ERROR_SUCCESS;
    std::wstring browserCommand;
    bool ieReadable = false;
    std::wstring ieVersion;
    bool elevationAccepted = true;
    std::function<bool()> redirectionProbe = [] { return false; };

    INT_PTR ExecuteW(HWND owner, const wchar_t* verb, const std::wstring& file, const wchar_t* parameters,
                     const wchar_t* folder, int show) override {
        Add(L"ExecuteW", owner, Text(verb), file, Text(parameters), Text(folder), show);
        return executeResult;
    }
    DWORD LastError() override { return lastError; }
    void ExecuteA(const std::string& verb, const std::string& file, const char* parameters, const char* folder,
                  int show) override {
        Add(L"ExecuteA", nullptr, tv::FromAnsi(verb), tv::FromAnsi(file), Text(parameters), Text(folder), show);
    }
    void OpenSpecialFolder(int csidl) override { Add(L"SpecialFolder", nullptr, L"", std::to_wstring(csidl)); }
    bool ExecuteElevated(HWND owner, const std::wstring& file, const std::wstring& parameters) override {
        Add(L"Elevated", owner, L"runas", file, parameters);
        return elevationAccepted;
    }
    void WinExec(const std::string& commandLine, UINT show) override {
        Add(L"WinExec", nullptr, L"", tv::FromAnsi(commandLine), L"", L"", static_cast<int>(show));
    }
    void MinimizeAll() override { Add(L"MinimizeAll"); }
    void ShowMessage(HWND owner, const std::wstring& text) override { Add(L"Message", owner, L"", text); }
    std::wstring BrowserCommand() override { return browserCommand; }
    bool InternetExplorerVersion(std::wstring& version) override {
        if (!ieReadable) return false;
        version = ieVersion;
        return true;
    }
    std::wstring SystemFolder() override { return L"C:\\Windows\\system32"; }

    // The messages shown, in order.
    std::vector<std::wstring> Messages() const {
        std::vector<std::wstring> texts;
        for (const ShellCall& c : calls)
            if (c.kind == L"Message") texts.push_back(c.file);
        return texts;
    }

private:
    static std::wstring Text(const wchar_t* s) { return s ? std::wstring(s) : kNone; }
    static std::wstring Text(const char* s) { return s ? tv::FromAnsi(s) : kNone; }
    void Add(std::wstring kind, HWND owner = nullptr, std::wstring verb = {}, std::wstring file = {},
             std::wstring parameters = {}, std::wstring folder = {}, int show = -1) {
        ShellCall call;
        call.kind = std::move(kind);
        call.owner = owner;
        call.verb = std::move(verb);
        call.file = std::move(file);
        call.parameters = std::move(parameters);
        call.folder = std::move(folder);
        call.show = show;
        call.redirectionOff = redirectionProbe();
        calls.push_back(std::move(call));
    }
};

}  // namespace tvtest
