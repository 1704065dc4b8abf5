#include "base/process_services.h"

#include "base/strings.h"

namespace tv {

namespace {
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
using Wow64DisableFn = BOOL(WINAPI*)(PVOID*);
using Wow64RevertFn = BOOL(WINAPI*)(PVOID);
using GetProcessImageFileNameFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
using GetSystemWow64DirectoryFn = UINT(WINAPI*)(LPWSTR, UINT);

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

PathKind KindOfAttributes(const std::wstring& path, DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    return path.find_first_of(L"*?") == std::wstring::npos ? PathKind::File : PathKind::Missing;
}

namespace {
// The attributes, not a directory search: a search would take "*" and "?" as patterns and
// report a file for a name that matches none exactly, and it reads the whole folder.
PathKind KindOnDisk(const std::wstring& path) { return KindOfAttributes(path, GetFileAttributesW(path.c_str())); }

// Functions that older Windows lack are looked up by name; the libraries stay loaded for the
// life of the process.
class SystemProcessPlatform : public ProcessPlatform {
public:
    bool IsWow64Process() override {
        auto isWow64 = Find<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
        BOOL result = FALSE;
        return isWow64 && isWow64(GetCurrentProcess(), &result) && result;
    }
    bool ImageFileName(HANDLE process, std::wstring& path) override {
        auto imageName = Find<GetProcessImageFileNameFn>(L"psapi.dll", "GetProcessImageFileNameW");
        wchar_t buf[kPathBuffer] = {};
        if (!imageName || !imageName(process, buf, kPathBuffer - 1)) return false;
        path = buf;
        return true;
    }
    bool ModuleFileName(HANDLE process, std::wstring& path) override {
        auto moduleName = Find<GetModuleFileNameExFn>(L"psapi.dll", "GetModuleFileNameExW");
        wchar_t buf[kPathBuffer] = {};
        // No module handle names the executable itself.
        if (!moduleName || !moduleName(process, nullptr, buf, kPathBuffer - 1)) return false;
        path = buf;
        return true;
    }
    bool QueryDosDevice(const std::wstring& drive, std::wstring& target) override {
        return RealQueryDosDevice(drive, target);
    }
    bool DisableRedirection(void** old) override {
        auto disable = Find<Wow64DisableFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
        return disable && disable(old);
    }
    void RevertRedirection(void* old) override {
        auto revert = Find<Wow64RevertFn>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
        if (revert) revert(old);
    }
    bool FolderAt(const std::wstring& path) override { return KindOnDisk(path) == PathKind::Folder; }
    bool FileAt(const std::wstring& path) override { return KindOnDisk(path) == PathKind::File; }
    PathKind KindAt(const std::wstring& path) override { return KindOnDisk(path); }
    // A drive's type costs milliseconds to ask (a round trip to the mount manager under Wine) and
    // a path test asks it every time: the answer is kept for a second, so a loop over many paths
    // asks once, while a drive attached later is still seen.
    UINT DriveType(const std::wstring& root) override {
        wchar_t letter = root.empty() ? 0 : static_cast<wchar_t>(towupper(root[0]));
        if (letter < L'A' || letter > L'Z' || root.size() > 3) return RealDriveType(root);
        DriveAnswer& known = drives_[letter - L'A'];
        DWORD now = GetTickCount();
        if (!known.asked || now - known.at > kDriveTypeKeptMs) {
            known.type = RealDriveType(root);
            known.at = now;
            known.asked = true;
        }
        return known.type;
    }

