// Adding to the shown record and searching all records, through the window's own record:
//  - the search over 100 records of 500 items each, against the XML library reading the same
//    files and the matches inserted into a plain tree view of the benchmark's own;
//  - 300 documents added to records of 1,000 and of 4,000 items: four times the record should
//    not cost four times as much to add to.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/intake.h"
#include "app/settings_store.h"
#include "base/handles.h"
#include "base/redraw.h"
#include "base/strings.h"
#include "bench_util.h"
#include "records/msxml.h"
#include "records/record_file.h"
#include "support/record_entries.h"
#include "support/test_support.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/commands/recording_commands.h"
#include "ui/message_pump.h"
#include "app/settings_keys.h"

namespace {

constexpr int kRecords = 100, kItems = 500, kMatchEvery = 100;

void WriteSearchRecords(const std::wstring& folder) {
    for (int r = 0; r < kRecords; ++r) {
        tv::ShownRecord record;
        for (int i = 0; i < kItems; ++i) {
            std::wstring name = (i % kMatchEvery == 7 ? L"readme" : L"file") + std::to_wstring(i) + L".tvx";
            tvtest::AddEntry(record, nullptr, L"Item " + std::to_wstring(i),
                             L"C:\\Bench\\Rec" + std::to_wstring(r) + L"\\" + name, tv::kProgramOrDocument, 12);
        }
        wchar_t name[64];
        swprintf(name, 64, L"\\Dec 01,2026_%03d.tolvane", r + 1);
        tv::WriteRecordFile(record, folder + name, L"C:\\tolvane.exe");
    }
}

// The XML library reads every record; matching items go into a plain tree view.
int SearchBaseline(const std::wstring& folder, HWND tree) {
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    int found = 0;
    BSTR path = SysAllocString(L"path"), text = SysAllocString(L"text");
    for (int r = 0; r < kRecords; ++r) {
        wchar_t name[64];
        swprintf(name, 64, L"\\Dec 01,2026_%03d.tolvane", r + 1);
        tv::ComPtr<IXMLDOMDocument> doc;
        CoCreateInstance(tv::kClsidDomDocument60, nullptr, CLSCTX_INPROC_SERVER, tv::kIidXmlDomDocument, doc.put_void());
        if (!doc)
            CoCreateInstance(tv::kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, tv::kIidXmlDomDocument,
                             doc.put_void());
        doc->put_async(VARIANT_FALSE);
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_BSTR;
        source.bstrVal = SysAllocString((folder + name).c_str());
        VARIANT_BOOL ok = VARIANT_FALSE;
        doc->load(source, &ok);
        VariantClear(&source);
        tv::ComPtr<IXMLDOMElement> root;
        doc->get_documentElement(root.put());
        tv::ComPtr<IXMLDOMNode> child;
        if (root) root->get_firstChild(child.put());
        while (child) {
            tv::ComPtr<IXMLDOMElement> e;
            if (SUCCEEDED(child->QueryInterface(tv::kIidXmlDomElement, e.put_void()))) {
                VARIANT p, t;
                VariantInit(&p);
                VariantInit(&t);
                e->getAttribute(path, &p);
                e->getAttribute(text, &t);
                std::wstring ps = p.vt == VT_BSTR ? tv::ToLower(p.bstrVal) : L"";
                std::wstring ts = t.vt == VT_BSTR ? tv::ToLower(t.bstrVal) : L"";
                if (ps.find(L"readme") != std::wstring::npos || ts.find(L"readme") != std::wstring::npos) {
                    TVINSERTSTRUCTW ins{};
                    ins.hParent = TVI_ROOT;
                    ins.hInsertAfter = TVI_SORT;
                    ins.item.mask = TVIF_TEXT;
                    ins.item.pszText = t.bstrVal;
                    SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins));
                    ++found;
                }
                VariantClear(&p);
                VariantClear(&t);
            }
            tv::ComPtr<IXMLDOMNode> next;
            child->get_nextSibling(next.put());
            child = std::move(next);
        }
    }
    SysFreeString(path);
    SysFreeString(text);
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    return found;
}

struct BenchWindow {
    tvtest::ScopedDataFolders folders;
    tv::Settings settings = tv::OpenSettingsFiles();
    std::unique_ptr<tv::TTolvaneWindow> window;
    explicit BenchWindow(const std::wstring& recordFolder) {
        settings.user->WriteString(tv::keys::kDefault, tv::keys::kRecordPath, recordFolder);
        window = std::make_unique<tv::TTolvaneWindow>(settings, nullptr);
        window->parts().recording.askRecord = [](auto&&...) { return false; };  // no first recording
        if (!window->Create(GetModuleHandleW(nullptr))) return;
        window->Show(SW_SHOWNORMAL);
        for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();  // the first-run step
    }
    ~BenchWindow() {
        if (window && window->hwnd()) DestroyWindow(window->hwnd());
    }
};

std::vector<tv::IntakeStep> Paths(const std::wstring& prefix, int count) {
    std::vector<tv::IntakeStep> steps;
    for (int i = 0; i < count; ++i) steps.push_back({tv::IntakeStep::Kind::Item, prefix + std::to_wstring(i) + L".tvx"});
    return steps;
}

// The time to add 300 documents to a shown record of `size` items.
double AddTo(int size) {
    tvtest::TempFolder records;
    BenchWindow bench(records.path());
    tv::RecordSession& session = bench.window->parts().session;
    tv::TakeHandOffSteps(session, Paths(L"C:\\Existing\\Group", size));
    double ms = bench::Millis([&] {
        tv::RedrawSuspender quiet(session.RecordTree());  // as every intake and recording adds
        for (const auto& step : Paths(L"C:\\Docs\\document", 300))
            if (!session.Contains(step.path)) session.AddItem(step.path, L"");
    });
    if (!session.Contains(L"C:\\Docs\\document299.tvx")) std::printf("the last document was not added\n");
    return ms;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InitCommonControls();
    {
        tvtest::TempFolder records;
        WriteSearchRecords(records.path());
        BenchWindow bench(records.path());
        HWND plain = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                     WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0,
                                     300, 300, bench.window->hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
        std::vector<double> searches, baselines;
        int found = 0;
        size_t shown = 0;
        for (int run = 0; run < bench::kMinRounds; ++run) {
            baselines.push_back(bench::Millis([&] { found = SearchBaseline(records.path(), plain); }));
            searches.push_back(bench::Millis([&] {
                tv::RedrawSuspender quiet(bench.window->parts().session.RecordTree());  // as the search button does
                bench.window->parts().session.Search(L"readme");
            }));
            shown = bench.window->parts().session.record().docs.NodeCount();
        }
        DestroyWindow(plain);
        std::printf("search of %d records of %d items: %zu nodes shown (baseline found %d); baseline (XML read + plain "
                    "tree) median %.1f ms\n",
                    kRecords, kItems, shown, found, bench::Median(baselines));
        bench::ReportLimit("search of 100 records of 500 items against 500 ms", searches, 500);
    }
    std::vector<double> thousands, fourThousands;
    for (int round = 0; round < bench::kMinRounds; ++round) {
        thousands.push_back(AddTo(1000));
        fourThousands.push_back(AddTo(4000));
    }
    bench::Report("add 300 documents: 4000 items against 1000", fourThousands, thousands, 5);
    return 0;
}
