#include "app/options.h"

#include "app/option_settings.h"
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

int ClampRecentDocDays(int days) { return std::clamp(days, kRecentDocDaysMin, kRecentDocDaysMax); }
int ClampRecordInterval(int seconds) { return std::clamp(seconds, kRecordIntervalMin, kRecordIntervalMax); }
int StoredTextSize(int points) { return points >= 1 && points <= 72 ? points : 9; }

std::wstring RecentDocCaption(int days) {
    if (days >= kRecentDocDaysMax) return L"Record all Recent Documents";
    return Format(L"Record Recent Documents%d days ago", days);
}

std::wstring IntervalCaption(int seconds) { return Format(L"Record Every %d seconds", seconds); }

const std::vector<std::wstring>& SavedOptionKeys() {
    static const std::vector<std::wstring> saved = [] {
        std::vector<std::wstring> keys;
        for (const Setting& s : OptionSettings())
            if (s.use != SettingUse::kLoadOnly) keys.push_back(s.key);
        return keys;
    }();
    return saved;
}

std::wstring RecordFolderOf(const std::wstring& pathText) { return NormaliseFolder(pathText); }

std::wstring RunKeyData(const std::wstring& programFolder) {
    return L"\"" + NormaliseFolder(programFolder) + kExeName + L"\" /run";
}

namespace {

constexpr wchar_t kRunKeyPath[] = L"SOFTWARE\\Microsoft\\windows\\CurrentVersion\\Run";

std::wstring RunValueData(const RunKeyPlace& place, const std::wstring& name) {
    RegKey key;
    if (RegOpenKeyExW(place.root, place.subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return L"";
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return L"";
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes > 64 * 1024) return L"";
    // One spare character so that data stored without its terminator still ends.
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
        ERROR_SUCCESS)
        return L"";
    data.resize(std::min<size_t>(wcsnlen(data.c_str(), data.size()), size / sizeof(wchar_t)));
    return data;
}

bool StartsTheProgram(const RunKeyPlace& place, const std::wstring& name) {
    return !Trim(RunValueData(place, name)).empty();
}

bool WriteRunValue(const RunKeyPlace& place, const std::wstring& name, const std::wstring& data) {
    RegKey key;
    if (RegCreateKeyExW(place.root, place.subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void RemoveRunValue(const RunKeyPlace& place, const std::wstring& name) {
    RegKey key;
    if (RegOpenKeyExW(place.root, place.subKey.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        RegDeleteValueW(key.get(), name.c_str());
}

}  // namespace

RunKeyEntry::RunKeyEntry()
    : RunKeyEntry({HKEY_LOCAL_MACHINE, kRunKeyPath}, {HKEY_CURRENT_USER, kRunKeyPath}, kAppName) {}

RunKeyEntry::RunKeyEntry(RunKeyPlace machine, RunKeyPlace user, std::wstring valueName)
    : machine_(std::move(machine)), user_(std::move(user)), valueName_(std::move(valueName)) {}

std::wstring RunKeyEntry::Data() const {
    std::wstring data = RunValueData(machine_, valueName_);
    return Trim(data).empty() ? RunValueData(user_, valueName_) : data;
}

bool RunKeyEntry::Present() const {
    return StartsTheProgram(machine_, valueName_) || StartsTheProgram(user_, valueName_);
}

bool RunKeyEntry::Write(const std::wstring& data) const {
    // A standard user may not write the machine's key; the user's own starts the program for them.
    return WriteRunValue(machine_, valueName_, data) || WriteRunValue(user_, valueName_, data);
}

bool RunKeyEntry::Remove() const {
    RemoveRunValue(machine_, valueName_);
    RemoveRunValue(user_, valueName_);
    return !Present();
}

Options::Options(SettingsStore& user, SettingsStore& common, OptionsHost& host, RunKeyEntry runKey)
    : user_(user), common_(common), host_(host), runKey_(std::move(runKey)) {}

SettingsStore& Options::StoreOf(const Setting& setting) {
    return setting.file == SettingFile::kCommon ? common_ : user_;
}

void Options::Load() {
    OptionValues loaded;
    for (const Setting& s : OptionSettings())
        if (s.use != SettingUse::kSaveOnly) ReadSetting(StoreOf(s), s, loaded);
    values = loaded.live;
    host_.SetMenuChecks(loaded.checks);
    host_.SetStartupRecordIndex(loaded.startupRecord);
    values.runWhenWindowsStarts = runKey_.Present();
    host_.SetTextSize(loaded.textSize);
    host_.SetRecordInterval(values.recordInterval);
}

bool Options::SaveOptions(const std::vector<std::wstring>& keys) {
    OptionValues current{values, MenuChecks{}, host_.StartupRecordIndex(), 0};
    try {
        for (const std::wstring& key : keys) {
            // Settings only loaded have writers of their own.
            const Setting* s = FindOptionSetting(key);
            if (s && s->use != SettingUse::kLoadOnly) WriteSetting(StoreOf(*s), *s, current);
        }
    } catch (const SettingsWriteError&) {
        return false;
    }
    return true;
}

bool Options::SaveAndApply() {
    // Everything but the interval, which follows once the main window has taken it.
    std::vector<std::wstring> first = SavedOptionKeys();
    first.erase(std::find(first.begin(), first.end(), keys::kRecordInterval));
    bool written = SaveOptions(first);
    host_.SetRecordInterval(values.recordInterval);
    written = SaveOptions({keys::kRecordInterval}) && written;
    // What the user confirmed acts on the running program even when the file refused it.
    const bool runAsked = values.runWhenWindowsStarts;
    Apply();
    if (values.runWhenWindowsStarts != runAsked) written = SaveOptions({keys::kRunWhenWindowsStarts}) && written;
    return written;
}

void Options::Apply() {
    host_.SetAlwaysOnTop(values.alwaysOnTop);
    ApplyRunKey();
    if (!values.showStartFilterList) host_.HideStartFilterList();
    host_.ApplyTextSize();
}

void Options::ApplyRunKey() {
    const bool present = runKey_.Present();
    if (values.runWhenWindowsStarts == present) return;
    const bool changed =
        values.runWhenWindowsStarts ? runKey_.Write(RunKeyData(FolderOf(ModulePath()))) : runKey_.Remove();
    if (changed) return;
    // The box shows what Windows will do at the next start, not what was asked.
    values.runWhenWindowsStarts = runKey_.Present();
    host_.Tell(values.runWhenWindowsStarts ? kRunEntryStays : kRunEntryRefused);
}

}  // namespace tv
