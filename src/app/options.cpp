#include "app/options.h"

#include "app/settings_keys.h"

#include <algorithm>

#include "base/constants.h"
#include "app/folders.h"
#include "app/settings_store.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"

namespace tv {

namespace {
constexpr const wchar_t* kSection = keys::kDefault;
constexpr wchar_t kRunKeyPath[] = L"SOFTWARE\\Microsoft\\windows\\CurrentVersion\\Run";
}  // namespace

int ClampRecentDocDays(int days) { return std::clamp(days, kRecentDocDaysMin, kRecentDocDaysMax); }
int ClampRecordInterval(int seconds) { return std::clamp(seconds, kRecordIntervalMin, kRecordIntervalMax); }
int StoredTextSize(int points) { return points >= 1 && points <= 72 ? points : 9; }

std::wstring RecentDocCaption(int days) {
    if (days >= kRecentDocDaysMax) return L"Record all Recent Documents";
    return Format(L"Record Recent Documents%d days ago", days);
}

std::wstring IntervalCaption(int seconds) { return Format(L"Record Every %d seconds", seconds); }

const std::vector<std::wstring>& SavedOptionKeys() {
    static const std::vector<std::wstring> keys = {
        L"EdtRECPath", L"RECIndWhenStartup", L"CbRunWhenWS", L"Alwaysontop1", L"CbWebpage",
        L"CbRecrodRecentDocument", L"tbRecRecentDoc", L"CbFilterPCStart", L"cbDisplayPCStartFilterList",
        L"RgRecordType", L"CbShowSettingsWhenRecord", L"CbShowSettingsWhenReplay",
        L"CbShowSettingsWhenRecordSmart", L"runasadmin", L"RbReplayAllChildDoc", L"tbRecordInterval"};
    return keys;
}

std::wstring RecordFolderOf(const std::wstring& pathText) { return NormaliseFolder(pathText); }

std::wstring RunKeyData(const std::wstring& programFolder) {
    return L"\"" + NormaliseFolder(programFolder) + kExeName + L"\" /run";
}

RunKeyEntry::RunKeyEntry() : RunKeyEntry(HKEY_LOCAL_MACHINE, kRunKeyPath, kAppName) {}

RunKeyEntry::RunKeyEntry(HKEY root, std::wstring subKey, std::wstring valueName)
    : root_(root), subKey_(std::move(subKey)), valueName_(std::move(valueName)) {}

std::wstring RunKeyEntry::Data() const {
    RegKey key;
    if (RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return L"";
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), valueName_.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return L"";
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes > 64 * 1024) return L"";
    // One spare character so that data stored without its terminator still ends.
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), valueName_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                         &size) != ERROR_SUCCESS)
        return L"";
    data.resize(std::min<size_t>(wcsnlen(data.c_str(), data.size()), size / sizeof(wchar_t)));
    return data;
}

bool RunKeyEntry::Present() const { return !Trim(Data()).empty(); }

