#include "ui/dialogs/settings_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ui/main/frame/window_layout.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "app/startup.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "replay/recording_shell.h"
#include "support/fake_options_host.h"
#include "support/test_support.h"
#include "ui/window_text.h"
#include "app/option_settings.h"
#include "app/settings_keys.h"
#include "base/handles.h"

using namespace tv;
using tvtest::TempFolder;

namespace {

constexpr wchar_t kRunPath[] = L"SOFTWARE\\Microsoft\\windows\\CurrentVersion\\Run";
constexpr wchar_t kTestRunValue[] = L"TolVaneSettingsTest";


// Settings files in a fresh data folder, the options over them, and a Run-key value of the test's own.
struct Fixture {
    tvtest::ScopedDataFolders data;
    TempFolder files;
    SettingsStore user{files.file(L"defualt.ini")};
    SettingsStore common{files.file(L"common.ini")};
    tvtest::FakeOptionsHost host;
    RunKeyEntry runKey{{HKEY_LOCAL_MACHINE, kRunPath}, {HKEY_CURRENT_USER, kRunPath}, kTestRunValue};
    Options options{user, common, host, runKey};
    Fixture() { runKey.Remove(); }
    explicit Fixture(RunKeyEntry key) : runKey(std::move(key)) { runKey.Remove(); }
    ~Fixture() { runKey.Remove(); }
    SettingsStore& StoreOf(const Setting& s) { return s.file == SettingFile::kCommon ? common : user; }
};

// Every field the options fill, as the options and the main window hold them now.
OptionValues LoadedValues(const Fixture& f) {
    return {f.options.values, f.host.checks, f.host.startupIndex, f.host.textSize};
}

void ExpectSameField(const Setting& s, OptionValues& got, OptionValues& want) {
    switch (s.type) {
        case SettingType::kBool: EXPECT_EQ(s.flag(got), s.flag(want)) << ToUtf8(s.key); break;
        case SettingType::kInt: EXPECT_EQ(s.integer(got), s.integer(want)) << ToUtf8(s.key); break;
        case SettingType::kString: EXPECT_EQ(s.string(got), s.string(want)) << ToUtf8(s.key); break;
    }
}

// Run keys of the test's own under HKCU. A denied one may be read but not changed, as the
// machine's Run key is for a standard user.
class TestRunKeys {
public:
    ~TestRunKeys() {
        for (const std::wstring& path : denied_) SetAccess(path, KEY_ALL_ACCESS);
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    }
    RunKeyPlace Writable(const wchar_t* name) {
        const std::wstring path = std::wstring(kRoot) + L"\\" + name;
        RegKey key;
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
        return {HKEY_CURRENT_USER, path};
    }
    RunKeyPlace Denied(const wchar_t* name) {
        RunKeyPlace place = Writable(name);
        SetAccess(place.subKey, KEY_READ | DELETE | WRITE_DAC);
        denied_.push_back(place.subKey);
        return place;
    }
    static bool Refuses(const RunKeyPlace& place) {
        RegKey key;
        return RegOpenKeyExW(place.root, place.subKey.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_ACCESS_DENIED;
    }
    static std::wstring ValueIn(const RunKeyPlace& place) {
        return RunKeyEntry(place, place, kTestRunValue).Data();
    }

private:
    static constexpr wchar_t kRoot[] = L"Software\\TolVaneRunKeyTest";
    // The key's list of who may do what becomes one entry: everyone may do `access`.
    static void SetAccess(const std::wstring& path, DWORD access) {
        RegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, key.put()) != ERROR_SUCCESS) return;
        BYTE everyone[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof(everyone);
        alignas(DWORD) BYTE aclBuffer[256];
        auto* acl = reinterpret_cast<ACL*>(aclBuffer);
        SECURITY_DESCRIPTOR sd;
        if (CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize) &&
            InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION) && AddAccessAllowedAce(acl, ACL_REVISION, access, everyone) &&
            InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) && SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE))
            RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd);
    }
    std::vector<std::wstring> denied_;
};

std::wstring Text(HWND w) { return tv::TextOf(w); }

bool OpenWhile(TFrmMySettings& dlg, std::function<void()> step) {
    tvtest::RunSoon(std::move(step));
    return dlg.Open();
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
// A slider moved by the user: the position, then the notification the dialog listens to.
void Slide(HWND slider, int pos) {
    SendMessageW(slider, TBM_SETPOS, TRUE, pos);
    SendMessageW(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(slider));
}
COLORREF PathBoxBrushColour(TFrmMySettings& dlg) {
    HDC dc = GetDC(dlg.EdtRecordPath);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(dlg.EdtRecordPath), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(dlg.EdtRecordPath)));
    ReleaseDC(dlg.EdtRecordPath, dc);
    LOGBRUSH lb{};
    if (!brush || !GetObjectW(brush, sizeof(lb), &lb)) return CLR_INVALID;
    return lb.lbColor;
}
}  // namespace

