#pragma once
// The main window as the live options see it, remembering what it was told.
#include <string>
#include <vector>

#include "app/options.h"

namespace tvtest {

struct FakeOptionsHost : tv::OptionsHost {
    tv::MenuChecks checks;
    int startupIndex = -1, textSize = 0, interval = 0, textSizeApplied = 0, filterHidden = 0, adminRuns = 0;
    bool onTop = false, admin = false;
    bool restartStarts = true;  // what RunAsAdministrator answers
    std::vector<std::wstring> listsRead, told;
    void SetMenuChecks(const tv::MenuChecks& c) override { checks = c; }
    int StartupRecordIndex() override { return startupIndex; }
    void SetStartupRecordIndex(int i) override { startupIndex = i; }
    void SetTextSize(int s) override { textSize = s; }
    void ApplyTextSize() override { ++textSizeApplied; }
    void SetRecordInterval(int s) override { interval = s; }
    void SetAlwaysOnTop(bool on) override { onTop = on; }
    void HideStartFilterList() override { ++filterHidden; }
    void ReadRecordList(const std::wstring& folder) override { listsRead.push_back(folder); }
    bool RunningAsAdmin() override { return admin; }
    bool RunAsAdministrator() override {
        ++adminRuns;
        return restartStarts;
    }
    void Tell(const std::wstring& text) override { told.push_back(text); }
};

}  // namespace tvtest
