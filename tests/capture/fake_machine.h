#pragma once
// A machine for the resolution rules: a disk, shortcuts, file associations and an environment,
// all in memory. With `wow64` set it answers as a 32-bit process on 64-bit Windows does: the
// environment names the 32-bit program folders, while the file tests (made with redirection
// off) see the 64-bit system folder.
#include <windows.h>

#include <map>
#include <string>

#include "base/strings.h"
#include "capture/path_resolution.h"
#include "base/process_services.h"

namespace tvtest {

class FakeMachine : public tv::ResolutionMachine {
public:
    bool wow64 = false;
    std::map<std::wstring, DWORD> disk;                // lower-cased path -> attributes
    std::map<std::wstring, std::wstring> links;        // lower-cased link -> target as read
    std::map<std::wstring, std::wstring> advertised;   // lower-cased link -> installed target
    std::map<std::wstring, std::wstring> classes;      // lower-cased key -> default value
    std::map<std::wstring, std::wstring> environment;  // lower-cased name -> value
    int linkReads = 0;

    FakeMachine() {
        environment[L"systemroot"] = L"C:\\Windows";
        environment[L"programfiles"] = L"C:\\Program Files";
    }
    void PlayWow64() {
        wow64 = true;
        environment[L"programfiles"] = L"C:\\Program Files (x86)";
    }
    void AddFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
        disk[tv::ToLower(path)] = attributes;
    }
    void AddFolder(const std::wstring& path) { disk[tv::ToLower(path)] = FILE_ATTRIBUTE_DIRECTORY; }
    void RemoveFile(const std::wstring& path) { disk.erase(tv::ToLower(path)); }
    void AddLink(const std::wstring& link, const std::wstring& target) {
        links[tv::ToLower(link)] = target;
        AddFile(link);
    }
    void SetClass(const std::wstring& key, const std::wstring& value) { classes[tv::ToLower(key)] = value; }
    // An extension opened through `progId` with the open command `command`.
    void Associate(const std::wstring& extension, const std::wstring& progId, const std::wstring& command) {
        SetClass(extension, progId);
        SetClass(progId + L"\\shell\\open\\command", command);
    }

    static UINT DriveType(const std::wstring& root) {
        wchar_t d = static_cast<wchar_t>(towupper(root[0]));
        if (d == L'C' || d == L'D') return DRIVE_FIXED;
        if (d == L'E') return DRIVE_REMOVABLE;
        return DRIVE_NO_ROOT_DIR;
    }

    bool ValidDrivePath(const std::wstring& path) override { return tv::IsValidDrivePath(path, DriveType); }
    bool FileExists(const std::wstring& path) override {
        DWORD a = Lookup(path);
        return tv::IsValidDrivePath(path, DriveType) && a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool FolderExists(const std::wstring& path) override {
        DWORD a = Lookup(path);
        return tv::IsValidDrivePath(path, DriveType) && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool DirectoryExists(const std::wstring& path) override {
        DWORD a = Lookup(path);
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
    DWORD Attributes(const std::wstring& path) override { return Lookup(path); }
    bool LinkTarget(const std::wstring& link, std::wstring& target) override {
        ++linkReads;
        auto it = links.find(tv::ToLower(link));
        if (it == links.end()) return false;
        target = it->second;
        return true;
    }
    std::wstring AdvertisedTarget(const std::wstring& link) override {
        auto it = advertised.find(tv::ToLower(link));
        return it == advertised.end() ? std::wstring() : it->second;
    }
    std::wstring ClassesValue(const std::wstring& key) override {
        auto it = classes.find(tv::ToLower(key));
        return it == classes.end() ? std::wstring() : it->second;
    }
    std::wstring EnvironmentVariable(const std::wstring& name) override {
        auto it = environment.find(tv::ToLower(name));
        return it == environment.end() ? std::wstring() : it->second;
    }

private:
    DWORD Lookup(const std::wstring& path) {
        std::wstring key = tv::ToLower(path);
        if (key.size() > 3 && key.back() == L'\\') key.pop_back();
        auto it = disk.find(key);
        return it == disk.end() ? INVALID_FILE_ATTRIBUTES : it->second;
    }
};

}  // namespace tvtest
