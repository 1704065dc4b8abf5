#pragma once
// Whole-process scenarios: each test runs its own copy of tolvane.exe in a folder of its own,
// so its single-instance block and its data folders are its own too.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>

#include "base/strings.h"
#include "base/file_util.h"
#include "records/record_file.h"
#include "records/record_library.h"
#include "support/test_support.h"

namespace tvtest {

class ProgramFolder {
public:
    ProgramFolder() {
        exe_ = dir_.file(L"tolvane.exe");
        CopyFileW((ExeFolder() + L"\\" TOLVANE_EXE).c_str(), exe_.c_str(), FALSE);
    }
    const std::wstring& exe() const { return exe_; }
    std::wstring file(const std::wstring& name) const { return dir_.file(name); }
    // A stand-in for the elevation program that notes its parameters in "admin_args.txt".
    void AddElevationProgram() {
        CopyFileW((ExeFolder() + L"\\fake_admin.exe").c_str(), dir_.file(L"tolvaneadmin.exe").c_str(),
                  FALSE);
    }

private:
    TempFolder dir_;
    std::wstring exe_;
};

// A start with no record asks before its first recording: the question the program shows.
inline HWND WaitForRecordQuestion(DWORD pid, DWORD timeoutMs) { return WaitForWindow(L"TFrmRecordType", pid, timeoutMs); }

inline bool HasRecords(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*.tolvane").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return true;
}

// Starts the program and waits for its main window; nullptr when none came up. When the data
// folder holds no record the program asks before recording; the test's user declines, and
// `asked` (when given) says whether the question came.
inline HWND StartProgram(Process& process, const std::wstring& exe, const std::wstring& params,
                         bool* asked = nullptr) {
    wchar_t documents[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    const bool fresh = !HasRecords(std::wstring(documents) + L"\\TolVane");
    if (!process.Start(exe, params)) return nullptr;
    HWND window = WaitForWindow(L"TTolvaneWindow", process.pid());
    HWND question = window && fresh ? WaitForRecordQuestion(process.pid(), 10000) : nullptr;
    if (question) PostMessageW(question, WM_CLOSE, 0, 0);
    if (asked) *asked = question != nullptr;
    return window;
}

// True when the program, started with `params`, shows its window and ends normally on close.
inline bool OpensAndClosesNormally(const std::wstring& exe, const std::wstring& params) {
    Process process;
    HWND window = StartProgram(process, exe, params);
    return window && CloseAndWait(window, process) == 0;
}

inline HWND RecordTreeOf(HWND mainWindow) {
    return GetDlgItem(mainWindow, 1001);  // the "All" tree
}

inline int NodeCount(HWND mainWindow) {
    return static_cast<int>(SendMessageW(RecordTreeOf(mainWindow), TVM_GETCOUNT, 0, 0));
}

// Writes a record of `items` documents "C:\\earlier\\e<n>.txt" to `path`.
inline void WriteEarlierRecord(const std::wstring& path, int items) {
    tv::ShownRecord r;
    for (int i = 0; i < items; ++i) {
        tv::TMyDoc d;
        d.path = d.groupKey = L"C:\\earlier\\e" + std::to_wstring(i) + L".txt";
        d.title = L"e" + std::to_wstring(i) + L".txt";
        r.docs.Add(nullptr, d.title, r.items.Append(d));
    }
    ASSERT_TRUE(tv::WriteRecordFile(r, path, L"test"));
}

// The item paths of a record file, in lower case; the file must read whole.
inline std::set<std::wstring> RecordPaths(const std::wstring& path) {
    tv::ShownRecord r;
    EXPECT_EQ(tv::ReadRecordFile(r, path), tv::ReadOutcome::Complete);
    std::set<std::wstring> paths;
    for (int i = 0; i < r.items.Count(); ++i) paths.insert(tv::ToLower(r.items.At(i).path));
    return paths;
}

// Waits up to 30 seconds for the "All" tree to hold `count` nodes.
inline bool WaitForNodes(HWND window, int count) {
    for (int i = 0; i < 300; ++i, Sleep(100))
        if (NodeCount(window) == count) return true;
    return NodeCount(window) == count;
}

// Removes a file when the test ends, passed or not.
struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() { DeleteFileW(path.c_str()); }
};

// Today's first record in `folder`, as a first start names it, once it is written (up to 30
// seconds); the path either way.
inline std::wstring WaitForTodaysFirstRecord(const std::wstring& folder) {
    SYSTEMTIME today;
    GetLocalTime(&today);
    const std::wstring record = tv::NewRecordName(folder, today, [](const std::wstring&) { return false; });
    for (int i = 0; i < 300 && !tv::FileExists(record); ++i) Sleep(100);
    return record;
}

}  // namespace tvtest
