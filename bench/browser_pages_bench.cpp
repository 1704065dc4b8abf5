// A recording's scans and adds while 30 windows of 10 programs started with file arguments and
// 5 browser windows are open, against the bare platform calls that read the same, in the same
// run: the windows enumerated with their classes, titles and processes, each process's path and
// command line, each browser window's accessible tree down to its address bar, and the DDE
// browsers asked once for their page (the recording asks them in its scan and its record step).
#include <windows.h>
#include <oleacc.h>
#include <psapi.h>
#include <winternl.h>

#include <ddeml.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/file_util.h"
#include "base/handles.h"
#include "bench_util.h"
#include "platform_baselines.h"
#include "capture/recording.h"
#include "support/test_support.h"

namespace {

constexpr int kPrograms = 10, kWindowsEach = 3, kRounds = 21;
class NoView : public tv::RecordAddView {
    void NodeAdded(int, const tv::RecordNode&) override {}
    void ShowWebPageTab() override {}
};

struct WindowFacts {
    HWND window;
    DWORD pid;
    std::wstring cls, title;
};

BOOL CALLBACK Collect(HWND window, LPARAM lp) {
    if (!IsWindowVisible(window)) return TRUE;
    WindowFacts f{window, 0, std::wstring(256, L'\0'), std::wstring(512, L'\0')};
    f.cls.resize(GetClassNameW(window, &f.cls[0], 256));
    f.title.resize(GetWindowTextW(window, &f.title[0], 512));
    GetWindowThreadProcessId(window, &f.pid);
    reinterpret_cast<std::vector<WindowFacts>*>(lp)->push_back(std::move(f));
    return TRUE;
}

// The accessible tree below `acc` walked in order until its first editable text; true when
// found, with its value read.
bool WalkToText(IAccessible* acc, std::wstring& value) {
    LONG count = 0;
    if (FAILED(acc->get_accChildCount(&count)) || count <= 0) return false;
    std::vector<VARIANT> kids(count);
    LONG got = 0;
    if (FAILED(AccessibleChildren(acc, 0, count, kids.data(), &got))) return false;
    bool found = false;
    for (LONG i = 0; i < got; ++i) {
        if (!found) {
            tv::ComPtr<IAccessible> child;
            VARIANT self{};
            self.vt = VT_I4;
            IAccessible* holder = acc;
            VARIANT id = kids[i];
            if (kids[i].vt == VT_DISPATCH && SUCCEEDED(kids[i].pdispVal->QueryInterface(__uuidof(IAccessible), child.put_void()))) {
                holder = child.get();
                id = self;
            }
            VARIANT role{};
            holder->get_accRole(id, &role);
            if (role.lVal == ROLE_SYSTEM_TEXT) {
                tv::Bstr text;
                holder->get_accValue(id, text.put());
                value = text.text();
                found = true;
            } else if (role.lVal != ROLE_SYSTEM_DOCUMENT && child) {
                found = WalkToText(child.get(), value);
            }
        }
        VariantClear(&kids[i]);
    }
    return found;
}

struct BaselineCounts {
    int windows = 0, paths = 0, commandLines = 0, addresses = 0, ddeAnswers = 0;
};

HDDEDATA CALLBACK NoDdeEvents(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// A conversation opened with each DDE browser service and its page asked for.
int AskDdeBrowsers() {
    DWORD instance = 0;
    if (DdeInitializeW(&instance, NoDdeEvents, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 0;
    int answers = 0;
    HSZ topic = DdeCreateStringHandleW(instance, L"WWW_GetWindowInfo", CP_WINUNICODE);
    HSZ item = DdeCreateStringHandleW(instance, L"0xFFFFFFFF,sURL,sTitle", CP_WINUNICODE);
    for (const wchar_t* name : {L"Firefox", L"Netscape", L"Mosaic", L"Netscp6", L"Mozilla"}) {
        HSZ service = DdeCreateStringHandleW(instance, name, CP_WINUNICODE);
        if (HCONV conversation = DdeConnect(instance, service, topic, nullptr)) {
            if (HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT, XTYP_REQUEST, 3000, nullptr)) {
                ++answers;
                DdeFreeDataHandle(data);
            }
            DdeDisconnect(conversation);
        }
        DdeFreeStringHandle(instance, service);
    }
    DdeFreeStringHandle(instance, item);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return answers;
}

BaselineCounts Baseline(bench::NtQueryInformationProcessFn query) {
    BaselineCounts c;
    std::vector<WindowFacts> windows;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
    c.windows = static_cast<int>(windows.size());
    std::map<DWORD, std::wstring> programs;
    for (const WindowFacts& w : windows) {
        if (programs.count(w.pid)) continue;
        std::wstring& path = programs[w.pid];
        tv::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, w.pid));
        if (!process.valid()) continue;
        wchar_t buffer[MAX_PATH];
        if (GetModuleFileNameExW(process.get(), nullptr, buffer, MAX_PATH)) {
            path = buffer;
            ++c.paths;
        }
        std::wstring line;
        if (bench::ReadCommandLine(query, process.get(), line)) ++c.commandLines;
    }
    for (const WindowFacts& w : windows) {
        const std::wstring& path = programs[w.pid];
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        if (!((w.cls == L"Chrome_WidgetWin_1" && _wcsicmp(name.c_str(), L"chrome.exe") == 0) ||
              (w.cls == L"MozillaWindowClass" && _wcsicmp(name.c_str(), L"firefox.exe") == 0)))
            continue;
        DWORD_PTR result = 0;
        tv::ComPtr<IAccessible> root;
        if (!SendMessageTimeoutW(w.window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG, 3000,
                                 &result) ||
            FAILED(ObjectFromLresult(static_cast<LRESULT>(result), __uuidof(IAccessible), 0, root.put_void())))
            continue;
        VARIANT self{};
        self.vt = VT_I4;
        tv::Bstr name2;
        root->get_accName(self, name2.put());
        std::wstring address;
        if (WalkToText(root.get(), address) && !address.empty()) ++c.addresses;
    }
    c.ddeAnswers = AskDdeBrowsers();
    return c;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    tvtest::TempFolder dir, docs, recent;
    std::vector<tvtest::Process> programs(kPrograms);
    for (int p = 0; p < kPrograms; ++p) {
        // Each program's windows are titled with the files it was started with.
        std::wstring files;
        for (int w = 0; w < kWindowsEach; ++w) {
            std::wstring file = docs.file(L"notes " + std::to_wstring(p) + L"-" + std::to_wstring(w) + L".txt");
            tvtest::WriteAll(file, "text");
            files += L" \"" + file + L"\"";
        }
        if (tvtest::StartHelperAs(dir, (L"tool" + std::to_wstring(p) + L".exe").c_str(), programs[p], files,
                                  kWindowsEach)
                .empty()) {
            std::printf("program %d did not come up\n", p);
            return 1;
        }
    }
    tvtest::Process chrome, firefox;
    if (!tvtest::StartBrowserStubAs(dir, L"chrome.exe", chrome, L"Chrome_WidgetWin_1",
                                    {L"One - Google Chrome|https://one.example/", L"Two - Google Chrome|two.example/b",
                                     L"Three - Google Chrome|https://three.example/c"}) ||
        !tvtest::StartBrowserStubAs(dir, L"firefox.exe", firefox, L"MozillaWindowClass",
                                    {L"Four \u2014 Mozilla Firefox|https://four.example/",
                                     L"Five \u2014 Mozilla Firefox|https://five.example/"})) {
        std::printf("the browser stubs did not come up\n");
        return 1;
    }
    const bench::NtQueryInformationProcessFn query = bench::NtQueryInformationProcessCall();

    tv::ShellWindowsHold shellWindows;  // the program keeps the shell's collection, too
    tv::InstalledProgramNames names;
    tv::RecordingSettings settings;
    settings.recordWebPages = true;
    std::vector<double> recordings, baselines;
    BaselineCounts counts;
    size_t items = 0, pages = 0;
    for (int round = 0; round < kRounds; ++round) {
        baselines.push_back(bench::Millis([&] { counts = Baseline(query); }));
        tv::ShownRecord record;
        NoView view;
        tv::RecordAdder adder(record, view);
        tv::RecentDocumentList documents;
        tv::RealRecordingSources sources(tv::ModulePath(), &shellWindows, recent.path());
        recordings.push_back(bench::Millis(
            [&] { tv::CaptureInto(adder, record, documents, names, sources, settings, tv::RecordingProgress{}); }));
        items = record.items.Count();
    }
    pages = tv::RealRecordingSources(tv::ModulePath()).OtherBrowserPages().size();
    std::printf("windows %d, program paths %d, command lines %d, addresses %d, DDE answers %d read by the baseline; "
                "the recording holds %u items, %u of them web pages\n",
                counts.windows, counts.paths, counts.commandLines, counts.addresses, counts.ddeAnswers,
                static_cast<unsigned>(items),
                static_cast<unsigned>(pages));
    bench::Report("recording, 30 program windows, 5 browser windows", recordings, baselines, 1.5);
    return 0;
}
