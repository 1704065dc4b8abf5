#include "app/handoff.h"

#include "base/constants.h"
#include "app/folders.h"
#include "base/file_util.h"
#include "base/text_file.h"

namespace tv {

COPYDATASTRUCT HandOffMessageData() {
    COPYDATASTRUCT cds{};
    cds.dwData = 0;
    cds.cbData = sizeof(kHandOffText);
    cds.lpData = const_cast<char*>(kHandOffText);
    return cds;
}

bool ReadMenuFile(std::vector<std::wstring>& lines) {
    std::wstring path = DataFile(kMenuFileName);
    return FileExists(path) && ReadTextLines(path, lines);
}

LRESULT HandOff(HWND sender, const std::vector<std::wstring>& params) {
    std::vector<std::wstring> lines = HandOffLines(params, ReadMenuFile);
    WriteTextLines(DataFile(kHandOffFileName), lines);
    HWND running = FindWindowW(kMainWindowClass, nullptr);
    if (!running) return 0;  // the running instance is still starting: nobody reads them now
    COPYDATASTRUCT cds = HandOffMessageData();
    return SendMessageW(running, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                        reinterpret_cast<LPARAM>(&cds));
}

bool ReadHandOffFile(std::vector<IntakeStep>& steps) {
    steps.clear();
    std::wstring path = DataFile(kHandOffFileName);
    std::vector<std::wstring> lines;
    if (!FileExists(path) || !ReadTextLines(path, lines)) return false;
    steps = HandOffFileSteps(lines);
    return true;
}

}  // namespace tv
