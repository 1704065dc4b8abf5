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

class ProcessServices {
public:
    static ProcessServices& Instance();
    ~ProcessServices();
    ProcessServices(const ProcessServices&) = delete;
    ProcessServices& operator=(const ProcessServices&) = delete;

    bool IsWow64Mode();
    // The executable of a process opened with query and read rights; empty when unreadable.
    std::wstring ProgramPathOfProcess(HANDLE process);

    // Runs `test` with redirection switched off in WOW64 mode, restored afterwards.
    bool WithoutRedirection(const std::function<bool()>& test);

    bool ValidDrivePath(const std::wstring& path);
    // `driveType` answers the valid-drive-path rule; a caller making many tests may remember it.
    bool FolderExists(const std::wstring& path, const DriveTypeQuery& driveType = RealDriveType);
    bool FileExists(const std::wstring& path, const DriveTypeQuery& driveType = RealDriveType);
    // The same tests as this process sees the disk: in WOW64 mode system32 is the 32-bit one.
    bool FolderExistsUnguarded(const std::wstring& path);
    bool FileExistsUnguarded(const std::wstring& path);

private:
    ProcessServices() = default;
    HMODULE Library(const wchar_t* name);
    FARPROC Function(const wchar_t* library, const char* name);

    struct Loaded {
        std::wstring name;
        HMODULE module;
    };
    std::vector<Loaded> libraries_;
    int wow64_ = -1;  // not yet known
};

}  // namespace tv