TEST(OptionsRules, SliderCaptionsAndClamping) {
    EXPECT_EQ(RecentDocCaption(60), L"Record all Recent Documents");
    EXPECT_EQ(RecentDocCaption(1), L"Record Recent Documents1 days ago");
    EXPECT_EQ(RecentDocCaption(59), L"Record Recent Documents59 days ago");
    EXPECT_EQ(IntervalCaption(7), L"Record Every 7 seconds");
    EXPECT_EQ(ClampRecordInterval(2), 3);
    EXPECT_EQ(ClampRecordInterval(-50), 3);
    EXPECT_EQ(ClampRecordInterval(90), 60);
    EXPECT_EQ(ClampRecordInterval(3), 3);
    EXPECT_EQ(ClampRecentDocDays(0), 1);
    EXPECT_EQ(ClampRecentDocDays(61), 60);
    EXPECT_EQ(RunKeyData(L"C:\\Program Files\\TolVane"), L"\"C:\\Program Files\\TolVane\\tolvane.exe\" /run");
    EXPECT_EQ(RunKeyData(L"C:\\Tools\\"), L"\"C:\\Tools\\tolvane.exe\" /run");
    EXPECT_EQ(RecordFolderOf(L"  C:\\Records\\\\\\ "), L"C:\\Records\\");
    EXPECT_EQ(RecordFolderOf(L"\\\\server\\share"), L"\\\\server\\share");
}

TEST(OptionsLoad, ClampsStoredValuesAndFillsTheMainWindow) {
    Fixture f;
    f.user.WriteInteger(keys::kDefault, keys::kRecordInterval, 2);
    f.user.WriteInteger(keys::kDefault, keys::kRecentDocDays, 500);
    f.user.WriteInteger(keys::kDefault, keys::kStartupRecord, 4);
    f.user.WriteString(keys::kDefault, keys::kRecordType, L"7");
    f.user.WriteBool(keys::kDefault, keys::kPromptBeforeShutdown, false);
    f.common.WriteBool(keys::kDefault, keys::kAlwaysRunAsAdmin, true);
    f.options.Load();
    EXPECT_EQ(f.options.values.recordInterval, 3);
    EXPECT_EQ(f.host.interval, 3);
    EXPECT_EQ(f.options.values.recentDocDays, 60);
    EXPECT_EQ(f.options.values.recordType, 0);
    EXPECT_EQ(f.host.startupIndex, 4);
    EXPECT_EQ(f.host.textSize, 9);
    EXPECT_FALSE(f.host.checks.promptBeforeShutdown);
    EXPECT_TRUE(f.host.checks.alwaysRunAsAdmin);
    // With no stored folder the record folder is the data folder, created, with one backslash.
    EXPECT_EQ(ToLower(f.options.RecordFolder()), ToLower(f.data.dataFolder() + L"\\"));
    EXPECT_TRUE(DirectoryExists(f.data.dataFolder()));

    f.user.WriteInteger(keys::kDefault, keys::kRecordInterval, 90);
    f.options.Load();
    EXPECT_EQ(f.options.values.recordInterval, 60);
    EXPECT_EQ(f.host.interval, 60);
}

// Each stored number at the ends of its range and past them, as the options load it.
TEST(OptionsLoad, StoredNumbersAtAndPastTheirLimits) {
    const struct {
        const wchar_t* key;
        int stored, loaded;
    } cases[] = {
        {keys::kRecordInterval, 3, 3},    {keys::kRecordInterval, 2, 3},       {keys::kRecordInterval, 60, 60},
        {keys::kRecordInterval, 61, 60},  {keys::kRecordInterval, -2147483647 - 1, 3},
        {keys::kRecentDocDays, 1, 1},      {keys::kRecentDocDays, 0, 1},         {keys::kRecentDocDays, 60, 60},
        {keys::kRecentDocDays, 61, 60},    {keys::kRecentDocDays, -1, 1},
        {keys::kRecordType, 1, 1},        {keys::kRecordType, 2, 0},           {keys::kRecordType, -1, 0},
        // A size no tree could show gives the default; 2147483647 points once gave a font one
        // pixel high.
        {keys::kTextSize, 1, 1},         {keys::kTextSize, 0, 9},            {keys::kTextSize, 72, 72},
        {keys::kTextSize, 73, 9},        {keys::kTextSize, -8, 9},           {keys::kTextSize, 2147483647, 9},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.user.WriteInteger(keys::kDefault, c.key, c.stored);
        f.options.Load();
        const LiveOptions& v = f.options.values;
        const std::wstring key = c.key;
        int loaded = key == keys::kRecordInterval ? f.host.interval
                     : key == keys::kRecentDocDays ? v.recentDocDays
                     : key == keys::kRecordType   ? v.recordType
                                                : f.host.textSize;
        EXPECT_EQ(loaded, c.loaded) << ToUtf8(key) << " stored as " << c.stored;
    }
}

