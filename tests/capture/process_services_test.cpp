// The WOW64 branches of the process services, over a fake machine that plays a 32-bit process
// on 64-bit Windows: the machines the tests run on cannot start a real one.
#include "base/process_services.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/strings.h"

using namespace tv;

namespace {

HANDLE FakeProcess(int n) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(n) * 4); }

class FakeMachine : public ProcessPlatform {
public:
    explicit FakeMachine(bool wow64) : wow64_(wow64) {}

    // Executables by process: the device form that GetProcessImageFileName gives, and whether
    // GetModuleFileNameEx can read it (it cannot when a 32-bit process asks about a 64-bit one).
    struct Executable {
        std::wstring devicePath, drivePath;
        bool modulesReadable;
    };
    std::map<HANDLE, Executable> processes;
    // Files as the 64-bit side sees them; a 32-bit process sees system32 as syswow64.
    std::set<std::wstring> files{L"c:\\windows\\system32\\only64.txt", L"c:\\windows\\syswow64\\both.txt",
                                 L"c:\\windows\\system32\\both.txt"};
    std::set<std::wstring> folders{L"c:\\windows\\system32\\drivers", L"c:\\windows"};

    int wow64Asks = 0, disables = 0, reverts = 0;
    bool redirectionOff = false;
    bool disableFails = false;
    void* revertedWith = nullptr;

    bool IsWow64Process() override {
        ++wow64Asks;
        return wow64_;
    }
    bool ImageFileName(HANDLE process, std::wstring& path) override {
        auto it = processes.find(process);
        if (it == processes.end()) return false;
        path = it->second.devicePath;
        return true;
    }
    bool ModuleFileName(HANDLE process, std::wstring& path) override {
        auto it = processes.find(process);
        if (it == processes.end() || !it->second.modulesReadable) return false;
        path = it->second.drivePath;
        return true;
    }
    bool QueryDosDevice(const std::wstring& drive, std::wstring& target) override {
        if (drive == L"c:") target = L"\\Device\\HarddiskVolume1";
        else if (drive == L"d:") target = L"\\Device\\HarddiskVolume2";
        else return false;
        return true;
    }
    bool DisableRedirection(void** old) override {
        ++disables;
        if (disableFails) return false;
        *old = reinterpret_cast<void*>(0x1234);
        redirectionOff = true;
        return true;
    }
    void RevertRedirection(void* old) override {
        ++reverts;
        revertedWith = old;
        redirectionOff = false;
    }
    bool FolderAt(const std::wstring& path) override { return folders.count(Seen(path)) > 0; }
    bool FileAt(const std::wstring& path) override { return files.count(Seen(path)) > 0; }
    UINT DriveType(const std::wstring& root) override {
        wchar_t d = towlower(root[0]);
        return d == L'c' || d == L'd' ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
    }
    // 64-bit Windows has a WOW64 folder; `hasWow64Folder` false plays 32-bit Windows.
    bool hasWow64Folder = true;
    int folderAsks = 0;
    bool SystemFolders(std::wstring& system, std::wstring& wow64) override {
        ++folderAsks;
        if (!hasWow64Folder) return false;
        system = L"C:\\Windows\\system32";
        wow64 = L"C:\\Windows\\SysWOW64";
        return true;
    }

private:
    std::wstring Seen(const std::wstring& path) const {
        std::wstring p = ToLower(path);
        const std::wstring sys32 = L"c:\\windows\\system32";
        if (wow64_ && !redirectionOff && p.compare(0, sys32.size(), sys32) == 0)
            p = L"c:\\windows\\syswow64" + p.substr(sys32.size());
        return p;
    }
    bool wow64_;
};

}  // namespace

TEST(Wow64Flag, IsAskedOnceAndKept) {
    FakeMachine machine(true);
    ProcessServices services(machine);
    EXPECT_TRUE(services.IsWow64Mode());
    EXPECT_TRUE(services.IsWow64Mode());
    services.FileExists(L"C:\\windows\\system32\\both.txt");
    EXPECT_EQ(machine.wow64Asks, 1);

    FakeMachine native(false);
    ProcessServices nativeServices(native);
    EXPECT_FALSE(nativeServices.IsWow64Mode());
    EXPECT_FALSE(nativeServices.IsWow64Mode());
    EXPECT_EQ(native.wow64Asks, 1);
}