    bool SystemFolders(std::wstring& system, std::wstring& wow64) override {
        // 32-bit Windows has no WOW64 folder: the call fails there (or is missing on the oldest).
        auto wow64Folder = Find<GetSystemWow64DirectoryFn>(L"kernel32.dll", "GetSystemWow64DirectoryW");
        wchar_t sys[MAX_PATH] = {}, wow[MAX_PATH] = {};
        UINT sysLength = GetSystemDirectoryW(sys, MAX_PATH);
        UINT wowLength = wow64Folder ? wow64Folder(wow, MAX_PATH) : 0;
        if (!sysLength || sysLength >= MAX_PATH || !wowLength || wowLength >= MAX_PATH) return false;
        system = sys;
        wow64 = wow;
        return true;
    }

private:
    static constexpr DWORD kDriveTypeKeptMs = 1000;
    struct DriveAnswer {
        bool asked = false;
        UINT type = DRIVE_UNKNOWN;
        DWORD at = 0;
    };
    DriveAnswer drives_[26];
    template <typename Fn>
    Fn Find(const wchar_t* library, const char* name) {
        // A missing library must not bring up a system message box.
        UINT old = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        HMODULE m = LoadLibraryW(library);
        SetErrorMode(old);
        return m ? reinterpret_cast<Fn>(GetProcAddress(m, name)) : nullptr;
    }
};
}  // namespace

ProcessPlatform& RealProcessPlatform() {
    static SystemProcessPlatform platform;
    return platform;
}

ProcessServices& ProcessServices::Instance() {
    static ProcessServices services(RealProcessPlatform());
    return services;
}

bool ProcessServices::IsWow64Mode() {
    if (wow64_ < 0) wow64_ = platform_.IsWow64Process() ? 1 : 0;
    return wow64_ == 1;
}

std::wstring ProcessServices::ProgramPathOfProcess(HANDLE process) {
    std::wstring path;
    if (IsWow64Mode()) {
        // A 32-bit process cannot read a 64-bit one's modules; the image name still answers.
        if (!platform_.ImageFileName(process, path)) return {};
        path = DevicePathToDrivePath(path, [this](const std::wstring& drive, std::wstring& target) {
            return platform_.QueryDosDevice(drive, target);
        });
    } else if (!platform_.ModuleFileName(process, path)) {
        return {};
    }
    return NativeTwinOf(path);
}

std::wstring ProcessServices::NativeTwinOf(const std::wstring& path) {
    if (!systemFoldersKnown_) {
        systemFoldersKnown_ = true;
        if (!platform_.SystemFolders(systemFolder_, wow64Folder_)) wow64Folder_.clear();
    }
    const size_t n = wow64Folder_.size();
    if (!n || path.size() <= n + 1 || path[n] != L'\\' || !EqualsNoCase(path.substr(0, n), wow64Folder_)) return path;
    std::wstring twin = systemFolder_ + path.substr(n);
    // The drive letter keeps the case the process path had.
    if (!twin.empty() && !path.empty() && iswlower(path[0])) twin[0] = towlower(twin[0]);
    return FileExists(twin) ? twin : path;
}

bool ProcessServices::WithoutRedirection(const std::function<bool()>& test) {
    if (!IsWow64Mode()) return test();
    void* old = nullptr;
    bool disabled = platform_.DisableRedirection(&old);
    struct Restore {
        ProcessPlatform& platform;
        bool on;
        void* old;
        ~Restore() {
            if (on) platform.RevertRedirection(old);
        }
    } restore{platform_, disabled, old};
    return test();
}

bool ProcessServices::ValidDrivePath(const std::wstring& path, const DriveTypeQuery& driveType) {
    if (driveType) return IsValidDrivePath(path, driveType);
    return IsValidDrivePath(path, [this](const std::wstring& root) { return platform_.DriveType(root); });
}

bool ProcessServices::FolderExists(const std::wstring& path, const DriveTypeQuery& driveType) {
    if (!ValidDrivePath(path, driveType)) return false;
    return WithoutRedirection([&] { return platform_.FolderAt(path); });
}

bool ProcessServices::FileExists(const std::wstring& path, const DriveTypeQuery& driveType) {
    if (!ValidDrivePath(path, driveType)) return false;
    return WithoutRedirection([&] { return platform_.FileAt(path); });
}

bool ProcessServices::FolderExistsUnguarded(const std::wstring& path) {
    return ValidDrivePath(path) && platform_.FolderAt(path);
}

bool ProcessServices::FileExistsUnguarded(const std::wstring& path) {
    return ValidDrivePath(path) && platform_.FileAt(path);
}

PathKind ProcessServices::KindUnguarded(const std::wstring& path) {
    return ValidDrivePath(path) ? platform_.KindAt(path) : PathKind::Missing;
}

}  // namespace tv
