#pragma once
// The live options: the values the settings dialog edits and every other part reads. They are
// loaded from the user settings file, and written back and applied only after a confirmed
// settings dialog.
#include <windows.h>

#include <string>
#include <vector>

namespace tv {

class SettingsStore;
struct Setting;

// Slider ranges.
constexpr int kRecentDocDaysMin = 1;
constexpr int kRecentDocDaysMax = 60;  // the maximum means "no age limit"
constexpr int kRecordIntervalMin = 3;
constexpr int kRecordIntervalMax = 60;

int ClampRecentDocDays(int days);
int ClampRecordInterval(int seconds);
// The record trees' text size as stored, in points: a size no tree could show (below 1 or
// above 72) gives the default, 9.
int StoredTextSize(int points);
// "Record all Recent Documents" at the maximum, else "Record Recent Documents<n> days ago".
std::wstring RecentDocCaption(int days);
// "Record Every <n> seconds".
std::wstring IntervalCaption(int seconds);

// Keys written by a confirmed settings dialog, in the order they are written.
const std::vector<std::wstring>& SavedOptionKeys();

// Keys and defaults are in the options' table (app/option_settings.h); a test holds these
// starting values to it.
struct LiveOptions {
    std::wstring recordPath;           // the path box text as typed
    bool runWhenWindowsStarts = false; // mirrors the Run entries
    bool alwaysOnTop = false;
    bool recordWebPages = false;
    bool recordRecentDocuments = true;
    int recentDocDays = kRecentDocDaysMax;
    bool filterWindowsStart = true;
    bool showStartFilterList = false;
    int recordType = 0;                // 0 new record, 1 add to the selected one
    bool askWhenRecord = true;
    bool askWhenReplay = true;
    bool askWhenSmartRecord = true;
    bool replayAllChildren = false;
    bool restoreWindowPlaces = true;  // replay puts each started window where it was
    bool runAsAdmin = true;
    int recordInterval = 7;            // seconds
};

// The record folder named by a path box text: trimmed, one trailing backslash.
std::wstring RecordFolderOf(const std::wstring& pathText);

// Menu check marks loaded together with the options; the main window owns them.
struct MenuChecks {
    bool openFolderAfterSendTo = true;
    bool openFolderAfterPaste = true;
    bool promptBeforeShutdown = true;
    bool alwaysRunAsAdmin = false;  // kept in the common settings file
};

// What loading and applying the options ask of the main window.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    virtual void SetMenuChecks(const MenuChecks& checks) = 0;
    virtual int StartupRecordIndex() = 0;
    virtual void SetStartupRecordIndex(int index) = 0;
    virtual void SetTextSize(int size) = 0;  // loaded only
    virtual void ApplyTextSize() = 0;
    // The main window's own interval control; setting it restarts a running Smart Record timer.
    virtual void SetRecordInterval(int seconds) = 0;
    virtual void SetAlwaysOnTop(bool onTop) = 0;  // keeps position and size
    virtual void HideStartFilterList() = 0;      // the filter panel and its splitter, where there is one
    virtual void ReadRecordList(const std::wstring& recordFolder) = 0;
    virtual bool RunningAsAdmin() = 0;
    // Starts the elevated instance and closes the main window: true. False when it did not start;
    // the user has been told why, once, and "runasadmin" is as it was.
    virtual bool RunAsAdministrator() = 0;
    virtual void Tell(const std::wstring& text) = 0;  // a message to the user, over the main window
};

// Where a Run value is kept: a root and the Run key's path under it.
struct RunKeyPlace {
    HKEY root;
    std::wstring subKey;
};

// The program's start-with-Windows value: a string value in the machine's Run key, or, where
// that key refuses a change, in the user's own.
class RunKeyEntry {
public:
    // The program's own: "TolVane" under "SOFTWARE\Microsoft\windows\CurrentVersion\Run" of HKLM,
    // and of HKCU where HKLM refuses.
    RunKeyEntry();
    RunKeyEntry(RunKeyPlace machine, RunKeyPlace user, std::wstring valueName);

    // True when either value exists and is not blank after trimming; false when unreadable.
    bool Present() const;
    std::wstring Data() const;  // the machine's value, else the user's; empty when neither is there
    // The machine's value, or the user's where the machine's key refuses; false when both refuse.
    bool Write(const std::wstring& data) const;
    // Removes both values; false when a value that starts the program is left.
    bool Remove() const;

private:
    RunKeyPlace machine_, user_;
    std::wstring valueName_;
};

// "\"<folder of the program>\tolvane.exe\" /run".
std::wstring RunKeyData(const std::wstring& programFolder);

// Told when a change of "Run Tolvane at Startup" cannot be made.
constexpr wchar_t kRunEntryRefused[] =
    L"\"Run Tolvane at Startup\" could not be turned on: Windows refused the program's Run entry for this "
    L"computer and for this user.";
constexpr wchar_t kRunEntryStays[] =
    L"\"Run Tolvane at Startup\" could not be turned off: Windows refused to remove the program's Run entry.";

class Options {
public:
    Options(SettingsStore& user, SettingsStore& common, OptionsHost& host, RunKeyEntry runKey = RunKeyEntry());

    LiveOptions values;

    // Reads every option from the settings files into the live values and the main window.
    void Load();
    // Writes every option in its fixed order, then applies. False when a value could not be
    // written; the live values are applied either way.
    bool SaveAndApply();
    // Always on top, the Run entry, the start-up filter list and the tree text size. A Run entry
    // that cannot be changed leaves the live value as the entries are, and the user is told.
    void Apply();
    // Writes the named options (keys of SavedOptionKeys) from the live values in the order
    // given, nothing applied; the questions asked before recording and replaying keep only
    // their own options. Stops at the first value that cannot be written and answers false.
    bool SaveOptions(const std::vector<std::wstring>& keys);

    std::wstring RecordFolder() const { return RecordFolderOf(values.recordPath); }
    const RunKeyEntry& runKey() const { return runKey_; }
    SettingsStore& commonSettings() { return common_; }
    OptionsHost& host() { return host_; }

private:
    SettingsStore& StoreOf(const Setting& setting);
    void ApplyRunKey();

    SettingsStore& user_;
    SettingsStore& common_;
    OptionsHost& host_;
    RunKeyEntry runKey_;
};

}  // namespace tv
