#pragma once
// Where the program keeps its files, and the two settings files.
#include <memory>
#include <string>

#include "app/settings_store.h"

namespace tv {

// A special folder by CSIDL; empty when the system cannot tell.
std::wstring SpecialFolderPath(int csidl);

std::wstring DataFolder();    // My Documents + "\TolVane", no trailing backslash
std::wstring CommonFolder();  // shared documents + "\TolVane"
// The data folder with one trailing backslash, created when missing: the record folder
// when the user has chosen none.
std::wstring DefaultRecordFolder();
// A file of the data folder, the folder created when missing ("sendparam.txt", "ctmenu.txt").
std::wstring DataFile(const std::wstring& name);

// The two settings stores, opened once at start and released with the main window.
struct Settings {
    std::unique_ptr<SettingsStore> user;    // data folder + "\defualt.ini"
    std::unique_ptr<SettingsStore> common;  // common folder + "\defualt.ini"
};
Settings OpenSettingsFiles();

}  // namespace tv
