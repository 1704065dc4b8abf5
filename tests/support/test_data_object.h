#pragma once
// A drag source's data object for tests: one clipboard format as a global block of given bytes,
// the way a browser (text) or Explorer (a file list) offers what is dragged.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tvtest {

// Frees a handed-out block when the reader releases the medium, and counts that it did.
class BlockReleaser final : public IUnknown {
public:
    BlockReleaser(HGLOBAL block, int& released) : block_(block), released_(released) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (--refs_ > 0) return refs_;
        if (block_) GlobalFree(block_);
        ++released_;
        delete this;
        return 0;
    }

private:
    ULONG refs_ = 1;
    HGLOBAL block_;
    int& released_;
};

// A drag source's data object offering one clipboard format as a global block of given bytes.
class TestData : public IDataObject {
public:
    TestData(CLIPFORMAT format, std::string bytes) : format_(format), bytes_(std::move(bytes)) {}
    int released = 0;
    bool nullBlock = false;       // answers with TYMED_HGLOBAL but no block
    bool fillWholeBlock = false;  // every byte of the block, however large it came out, is 'x'
    SIZE_T blockSize = 0;         // of the last block handed out

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
        if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
        HGLOBAL block = nullptr;
        if (!nullBlock) {
            block = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
            if (!block) return E_OUTOFMEMORY;
            if (char* p = static_cast<char*>(GlobalLock(block))) {
                blockSize = GlobalSize(block);
                if (fillWholeBlock) std::memset(p, 'x', blockSize);
                else std::memcpy(p, bytes_.data(), bytes_.size());
                GlobalUnlock(block);
            }
        }
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = block;
        m->pUnkForRelease = new BlockReleaser(block, released);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
        bool ours = format_ != 0 && f->cfFormat == format_ && (f->tymed & TYMED_HGLOBAL) &&
                    f->dwAspect == DVASPECT_CONTENT;
        return ours ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CLIPFORMAT format_;
    std::string bytes_;
};

// The bytes of a CF_HDROP block naming `files`, as Explorer writes it: the header, then each
// name in UTF-16 with its zero, then one more zero.
inline std::string FileListBytes(const std::vector<std::wstring>& files) {
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
    for (const std::wstring& f : files) bytes.append(reinterpret_cast<const char*>(f.c_str()), (f.size() + 1) * 2);
    bytes.append(2, '\0');
    return bytes;
}

}  // namespace tvtest