bool RunKeyEntry::Write(const std::wstring& data) const {
    RegKey key;
    if (RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.get(), valueName_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RunKeyEntry::Remove() const {
    RegKey key;
    if (RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return false;
    return RegDeleteValueW(key.get(), valueName_.c_str()) == ERROR_SUCCESS;
}

Options::Options(SettingsStore& user, SettingsStore& common, OptionsHost& host, RunKeyEntry runKey)
    : user_(user), common_(common), host_(host), runKey_(std::move(runKey)) {}

void Options::Load() {
    const std::wstring defaultFolder = DefaultRecordFolder();
    values.recordPath = user_.ReadString(kSection, L"EdtRECPath", defaultFolder);

    MenuChecks checks;
    checks.openFolderAfterSendTo = user_.ReadBool(kSection, L"Openfilelocationaftersendto", true);
    checks.openFolderAfterPaste = user_.ReadBool(kSection, L"Openfilelocationafterpaste", true);
    checks.promptBeforeShutdown = user_.ReadBool(kSection, L"Promptbeforeexecuting1", true);
    checks.alwaysRunAsAdmin = common_.ReadBool(kSection, L"AlwaysRunAsAdmin", false);
    host_.SetMenuChecks(checks);

    host_.SetStartupRecordIndex(user_.ReadInteger(kSection, L"RECIndWhenStartup", -1));
    values.runWhenWindowsStarts = runKey_.Present();

    values.alwaysOnTop = user_.ReadBool(kSection, L"Alwaysontop1", false);
    host_.SetTextSize(StoredTextSize(user_.ReadInteger(kSection, L"curTextSize", 9)));
    values.recordWebPages = user_.ReadBool(kSection, L"CbWebpage", false);
    values.recordRecentDocuments = user_.ReadBool(kSection, L"CbRecrodRecentDocument", true);
    values.recentDocDays = ClampRecentDocDays(user_.ReadInteger(kSection, L"tbRecRecentDoc", kRecentDocDaysMax));
    values.filterWindowsStart = user_.ReadBool(kSection, L"CbFilterPCStart", true);
    values.showStartFilterList = user_.ReadBool(kSection, L"cbDisplayPCStartFilterList", false);
    // A radio group has two items; anything else stored there selects the first.
    int type = user_.ReadInteger(kSection, L"RgRecordType", 0);
    values.recordType = (type == 1) ? 1 : 0;
    values.askWhenRecord = user_.ReadBool(kSection, L"CbShowSettingsWhenRecord", true);
    values.askWhenReplay = user_.ReadBool(kSection, L"CbShowSettingsWhenReplay", true);
    values.askWhenSmartRecord = user_.ReadBool(kSection, L"CbShowSettingsWhenRecordSmart", true);
    values.replayAllChildren = user_.ReadBool(kSection, L"RbReplayAllChildDoc", false);
    values.runAsAdmin = user_.ReadBool(kSection, L"runasadmin", true);

    values.recordInterval = ClampRecordInterval(user_.ReadInteger(kSection, L"tbRecordInterval", 7));
    host_.SetRecordInterval(values.recordInterval);
}

void Options::WriteOption(const std::wstring& key) {
    const LiveOptions& v = values;
    struct Flag {
        const wchar_t* key;
        bool value;
    };
    const Flag flags[] = {{L"CbRunWhenWS", v.runWhenWindowsStarts},
                          {L"Alwaysontop1", v.alwaysOnTop},
                          {L"CbWebpage", v.recordWebPages},
                          {L"CbRecrodRecentDocument", v.recordRecentDocuments},
                          {L"CbFilterPCStart", v.filterWindowsStart},
                          {L"cbDisplayPCStartFilterList", v.showStartFilterList},
                          {L"CbShowSettingsWhenRecord", v.askWhenRecord},
                          {L"CbShowSettingsWhenReplay", v.askWhenReplay},
                          {L"CbShowSettingsWhenRecordSmart", v.askWhenSmartRecord},
                          {L"runasadmin", v.runAsAdmin},
                          {L"RbReplayAllChildDoc", v.replayAllChildren}};
    for (const Flag& f : flags) {
        if (key == f.key) {
            user_.WriteBool(kSection, key, f.value);
            return;
        }
    }
    if (key == L"EdtRECPath") user_.WriteString(kSection, key, v.recordPath);
    else if (key == L"RECIndWhenStartup") user_.WriteInteger(kSection, key, host_.StartupRecordIndex());
    else if (key == L"tbRecRecentDoc") user_.WriteInteger(kSection, key, v.recentDocDays);
    else if (key == L"RgRecordType") user_.WriteInteger(kSection, key, v.recordType);
    else if (key == L"tbRecordInterval") user_.WriteInteger(kSection, key, v.recordInterval);
}

bool Options::SaveOptions(const std::vector<std::wstring>& keys) {
    try {
        for (const std::wstring& key : keys) WriteOption(key);
    } catch (const SettingsWriteError&) {
        return false;
    }
    return true;
}

bool Options::SaveAndApply() {
    // Everything but the interval (the list's last key), which follows once the main window
    // has taken it.
    std::vector<std::wstring> first = SavedOptionKeys();
    first.pop_back();
    bool written = SaveOptions(first);
    host_.SetRecordInterval(values.recordInterval);
    written = SaveOptions({L"tbRecordInterval"}) && written;
    // What the user confirmed acts on the running program even when the file refused it.
    Apply();
    return written;
}

void Options::Apply() {
    host_.SetAlwaysOnTop(values.alwaysOnTop);
    // Only an administrator may change the machine's Run key; a refusal is ignored.
    const bool present = runKey_.Present();
    if (values.runWhenWindowsStarts && !present)
        runKey_.Write(RunKeyData(FolderOf(ModulePath())));
    else if (!values.runWhenWindowsStarts && present)
        runKey_.Remove();
    if (!values.showStartFilterList) host_.HideStartFilterList();
    host_.ApplyTextSize();
}

}  // namespace tv
