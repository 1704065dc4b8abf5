#include "app/startup.h"

#include <gtest/gtest.h>

#include "base/constants.h"
#include "app/handoff.h"
#include "app/intake.h"
#include "app/settings_store.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "support/test_support.h"
#include "app/settings_keys.h"

using namespace tv;
using Calls = std::vector<std::string>;

namespace {

class FakeHost : public FirstRunHost {
public:
    tvtest::TempFolder dir;
    SettingsStore user{dir.file(L"user.ini")};
    SettingsStore common{dir.file(L"common.ini")};
    int records = 0;
    bool admin = false;
    Calls calls;

    SettingsStore& UserSettings() override { return user; }
    SettingsStore& CommonSettings() override { return common; }
    void ShowRunAsAdminItems(bool show) override { calls.push_back(show ? "admin items shown" : "admin items hidden"); }
    bool RunningAsAdmin() override { return admin; }
    void PinStartMenuShortcut() override { calls.push_back("pin"); }
    void LoadAndApplyOptions() override { calls.push_back("options"); }
    int ReadRecordList() override { calls.push_back("list"); return records; }
    void SelectRecord(int i) override { calls.push_back("select " + std::to_string(i)); }
    void ShowSelectedRecord() override { calls.push_back("show"); }
    void TakeCommandLineItems() override { calls.push_back("intake"); }
    void LayOut() override { calls.push_back("layout"); }
    void EnsureSendToShortcut() override { calls.push_back("sendto"); }
    void CheckForUpdate() override { calls.push_back("update"); }
    void ReplayStartupRecord() override { calls.push_back("replay"); }
    void PressRecordButton() override { calls.push_back("record button"); }
    void RecordNewNow() override { calls.push_back("record now"); }
    void Reopen(int m) override { calls.push_back("reopen " + std::to_string(m)); }
};

StartupState State(std::vector<std::wstring> params, std::wstring version = L"windows") {
    StartupState s;
    s.params = std::move(params);
    s.switches = ReadSwitches(s.params);
    s.versionName = std::move(version);
    s.startupPhase = true;
    return s;
}

}  // namespace

TEST(FirstRunStep, ANewUserWithoutParametersPressesTheRecordButton) {
    FakeHost host;
    StartupState state = State({});
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.calls, (Calls{"admin items shown", "options", "list", "layout", "record button", "intake"}));
    EXPECT_FALSE(state.startupPhase);
}

TEST(FirstRunStep, ANewUserStartedWithAnItemRecordsAtOnce) {
    FakeHost host;
    StartupState state = State({L"C:\\a.txt", L"/runasadmin"});
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.calls, (Calls{"admin items hidden", "options", "list", "layout", "record now", "intake"}));
}

TEST(FirstRunStep, StoredRecordIsShownAndTheStartupRecordReplayedOnlyInReplayMode) {
    FakeHost host;
    host.records = 3;
    host.user.WriteInteger(keys::kDefault, keys::kSelectedRecord, 2);
    host.user.WriteInteger(keys::kDefault, keys::kStartupRecord, 0);
    StartupState state = State({L"/run"});
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.calls, (Calls{"admin items shown", "options", "list", "select 2", "show", "intake", "layout",
                                 "replay", "select 2", "show", "intake"}));

    FakeHost plain;
    plain.records = 1;
    plain.user.WriteInteger(keys::kDefault, keys::kStartupRecord, 0);
    StartupState noReplay = State({});
    RunFirstRunStep(plain, noReplay);
    EXPECT_EQ(std::count(plain.calls.begin(), plain.calls.end(), "replay"), 0);
}

TEST(FirstRunStep, Windows7PinsOnTheSecondStartOfANonAdministrator) {
    FakeHost host;
    StartupState state = State({L"/install"}, L"windows 7");
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.user.ReadInteger(keys::kInstall, keys::kPinToTaskBar, -1), 1);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "pin"), 0);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "sendto"), 1);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "update"), 1);

    host.admin = true;
    host.calls.clear();
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.user.ReadInteger(keys::kInstall, keys::kPinToTaskBar, -1), 1);

    host.admin = false;
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.user.ReadInteger(keys::kInstall, keys::kPinToTaskBar, -1), 2);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "pin"), 1);
    RunFirstRunStep(host, state);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "pin"), 1);
}

TEST(FirstRunStep, OtherVersionsNeitherPinNorWriteTheSendToShortcut) {
    FakeHost host;
    StartupState state = State({L"/install"}, L"windows");
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.user.ReadInteger(keys::kInstall, keys::kPinToTaskBar, -1), -1);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "sendto"), 0);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "update"), 0);
}

TEST(FirstRunStep, TheResumeMarkerActsOnceAndIsSetBack) {
    FakeHost host;
    host.common.WriteInteger(keys::kStatus, keys::kOpenWindow, 3);
    StartupState state = State({});
    RunFirstRunStep(host, state);
    EXPECT_EQ(host.calls.back(), "reopen 3");
    EXPECT_EQ(host.common.ReadInteger(keys::kStatus, keys::kOpenWindow, -1), 0);
    host.calls.clear();
    RunFirstRunStep(host, state);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "reopen 3"), 0);
}

