#include "records/record_file.h"

#include <objidl.h>
#include <oleauto.h>

#include <stdexcept>

#include "base/debug_log.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/late_imports.h"
#include "base/scope_exit.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "base/xml_text.h"
#include "records/msxml.h"

namespace tv {

namespace {


struct ReadStopped : std::runtime_error {
    ReadStopped() : std::runtime_error("record file stops here") {}
};

bool CreateDocument(ComPtr<IXMLDOMDocument>& doc) {
    for (const CLSID& clsid : {kClsidDomDocument60, kClsidDomDocument30})
        if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument, doc.put_void())))
            return true;
    return false;
}

// One item element with its children, as text. The record file is written as text directly:
// building it in the XML library node by node cost more than all else a save does.
void AppendItem(std::wstring& out, const RecordNode& node, const ItemArray& items) {
    const TMyDoc& item = items.At(node.data.itemIndex);
    out += L"<item text=\"";
    AppendXmlAttributeValue(out, node.caption);
    out += L"\" path=\"";
    AppendXmlAttributeValue(out, item.path);
    const int extand = node.children.empty() ? -1 : (node.expanded ? 1 : 0);
    out += L"\" imageIndex=\"" + std::to_wstring(node.imageIndex) + L"\" stateIndex=\"" +
           std::to_wstring(node.stateIndex) + L"\" docType=\"" + std::to_wstring(item.kind) + L"\" extand=\"" +
           std::to_wstring(extand) + L"\"";
    for (const auto& [name, value] : PlaceAttributes(item.place)) {
        out += L' ';
        out += name;
        out += L"=\"";
        AppendXmlAttributeValue(out, value);
        out += L'"';
    }
    if (node.children.empty()) {
        out += L"/>";
        return;
    }
    out += L'>';
    for (const auto& child : node.children) AppendItem(out, *child, items);
    out += L"</item>";
}

// Replaces `path` by the file `temp` holds; the old file stays whole when this fails.
bool Replace(const std::wstring& temp, const std::wstring& path, const BeforeReplace& beforeReplace) {
    if (beforeReplace) beforeReplace(temp);
    if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temp.c_str());
    return false;
}

// The attribute names the reader asks for, made once per reading.
struct AttributeNames {
    Bstr text{L"text"}, path{L"path"}, imageIndex{L"imageIndex"}, docType{L"docType"};
};

// The attribute's text; false when the element has no such attribute.
bool Attribute(IXMLDOMElement* element, BSTR name, std::wstring& text) {
    VARIANT value;
    late::VariantInit(&value);
    bool found = element->getAttribute(name, &value) == S_OK && value.vt == VT_BSTR;
    if (found)
        text.assign(value.bstrVal ? value.bstrVal : L"", value.bstrVal ? late::SysStringLen(value.bstrVal) : 0);
    late::VariantClear(&value);
    return found;
}

// Text and path make the item: without either, or with a character no record file can hold,
// the reading stops there.
std::wstring RequiredText(IXMLDOMElement* element, BSTR name) {
    std::wstring text;
    if (!Attribute(element, name, text) || HasCharacterXmlForbids(text)) throw ReadStopped();
    return text;
}

// A number that is missing or no number costs only itself: the item keeps its default.
bool IntegerAttribute(IXMLDOMElement* element, BSTR name, int& value) {
    std::wstring text;
    return Attribute(element, name, text) && ParseInteger(text, value);
}

// The kind an item without a readable one most likely has: web addresses are pages.
int DefaultKind(const std::wstring& path) {
    std::wstring p = Trim(path);
    return StartsWithNoCase(p, L"http:") || StartsWithNoCase(p, L"https:") ? kWebPage : kProgramOrDocument;
}

bool IsElement(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    return SUCCEEDED(node->get_nodeType(&type)) && type == NODE_ELEMENT;
}

// Calls `visit` for each element child of `parent`, in order, at most `limit` of them.
// True when elements were left over after the limit.
template <class Visit>
bool ForEachElement(IXMLDOMNode* parent, int limit, Visit&& visit) {
    ComPtr<IXMLDOMNode> child;
    if (FAILED(parent->get_firstChild(child.put()))) throw ReadStopped();
    int count = 0;
    while (child) {
        if (IsElement(child.get())) {
            if (count >= limit) return true;
            ++count;
            visit(child.get());
        }
        ComPtr<IXMLDOMNode> next;
        if (FAILED(child->get_nextSibling(next.put()))) throw ReadStopped();
        child = std::move(next);
    }
    return false;
}

bool HasElementChild(IXMLDOMNode* node) {
    return ForEachElement(node, 0, [](IXMLDOMNode*) {});
}