// Every value an empty settings file gives, so a reshaping of the options cannot change one
// unseen. Values are first set to the opposite, so a field that is not loaded at all shows.
TEST(OptionsLoad, EmptySettingsFilesGiveEveryDefault) {
    Fixture f;
    LiveOptions& v = f.options.values;
    v.recordPath = L"X:\\";
    v.alwaysOnTop = v.recordWebPages = v.showStartFilterList = v.replayAllChildren = true;
    v.recordRecentDocuments = v.filterWindowsStart = v.askWhenRecord = v.askWhenReplay = v.askWhenSmartRecord =
        v.runAsAdmin = false;
    v.recentDocDays = 5;
    v.recordType = 1;
    v.recordInterval = 30;
    f.host.checks = MenuChecks{false, false, false, true};
    f.host.startupIndex = 3;
    f.options.Load();
    EXPECT_EQ(ToLower(f.options.RecordFolder()), ToLower(f.data.dataFolder() + L"\\"));
    EXPECT_FALSE(v.alwaysOnTop);
    EXPECT_FALSE(v.recordWebPages);
    EXPECT_TRUE(v.recordRecentDocuments);
    EXPECT_EQ(v.recentDocDays, 60);
    EXPECT_TRUE(v.filterWindowsStart);
    EXPECT_FALSE(v.showStartFilterList);
    EXPECT_EQ(v.recordType, 0);
    EXPECT_TRUE(v.askWhenRecord);
    EXPECT_TRUE(v.askWhenReplay);
    EXPECT_TRUE(v.askWhenSmartRecord);
    EXPECT_FALSE(v.replayAllChildren);
    EXPECT_TRUE(v.runAsAdmin);
    EXPECT_EQ(v.recordInterval, 7);
    EXPECT_EQ(f.host.interval, 7);
    EXPECT_EQ(f.host.startupIndex, -1);
    EXPECT_EQ(f.host.textSize, 9);
    EXPECT_TRUE(f.host.checks.openFolderAfterSendTo);
    EXPECT_TRUE(f.host.checks.openFolderAfterPaste);
    EXPECT_TRUE(f.host.checks.promptBeforeShutdown);
    EXPECT_FALSE(f.host.checks.alwaysRunAsAdmin);

    // The window's place on a 1280 by 1024 screen with nothing stored.
    StoredGeometry g = LoadWindowGeometry(f.user, 1280, 1024);
    EXPECT_FALSE(g.maximised);
    EXPECT_EQ(g.bounds.right - g.bounds.left, 520);
    EXPECT_EQ(g.bounds.bottom - g.bounds.top, 1024 - 60);
    EXPECT_EQ(g.bounds.left, 1280 - 520 - 15);
    EXPECT_EQ(g.bounds.top, 1024 - (1024 - 60) - 40);
}

// The table's defaults are what empty settings files give, and what the live options and the
// menu checks start as before anything is loaded.
TEST(OptionSettings, EmptySettingsFilesGiveTheTablesDefaults) {
    Fixture f;
    f.options.Load();
    OptionValues loaded = LoadedValues(f);
    // The record folder and the two values only the main window keeps have no starting value.
    OptionValues starting{LiveOptions{}, MenuChecks{}, loaded.startupRecord, loaded.textSize};
    starting.live.recordPath = loaded.live.recordPath;
    for (const Setting& s : OptionSettings()) {
        EXPECT_EQ(FindOptionSetting(s.key), &s) << "listed twice: " << ToUtf8(s.key);
        OptionValues byDefault = loaded;
        switch (s.type) {
            case SettingType::kBool: s.flag(byDefault) = s.number != 0; break;
            case SettingType::kInt: s.integer(byDefault) = s.number; break;
            case SettingType::kString: s.string(byDefault) = s.text(); break;
        }
        ExpectSameField(s, loaded, byDefault);
        ExpectSameField(s, starting, byDefault);
    }
}

// Every setting, set to a value other than its default, is read back as written: what a
// confirmed dialog saves through the options, what is only loaded through the table.
TEST(OptionSettings, EverySettingRoundTripsThroughItsFile) {
    Fixture f;
    f.options.Load();
    OptionValues changed = LoadedValues(f);
    for (const Setting& s : OptionSettings()) {
        switch (s.type) {
            case SettingType::kBool: s.flag(changed) = s.number == 0; break;
            case SettingType::kInt: {
                int other = s.number + 1;
                if (s.clamp && s.clamp(other) != other) other = s.number - 1;
                s.integer(changed) = other;
                break;
            }
            case SettingType::kString: s.string(changed) += L"Elsewhere\\"; break;
        }
    }
    f.options.values = changed.live;
    f.host.startupIndex = changed.startupRecord;
    ASSERT_TRUE(f.options.SaveOptions(SavedOptionKeys()));
    for (const Setting& s : OptionSettings())
        if (s.use == SettingUse::kLoadOnly) WriteSetting(f.StoreOf(s), s, changed);

    Options reloaded(f.user, f.common, f.host, f.runKey);
    reloaded.Load();
    OptionValues back{reloaded.values, f.host.checks, f.host.startupIndex, f.host.textSize};
    for (const Setting& s : OptionSettings()) {
        // Written for the record only; the box itself follows the Run entries.
        if (s.use == SettingUse::kSaveOnly) ReadSetting(f.StoreOf(s), s, back);
        ExpectSameField(s, back, changed);
    }
}