// Stored values outside the ones the program writes: the record index past either end of the
// list shows the first record, a resume marker no dialog writes reopens nothing and is set back,
// a pinning state past "pinned" pins nothing.
TEST(FirstRunStep, StoredValuesOutsideTheirRangeFallBackToWhatAUserExpects) {
    const struct {
        const wchar_t* index;
        int selected;
    } indexes[] = {{L"0", 0}, {L"2", 2}, {L"3", 0}, {L"-1", 0}, {L"2147483647", 0}, {L"-2147483648", 0}, {L"x", 0}};
    for (const auto& c : indexes) {
        FakeHost host;
        host.records = 3;
        host.user.WriteString(keys::kDefault, keys::kSelectedRecord, c.index);
        StartupState state = State({});
        RunFirstRunStep(host, state);
        const std::string select = "select " + std::to_string(c.selected);
        EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), select), 2) << ToUtf8(c.index);
    }

    const struct {
        int marker;
        bool reopens;
    } markers[] = {{1, true}, {4, true}, {5, false}, {-1, false}, {2147483647, false}};
    for (const auto& c : markers) {
        FakeHost host;
        host.common.WriteInteger(keys::kStatus, keys::kOpenWindow, c.marker);
        StartupState state = State({});
        RunFirstRunStep(host, state);
        EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "reopen " + std::to_string(c.marker)),
                  c.reopens ? 1 : 0) << c.marker;
        EXPECT_EQ(host.common.ReadInteger(keys::kStatus, keys::kOpenWindow, -9), 0) << c.marker;
    }

    for (int pinState : {3, -1}) {
        FakeHost host;
        host.user.WriteInteger(keys::kInstall, keys::kPinToTaskBar, pinState);
        StartupState state = State({}, L"windows 7");
        RunFirstRunStep(host, state);
        EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "pin"), 0) << pinState;
        EXPECT_EQ(host.user.ReadInteger(keys::kInstall, keys::kPinToTaskBar, -9), pinState);
    }
}

namespace {

class FakeRecord : public RecordIntake {
public:
    std::vector<std::wstring> items, noted;
    std::wstring last;
    int saves = 0, shown = 0, smart = 0, namesLoaded = 0;
    HWND tree = nullptr;
    bool failOnAdd = false;

    HWND RecordTree() override { return tree; }
    void LoadProgramNames() override { ++namesLoaded; }
    void ClearLastAdded() override { last.clear(); }
    bool Contains(const std::wstring& p) override {
        for (auto& i : items)
            if (EqualsNoCase(Trim(i), Trim(p))) return true;
        return false;
    }
    void NoteExisting(const std::wstring& p) override { noted.push_back(p); last = p; }
    void AddItem(const std::wstring& p, const std::wstring&) override {
        if (failOnAdd) throw std::runtime_error("add failed");
        items.push_back(p);
        last = p;
    }
    void SaveCurrentRecord() override { ++saves; }
    void ShowSelectedRecord() override {}
    void ShowAllPageAndLastAdded() override { ++shown; }
    void RestoreSmartRecordBox() override { ++smart; }
};

// What the window does with a hand-off: reads the file when the message comes, takes it later.
void ReceiveFile(RecordIntake& record) {
    std::vector<IntakeStep> steps;
    if (ReadHandOffFile(steps)) TakeHandOffSteps(record, steps);
}

}  // namespace

TEST(Intake, TheHandOffFileIsTakenOnceAndKnownItemsAreOnlySelected) {
    tvtest::ScopedDataFolders folders;
    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    ASSERT_TRUE(WriteTextLines(folders.dataFolder() + L"\\sendparam.txt",
                               {L"C:\\a.txt", L"c:\\A.TXT", L"C:\\b.txt*C:\\c.txt*"}));
    FakeRecord record;
    ReceiveFile(record);
    EXPECT_EQ(record.items, (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b.txt", L"C:\\c.txt"}));
    EXPECT_EQ(record.noted, std::vector<std::wstring>{L"c:\\A.TXT"});
    EXPECT_EQ(record.saves, 1);
    EXPECT_EQ(record.last, L"C:\\c.txt");

    // The same hand-off again adds nothing and saves nothing.
    ReceiveFile(record);
    EXPECT_EQ(record.items.size(), 3u);
    EXPECT_EQ(record.saves, 1);
}

TEST(Intake, WithoutAHandOffFileNothingIsTaken) {
    tvtest::ScopedDataFolders folders;
    FakeRecord record;
    ReceiveFile(record);
    EXPECT_TRUE(record.items.empty());
    EXPECT_EQ(record.saves, 0);
}

TEST(Intake, AFailingItemEndsTheIntakeAndTheTreeRepaintsAgain) {
    tvtest::ScopedDataFolders folders;
    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    ASSERT_TRUE(WriteTextLines(folders.dataFolder() + L"\\sendparam.txt", {L"C:\\a.txt"}));
    FakeRecord record;
    record.tree = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    record.failOnAdd = true;
    ReceiveFile(record);
    EXPECT_TRUE(IsWindowVisible(record.tree));
    EXPECT_EQ(record.shown, 1);
    DestroyWindow(record.tree);
}

TEST(Intake, CommandLineTakesItemsListsAndTheMenuFile) {
    tvtest::ScopedDataFolders folders;
    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    ASSERT_TRUE(WriteTextLines(folders.dataFolder() + L"\\ctmenu.txt", {L"C:\\m.txt", L"C:\\a.txt"}));
    FakeRecord record;
    TakeCommandLineItems(record, {L"/run", L"C:\\a.txt", L"/ctmenu", L"C:\\x.txt*C:\\y.txt*"});
    EXPECT_EQ(record.items,
              (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\m.txt", L"C:\\x.txt", L"C:\\y.txt"}));
    EXPECT_EQ(record.noted, std::vector<std::wstring>{L"C:\\a.txt"});
    EXPECT_EQ(record.smart, 1);  // the Smart Record box is read back after a menu hand-off
    EXPECT_EQ(record.namesLoaded, 1);
    EXPECT_GE(record.saves, 2);  // after the list, and at the end

    FakeRecord none;
    TakeCommandLineItems(none, {L"/run", L""});
    EXPECT_TRUE(none.items.empty());
    EXPECT_EQ(none.saves, 0);
    EXPECT_EQ(none.smart, 0);
}