struct Reader {
    ShownRecord& record;
    const std::function<void()>& onWebPage;
    const Tick& tick;
    AttributeNames names;
    bool depthCut = false;

    void Element(IXMLDOMNode* node, RecordNode* parent, int depth) {
        ComPtr<IXMLDOMElement> x;
        if (FAILED(node->QueryInterface(kIidXmlDomElement, x.put_void()))) throw ReadStopped();
        // Every attribute is read before the node exists, so a failure never leaves a node
        // without its item.
        TMyDoc item;
        item.title = RequiredText(x.get(), names.text);
        item.path = RequiredText(x.get(), names.path);
        if (!IntegerAttribute(x.get(), names.imageIndex, item.imageIndex)) item.imageIndex = 0;
        if (!IntegerAttribute(x.get(), names.docType, item.kind)) item.kind = DefaultKind(item.path);
        item.place = PlaceFromAttributes(
            [&x](const wchar_t* name, std::wstring& value) { return Attribute(x.get(), Bstr(name), value); });
        item.groupKey = item.path;
        const int index = record.items.Append(std::move(item));
        const TMyDoc& stored = record.items.At(index);
        RecordNode* added = record.docs.Add(parent, stored.title, index);
        added->imageIndex = added->selectedImageIndex = stored.imageIndex;
        const bool webPage = stored.kind == kWebPage;
        RunTick(tick);
        if (webPage && onWebPage) onWebPage();
        if (depth >= kMaxRecordDepth) {  // deeper levels of a hostile file are left out
            if (HasElementChild(node)) depthCut = true;
            return;
        }
        ForEachElement(node, INT_MAX, [&](IXMLDOMNode* child) { Element(child, added, depth + 1); });
    }
};

void ClearShownRecord(ShownRecord& record) {
    record.items.Empty();
    record.docs.Clear();
    record.apps.Clear();
    record.paths.Clear();
    record.pages.Clear();
}

// The bytes a memory stream holds.
bool StreamBytes(IStream* stream, std::string& bytes) {
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(GetHGlobalFromStream(stream, &memory)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
    const char* data = static_cast<const char*>(GlobalLock(memory));
    if (!data) return false;
    bytes.assign(data, static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return true;
}

// A memory stream over a copy of `bytes`, positioned at its start.
bool StreamOf(const std::string& bytes, ComPtr<IStream>& stream) {
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return false;
    ULONG put = 0;
    if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &put)) || put != bytes.size())
        return false;
    LARGE_INTEGER start{};
    return SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr));
}

// Writes `bytes` as the whole new file `path`, flushed to the disk.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.valid()) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        if (!WriteFile(f.get(), bytes.data() + done, want, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return FlushFileBuffers(f.get()) != FALSE;
}

void CopyNode(const RecordNode& from, RecordNode* parent, RecordTree& to, const ItemArray& items) {
    const TMyDoc& item = items.At(from.data.itemIndex);
    RecordNode* copy = to.Add(parent, item.title, from.data.itemIndex);
    copy->imageIndex = copy->selectedImageIndex = item.imageIndex;
    if (parent) return;
    for (const auto& child : from.children) CopyNode(*child, copy, to, items);
}

}  // namespace