TEST(OptionsRunKey, TickWritesUntickDeletesAndAPresentValueIsNotRewritten) {
    Fixture f;
    f.options.Load();
    EXPECT_FALSE(f.options.values.runWhenWindowsStarts);

    // Unticked while absent: nothing appears.
    f.options.Apply();
    EXPECT_FALSE(f.runKey.Present());

    f.options.values.runWhenWindowsStarts = true;
    f.options.Apply();
    EXPECT_EQ(f.runKey.Data(), RunKeyData(FolderOf(ModulePath())));
    f.options.Load();
    EXPECT_TRUE(f.options.values.runWhenWindowsStarts);

    // Present already: left as the user or an installer wrote it.
    ASSERT_TRUE(f.runKey.Write(L"\"D:\\elsewhere\\tolvane.exe\" /run"));
    f.options.Apply();
    EXPECT_EQ(f.runKey.Data(), L"\"D:\\elsewhere\\tolvane.exe\" /run");

    // A blank value counts as absent, so ticking fills it in.
    ASSERT_TRUE(f.runKey.Write(L"   "));
    f.options.Load();
    EXPECT_FALSE(f.options.values.runWhenWindowsStarts);
    f.options.values.runWhenWindowsStarts = true;
    f.options.Apply();
    EXPECT_EQ(f.runKey.Data(), RunKeyData(FolderOf(ModulePath())));

    f.options.values.runWhenWindowsStarts = false;
    f.options.Apply();
    EXPECT_TRUE(f.runKey.Data().empty());
    EXPECT_FALSE(f.runKey.Present());
}

// A refused machine Run key: the user's own entry is written and read back after a restart, the
// dialog shows the box ticked, and unticking removes that entry.
TEST(OptionsRunKey, WhereTheMachineKeyRefusesTheUsersOwnEntryStartsTheProgram) {
    TestRunKeys runKeys;
    const RunKeyPlace machine = runKeys.Denied(L"Machine"), user = runKeys.Writable(L"User");
    ASSERT_TRUE(TestRunKeys::Refuses(machine));
    Fixture f(RunKeyEntry(machine, user, kTestRunValue));
    f.options.Load();
    f.options.values.runWhenWindowsStarts = true;
    EXPECT_TRUE(f.options.SaveAndApply());
    EXPECT_TRUE(TestRunKeys::ValueIn(machine).empty());
    EXPECT_EQ(TestRunKeys::ValueIn(user), RunKeyData(FolderOf(ModulePath())));
    EXPECT_TRUE(f.host.told.empty());
    EXPECT_TRUE(f.user.ReadBool(keys::kDefault, keys::kRunWhenWindowsStarts, false));

    Options restarted(f.user, f.common, f.host, f.runKey);
    TFrmMySettings dlg{restarted};
    ASSERT_TRUE(dlg.Create(nullptr));
    bool ticked = false;
    OpenWhile(dlg, [&] {
        ticked = SendMessageW(dlg.CbRunWhenWS, BM_GETCHECK, 0, 0) == BST_CHECKED;
        Click(dlg.CbRunWhenWS);
        Click(dlg.BtnConfirm);
    });
    EXPECT_TRUE(ticked);
    EXPECT_FALSE(restarted.values.runWhenWindowsStarts);
    EXPECT_FALSE(restarted.runKey().Present());
    EXPECT_TRUE(TestRunKeys::ValueIn(user).empty());
    EXPECT_TRUE(f.host.told.empty());
}

// Both keys refuse: the box does not stay ticked as if it had worked, the file says so too, and
// the user is told; the dialog shows the box clear, with the hint to run as admin.
TEST(OptionsRunKey, WhereBothKeysRefuseTheBoxIsClearedAndTheUserTold) {
    TestRunKeys runKeys;
    const RunKeyPlace machine = runKeys.Denied(L"Machine"), user = runKeys.Denied(L"User");
    ASSERT_TRUE(TestRunKeys::Refuses(machine) && TestRunKeys::Refuses(user));
    Fixture f(RunKeyEntry(machine, user, kTestRunValue));
    TFrmMySettings dlg{f.options};
    ASSERT_TRUE(dlg.Create(nullptr));
    OpenWhile(dlg, [&] {
        Click(dlg.CbRunWhenWS);
        Click(dlg.BtnConfirm);
    });
    EXPECT_FALSE(f.options.values.runWhenWindowsStarts);
    EXPECT_FALSE(f.runKey.Present());
    EXPECT_EQ(f.host.told, std::vector<std::wstring>{kRunEntryRefused});
    EXPECT_FALSE(f.user.ReadBool(keys::kDefault, keys::kRunWhenWindowsStarts, true));

    bool ticked = true;
    OpenWhile(dlg, [&] {
        ticked = SendMessageW(dlg.CbRunWhenWS, BM_GETCHECK, 0, 0) == BST_CHECKED;
        Click(dlg.BtnCancel);
    });
    EXPECT_FALSE(ticked);
    EXPECT_TRUE(dlg.hintStripShown());
}

