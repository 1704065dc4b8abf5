#pragma once
// The launcher over a fake machine and a shell that records what would be started, for the
// launcher's and the replay's tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/process_services.h"
#include "capture/fake_machine.h"
#include "replay/item_launcher.h"
#include "replay/recording_shell.h"
#include "support/test_support.h"

namespace tvtest {

// The process services' view of the fake machine: its disk, its WOW64 answer, and the
// redirection switch, counted so nested guards restore it in order.
class MachinePlatform : public tv::ProcessPlatform {
public:
    explicit MachinePlatform(FakeMachine& machine) : machine_(machine) {}
    int depth = 0;
    std::function<void()> onRevert;

    bool off() const { return depth > 0; }
    bool IsWow64Process() override { return machine_.wow64; }
    bool ImageFileName(HANDLE, std::wstring&) override { return false; }
    bool ModuleFileName(HANDLE, std::wstring&) override { return false; }
    bool QueryDosDevice(const std::wstring&, std::wstring&) override { return false; }
    bool DisableRedirection(void** old) override {
        *old = reinterpret_cast<void*>(static_cast<INT_PTR>(++depth));
        return true;
    }
    void RevertRedirection(void*) override {
        --depth;
        if (onRevert) onRevert();
    }
    bool FolderAt(const std::wstring& path) override { return machine_.DirectoryExists(path); }
    bool FileAt(const std::wstring& path) override {
        DWORD a = machine_.Attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
    UINT DriveType(const std::wstring& root) override { return FakeMachine::DriveType(root); }
    bool SystemFolders(std::wstring&, std::wstring&) override { return false; }

private:
    FakeMachine& machine_;
};

const HWND kMainWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
const wchar_t kAppData[] = L"C:\\Users\\ann\\AppData\\Roaming";
const wchar_t kViewerEntry[] = L"C:\\Windows\\system32\\shimgvw.dll,ImageView_Fullscreen";

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() {
        machine.environment[L"appdata"] = kAppData;
        context.versionName = L"windows 7";
        context.programFolder = L"C:\\Program Files\\TolVane\\";
        context.dataFolder = data.path() + L"\\TolVane";
        context.myDocuments = L"C:\\Users\\ann\\Documents";
        context.owner = kMainWindow;
        context.showHelp = [this] { ++helps; };
        shell.redirectionProbe = [this] { return platform.off(); };
    }

    tv::ItemLauncher Launcher() { return tv::ItemLauncher(shell, services, machine, context); }

    // The calls in a form a failing test prints readably.
    std::vector<std::wstring> Calls() const {
        std::vector<std::wstring> out;
        for (const ShellCall& c : shell.calls) {
            std::wstring owner = c.owner == kMainWindow ? L"main" : c.owner ? L"other" : L"none";
            std::wstring line = c.kind + L" owner=" + owner;
            if (!c.verb.empty()) line += L" verb=" + c.verb;
            line += L" [" + c.file + L"]";
            if (c.kind == L"ExecuteW" || c.kind == L"ExecuteA")
                line += L" params=[" + c.parameters + L"] dir=[" + c.folder + L"]";
            if (c.show >= 0) line += L" show=" + std::to_wstring(c.show);
            out.push_back(line);
        }
        return out;
    }
    using Lines = std::vector<std::wstring>;

    FakeMachine machine;
    MachinePlatform platform{machine};
    tv::ProcessServices services{platform};
    RecordingShell shell;
    TempFolder data;
    tv::LauncherContext context;
    int helps = 0;
};

}  // namespace tvtest
