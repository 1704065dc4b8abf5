#pragma once
// Process and WOW64 services: a process's executable path, whether this program runs as a
// 32-bit process on 64-bit Windows, and file tests with file-system redirection switched off.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tv {

// \Device\HarddiskVolume2\Windows\x.exe -> c:\Windows\x.exe, asking `queryDosDevice` what each
// drive letter ("a:" to "z:") maps to. Empty when no drive matches.
using DosDeviceQuery = std::function<bool(const std::wstring& drive, std::wstring& target)>;
std::wstring DevicePathToDrivePath(const std::wstring& devicePath, const DosDeviceQuery& queryDosDevice);
bool RealQueryDosDevice(const std::wstring& drive, std::wstring& target);

// Not drive A:, a second character ":", and a drive type above 1. Network paths never are.
using DriveTypeQuery = std::function<UINT(const std::wstring& root)>;
bool IsValidDrivePath(const std::wstring& path, const DriveTypeQuery& driveType);
UINT RealDriveType(const std::wstring& root);

// The roots ("E:\") of the removable drives, from B to Z in order.
std::vector<std::wstring> RemovableDriveRoots(const DriveTypeQuery& driveType);

enum class PathKind { Missing, File, Folder };

// What a path's attributes say it is. A name with "*" or "?" is no file, whatever the
// attributes: the file system may have answered for a name the pattern matches.
PathKind KindOfAttributes(const std::wstring& path, DWORD attributes);

// What the process services ask the system. The real one loads the optional functions on
// first use; tests hand a fake machine that plays a 32-bit process on 64-bit Windows.
class ProcessPlatform {
public:
    virtual ~ProcessPlatform() = default;
    // False where IsWow64Process is missing or says no.
    virtual bool IsWow64Process() = 0;
    // GetProcessImageFileName: the \Device\... form of the executable.
    virtual bool ImageFileName(HANDLE process, std::wstring& path) = 0;
    // GetModuleFileNameEx with no module: the executable in drive form.
    virtual bool ModuleFileName(HANDLE process, std::wstring& path) = 0;
    virtual bool QueryDosDevice(const std::wstring& drive, std::wstring& target) = 0;
    virtual bool DisableRedirection(void** old) = 0;
    virtual void RevertRedirection(void* old) = 0;
    // Attribute tests as this process sees the disk at the moment of the call. A name with
    // "*" or "?" is no file.
    virtual bool FolderAt(const std::wstring& path) = 0;
    virtual bool FileAt(const std::wstring& path) = 0;
    // Both tests at once: a folder, a file, or neither.
    virtual PathKind KindAt(const std::wstring& path) {
        return FolderAt(path) ? PathKind::Folder : FileAt(path) ? PathKind::File : PathKind::Missing;
    }
    virtual UINT DriveType(const std::wstring& root) = 0;
    // GetSystemDirectory, and GetSystemWow64Directory: the folder of the 32-bit builds of
    // Windows' own programs on 64-bit Windows. False where there is no such folder.
    virtual bool SystemFolders(std::wstring& system, std::wstring& wow64) = 0;
};

ProcessPlatform& RealProcessPlatform();

class ProcessServices {
public:
    static ProcessServices& Instance();
    explicit ProcessServices(ProcessPlatform& platform) : platform_(platform) {}
    ProcessServices(const ProcessServices&) = delete;
    ProcessServices& operator=(const ProcessServices&) = delete;

    // Asked once; the answer does not change while the process runs.
    bool IsWow64Mode();
    // The executable of a process opened with query and read rights; empty when unreadable.
    // A 32-bit build of a Windows program (syswow64\notepad.exe) is named by its 64-bit twin
    // in the system folder, where there is one (see NativeTwinOf).
    std::wstring ProgramPathOfProcess(HANDLE process);
    // On 64-bit Windows the WOW64 system folder holds the 32-bit builds of the system folder's
    // programs: a path there is given as the same path under the system folder when that file
    // exists (seen past redirection), otherwise unchanged. The file associations, shortcuts and
    // Run entries name the system folder's program, and the launcher opens that one, so a
    // program started either way is one program with its documents under it.
    std::wstring NativeTwinOf(const std::wstring& path);

    // Runs `test` with redirection switched off in WOW64 mode, restored afterwards.
    bool WithoutRedirection(const std::function<bool()>& test);

    // `driveType` answers the valid-drive-path rule in place of the platform; a caller making
    // many tests may remember each drive's type.
    bool ValidDrivePath(const std::wstring& path, const DriveTypeQuery& driveType = {});
    bool FolderExists(const std::wstring& path, const DriveTypeQuery& driveType = {});
    bool FileExists(const std::wstring& path, const DriveTypeQuery& driveType = {});
    // The same tests as this process sees the disk: in WOW64 mode system32 is the 32-bit one.
    bool FolderExistsUnguarded(const std::wstring& path);
    bool FileExistsUnguarded(const std::wstring& path);
    PathKind KindUnguarded(const std::wstring& path);

private:
    ProcessPlatform& platform_;
    int wow64_ = -1;  // not yet known
    bool systemFoldersKnown_ = false;
    std::wstring systemFolder_, wow64Folder_;  // empty where there is no WOW64 folder
};

}  // namespace tv
