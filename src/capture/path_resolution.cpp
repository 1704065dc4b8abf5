#include "capture/path_resolution.h"

#include <shlobj.h>

#include "base/constants.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/process_services.h"
#include "base/strings.h"

namespace tv {

namespace {
std::wstring Key(const std::wstring& s) { return ToLower(Trim(s)); }

bool Contains(const std::wstring& s, const std::wstring& part) { return s.find(part) != std::wstring::npos; }

// Installer functions are bound on first use: most recordings never meet an advertised shortcut.
using GetShortcutTargetFn = UINT(WINAPI*)(LPCWSTR, LPWSTR, LPWSTR, LPWSTR);
using LocateComponentFn = int(WINAPI*)(LPCWSTR, LPWSTR, DWORD*);

FARPROC InstallerFunction(const char* name) {
    static HMODULE msi = [] {
        UINT old = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        HMODULE m = LoadLibraryW(L"msi.dll");
        SetErrorMode(old);
        return m;
    }();
    return msi ? GetProcAddress(msi, name) : nullptr;
}

// The executable of a verb's command: the quoted text, or the text before the first blank.
std::wstring ExecutableOfVerbCommand(const std::wstring& command) {
    if (!command.empty() && command[0] == L'"') {
        size_t close = command.find(L'"', 1);
        return close == std::wstring::npos ? command.substr(1) : command.substr(1, close - 1);
    }
    // A command without arguments is its own executable.
    size_t blank = command.find(L' ');
    return blank == std::wstring::npos ? command : command.substr(0, blank);
}
// A shell link object and its file interface; false when either cannot be had.
bool MakeShellLink(ComPtr<IShellLinkW>& link, ComPtr<IPersistFile>& file) {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      link.put_void())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void()));
}

// The answer remembered under `key`, asked once.
template <class Value, class Ask>
const Value& Remembered(std::unordered_map<std::wstring, Value>& known, const std::wstring& key, Ask&& ask) {
    auto found = known.find(key);
    if (found == known.end()) found = known.emplace(key, ask()).first;
    return found->second;
}
}  // namespace

std::wstring LoadedLinkPath(IShellLinkW* link) {
    wchar_t buf[MAX_PATH + 1] = {};
    if (FAILED(link->GetPath(buf, MAX_PATH, nullptr, SLGP_UNCPRIORITY))) buf[0] = 0;
    std::wstring path = buf;
    // No file name holds a "?": the link kept its path in a code page that lost characters,
    // and its item id list still names the file whole.
    if (path.find(L'?') == std::wstring::npos) return path;
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(link->GetIDList(&items)) || !items) return path;
    wchar_t whole[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListW(items, whole) && whole[0] && !wcschr(whole, L'?')) path = whole;
    CoTaskMemFree(items);
    return path;
}

std::wstring ExtensionOf(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) return {};
    size_t sep = path.find_last_of(L"\\:");
    if (sep != std::wstring::npos && dot < sep) return {};
    return path.substr(dot);
}

std::wstring ExpandEnvironment(const std::wstring& s, ResolutionMachine& machine) {
    return ExpandFirstVariable(s, [&](const std::wstring& name) { return machine.EnvironmentVariable(name); });
}

std::wstring ProgramPathOfCommand(const std::wstring& commandLine, ResolutionMachine& machine) {
    return CommandLineProgramPath(commandLine,
                                  [&](const std::wstring& name) { return machine.EnvironmentVariable(name); });
}

bool FolderTestMemo::FolderExists(const std::wstring& path) {
    return Remembered(folders_, path, [&] { return machine_.FolderExists(path); });
}

std::wstring ShortcutTarget(const std::wstring& path, ResolutionMachine& machine) {
    if (ToUpper(ExtensionOf(path)) != L".LNK") return path;
    std::wstring target;
    if (!machine.LinkTarget(path, target)) target.clear();
    std::wstring key = Key(target);
    if (Contains(key, L"windows\\installer\\") && Contains(key, L"{") && Contains(key, L"}"))
        target = machine.AdvertisedTarget(path);
    if (target.empty() || target.find_first_of(L"?*\"><|") != std::wstring::npos) return path;
    return target;
}