// An entry that cannot be removed keeps the box ticked, and the user is told.
TEST(OptionsRunKey, AnEntryThatCannotBeRemovedKeepsTheBoxTicked) {
    TestRunKeys runKeys;
    const RunKeyPlace machine = runKeys.Writable(L"Machine"), user = runKeys.Writable(L"User");
    Fixture f(RunKeyEntry(machine, user, kTestRunValue));
    ASSERT_TRUE(f.runKey.Write(L"\"D:\\elsewhere\\tolvane.exe\" /run"));
    const RunKeyPlace refusing = runKeys.Denied(L"Machine");
    ASSERT_TRUE(TestRunKeys::Refuses(refusing));
    f.options.Load();
    ASSERT_TRUE(f.options.values.runWhenWindowsStarts);
    f.options.values.runWhenWindowsStarts = false;
    f.options.Apply();
    EXPECT_TRUE(f.options.values.runWhenWindowsStarts);
    EXPECT_EQ(f.host.told, std::vector<std::wstring>{kRunEntryStays});
}

TEST(OptionsSave, KeysAreWrittenInTheirOrderAndAppliedEvenWhenTheFileRefuses) {
    Fixture f;
    f.options.Load();
    f.options.values.alwaysOnTop = true;
    f.options.values.recordInterval = 12;
    EXPECT_TRUE(f.options.SaveAndApply());
    EXPECT_EQ(tvtest::KeysInFileOrder(f.user.path()), SavedOptionKeys());
    EXPECT_TRUE(f.host.onTop);
    EXPECT_EQ(f.host.interval, 12);
    EXPECT_EQ(f.host.filterHidden, 1);
    EXPECT_EQ(f.host.textSizeApplied, 1);

    // A settings file in a folder that does not exist cannot be written: reported, still applied.
    SettingsStore nowhere(f.files.path() + L"\\missing\\deeper\\defualt.ini");
    Options failing(nowhere, f.common, f.host, f.runKey);
    failing.values = f.options.values;
    failing.values.alwaysOnTop = false;
    EXPECT_FALSE(failing.SaveAndApply());
    EXPECT_FALSE(f.host.onTop);
}

TEST(OptionsSave, NamedOptionsAreWrittenAloneInTheOrderGiven) {
    Fixture f;
    f.options.Load();
    LiveOptions& v = f.options.values;
    v.recordType = 1;
    v.recentDocDays = 25;
    v.askWhenReplay = false;
    v.recordPath = L"D:\\Records\\";
    ASSERT_TRUE(f.options.SaveOptions({keys::kRecordType, keys::kAskWhenReplay, keys::kRecentDocDays, keys::kRecordPath}));
    EXPECT_EQ(tvtest::KeysInFileOrder(f.user.path()),
              (std::vector<std::wstring>{keys::kRecordType, keys::kAskWhenReplay, keys::kRecentDocDays, keys::kRecordPath}));
    EXPECT_EQ(f.user.ReadInteger(keys::kDefault, keys::kRecordType, 0), 1);
    EXPECT_FALSE(f.user.ReadBool(keys::kDefault, keys::kAskWhenReplay, true));
    EXPECT_EQ(f.user.ReadInteger(keys::kDefault, keys::kRecentDocDays, 0), 25);
    EXPECT_EQ(f.user.ReadString(keys::kDefault, keys::kRecordPath, L""), L"D:\\Records\\");

    // Every key of the full save round-trips through a load.
    v.recordWebPages = v.showStartFilterList = v.replayAllChildren = true;
    v.askWhenSmartRecord = false;
    v.recordInterval = 33;
    ASSERT_TRUE(f.options.SaveOptions(SavedOptionKeys()));
    const LiveOptions saved = v;
    v = LiveOptions{};
    f.options.Load();
    EXPECT_EQ(v.recordType, saved.recordType);
    EXPECT_EQ(v.recentDocDays, saved.recentDocDays);
    EXPECT_EQ(v.recordWebPages, saved.recordWebPages);
    EXPECT_EQ(v.showStartFilterList, saved.showStartFilterList);
    EXPECT_EQ(v.replayAllChildren, saved.replayAllChildren);
    EXPECT_EQ(v.askWhenReplay, saved.askWhenReplay);
    EXPECT_EQ(v.askWhenSmartRecord, saved.askWhenSmartRecord);
    EXPECT_EQ(v.recordInterval, 33);
    EXPECT_EQ(v.recordPath, saved.recordPath);

    SettingsStore nowhere(f.files.path() + L"\\missing\\defualt.ini");
    Options failing(nowhere, f.common, f.host, f.runKey);
    EXPECT_FALSE(failing.SaveOptions({keys::kRecordWebPages}));
}

class SettingsDialog : public ::testing::Test {
protected:
    Fixture f;
    TFrmMySettings dlg{f.options};
    void SetUp() override {
        // A window closed by an earlier test may have left the end-of-program message behind;
        // the dialog's loop rightly gives way to it, so clear it first.
        MSG m;
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ASSERT_TRUE(dlg.Create(nullptr));
    }
};