TEST(Wow64ProcessPath, ComesFromTheImageNameThroughTheDosDeviceTable) {
    FakeMachine machine(true);
    // A 64-bit notepad: its modules cannot be read from a 32-bit process.
    machine.processes[FakeProcess(1)] = {L"\\Device\\HarddiskVolume1\\windows\\notepad.exe",
                                         L"C:\\windows\\notepad.exe", false};
    machine.processes[FakeProcess(2)] = {L"\\Device\\HarddiskVolume2\\Tools\\x.exe", L"D:\\Tools\\x.exe", true};
    machine.processes[FakeProcess(3)] = {L"\\Device\\CdRom0\\setup.exe", L"E:\\setup.exe", true};
    ProcessServices services(machine);
    EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(1)), L"c:\\windows\\notepad.exe");
    EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(2)), L"d:\\Tools\\x.exe");
    // A device no drive letter maps to, and a process that cannot be read, give nothing.
    EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(3)), L"");
    EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(9)), L"");
}

TEST(Wow64ProcessPath, NativeProcessReadsTheModuleName) {
    FakeMachine machine(false);
    machine.processes[FakeProcess(1)] = {L"\\Device\\HarddiskVolume1\\windows\\notepad.exe",
                                         L"C:\\windows\\notepad.exe", true};
    machine.processes[FakeProcess(2)] = {L"\\Device\\HarddiskVolume1\\x.exe", L"C:\\x.exe", false};
    ProcessServices services(machine);
    EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(1)), L"C:\\windows\\notepad.exe");
    EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(2)), L"");
}

// What GetProcessImageFileName (32-bit caller) and GetModuleFileNameEx (64-bit caller) give for
// each build of a program on 64-bit Windows, and the path the program records. The 32-bit
// builds of Windows' own programs live in SysWOW64; the associations and shortcuts name their
// twins in system32, so a twin names the program. One without a twin keeps its own path.
TEST(Wow64ProcessPath, AWindowsProgramsThirtyTwoBitBuildIsNamedByItsSystemFolderTwin) {
    struct Case {
        const wchar_t* image;     // where the process's executable is
        const wchar_t* recorded;  // what the program path of the process is
    } cases[] = {
        {L"c:\\windows\\syswow64\\both.txt", L"c:\\Windows\\system32\\both.txt"},     // 32-bit twin
        {L"c:\\windows\\system32\\both.txt", L"c:\\windows\\system32\\both.txt"},     // the 64-bit one
        {L"c:\\windows\\syswow64\\only32.txt", L"c:\\windows\\syswow64\\only32.txt"}, // no twin
        {L"c:\\windows\\syswow64x\\both.txt", L"c:\\windows\\syswow64x\\both.txt"},   // not the folder
        {L"d:\\Tools\\x.exe", L"d:\\Tools\\x.exe"},
    };
    for (bool wow64 : {true, false}) {
        FakeMachine machine(wow64);
        machine.files.insert(L"c:\\windows\\syswow64\\only32.txt");
        int n = 0;
        for (const Case& c : cases) {
            std::wstring image = c.image;
            std::wstring device = L"\\Device\\HarddiskVolume" + std::wstring(image[0] == L'c' ? L"1" : L"2") + image.substr(2);
            machine.processes[FakeProcess(++n)] = {device, image, true};
        }
        ProcessServices services(machine);
        n = 0;
        for (const Case& c : cases)
            EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(++n)), c.recorded) << ToUtf8(c.image) << " wow64 " << wow64;
        EXPECT_EQ(machine.folderAsks, 1);
        // The twin was looked for past redirection: in the 32-bit view system32 is SysWOW64.
        EXPECT_FALSE(machine.redirectionOff);
    }
    // 32-bit Windows has no WOW64 folder: nothing is renamed.
    FakeMachine old(false);
    old.hasWow64Folder = false;
    old.processes[FakeProcess(1)] = {L"", L"c:\\windows\\syswow64\\both.txt", true};
    ProcessServices services(old);
    EXPECT_EQ(services.ProgramPathOfProcess(FakeProcess(1)), L"c:\\windows\\syswow64\\both.txt");
}