std::wstring AssociationCommand(const std::wstring& extension, ResolutionMachine& machine) {
    if (Trim(extension).empty()) return {};
    std::wstring progId = machine.ClassesValue(extension);
    if (progId.empty()) return {};
    std::wstring command = machine.ClassesValue(progId + L"\\Shell\\Open\\Command");
    if (!command.empty()) return command;

    std::wstring verb = machine.ClassesValue(progId + L"\\shell");
    if (verb.empty()) verb = L"open";
    command = machine.ClassesValue(progId + L"\\shell\\" + verb + L"\\command");
    std::wstring program = ExecutableOfVerbCommand(command);
    if (ToUpper(program) == L"RUNDLL32") program += L".EXE";
    if (!machine.FileExists(program) && program.find(L'\\') != std::wstring::npos) {
        size_t exe = ToUpper(command).find(L".EXE");
        if (exe != std::wstring::npos) {
            std::wstring upToExe = command.substr(0, exe + 4);
            if (machine.FileExists(upToExe)) program = upToExe;
        }
    }
    return program;
}

std::wstring AssociatedProgram(const std::wstring& documentPath, ResolutionMachine& machine) {
    std::wstring ext = ToLower(ExtensionOf(documentPath));
    if (ext == L".exe" || ext == L".bat" || ext == L".msi") return ExpandEnvironment(documentPath, machine);
    std::wstring command = AssociationCommand(ExtensionOf(documentPath), machine);
    return ProgramPathOfCommand(ExpandEnvironment(command, machine), machine);
}

bool IsSkippedDocument(const std::wstring& path, ResolutionMachine& machine) {
    DWORD attributes = machine.Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return true;
    return Contains(ToUpper(path), L"$RECYCLE.BIN");
}

std::wstring LinksFolder() {
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents))) return {};
    return std::wstring(documents) + L"\\" + kAppName + L"\\links\\";
}

std::wstring CopyIntoFolder(const std::wstring& shortcut, const std::wstring& folder) {
    std::wstring target = NormaliseFolder(folder);
    if (target.empty() || FileNameOf(shortcut).empty()) return shortcut;
    if (!DirectoryExists(target) && !CreateFolderTree(target)) return shortcut;
    std::wstring copy = target + FileNameOf(shortcut);
    if (!CopyFileW(shortcut.c_str(), copy.c_str(), FALSE)) return shortcut;
    return copy;
}

RealResolutionMachine::RealResolutionMachine() : driveType_([this](const std::wstring& root) { return DriveType(root); }) {
    for (UINT& t : driveTypes_) t = ~0u;  // not asked yet
}

UINT RealResolutionMachine::DriveType(const std::wstring& root) {
    wchar_t letter = root.empty() ? 0 : static_cast<wchar_t>(towupper(root[0]));
    if (letter < L'A' || letter > L'Z' || root.size() != 3 || root.compare(1, 2, L":\\") != 0)
        return RealDriveType(root);
    UINT& known = driveTypes_[letter - L'A'];
    if (known == ~0u) known = RealDriveType(root);
    return known;
}

bool RealResolutionMachine::FileExists(const std::wstring& path) {
    return ProcessServices::Instance().FileExists(path, driveType_);
}

bool RealResolutionMachine::FolderExists(const std::wstring& path) {
    return ProcessServices::Instance().FolderExists(path, driveType_);
}

bool RealResolutionMachine::ValidDrivePath(const std::wstring& path) { return IsValidDrivePath(path, driveType_); }

bool RealResolutionMachine::DirectoryExists(const std::wstring& path) { return tv::DirectoryExists(path); }

DWORD RealResolutionMachine::Attributes(const std::wstring& path) {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    ProcessServices::Instance().WithoutRedirection([&] {
        attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES;
    });
    return attributes;
}