TEST_F(SettingsDialog, SliderCaptionsMatchTheStoredValuesRightAfterShowing) {
    f.user.WriteInteger(keys::kDefault, keys::kRecentDocDays, 60);
    f.user.WriteInteger(keys::kDefault, keys::kRecordInterval, 2);
    std::wstring recent, interval;
    int intervalPos = 0;
    OpenWhile(dlg, [&] {
        recent = Text(dlg.lbRecRecentDoc);
        dlg.SelectPage(TFrmMySettings::kPageSmartRecord);
        interval = Text(dlg.lbRecording);
        intervalPos = static_cast<int>(SendMessageW(dlg.tbRecordInterval, TBM_GETPOS, 0, 0));
        dlg.SelectPage(TFrmMySettings::kPageGeneral);
        Click(dlg.BtnCancel);
    });
    EXPECT_EQ(recent, L"Record all Recent Documents");
    EXPECT_EQ(interval, L"Record Every 3 seconds");
    EXPECT_EQ(intervalPos, 3);

    // Position 1 is where a new slider already stands, so no change event helps here.
    f.user.WriteInteger(keys::kDefault, keys::kRecentDocDays, 1);
    OpenWhile(dlg, [&] {
        recent = Text(dlg.lbRecRecentDoc);
        Slide(dlg.tbRecRecentDoc, 30);
        EXPECT_EQ(Text(dlg.lbRecRecentDoc), L"Record Recent Documents30 days ago");
        EXPECT_EQ(f.options.values.recentDocDays, 30);
        Click(dlg.BtnCancel);
    });
    EXPECT_EQ(recent, L"Record Recent Documents1 days ago");
}

// "Restore window places" stands on the replay page, ticked by default, and is stored on Confirm.
TEST_F(SettingsDialog, RestoreWindowPlacesIsOnByDefaultAndUntickingItIsStored) {
    bool tickedAtFirst = false;
    HWND page = nullptr;
    ASSERT_TRUE(OpenWhile(dlg, [&] {
        tickedAtFirst = SendMessageW(dlg.CbRestoreWindowPlaces, BM_GETCHECK, 0, 0) == BST_CHECKED;
        page = GetParent(dlg.CbRestoreWindowPlaces);
        Click(dlg.CbRestoreWindowPlaces);
        Click(dlg.BtnConfirm);
    }));
    EXPECT_TRUE(tickedAtFirst);
    EXPECT_EQ(page, GetParent(dlg.RbReplayAllChildDoc));
    EXPECT_FALSE(f.options.values.restoreWindowPlaces);
    EXPECT_FALSE(f.user.ReadBool(keys::kDefault, keys::kRestoreWindowPlaces, true));
}

