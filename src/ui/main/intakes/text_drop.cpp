#include "ui/main/intakes/text_drop.h"

#include <climits>
#include <cstring>

#include <shlobj.h>

#include "base/drop_list.h"
#include "base/handles.h"
#include "base/strings.h"

namespace tv {

namespace {

// Anywhere in the text, not only at its start: dropped addresses may come with leading junk.
bool MentionsWebScheme(const std::wstring& s) {
    std::wstring lower = ToLower(s);
    return lower.find(L"http:") != std::wstring::npos || lower.find(L"https:") != std::wstring::npos;
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data && data->QueryGetData(&f) == S_OK;
}

}  // namespace

namespace {
// The data object's block in `format`, held by `medium`; null when it offers none.
HGLOBAL GlobalBlock(IDataObject* data, CLIPFORMAT format, StorageMedium& medium) {
    if (!data) return nullptr;
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    medium.GetFrom(data, wanted);
    return medium.global();
}
}  // namespace

bool DroppedFiles(IDataObject* data, std::vector<std::wstring>& files) {
    files.clear();
    StorageMedium medium;
    HGLOBAL held = GlobalBlock(data, CF_HDROP, medium);
    if (!held) return false;

    LockedGlobal list(held);
    if (!list.bytes()) return false;
    files = DropListNames(list.bytes(), list.size());
    return !files.empty();
}

bool DroppedText(IDataObject* data, std::wstring& text) {
    text.clear();
    StorageMedium medium;
    HGLOBAL held = GlobalBlock(data, CF_TEXT, medium);
    if (!held) return false;

    // The source decides what is in the block: the size bounds the read, not a terminating zero.
    LockedGlobal block(held);
    if (!block.bytes() || block.size() == 0) return false;
    const void* zero = std::memchr(block.bytes(), 0, block.size());
    size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - block.bytes()) : block.size();
    if (length > INT_MAX / 2) length = INT_MAX / 2;  // the conversion counts in int
    text = FromAnsi(std::string(block.bytes(), length));
    return !text.empty();
}

// The window's IDropTarget for files and text. OLE may hold it a little past the revoke, so the registration
// detaches the host before letting go, and a late call then finds nobody to tell.
class TextDropTarget final : public IDropTarget {
public:
    explicit TextDropTarget(TextDropHost& host) : host_(&host) {}
    void Detach() { host_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        // Asked once per drag: the answer holds for every move over the window.
        takes_ = Offers(data, CF_HDROP) || Offers(data, CF_TEXT);
        return Answer(effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Answer(effect); }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        takes_ = false;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        *effect = DROPEFFECT_NONE;
        takes_ = false;
        try {
            std::vector<std::wstring> files;
            std::wstring text;
            if (host_ && DroppedFiles(data, files)) {
                host_->FilesDropped(files);
                *effect = DROPEFFECT_COPY;
            } else if (host_ && DroppedText(data, text)) {
                host_->TextDropped(text);
                *effect = DROPEFFECT_COPY;
            }
        } catch (...) {
            // The drag source only learns that nothing was copied; the window stays as it was.
            *effect = DROPEFFECT_NONE;
        }
        return S_OK;
    }

private:
    HRESULT Answer(DWORD* effect) const {
        if (!effect) return E_INVALIDARG;
        *effect = takes_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }

    LONG refs_ = 1;
    bool takes_ = false;  // the data object of the drag under way offers files or text
    TextDropHost* host_;
};

TextDropRegistration::TextDropRegistration() = default;
TextDropRegistration::~TextDropRegistration() { Revoke(); }

bool TextDropRegistration::Register(HWND window, TextDropHost& host) {
    Revoke();
    *target_.put() = new TextDropTarget(host);
    if (FAILED(RegisterDragDrop(window, target_.get()))) {
        Revoke();
        return false;
    }
    window_ = window;
    return true;
}

void TextDropRegistration::Revoke() {
    if (!target_) return;
    if (window_) RevokeDragDrop(window_);
    target_->Detach();
    target_.reset();
    window_ = nullptr;
}

IDropTarget* TextDropRegistration::target() const { return target_.get(); }

void AddWithTitle(std::wstring path, std::wstring title, AddWithTitleHost& host) {
    path = ReplaceAll(path, L"%20", L" ");
    if (host.Contains(path)) {
        host.NoteExisting(path);
        return;
    }
    if (MentionsWebScheme(path)) {
        std::wstring chosen;
        if (host.ChosenRowTitle(chosen)) {
            title = chosen;
        } else if (title.empty()) {
            std::wstring fetched;
            bool fetchedOk = host.FetchPageTitle(path, fetched);
            title = fetchedOk && !Trim(fetched).empty() ? fetched : path;
        }
    }
    host.AddItem(path, title);
}

}  // namespace tv
