#pragma once
// The programs Windows starts when the user logs on: the files of the all-users and per-user
// Startup folders and the values of the user and machine Run keys. A recording asks for each
// running program whether it is one of them, so that it can be left out.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/path_resolution.h"

namespace tv {

struct RegistryValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::wstring text;  // the data of a string value, as stored (variables not expanded)
};

struct StartupFolderEntry {
    std::wstring name;
    DWORD attributes = 0;
};

// What the start-up entries ask of the machine. Keys are only ever opened for reading: a user
// without administrator rights may read the machine's Run key but not change it.
class StartupMachine {
public:
    virtual ~StartupMachine() = default;
    // A string value as stored; empty when the key or the value cannot be read or is no string.
    virtual std::wstring StringValue(HKEY root, const std::wstring& key, const std::wstring& name) = 0;
    // Every value of a key in enumeration order; none when the key cannot be opened.
    virtual std::vector<RegistryValue> Values(HKEY root, const std::wstring& key) = 0;
    // Every entry of a folder, whatever its attributes; none when it cannot be listed.
    virtual std::vector<StartupFolderEntry> Entries(const std::wstring& folder) = 0;
};

class RealStartupMachine : public StartupMachine {
public:
    std::wstring StringValue(HKEY root, const std::wstring& key, const std::wstring& name) override;
    std::vector<RegistryValue> Values(HKEY root, const std::wstring& key) override;
    std::vector<StartupFolderEntry> Entries(const std::wstring& folder) override;
};

// The commands of a Run key: its string values in order, up to the first value of another type.
std::vector<std::wstring> RunKeyCommands(const std::vector<RegistryValue>& values);
// The files of a Startup folder that Windows starts: neither subfolders nor hidden files.
std::vector<std::wstring> StartupFolderFiles(const std::wstring& folder, const std::vector<StartupFolderEntry>& entries);
// The program a start-up command starts: what opens a shortcut's target, or what opens the
// program a command line names, or that program itself when nothing is registered for it.
std::wstring ProgramOfStartupCommand(const std::wstring& command, ResolutionMachine& machine);

class TWindowsStartMan {
public:
    TWindowsStartMan();  // the machine this process runs on
    // Tests hand in their own machines; both must outlive the object.
    TWindowsStartMan(StartupMachine& machine, ResolutionMachine& resolution);
    ~TWindowsStartMan();
    TWindowsStartMan(const TWindowsStartMan&) = delete;
    TWindowsStartMan& operator=(const TWindowsStartMan&) = delete;

    // Whether Windows starts the program at `path` (any case, blanks around ignored). The
    // entries are read on the first call and kept: what changes later is seen by a new object.
    bool IsStartedWithWindows(const std::wstring& path);
    // The start-up commands: both Startup folders' files, then the user's and the machine's
    // Run values, duplicates kept. Read on first need, then kept.
    const std::vector<std::wstring>& StartupCommands();
    // The Startup folder of all users or of this user; empty when its value cannot be read.
    std::wstring StartupFolder(bool allUsers);

private:
    void Load();

    std::unique_ptr<StartupMachine> ownMachine_;
    StartupMachine* machine_;
    ResolutionMachine* resolution_;  // null: a real one for the load
    bool loaded_ = false;
    std::vector<std::wstring> commands_;
    std::vector<std::wstring> programs_;  // the lower-cased program of each command
};

}  // namespace tv