TEST(RedirectionGuard, SeesThe64BitSystemFolderAndRestoresRedirection) {
    FakeMachine machine(true);
    ProcessServices services(machine);
    EXPECT_TRUE(services.FileExists(L"C:\\Windows\\System32\\only64.txt"));
    EXPECT_FALSE(machine.redirectionOff);
    EXPECT_EQ(machine.disables, 1);
    EXPECT_EQ(machine.reverts, 1);
    EXPECT_EQ(machine.revertedWith, reinterpret_cast<void*>(0x1234));
    EXPECT_TRUE(services.FolderExists(L"C:\\Windows\\System32\\drivers"));
    EXPECT_FALSE(machine.redirectionOff);

    // Unguarded, the 32-bit view: system32 is syswow64.
    EXPECT_FALSE(services.FileExistsUnguarded(L"C:\\Windows\\System32\\only64.txt"));
    EXPECT_TRUE(services.FileExistsUnguarded(L"C:\\Windows\\System32\\both.txt"));
    EXPECT_FALSE(services.FolderExistsUnguarded(L"C:\\Windows\\System32\\drivers"));
    EXPECT_EQ(machine.disables, 2);
}

TEST(RedirectionGuard, RestoresEvenWhenTheTestThrowsAndSkipsRevertWhenDisableFailed) {
    FakeMachine machine(true);
    ProcessServices services(machine);
    EXPECT_THROW(services.WithoutRedirection([&]() -> bool {
        EXPECT_TRUE(machine.redirectionOff);
        throw std::runtime_error("x");
    }),
                 std::runtime_error);
    EXPECT_FALSE(machine.redirectionOff);
    EXPECT_EQ(machine.reverts, 1);

    machine.disableFails = true;
    bool ran = false;
    EXPECT_TRUE(services.WithoutRedirection([&] { return ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(machine.reverts, 1);
}

TEST(RedirectionGuard, IsNotTouchedOutsideWow64) {
    FakeMachine machine(false);
    ProcessServices services(machine);
    EXPECT_TRUE(services.FileExists(L"C:\\Windows\\System32\\only64.txt"));
    EXPECT_FALSE(services.FileExists(L"\\\\server\\share\\a.txt"));
    EXPECT_FALSE(services.FolderExists(L"Q:\\"));
    EXPECT_EQ(machine.disables, 0);
    EXPECT_EQ(machine.reverts, 0);
}

TEST(DriveTypeAnswer, AGivenQueryStandsInForThePlatform) {
    FakeMachine machine(false);
    ProcessServices services(machine);
    int asked = 0;
    // Drive C: unknown to this query: the file is not looked at.
    DriveTypeQuery onlyD = [&](const std::wstring& root) {
        ++asked;
        return towlower(root[0]) == L'd' ? UINT(DRIVE_FIXED) : UINT(DRIVE_NO_ROOT_DIR);
    };
    EXPECT_FALSE(services.FileExists(L"C:\\Windows\\System32\\only64.txt", onlyD));
    EXPECT_FALSE(services.FolderExists(L"C:\\windows", onlyD));
    EXPECT_EQ(asked, 2);
    // Without one, the platform answers.
    EXPECT_TRUE(services.FileExists(L"C:\\Windows\\System32\\only64.txt"));
    EXPECT_TRUE(services.FolderExists(L"C:\\windows"));
    EXPECT_EQ(asked, 2);
}

TEST(RealPlatformFileTest, ANameWithWildcardsIsNoFile) {
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    ProcessPlatform& platform = RealProcessPlatform();
    EXPECT_TRUE(platform.FileAt(std::wstring(windows) + L"\\notepad.exe"));
    EXPECT_FALSE(platform.FileAt(std::wstring(windows) + L"\\*.exe"));
    EXPECT_FALSE(platform.FileAt(std::wstring(windows) + L"\\notepad.ex?"));
    EXPECT_FALSE(platform.FileAt(windows));  // a folder
    EXPECT_TRUE(platform.FolderAt(windows));
    // The one-call test agrees with the two.
    for (const std::wstring& path : {std::wstring(windows) + L"\\notepad.exe", std::wstring(windows) + L"\\*.exe",
                                     std::wstring(windows) + L"\\notepad.ex?", std::wstring(windows),
                                     std::wstring(windows) + L"\\no such file.txt"}) {
        const PathKind expected = platform.FolderAt(path) ? PathKind::Folder
                                  : platform.FileAt(path) ? PathKind::File
                                                          : PathKind::Missing;
        EXPECT_EQ(platform.KindAt(path), expected) << ToUtf8(path);
    }
}