std::wstring WithExtension(const std::wstring& path, const std::wstring& extension) {
    size_t slash = path.find_last_of(L"\\/:");
    size_t dot = path.rfind(L'.');
    bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

std::wstring IconFilePath(const std::wstring& recordPath) { return WithExtension(recordPath, L".dat"); }

bool RecordFileBytes(const ShownRecord& record, const std::wstring& appPath, std::string& bytes) {
    bytes.clear();
    if (HasUnwritableText(record) || HasCharacterXmlForbids(appPath)) return false;
    try {
        std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<tolvanetree app=\"";
        AppendXmlAttributeValue(text, appPath);
        text += L"\">";
        for (const auto& node : record.docs.top()) AppendItem(text, *node, record.items);
        text += L"</tolvanetree>\r\n";
        bytes = ToUtf8(text);
        return true;
    } catch (...) {
        bytes.clear();
        return false;
    }
}

bool WriteRecordFile(const ShownRecord& record, const std::wstring& path, const std::wstring& appPath,
                     const BeforeReplace& beforeReplace) {
    std::string bytes;
    if (!RecordFileBytes(record, appPath, bytes)) return false;
    std::wstring temp = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
    if (!WriteWholeFile(temp, bytes)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return Replace(temp, path, beforeReplace);
}

ReadOutcome ReadRecordFile(ShownRecord& record, const std::wstring& path, const std::function<void()>& onWebPage,
                           const Tick& tick) {
    if (!FileExists(path)) return ReadOutcome::Missing;
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        ClearShownRecord(record);
        return ReadOutcome::NotLoaded;
    }
    return ReadRecordBytes(record, bytes, onWebPage, tick);
}

namespace {
// The record's XML, parsed with outside definitions and document types refused; false when the
// bytes are no readable XML.
bool LoadDocument(const std::string& bytes, ComPtr<IXMLDOMDocument>& doc) {
    if (!CreateDocument(doc)) return false;
    doc->put_async(VARIANT_FALSE);
    doc->put_validateOnParse(VARIANT_FALSE);
    doc->put_resolveExternals(VARIANT_FALSE);
    ComPtr<IXMLDOMDocument2> doc2;
    if (SUCCEEDED(doc->QueryInterface(kIidXmlDomDocument2, doc2.put_void()))) {
        // Outside files bring no document type definitions of their own.
        VARIANT yes;
        late::VariantInit(&yes);
        yes.vt = VT_BOOL;
        yes.boolVal = VARIANT_TRUE;
        doc2->setProperty(Bstr(L"ProhibitDTD"), yes);
    }
    ComPtr<IStream> stream;
    if (bytes.empty() || !StreamOf(bytes, stream)) return false;
    VARIANT source;
    late::VariantInit(&source);
    source.vt = VT_UNKNOWN;
    source.punkVal = stream.get();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    return SUCCEEDED(doc->load(source, &loaded)) && loaded == VARIANT_TRUE;
}

void VisitElements(IXMLDOMNode* parent, int limit, int depth, const AttributeNames& names, const ItemVisit& visit) {
    ForEachElement(parent, limit, [&](IXMLDOMNode* node) {
        ComPtr<IXMLDOMElement> x;
        if (FAILED(node->QueryInterface(kIidXmlDomElement, x.put_void()))) return;
        std::wstring path, text;
        Attribute(x.get(), names.path, path);
        Attribute(x.get(), names.text, text);
        visit(path, text);
        if (depth < kMaxRecordDepth) VisitElements(node, INT_MAX, depth + 1, names, visit);
    });
}
}  // namespace

ReadOutcome ReadRecordBytes(ShownRecord& record, const std::string& bytes, const std::function<void()>& onWebPage,
                            const Tick& tick) {
    ClearShownRecord(record);
    ReadOutcome outcome = ReadOutcome::Complete;
    try {
        ComPtr<IXMLDOMDocument> doc;
        if (!LoadDocument(bytes, doc)) return ReadOutcome::NotLoaded;
        ComPtr<IXMLDOMElement> root;
        if (doc->get_documentElement(root.put()) != S_OK || !root) return ReadOutcome::Complete;
        Reader reader{record, onWebPage, tick, {}};
        ForEachElement(root.get(), INT_MAX, [&](IXMLDOMNode* x) { reader.Element(x, nullptr, 1); });
        if (reader.depthCut) outcome = ReadOutcome::DepthCut;
    } catch (...) {
        record.docs.SortByCaption();  // what was read is shown in the trees' order too
        return ReadOutcome::Stopped;
    }
    // A file from elsewhere may list its items in any order; the trees show them by caption.
    record.docs.SortByCaption();
    BuildKindTrees(record, tick);
    return outcome;
}

bool VisitRecordBytes(const std::string& bytes, const ItemVisit& visit) {
    try {
        ComPtr<IXMLDOMDocument> doc;
        if (!LoadDocument(bytes, doc)) return false;
        ComPtr<IXMLDOMElement> root;
        if (doc->get_documentElement(root.put()) != S_OK || !root) return true;
        VisitElements(root.get(), INT_MAX, 1, AttributeNames{}, visit);
    } catch (...) {
        LogSwallowed(L"looking through a record");  // what was visited counts
    }
    return true;
}

bool VisitRecordItems(const std::wstring& path, const ItemVisit& visit) {
    std::string bytes;
    if (!FileExists(path) || !ReadFileBytes(path, bytes)) return false;
    // The program's own files are read directly; anything else the XML library reads.
    return ScanRecordItems(bytes, visit) || VisitRecordBytes(bytes, visit);
}

bool HasUnwritableText(const ShownRecord& record) {
    bool found = false;
    for (const auto& top : record.docs.top()) {
        if (found) break;
        std::vector<const RecordNode*> pending{top.get()};
        while (!pending.empty() && !found) {
            const RecordNode* n = pending.back();
            pending.pop_back();
            found = HasCharacterXmlForbids(n->caption) ||
                    (record.items.Valid(n->data.itemIndex) &&
                     HasCharacterXmlForbids(record.items.At(n->data.itemIndex).path));
            for (const auto& child : n->children) pending.push_back(child.get());
        }
    }
    return found;
}

void BuildKindTrees(ShownRecord& record, const Tick& tick) {
    record.apps.Clear();
    record.paths.Clear();
    record.pages.Clear();
    for (const auto& node : record.docs.top()) {
        RunTick(tick);
        if (!record.items.Valid(node->data.itemIndex)) continue;
        switch (record.items.At(node->data.itemIndex).kind) {
            case kWebPage: CopyNode(*node, nullptr, record.pages, record.items); break;
            case kProgramOrDocument: CopyNode(*node, nullptr, record.apps, record.items); break;
            case kFolderOrLocation: CopyNode(*node, nullptr, record.paths, record.items); break;
            default: break;
        }
    }
    // Copied in the order of the "All" tree, which is in caption order already: so are they.
}

bool WriteSelectionFile(const ShownRecord& record, const std::wstring& path) {
    std::vector<std::wstring> lines;
    for (const auto& node : record.docs.top()) {
        lines.push_back(!node->children.empty() && node->expanded ? L"1" : L"0");
    }
    return WriteTextLines(path, lines);
}

void ReadSelectionFile(ShownRecord& record, const std::wstring& path) {
    OnExit restore([&record, was = record.recording] { record.recording = was; });
    record.recording = true;
    std::vector<std::wstring> lines;
    if (!FileExists(path) || !ReadTextLines(path, lines)) return;
    size_t nodes = record.docs.top().size();
    if (lines.size() < nodes) lines.insert(lines.begin(), nodes - lines.size(), L"0");
    for (size_t i = 0; i < nodes && i < lines.size(); ++i) {
        RecordNode& node = *record.docs.top()[i];
        if (node.children.empty()) continue;
        int value = 0;
        bool expand = ParseInteger(lines[i], value) && value == 1;
        if (expand) record.TVDocsExpanded(node);
        else record.TVDocsCollapsed(node);
    }
}

bool WriteIconFile(HIMAGELIST strip, const std::wstring& path) {
    if (!strip) return false;
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) || !ImageList_Write(strip, stream.get()))
        return false;
    std::string bytes;
    return StreamBytes(stream.get(), bytes) && WriteFileAtomic(path, bytes);
}

