#include "app/folders.h"

#include <windows.h>
#include <shlobj.h>

#include "base/constants.h"
#include "base/file_util.h"
#include "base/path_rules.h"

namespace tv {

std::wstring SpecialFolderPath(int csidl) {
    wchar_t buf[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, buf))) return {};
    return buf;
}

std::wstring DataFolder() { return SpecialFolderPath(CSIDL_PERSONAL) + L"\\" + kAppName; }

std::wstring CommonFolder() {
    return SpecialFolderPath(CSIDL_COMMON_DOCUMENTS) + L"\\" + kAppName;
}

std::wstring DefaultRecordFolder() {
    std::wstring folder = NormaliseFolder(DataFolder());
    if (!DirectoryExists(folder)) CreateFolderTree(folder);
    return folder;
}

std::wstring DataFile(const std::wstring& name) {
    std::wstring folder = NormaliseFolder(DataFolder());
    if (!DirectoryExists(folder)) CreateFolderTree(folder);
    return folder + name;
}

Settings OpenSettingsFiles() {
    Settings s;
    std::wstring userFolder = DataFolder();
    if (!DirectoryExists(userFolder)) CreateFolderTree(userFolder);  // failures show up later
    s.user = std::make_unique<SettingsStore>(userFolder + L"\\" + kSettingsFileName);
    std::wstring commonFolder = CommonFolder();
    if (!DirectoryExists(commonFolder)) CreateFolderTree(commonFolder);
    s.common = std::make_unique<SettingsStore>(commonFolder + L"\\" + kSettingsFileName);
    return s;
}

}  // namespace tv