TEST_F(SettingsDialog, ConfirmRefusesAMissingFolderThenWritesEveryKeyInOrder) {
    TempFolder records;
    bool stayedOpen = false, redAfterRefusal = false;
    std::wstring hint;
    bool ok = OpenWhile(dlg, [&] {
        EXPECT_EQ(PathBoxBrushColour(dlg), RGB(255, 255, 255));  // the default folder exists
        SendMessageW(dlg.EdtRecordPath, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\no\\such\\folder"));
        Click(dlg.BtnConfirm);
        stayedOpen = IsWindowVisible(dlg.hwnd()) != FALSE;
        redAfterRefusal = PathBoxBrushColour(dlg) == 255;
        hint = dlg.pathHint();
        EXPECT_EQ(GetFocus(), dlg.EdtRecordPath);
        const std::wstring typed = records.path() + L"\\\\";
        SendMessageW(dlg.EdtRecordPath, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        Click(dlg.Alwaysontop1);
        Click(dlg.BtnConfirm);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(redAfterRefusal);
    EXPECT_EQ(hint, kMissingFolderHint);
    ASSERT_TRUE(ok);
    EXPECT_EQ(tvtest::KeysInFileOrder(f.user.path()), SavedOptionKeys());
    EXPECT_EQ(f.user.ReadString(keys::kDefault, keys::kRecordPath, L""), records.path() + L"\\");
    EXPECT_TRUE(f.user.ReadBool(keys::kDefault, keys::kAlwaysOnTop, false));
    EXPECT_TRUE(f.host.onTop);
    ASSERT_FALSE(f.host.listsRead.empty());
    EXPECT_EQ(f.host.listsRead.back(), records.path() + L"\\");
    EXPECT_EQ(f.common.ReadInteger(keys::kStatus, keys::kOpenWindow, -1), 0);  // resume marker cleared on showing
}

TEST_F(SettingsDialog, LeavingThePathBoxTakesAValidFolderAtOnceButNeverAMissingOne) {
    TempFolder records;
    std::wstring afterValid, live;
    OpenWhile(dlg, [&] {
        const std::wstring typed = L" " + records.path() + L"\\\\\\";
        SendMessageW(dlg.EdtRecordPath, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        SetFocus(dlg.EdtRecordPath);
        SetFocus(dlg.BtnSelectPath);  // leaves the box
        afterValid = Text(dlg.EdtRecordPath);
        SendMessageW(dlg.EdtRecordPath, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\missing-folder"));
        SetFocus(dlg.EdtRecordPath);
        SetFocus(dlg.BtnSelectPath);
        live = f.options.RecordFolder();
        EXPECT_EQ(PathBoxBrushColour(dlg), 255u);
        Click(dlg.BtnCancel);
    });
    EXPECT_EQ(afterValid, records.path() + L"\\");
    EXPECT_EQ(live, records.path() + L"\\");
    EXPECT_EQ(f.host.listsRead.back(), records.path() + L"\\");
    EXPECT_FALSE(FileExists(f.user.path()));  // cancelled: nothing written
}

TEST_F(SettingsDialog, CloseBoxAfterAnEarlierConfirmSavesNothing) {
    ASSERT_TRUE(OpenWhile(dlg, [&] { Click(dlg.BtnConfirm); }));
    std::string before;
    ASSERT_TRUE(ReadFileBytes(f.user.path(), before));
    bool ok = OpenWhile(dlg, [&] {
        Click(dlg.CbWebpage);
        Slide(dlg.tbRecordInterval, 40);
        PostMessageW(dlg.hwnd(), WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(ok);
    std::string after;
    ASSERT_TRUE(ReadFileBytes(f.user.path(), after));
    EXPECT_EQ(after, before);
    // The next opening shows the file again, not the abandoned edits.
    OpenWhile(dlg, [&] { Click(dlg.BtnCancel); });
    EXPECT_FALSE(f.options.values.recordWebPages);
    EXPECT_EQ(f.options.values.recordInterval, 7);
}

TEST_F(SettingsDialog, EnterConfirmsAndEscapeCancelsFromAnyControl) {
    bool ok = OpenWhile(dlg, [&] {
        SetFocus(dlg.EdtRecordPath);
        PostMessageW(dlg.EdtRecordPath, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(FileExists(f.user.path()));

    ok = OpenWhile(dlg, [&] {
        dlg.SelectPage(TFrmMySettings::kPageRecord);
        Click(dlg.CbWebpage);
        PostMessageW(dlg.CbWebpage, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(f.user.ReadBool(keys::kDefault, keys::kRecordWebPages, false));
}

TEST_F(SettingsDialog, EnterPressesTheFocusedButtonAndConfirmsOnlyFromElsewhere) {
    tvtest::RecordingShell shell;
    dlg.SetShellCalls(shell);
    bool stillOpen = false;
    bool ok = OpenWhile(dlg, [&] {
        SetFocus(dlg.BtnOpenDir);
        tvtest::PressKey(VK_RETURN);
        tvtest::RunSoon([&] {
            stillOpen = IsWindowVisible(dlg.hwnd()) != FALSE;
            SetFocus(dlg.BtnCancel);
            tvtest::PressKey(VK_RETURN);
        });
    });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, L"explore");
    EXPECT_FALSE(FileExists(f.user.path()));  // nothing confirmed, nothing saved
}

TEST_F(SettingsDialog, RunKeyBoxShowsTheHintStripAndItsAdminBoxRestartsElevated) {
    bool hintBefore = true, hintAfter = false;
    RECT shown{};
    bool ok = OpenWhile(dlg, [&] {
        hintBefore = dlg.hintStripShown();
        Click(dlg.CbRunWhenWS);
        hintAfter = dlg.hintStripShown();
        GetWindowRect(dlg.hwnd(), &shown);
        Click(dlg.CheckBox2);
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(hintBefore);
    EXPECT_TRUE(hintAfter);
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(shown.bottom - shown.top, MulDiv(kSettingsHeightWithHint, GetDeviceCaps(dc, LOGPIXELSY), 96));
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(f.common.ReadInteger(keys::kStatus, keys::kOpenWindow, 0), kResumeSettings);
    EXPECT_EQ(f.host.adminRuns, 1);
    EXPECT_FALSE(f.runKey.Present());  // not confirmed: the Run key is untouched
}

// A restart that did not happen: the marker goes back and the dialog shows again, as it was.
TEST_F(SettingsDialog, AdminBoxWhoseRestartDidNotHappenKeepsTheDialogAndNoMarker) {
    f.host.restartStarts = false;
    bool shownAgain = false;
    int markerMeanwhile = -1;
    OpenWhile(dlg, [&] {
        Click(dlg.CheckBox2);
        tvtest::RunSoon([&] {
            shownAgain = IsWindowVisible(dlg.hwnd()) != FALSE;
            markerMeanwhile = f.common.ReadInteger(keys::kStatus, keys::kOpenWindow, -1);
            Click(dlg.BtnCancel);
        });
    });
    EXPECT_EQ(f.host.adminRuns, 1);
    EXPECT_TRUE(shownAgain);
    EXPECT_EQ(markerMeanwhile, kResumeNone);
}

TEST_F(SettingsDialog, SelectTakesThePickedFolderAndTheRecentDocBoxMovesTheFilterBoxes) {
    TempFolder records;
    std::wstring title;
    dlg.SetFolderPicker([&](HWND, const std::wstring& t, const std::wstring&) {
        title = t;
        return records.path();
    });
    std::wstring current;
    int leftWithPanel = 0, leftWithout = 0;
    OpenWhile(dlg, [&] {
        current = Text(dlg.EdtRecordPath);
        Click(dlg.BtnSelectPath);
        dlg.SelectPage(TFrmMySettings::kPageRecord);
        auto left = [&] {
            RECT r;
            GetWindowRect(dlg.CbFilterPCStart, &r);
            return static_cast<int>(r.left);
        };
        leftWithPanel = left();
        Click(dlg.CbRecrodRecentDocument);
        EXPECT_FALSE(IsWindowVisible(dlg.PnlRecRecentDoc));
        leftWithout = left();
        Click(dlg.CbRecrodRecentDocument);
        Click(dlg.BtnCancel);
    });
    EXPECT_EQ(title, L"Please Select a Path,Current path is " + current);
    EXPECT_EQ(f.options.RecordFolder(), records.path() + L"\\");
    EXPECT_LT(leftWithout, leftWithPanel);
}

TEST_F(SettingsDialog, Screenshots) {
    f.user.WriteInteger(keys::kDefault, keys::kRecentDocDays, 14);
    std::vector<bool> saved;
    OpenWhile(dlg, [&] {
        SetWindowPos(dlg.hwnd(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (int i = 0; i < TFrmMySettings::kPageCount; ++i) {
            dlg.SelectPage(i);
            UpdateWindow(dlg.hwnd());
            RedrawWindow(dlg.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Sleep(100);
            saved.push_back(tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + Format(L"\\settings_page%d.png", i + 1)));
        }
        Click(dlg.CbRunWhenWS);  // brings up the hint strip
        dlg.SelectPage(TFrmMySettings::kPageGeneral);
        RedrawWindow(dlg.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(100);
        saved.push_back(tvtest::SaveScreenshot(tvtest::ScreenshotFolder() + L"\\settings_hint.png"));
        Click(dlg.BtnCancel);
    });
    EXPECT_EQ(saved, std::vector<bool>(TFrmMySettings::kPageCount + 1, true));
}

TEST_F(SettingsDialog, TabStartsAtThePagesFirstBoxAndCtrlTabTurnsThePages) {
    // What has the focus, and which page shows, before each key and after the last.
    std::vector<HWND> focus;
    std::vector<int> pages;
    struct Press {
        WORD key;
        bool shift, ctrl;
    };
    const std::vector<Press> presses = {{VK_TAB, false, false}, {VK_TAB, true, false}, {VK_TAB, true, false},
                                        {VK_TAB, true, false},  {VK_TAB, false, true}, {VK_TAB, true, true},
                                        {VK_TAB, true, true}};
    std::function<void(size_t)> step = [&](size_t next) {
        focus.push_back(GetFocus());
        pages.push_back(dlg.activePage());
        if (next == presses.size()) {
            PostMessageW(dlg.hwnd(), WM_CLOSE, 0, 0);
            return;
        }
        tvtest::PressKey(presses[next].key, presses[next].shift, presses[next].ctrl);
        tvtest::RunSoon([&step, next] { step(next + 1); });
    };
    dlg.SelectPage(TFrmMySettings::kPageGeneral);
    OpenWhile(dlg, [&] { step(0); });
    ASSERT_EQ(focus.size(), presses.size() + 1);
    // The path box first; Tab goes on to its button; Shift+Tab back, then round to the dialog's buttons.
    EXPECT_EQ(focus[0], dlg.EdtRecordPath);
    EXPECT_EQ(focus[1], dlg.BtnSelectPath);
    EXPECT_EQ(focus[2], dlg.EdtRecordPath);
    EXPECT_EQ(focus[3], dlg.BtnCancel);
    EXPECT_EQ(focus[4], dlg.BtnConfirm);
    // Ctrl+Tab turns to the next page, Ctrl+Shift+Tab back and round past the first.
    EXPECT_EQ(pages, (std::vector<int>{0, 0, 0, 0, 0, 1, 0, 3}));
    EXPECT_EQ(focus[5], dlg.BtnConfirm);  // the focus was not on the page, so it stays
}

TEST(SettingsDialogPlace, OpensCentredOverItsOwner) {
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Fixture f;
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 100, 700, 600,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    {
        TFrmMySettings dlg{f.options};
        ASSERT_TRUE(dlg.Create(owner));
        RECT box{}, over{};
        OpenWhile(dlg, [&] {
            GetWindowRect(dlg.hwnd(), &box);
            PostMessageW(dlg.hwnd(), WM_CLOSE, 0, 0);
        });
        GetWindowRect(owner, &over);
        EXPECT_LE(std::abs((box.left + box.right) - (over.left + over.right)), 2);
        EXPECT_LE(std::abs((box.top + box.bottom) - (over.top + over.bottom)), 2);
    }
    DestroyWindow(owner);
}
