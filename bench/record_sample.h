#pragma once
// The sample records of the record benchmarks (5000 top-level nodes with two children each, and
// an everyday one of 50 programs with 3 documents each) and their common baseline: the XML
// library loading the record file, plus inserting as many nodes into plain tree-view controls
// of the benchmark's own, with repainting off. The baseline never touches the program's trees,
// so whatever slows those down shows in the ratio.
#include <windows.h>
#include <objidl.h>
#include <commctrl.h>
#include <oleauto.h>

#include <string>

#include "base/handles.h"
#include "records/msxml.h"
#include "records/record_file.h"

namespace bench {

// `word` starts each top-level caption, so two records of one size can look different.
inline void BuildRecord(tv::ShownRecord& r, int top = 5000, int children = 2, const std::wstring& word = L"Group") {
    for (int i = 0; i < top; ++i) {
        tv::TMyDoc d;
        d.kind = 1 + i % 3;
        d.path = L"C:\\Records\\group" + std::to_wstring(i);
        d.title = word + L" " + std::to_wstring(i);
        tv::RecordNode* top = r.docs.Add(nullptr, d.title, r.items.Append(d));
        top->expanded = i % 2 == 0;
        for (int c = 0; c < children; ++c) {
            d.path = L"C:\\Records\\group" + std::to_wstring(i) + L"\\document " + std::to_wstring(c) + L".txt";
            d.title = L"document " + std::to_wstring(c);
            r.docs.Add(top, d.title, r.items.Append(d));
        }
    }
}

// Inserts one node per "item" element under `parent`, walking the DOM; returns the count.
inline int InsertElements(HWND tree, HTREEITEM parent, IXMLDOMNode* element) {
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

// Two tree views as the platform makes them, with the styles of the program's trees.
struct PlainTrees {
    HWND trees[2] = {};
    explicit PlainTrees(HWND parent) {
        for (HWND& tree : trees)
            tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                   WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 300,
                                   300, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~PlainTrees() {
        for (HWND tree : trees) DestroyWindow(tree);
    }
};

inline int Baseline(const std::wstring& file, const PlainTrees& plain) {
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
    for (HWND tree : plain.trees) {
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        TreeView_DeleteAllItems(tree);
        count += InsertElements(tree, TVI_ROOT, root.get());
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    }
    return count;
}

}  // namespace bench
