#include "capture/windows_start.h"

#include "base/handles.h"
#include "base/scope_exit.h"
#include "base/strings.h"

namespace tv {

namespace {
const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Registry string data up to its first zero: stored data need not carry its terminator.
std::wstring TextOf(const std::vector<BYTE>& data, DWORD bytes) {
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data.data());
    size_t length = std::min<size_t>(bytes, data.size()) / sizeof(wchar_t);
    return std::wstring(text, wcsnlen(text, length));
}

// Runs `step` and keeps whatever it collected; a failure inside leaves the rest to the others.
template <class F>
void Collect(F step) {
    try {
        step();
    } catch (...) {
        // One place that cannot be read contributes nothing.
    }
}
}  // namespace

std::wstring RealStartupMachine::StringValue(HKEY root, const std::wstring& keyPath, const std::wstring& name) {
    RegKey key;
    if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        !IsString(type) || bytes > (1u << 20))
        return {};
    std::vector<BYTE> data(bytes + sizeof(wchar_t));
    bytes = static_cast<DWORD>(data.size());
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &bytes) != ERROR_SUCCESS ||
        !IsString(type))
        return {};
    return TextOf(data, bytes);
}

std::vector<RegistryValue> RealStartupMachine::Values(HKEY root, const std::wstring& keyPath) {
    std::vector<RegistryValue> values;
    RegKey key;
    if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return values;
    DWORD count = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD bytes = static_cast<DWORD>(data.size());
        RegistryValue value;
        // A value that changed size since the key was measured ends the reading, as the end does.
        if (RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &value.type, data.data(), &bytes) !=
            ERROR_SUCCESS)
            break;
        value.name.assign(name.data(), nameLength);
        if (IsString(value.type)) value.text = TextOf(data, bytes);
        values.push_back(std::move(value));
    }
    return values;
}

std::vector<StartupFolderEntry> RealStartupMachine::Entries(const std::wstring& folder) {
    std::vector<StartupFolderEntry> entries;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return entries;
    OnExit close([find] { FindClose(find); });
    do {
        entries.push_back({found.cFileName, found.dwFileAttributes});
    } while (FindNextFileW(find, &found));
    return entries;
}

std::vector<std::wstring> RunKeyCommands(const std::vector<RegistryValue>& values) {
    std::vector<std::wstring> commands;
    for (const RegistryValue& value : values) {
        // The key is read as a list of command lines; anything else means it is not one.
        if (!IsString(value.type)) break;
        commands.push_back(value.text);
    }
    return commands;
}

std::vector<std::wstring> StartupFolderFiles(const std::wstring& folder, const std::vector<StartupFolderEntry>& entries) {
    std::vector<std::wstring> files;
    if (folder.empty()) return files;
    std::wstring prefix = folder.back() == L'\\' ? folder : folder + L"\\";
    for (const StartupFolderEntry& entry : entries) {
        if (entry.name == L"." || (entry.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN))) continue;
        files.push_back(prefix + entry.name);
    }
    return files;
}

std::wstring ProgramOfStartupCommand(const std::wstring& command, ResolutionMachine& machine) {
    if (ToLower(ExtensionOf(command)) == L".lnk") return AssociatedProgram(ShortcutTarget(command, machine), machine);
    std::wstring program = ProgramPathOfCommand(command, machine);
    std::wstring opener = AssociatedProgram(program, machine);
    return opener.empty() ? program : opener;
}

TWindowsStartMan::TWindowsStartMan()
    : ownMachine_(std::make_unique<RealStartupMachine>()), machine_(ownMachine_.get()), resolution_(nullptr) {}

TWindowsStartMan::TWindowsStartMan(StartupMachine& machine, ResolutionMachine& resolution)
    : machine_(&machine), resolution_(&resolution) {}

TWindowsStartMan::~TWindowsStartMan() = default;

std::wstring TWindowsStartMan::StartupFolder(bool allUsers) {
    return allUsers ? machine_->StringValue(HKEY_LOCAL_MACHINE, kShellFoldersKey, L"Common Startup")
                    : machine_->StringValue(HKEY_CURRENT_USER, kShellFoldersKey, L"StartUp");
}

const std::vector<std::wstring>& TWindowsStartMan::StartupCommands() {
    if (!loaded_) Load();
    return commands_;
}

void TWindowsStartMan::Load() {
    loaded_ = true;
    commands_.clear();
    programs_.clear();
    auto append = [this](const std::vector<std::wstring>& more) {
        commands_.insert(commands_.end(), more.begin(), more.end());
    };
    for (bool allUsers : {true, false})
        Collect([&] {
            std::wstring folder = StartupFolder(allUsers);
            // A folder whose value is missing has no place on the disk: never list another.
            if (!folder.empty()) append(StartupFolderFiles(folder, machine_->Entries(folder)));
        });
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        Collect([&] { append(RunKeyCommands(machine_->Values(root, kRunKey))); });

    // Each command is resolved once: a recording asks for every running program.
    std::unique_ptr<RealResolutionMachine> realResolution;
    if (!resolution_) realResolution = std::make_unique<RealResolutionMachine>();
    ResolutionMachine& resolution = resolution_ ? *resolution_ : *realResolution;
    for (const std::wstring& command : commands_) {
        std::wstring program;
        Collect([&] {
            std::wstring c = ToLower(Trim(command));
            program = ToLower(ProgramPathOfCommand(ProgramOfStartupCommand(c, resolution), resolution));
        });
        programs_.push_back(program);
    }
}

bool TWindowsStartMan::IsStartedWithWindows(const std::wstring& path) {
    if (!loaded_) Load();
    std::wstring q = ToLower(Trim(path));
    // An entry that names no program must not match a path that names none either.
    if (q.empty()) return false;
    for (const std::wstring& program : programs_)
        if (program == q) return true;
    return false;
}

}  // namespace tv
