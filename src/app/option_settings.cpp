#include "app/option_settings.h"

#include "app/folders.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"

namespace tv {

namespace {

template <auto Member>
auto& Live(OptionValues& v) { return v.live.*Member; }
template <auto Member>
auto& Check(OptionValues& v) { return v.checks.*Member; }
template <auto Member>
auto& Own(OptionValues& v) { return v.*Member; }

constexpr auto kBoth = SettingUse::kLoadAndSave;
constexpr auto kLoaded = SettingUse::kLoadOnly;

Setting Flag(SettingUse use, const wchar_t* key, bool byDefault, bool& (*field)(OptionValues&),
             SettingFile file = SettingFile::kUser) {
    return {file, keys::kDefault, key, SettingType::kBool, use, byDefault ? 1 : 0, nullptr, nullptr,
            field, nullptr, nullptr};
}

Setting Number(SettingUse use, const wchar_t* key, int byDefault, int& (*field)(OptionValues&),
               int (*clamp)(int) = nullptr) {
    return {SettingFile::kUser, keys::kDefault, key, SettingType::kInt, use, byDefault, nullptr, clamp,
            nullptr, field, nullptr};
}

Setting Text(SettingUse use, const wchar_t* key, std::wstring (*byDefault)(), std::wstring& (*field)(OptionValues&)) {
    return {SettingFile::kUser, keys::kDefault, key, SettingType::kString, use, 0, byDefault, nullptr,
            nullptr, nullptr, field};
}

// A radio group has two items; anything else stored there selects the first.
int RadioIndex(int stored) { return stored == 1 ? 1 : 0; }

}  // namespace

const std::vector<Setting>& OptionSettings() {
    using L = LiveOptions;
    using M = MenuChecks;
    using O = OptionValues;
    static const std::vector<Setting> table = {
        Text(kBoth, keys::kRecordPath, DefaultRecordFolder, Live<&L::recordPath>),
        Number(kBoth, keys::kStartupRecord, -1, Own<&O::startupRecord>),
        Flag(SettingUse::kSaveOnly, keys::kRunWhenWindowsStarts, false, Live<&L::runWhenWindowsStarts>),
        Flag(kBoth, keys::kAlwaysOnTop, false, Live<&L::alwaysOnTop>),
        Flag(kBoth, keys::kRecordWebPages, false, Live<&L::recordWebPages>),
        Flag(kBoth, keys::kRecordRecentDocuments, true, Live<&L::recordRecentDocuments>),
        Number(kBoth, keys::kRecentDocDays, kRecentDocDaysMax, Live<&L::recentDocDays>, ClampRecentDocDays),
        Flag(kBoth, keys::kFilterWindowsStart, true, Live<&L::filterWindowsStart>),
        Flag(kBoth, keys::kShowStartFilterList, false, Live<&L::showStartFilterList>),
        Number(kBoth, keys::kRecordType, 0, Live<&L::recordType>, RadioIndex),
        Flag(kBoth, keys::kAskWhenRecord, true, Live<&L::askWhenRecord>),
        Flag(kBoth, keys::kAskWhenReplay, true, Live<&L::askWhenReplay>),
        Flag(kBoth, keys::kAskWhenSmartRecord, true, Live<&L::askWhenSmartRecord>),
        Flag(kBoth, keys::kRunAsAdmin, true, Live<&L::runAsAdmin>),
        Flag(kBoth, keys::kReplayAllChildren, false, Live<&L::replayAllChildren>),
        Flag(kBoth, keys::kRestoreWindowPlaces, true, Live<&L::restoreWindowPlaces>),
        Number(kBoth, keys::kRecordInterval, 7, Live<&L::recordInterval>, ClampRecordInterval),
        Flag(kLoaded, keys::kOpenFolderAfterSendTo, true, Check<&M::openFolderAfterSendTo>),
        Flag(kLoaded, keys::kOpenFolderAfterPaste, true, Check<&M::openFolderAfterPaste>),
        Flag(kLoaded, keys::kPromptBeforeShutdown, true, Check<&M::promptBeforeShutdown>),
        Flag(kLoaded, keys::kAlwaysRunAsAdmin, false, Check<&M::alwaysRunAsAdmin>, SettingFile::kCommon),
        Number(kLoaded, keys::kTextSize, 9, Own<&O::textSize>, StoredTextSize),
    };
    return table;
}

const Setting* FindOptionSetting(const std::wstring& key) {
    for (const Setting& s : OptionSettings())
        if (key == s.key) return &s;
    return nullptr;
}

void ReadSetting(const SettingsStore& store, const Setting& s, OptionValues& into) {
    switch (s.type) {
        case SettingType::kBool: s.flag(into) = store.ReadBool(s.section, s.key, s.number != 0); break;
        case SettingType::kInt: {
            const int stored = store.ReadInteger(s.section, s.key, s.number);
            s.integer(into) = s.clamp ? s.clamp(stored) : stored;
            break;
        }
        case SettingType::kString: s.string(into) = store.ReadString(s.section, s.key, s.text()); break;
    }
}

void WriteSetting(SettingsStore& store, const Setting& s, OptionValues& from) {
    switch (s.type) {
        case SettingType::kBool: store.WriteBool(s.section, s.key, s.flag(from)); break;
        case SettingType::kInt: store.WriteInteger(s.section, s.key, s.integer(from)); break;
        case SettingType::kString: store.WriteString(s.section, s.key, s.string(from)); break;
    }
}

}  // namespace tv