bool RealResolutionMachine::LinkTarget(const std::wstring& linkPath, std::wstring& target) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (!MakeShellLink(link, file)) return false;
    if (FAILED(file->Load(linkPath.c_str(), STGM_READ))) return false;
    target = LoadedLinkPath(link.get());
    return true;
}

bool RecordingResolutionMachine::LinkTarget(const std::wstring& linkPath, std::wstring& target) {
    if (!link_ && !MakeShellLink(link_, file_)) {
        link_.reset();
        return RealResolutionMachine::LinkTarget(linkPath, target);
    }
    if (FAILED(file_->Load(linkPath.c_str(), STGM_READ))) {
        // What a failed load leaves behind is not to be trusted for the next link.
        link_.reset();
        file_.reset();
        return false;
    }
    target = LoadedLinkPath(link_.get());
    return true;
}

DWORD RecordingResolutionMachine::Attributes(const std::wstring& path) {
    return Remembered(attributes_, path, [&] { return RealResolutionMachine::Attributes(path); });
}

// One look at a path answers both its tests, and the skip test of a document before them. The
// drive is judged first, so a path on no usable drive is never looked at.
bool RecordingResolutionMachine::FileExists(const std::wstring& path) {
    return ValidDrivePath(path) && KindOfAttributes(path, Attributes(path)) == PathKind::File;
}

bool RecordingResolutionMachine::FolderExists(const std::wstring& path) {
    return ValidDrivePath(path) && KindOfAttributes(path, Attributes(path)) == PathKind::Folder;
}

std::wstring RecordingResolutionMachine::ClassesValue(const std::wstring& subKey) {
    return Remembered(classes_, subKey, [&] { return RealResolutionMachine::ClassesValue(subKey); });
}

std::wstring RealResolutionMachine::AdvertisedTarget(const std::wstring& linkPath) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (!MakeShellLink(link, file)) return {};
    if (FAILED(file->Load(linkPath.c_str(), STGM_READ))) return {};
    // No window and no search dialog: a recording runs unattended.
    if (FAILED(link->Resolve(nullptr, SLR_UPDATE | SLR_NO_UI))) return {};
    wchar_t buf[MAX_PATH + 1] = {};
    if (FAILED(link->GetPath(buf, MAX_PATH, nullptr, SLGP_SHORTPATH))) return {};
    std::wstring target = buf;

    ComPtr<IShellLinkDataList> data;
    if (FAILED(link->QueryInterface(IID_IShellLinkDataList, data.put_void()))) return target;
    auto shortcutTarget = reinterpret_cast<GetShortcutTargetFn>(InstallerFunction("MsiGetShortcutTargetW"));
    auto locate = reinterpret_cast<LocateComponentFn>(InstallerFunction("MsiLocateComponentW"));
    if (!shortcutTarget || !locate) return target;
    wchar_t product[39] = {}, feature[MAX_PATH] = {}, component[39] = {};
    if (shortcutTarget(linkPath.c_str(), product, feature, component) != ERROR_SUCCESS) return target;
    wchar_t installed[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    const int kLocal = 3, kSource = 4;  // installed on this machine, or run from its source
    int state = locate(component, installed, &size);
    if ((state == kLocal || state == kSource) && installed[0]) target = installed;
    return target;
}

std::wstring RealResolutionMachine::ClassesValue(const std::wstring& subKey) {
    RegKey owner;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, owner.put()) != ERROR_SUCCESS) return {};
    HKEY key = owner.get();
    std::wstring value;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && size < (1u << 20)) {
        std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&buf[0]), &got) == ERROR_SUCCESS) {
            buf.resize(got / sizeof(wchar_t));
            // The stored value may or may not carry its terminating zero.
            size_t end = buf.find(L'\0');
            value = end == std::wstring::npos ? buf : buf.substr(0, end);
        }
    }
    return value;
}

std::wstring RealResolutionMachine::EnvironmentVariable(const std::wstring& name) {
    return RealEnvironmentVariable(name);
}

}  // namespace tv
