// Writing and reading back a record of 5000 top-level nodes with two children each, into the
// four record trees, against a baseline of the unavoidable work measured in the same run:
// the XML library loading the same file, plus inserting as many nodes into tree-view controls
// with repainting off.
#include <windows.h>
#include <objidl.h>
#include <commctrl.h>
#include <oleauto.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "base/handles.h"
#include "records/msxml.h"
#include "records/record_file.h"
#include "support/test_support.h"
#include "ui/main/record_views.h"

namespace {

void BuildRecord(tv::ShownRecord& r) {
    for (int i = 0; i < 5000; ++i) {
        tv::TMyDoc d;
        d.kind = 1 + i % 3;
        d.path = L"C:\\Records\\group" + std::to_wstring(i);
        d.title = L"Group " + std::to_wstring(i);
        tv::RecordNode* top = r.docs.Add(nullptr, d.title, r.items.Append(d));
        top->expanded = i % 2 == 0;
        for (int c = 0; c < 2; ++c) {
            d.path = L"C:\\Records\\group" + std::to_wstring(i) + L"\\document " + std::to_wstring(c) + L".txt";
            d.title = L"document " + std::to_wstring(c);
            r.docs.Add(top, d.title, r.items.Append(d));
        }
    }
}

// Inserts one node per "item" element under `parent`, walking the DOM; returns the count.
int InsertElements(HWND tree, HTREEITEM parent, IXMLDOMNode* element) {
    int count = 0;
    tv::ComPtr<IXMLDOMNode> child;
    element->get_firstChild(child.put());
    while (child) {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_ELEMENT) {
            tv::ComPtr<IXMLDOMNamedNodeMap> attributes;
            child->get_attributes(attributes.put());
            tv::ComPtr<IXMLDOMNode> text;
            BSTR name = SysAllocString(L"text");
            attributes->getNamedItem(name, text.put());
            SysFreeString(name);
            BSTR value = nullptr;
            text->get_text(&value);
            TVINSERTSTRUCTW ins{};
            ins.hParent = parent;
            ins.hInsertAfter = TVI_LAST;
            ins.item.mask = TVIF_TEXT;
            ins.item.pszText = value;
            auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
            SysFreeString(value);
            count += 1 + InsertElements(tree, item, child.get());
        }
        tv::ComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.put());
        child = std::move(next);
    }
    return count;
}

int Baseline(const std::wstring& file, tv::RecordViews& views) {
    tv::ComPtr<IXMLDOMDocument> doc;
    CoCreateInstance(tv::kClsidDomDocument60, nullptr, CLSCTX_INPROC_SERVER, tv::kIidXmlDomDocument, doc.put_void());
    if (!doc)
        CoCreateInstance(tv::kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, tv::kIidXmlDomDocument, doc.put_void());
    doc->put_async(VARIANT_FALSE);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(file.c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    doc->load(source, &ok);
    VariantClear(&source);
    tv::ComPtr<IXMLDOMElement> root;
    doc->get_documentElement(root.put());
    int count = 0;
    // The same number of insertions as the four trees get: the whole record, then again
    // split over the per-kind trees.
    for (HWND tree : {views.Tree(0), views.Tree(1)}) {
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        TreeView_DeleteAllItems(tree);
        count += InsertElements(tree, TVI_ROOT, root.get());
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    }
    return count;
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                nullptr, nullptr, nullptr);
    tv::RecordViews views;
    if (!views.Create(host, nullptr)) return 1;
    for (int page = 1; page < 4; ++page) views.Tree(page);  // all four trees are filled

    tvtest::TempFolder dir;
    std::wstring file = dir.file(L"bench.tolvane");
    tv::ShownRecord source;
    BuildRecord(source);

    const int kRounds = 7;
    std::vector<double> writes, reads, baselines;
    size_t nodes = 0;
    int baselineNodes = 0;
    for (int round = 0; round < kRounds; ++round) {
        writes.push_back(bench::Millis([&] {
            tv::WriteRecordFile(source, file, L"bench");
            tv::WriteSelectionFile(source, tv::SelectionFilePath(file));
        }));
        tv::ShownRecord shown;
        reads.push_back(bench::Millis([&] {
            tv::ReadRecordFile(shown, file);
            tv::ReadSelectionFile(shown, tv::SelectionFilePath(file));
            views.Show(shown);
        }));
        nodes = shown.docs.NodeCount() + shown.apps.NodeCount() + shown.paths.NodeCount() + shown.pages.NodeCount();
        baselines.push_back(bench::Millis([&] { baselineNodes = Baseline(file, views); }));
    }
    double w = bench::Median(writes), r = bench::Median(reads), b = bench::Median(baselines);
    std::printf("record of 5000 top-level nodes with 2 children: %u nodes in the four trees, baseline %d nodes\n",
                static_cast<unsigned>(nodes), baselineNodes);
    std::printf("read into the four trees %.1f ms, write %.1f ms, baseline (load + insert) %.1f ms\n", r, w, b);
    std::printf("ratio read/baseline %.2f (target at most 1.5), (write+read)/baseline %.2f\n", r / b, (w + r) / b);
    DestroyWindow(host);
    return 0;
}