HIMAGELIST ReadIconFile(const std::wstring& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes) || bytes.empty()) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return nullptr;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
        GlobalFree(memory);
        return nullptr;
    }
    return ImageList_Read(stream.get());
}

std::wstring PartialReadReason(ReadOutcome outcome, int itemsRead) {
    switch (outcome) {
        case ReadOutcome::Stopped:
            return itemsRead > 0 ? Format(L"damaged after item %d", itemsRead) : L"damaged at its first item";
        case ReadOutcome::NotLoaded: return L"not a record file the program can read";
        case ReadOutcome::DepthCut: return Format(L"nested too deep, levels past %d left out", kMaxRecordDepth);
        default: return L"";
    }
}

std::wstring WriteFailure::Text() const {
    if (!reason.empty()) return reason;
    return error ? SystemMessageText(error) : L"The record could not be written.";
}

bool WriteRecord(const ShownRecord& record, HIMAGELIST strip, const std::wstring& recordPath,
                 const std::wstring& appPath, WriteFailure* failure) {
    WriteFailure seen;
    // The error is taken right after the call that failed, before anything else can change it.
    auto fail = [&](const wchar_t* ownWords) {
        seen.error = GetLastError();
        if (!seen.error) seen.reason = ownWords;
        if (failure) *failure = seen;
        return false;
    };
    if (recordPath.empty()) {
        SetLastError(ERROR_SUCCESS);
        return fail(L"There is no free name for a new record in the record folder.");
    }
    if (HasUnwritableText(record) || HasCharacterXmlForbids(appPath)) {
        SetLastError(ERROR_SUCCESS);
        return fail(L"A name or path in it holds a character that a record file cannot hold.");
    }
    SetLastError(ERROR_SUCCESS);
    if (!WriteRecordFile(record, recordPath, appPath)) return fail(L"The record file could not be written.");
    SetLastError(ERROR_SUCCESS);
    if (!WriteIconFile(strip, IconFilePath(recordPath))) return fail(L"The record's icon file could not be written.");
    SetLastError(ERROR_SUCCESS);
    if (!WriteSelectionFile(record, SelectionFilePath(recordPath)))
        return fail(L"The record's selection file could not be written.");
    return true;
}

}  // namespace tv
