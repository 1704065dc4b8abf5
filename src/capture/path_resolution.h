#pragma once
// Turning what the machine reports into the paths a record holds: the document behind a
// shortcut, the program that opens a document, the executable named by a command line. Every
// capture step, the launcher and the dialogs resolve paths through these, and every question
// to the machine goes through ResolutionMachine so the rules can be tried on a fake one.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <unordered_map>

#include "base/handles.h"
#include "base/process_services.h"

namespace tv {

// The machine as the resolution rules see it.
class ResolutionMachine {
public:
    virtual ~ResolutionMachine() = default;
    // The file and folder tests of the running-program scan: a valid drive path, looked at with
    // WOW64 file-system redirection off.
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool FolderExists(const std::wstring& path) = 0;
    // A plain folder test, without the drive rules: what names a folder.
    virtual bool DirectoryExists(const std::wstring& path) = 0;
    // A path on a drive that exists, whatever lies there.
    virtual bool ValidDrivePath(const std::wstring& path) { return IsValidDrivePath(path, RealDriveType); }
    // The attributes of a path past WOW64 redirection; INVALID_FILE_ATTRIBUTES when unreadable.
    virtual DWORD Attributes(const std::wstring& path) = 0;
    // What a shell link reports as its target (UNC form preferred); false when the link cannot
    // be made or loaded.
    virtual bool LinkTarget(const std::wstring& linkPath, std::wstring& target) = 0;
    // The installed target of an advertised (installer) shortcut; whatever could be read before
    // a failing step, possibly empty.
    virtual std::wstring AdvertisedTarget(const std::wstring& linkPath) = 0;
    // The default value of a key under HKEY_CLASSES_ROOT; empty when missing or unreadable.
    virtual std::wstring ClassesValue(const std::wstring& subKey) = 0;
    virtual std::wstring EnvironmentVariable(const std::wstring& name) = 0;
};

// The machine this process runs on. Tests under Wine exercise it. It remembers each drive's
// type for its lifetime (asking is slow), so make one per scan or recording step.
class RealResolutionMachine : public ResolutionMachine {
public:
    RealResolutionMachine();
    bool FileExists(const std::wstring& path) override;
    bool FolderExists(const std::wstring& path) override;
    bool DirectoryExists(const std::wstring& path) override;
    bool ValidDrivePath(const std::wstring& path) override;
    DWORD Attributes(const std::wstring& path) override;
    bool LinkTarget(const std::wstring& linkPath, std::wstring& target) override;
    std::wstring AdvertisedTarget(const std::wstring& linkPath) override;
    std::wstring ClassesValue(const std::wstring& subKey) override;
    std::wstring EnvironmentVariable(const std::wstring& name) override;

private:
    UINT DriveType(const std::wstring& root);
    UINT driveTypes_[26];
    DriveTypeQuery driveType_;
};

// The path a loaded shell link names (UNC form preferred); empty when it names no file.
std::wstring LoadedLinkPath(IShellLinkW* link);

// The machine for one recording or scan, on one thread: it loads every shortcut through one
// shell link object (making one costs more than loading the file) and remembers what it saw of
// each path and what it read of the class registry, none of which a recording changes.
class RecordingResolutionMachine : public RealResolutionMachine {
public:
    bool FileExists(const std::wstring& path) override;
    bool FolderExists(const std::wstring& path) override;
    DWORD Attributes(const std::wstring& path) override;
    bool LinkTarget(const std::wstring& linkPath, std::wstring& target) override;
    std::wstring ClassesValue(const std::wstring& subKey) override;

private:
    std::unordered_map<std::wstring, DWORD> attributes_;
    ComPtr<IShellLinkW> link_;
    ComPtr<IPersistFile> file_;
    std::unordered_map<std::wstring, std::wstring> classes_;
};

// Another machine's answers, for a machine that answers some questions its own way.
class ForwardingMachine : public ResolutionMachine {
public:
    explicit ForwardingMachine(ResolutionMachine& machine) : machine_(machine) {}
    bool FolderExists(const std::wstring& path) override { return machine_.FolderExists(path); }
    bool FileExists(const std::wstring& path) override { return machine_.FileExists(path); }
    bool DirectoryExists(const std::wstring& path) override { return machine_.DirectoryExists(path); }
    bool ValidDrivePath(const std::wstring& path) override { return machine_.ValidDrivePath(path); }
    DWORD Attributes(const std::wstring& path) override { return machine_.Attributes(path); }
    bool LinkTarget(const std::wstring& linkPath, std::wstring& target) override {
        return machine_.LinkTarget(linkPath, target);
    }
    std::wstring AdvertisedTarget(const std::wstring& linkPath) override { return machine_.AdvertisedTarget(linkPath); }
    std::wstring ClassesValue(const std::wstring& subKey) override { return machine_.ClassesValue(subKey); }
    std::wstring EnvironmentVariable(const std::wstring& name) override { return machine_.EnvironmentVariable(name); }

protected:
    ResolutionMachine& machine_;
};

// Another machine, with its folder tests remembered: for walks over the record that ask about
// the same paths again and again within one recording.
class FolderTestMemo : public ForwardingMachine {
public:
    explicit FolderTestMemo(ResolutionMachine& machine) : ForwardingMachine(machine) {}
    bool FolderExists(const std::wstring& path) override;

private:
    std::unordered_map<std::wstring, bool> folders_;
};

// The extension of a path: from the last "." of its file name on, or empty.
std::wstring ExtensionOf(const std::wstring& path);

// The first %NAME% replaced by the variable's value, as the machine knows it.
std::wstring ExpandEnvironment(const std::wstring& s, ResolutionMachine& machine);
// The executable a command line names, variables expanded through the machine.
std::wstring ProgramPathOfCommand(const std::wstring& commandLine, ResolutionMachine& machine);

// The document a ".lnk" path points to; every other path comes back unchanged, and so does a
// shortcut that cannot be read or whose target is no usable path.
std::wstring ShortcutTarget(const std::wstring& path, ResolutionMachine& machine);

// The command that opens files of an extension (".doc"): the open command of its ProgID, or,
// through the ProgID's default verb, the executable of that verb's command.
std::wstring AssociationCommand(const std::wstring& extension, ResolutionMachine& machine);

// The executable that opens a document; empty when its type has none registered.
std::wstring AssociatedProgram(const std::wstring& documentPath, ResolutionMachine& machine);

// True for paths that are never recorded as recent documents: unreadable, hidden or system
// files, and whatever lies in a recycle bin.
bool IsSkippedDocument(const std::wstring& path, ResolutionMachine& machine);

// The links folder: the data folder's "links" subfolder, with a trailing backslash.
std::wstring LinksFolder();
// Copies a shortcut into `folder` (created with its parents when missing, overwriting a copy of
// the same name). The copy's path, or `shortcut` itself when anything fails.
std::wstring CopyIntoFolder(const std::wstring& shortcut, const std::wstring& folder);

}  // namespace tv
