#include "capture/process_services.h"

#include "base/strings.h"

namespace tv {

namespace {
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using Wow64DisableFn = BOOL(WINAPI*)(PVOID*);
using Wow64RevertFn = BOOL(WINAPI*)(PVOID);
using GetProcessImageFileNameFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

constexpr DWORD kPathBuffer = 256;  // at most 255 characters of a path are used
}  // namespace

std::wstring DevicePathToDrivePath(const std::wstring& devicePath, const DosDeviceQuery& query) {
    if (devicePath.size() < 2) return {};
    size_t second = devicePath.find(L'\\', 1);
    if (second == std::wstring::npos) return {};
    size_t third = devicePath.find(L'\\', second + 1);
    if (third == std::wstring::npos) return {};
    std::wstring device = devicePath.substr(0, third), rest = devicePath.substr(third);
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
        std::wstring drive{letter, L':'}, target;
        if (query(drive, target) && EqualsNoCase(target, device)) return drive + rest;
    }
    return {};
}

bool RealQueryDosDevice(const std::wstring& drive, std::wstring& target) {
    wchar_t buf[1000] = {};
    if (!QueryDosDeviceW(drive.c_str(), buf, 1000)) return false;
    target = buf;  // the first target string
    return true;
}

bool IsValidDrivePath(const std::wstring& path, const DriveTypeQuery& driveType) {
    if (path.size() < 2 || path[1] != L':') return false;
    if (towupper(path[0]) == L'A') return false;
    return driveType(std::wstring{path[0], L':', L'\\'}) > DRIVE_NO_ROOT_DIR;
}

UINT RealDriveType(const std::wstring& root) { return GetDriveTypeW(root.c_str()); }

std::vector<std::wstring> RemovableDriveRoots(const DriveTypeQuery& driveType) {
    std::vector<std::wstring> roots;
    for (wchar_t letter = L'B'; letter <= L'Z'; ++letter) {
        std::wstring root{letter, L':', L'\\'};
        if (driveType(root) == DRIVE_REMOVABLE) roots.push_back(root);
    }
    return roots;
}

ProcessServices& ProcessServices::Instance() {
    static ProcessServices services;
    return services;
}

ProcessServices::~ProcessServices() {
    for (auto& l : libraries_)
        if (l.module) FreeLibrary(l.module);
}

HMODULE ProcessServices::Library(const wchar_t* name) {
    for (auto& l : libraries_)
        if (EqualsNoCase(l.name, name)) return l.module;
    // A missing library must not bring up a system message box.
    UINT old = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HMODULE m = LoadLibraryW(name);
    SetErrorMode(old);
    libraries_.push_back({name, m});
    return m;
}

FARPROC ProcessServices::Function(const wchar_t* library, const char* name) {
    HMODULE m = Library(library);
    return m ? GetProcAddress(m, name) : nullptr;
}

bool ProcessServices::IsWow64Mode() {
    if (wow64_ < 0) {
        auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(Function(L"kernel32.dll", "IsWow64Process"));
        BOOL result = FALSE;
        wow64_ = isWow64 && isWow64(GetCurrentProcess(), &result) && result ? 1 : 0;
    }
    return wow64_ == 1;
}

std::wstring ProcessServices::ProgramPathOfProcess(HANDLE process) {
    auto moduleName = reinterpret_cast<GetModuleFileNameExFn>(Function(L"PSAPI.dll", "GetModuleFileNameExW"));
    if (!moduleName) return {};
    wchar_t buf[kPathBuffer] = {};
    if (IsWow64Mode()) {
        auto imageName = reinterpret_cast<GetProcessImageFileNameFn>(
            Function(L"psapi.dll", "GetProcessImageFileNameW"));
        if (!imageName || !imageName(process, buf, kPathBuffer - 1)) return {};
        return DevicePathToDrivePath(buf, RealQueryDosDevice);
    }
    // No module handle names the executable itself.
    if (!moduleName(process, nullptr, buf, kPathBuffer - 1)) return {};
    return buf;
}

bool ProcessServices::WithoutRedirection(const std::function<bool()>& test) {
    if (!IsWow64Mode()) return test();
    auto disable = reinterpret_cast<Wow64DisableFn>(Function(L"kernel32.dll", "Wow64DisableWow64FsRedirection"));
    auto revert = reinterpret_cast<Wow64RevertFn>(Function(L"kernel32.dll", "Wow64RevertWow64FsRedirection"));
    PVOID old = nullptr;
    bool disabled = disable && revert && disable(&old);
    struct Restore {
        bool on;
        Wow64RevertFn revert;
        PVOID old;
        ~Restore() {
            if (on) revert(old);
        }
    } restore{disabled, revert, old};
    return test();
}

bool ProcessServices::ValidDrivePath(const std::wstring& path) {
    return IsValidDrivePath(path, RealDriveType);
}

namespace {
bool FolderAt(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The attributes, not a directory search: a search would take "*" and "?" as patterns and
// report a file for a name that matches none exactly, and it reads the whole folder.
bool FileAt(const std::wstring& path) {
    if (path.find_first_of(L"*?") != std::wstring::npos) return false;
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

bool ProcessServices::FolderExists(const std::wstring& path, const DriveTypeQuery& driveType) {
    if (!IsValidDrivePath(path, driveType)) return false;
    return WithoutRedirection([&] { return FolderAt(path); });
}

bool ProcessServices::FileExists(const std::wstring& path, const DriveTypeQuery& driveType) {
    if (!IsValidDrivePath(path, driveType)) return false;
    return WithoutRedirection([&] { return FileAt(path); });
}

bool ProcessServices::FolderExistsUnguarded(const std::wstring& path) {
    return ValidDrivePath(path) && FolderAt(path);
}

bool ProcessServices::FileExistsUnguarded(const std::wstring& path) {
    return ValidDrivePath(path) && FileAt(path);
}

}  // namespace tv
