#pragma once
// The options as the settings files hold them, in one table: each option once, with its file,
// section, key, kind, default, what loading does to a stored value, and the field it fills.
// Loading, saving and the dialogs go through it.
#include <string>
#include <vector>

#include "app/options.h"

namespace tv {

class SettingsStore;

// Every field the options fill: the live options, the main window's menu check marks, and the
// two values only the main window keeps.
struct OptionValues {
    LiveOptions live;
    MenuChecks checks;
    int startupRecord = 0;
    int textSize = 0;
};

enum class SettingFile { kUser, kCommon };
enum class SettingType { kBool, kInt, kString };
enum class SettingUse {
    kLoadAndSave,  // read on load, written by a confirmed settings dialog
    kLoadOnly,     // read on load, written elsewhere
    kSaveOnly,     // written for the record; its live value comes from the Run key
};

struct Setting {
    SettingFile file;
    const wchar_t* section;
    const wchar_t* key;
    SettingType type;
    SettingUse use;
    int number;                             // default of a bool (0, 1) or an int
    std::wstring (*text)();                 // default of a string
    int (*clamp)(int);                      // applied to a stored int on load; may be null
    // The field filled: the one of the setting's type.
    bool& (*flag)(OptionValues&);
    int& (*integer)(OptionValues&);
    std::wstring& (*string)(OptionValues&);
};

// In the order a confirmed settings dialog writes them, the interval last of those; then the
// settings only loaded.
const std::vector<Setting>& OptionSettings();
// The setting with this key; null for a key not in the table.
const Setting* FindOptionSetting(const std::wstring& key);

// Reads one setting from its file into its field, clamped.
void ReadSetting(const SettingsStore& store, const Setting& setting, OptionValues& into);
// Writes one setting's field; throws SettingsWriteError.
void WriteSetting(SettingsStore& store, const Setting& setting, OptionValues& from);

}  // namespace tv
