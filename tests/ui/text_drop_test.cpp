#include "ui/main/text_drop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace tv;

namespace {

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

TestData AnsiText(const std::string& bytes) { return TestData(CF_TEXT, bytes); }

}  // namespace

TEST(DroppedText, ReadsTheAnsiTextUpToItsFirstZeroAndReleasesTheMedium) {
    std::wstring text;
    TestData plain = AnsiText(std::string("http://example.org/a b\0", 24));
    EXPECT_TRUE(DroppedText(&plain, text));
    EXPECT_EQ(text, L"http://example.org/a b");
    EXPECT_EQ(plain.released, 1);

    TestData embedded = AnsiText(std::string("ab\0cd\0", 6));
    EXPECT_TRUE(DroppedText(&embedded, text));
    EXPECT_EQ(text, L"ab");

    // 0x80 is where the ANSI code page and a plain byte widening part ways.
    std::string ansi = "price \x80 5";
    wchar_t expected[32] = {};
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), static_cast<int>(ansi.size()), expected, 32);
    ASSERT_GT(n, 0);
    TestData foreign = AnsiText(ansi + '\0');
    EXPECT_TRUE(DroppedText(&foreign, text));
    EXPECT_EQ(text, std::wstring(expected, static_cast<size_t>(n)));
    EXPECT_EQ(foreign.released, 1);
}

TEST(DroppedText, StopsAtTheBlockSizeWhenTheZeroIsMissing) {
    // Many sizes, so that some block ends right against the heap's own non-zero bytes.
    for (size_t size = 1; size <= 64; ++size) {
        TestData unterminated = AnsiText(std::string(size, 'x'));
        unterminated.fillWholeBlock = true;
        std::wstring text;
        ASSERT_TRUE(DroppedText(&unterminated, text)) << size;
        EXPECT_EQ(text, std::wstring(unterminated.blockSize, L'x')) << size;
        EXPECT_EQ(unterminated.released, 1);
    }
}

TEST(DroppedText, NoTextOrAnUnreadableBlockIsNoDrop) {
    std::wstring text = L"stale";
    TestData empty = AnsiText("");
    EXPECT_FALSE(DroppedText(&empty, text));
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(empty.released, 1);

    TestData onlyZero = AnsiText(std::string(1, '\0'));
    EXPECT_FALSE(DroppedText(&onlyZero, text));
    EXPECT_EQ(onlyZero.released, 1);

    TestData noBlock = AnsiText("abc");
    noBlock.nullBlock = true;
    EXPECT_FALSE(DroppedText(&noBlock, text));
    EXPECT_EQ(noBlock.released, 1);

    TestData unicodeOnly(CF_UNICODETEXT, std::string("a\0\0\0", 4));
    EXPECT_FALSE(DroppedText(&unicodeOnly, text));
    EXPECT_EQ(unicodeOnly.released, 0);
    TestData nothing(0, "abc");
    EXPECT_FALSE(DroppedText(&nothing, text));
    EXPECT_FALSE(DroppedText(nullptr, text));
}

namespace {

struct RecordingDropHost : TextDropHost {
    std::vector<std::wstring> texts;
    void TextDropped(const std::wstring& text) override { texts.push_back(text); }
};

struct ThrowingDropHost : TextDropHost {
    bool standard = true;
    void TextDropped(const std::wstring&) override {
        if (standard) throw std::runtime_error("add failed");
        throw 42;
    }
};

class TextDropWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        window = CreateWindowExW(0, L"STATIC", L"drop here", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        OleUninitialize();
    }
    HWND window = nullptr;
    RecordingDropHost host;
};

}  // namespace

TEST_F(TextDropWindow, HoldsTheRegistrationForItsLifetime) {
    {
        TextDropRegistration registration;
        ASSERT_TRUE(registration.Register(window, host));
        ASSERT_NE(registration.target(), nullptr);
        EXPECT_EQ(RegisterDragDrop(window, registration.target()), DRAGDROP_E_ALREADYREGISTERED);
        TextDropRegistration rival;
        EXPECT_FALSE(rival.Register(window, host));
        EXPECT_EQ(rival.target(), nullptr);
        // Registering again moves the registration rather than colliding with itself.
        EXPECT_TRUE(registration.Register(window, host));
    }
    TextDropRegistration again;
    EXPECT_TRUE(again.Register(window, host));

    TextDropRegistration nowhere;
    EXPECT_FALSE(nowhere.Register(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ff0)), host));
}

TEST_F(TextDropWindow, DragAnswersCopyAndADropWithTextReachesTheHostOnce) {
    TextDropRegistration registration;
    ASSERT_TRUE(registration.Register(window, host));
    IDropTarget* target = registration.target();
    TestData address = AnsiText(std::string("https://example.org/\0", 21));
    POINTL pt{10, 10};

    DWORD effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(&address, MK_LBUTTON, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_NONE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target->DragOver(MK_LBUTTON, pt, nullptr), E_INVALIDARG);
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_TRUE(host.texts.empty());

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(&address, 0, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_EQ(host.texts[0], L"https://example.org/");
    EXPECT_EQ(address.released, 1);

    TestData unicodeOnly(CF_UNICODETEXT, std::string("a\0\0\0", 4));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&unicodeOnly, 0, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(target->Drop(nullptr, 0, pt, &effect), S_OK);
    EXPECT_EQ(host.texts.size(), 1u);
}

TEST_F(TextDropWindow, AFailingHostEndsTheDropQuietly) {
    ThrowingDropHost failing;
    TextDropRegistration registration;
    ASSERT_TRUE(registration.Register(window, failing));
    TestData text = AnsiText(std::string("C:\\a.txt\0", 9));
    for (bool standard : {true, false}) {
        failing.standard = standard;
        DWORD effect = DROPEFFECT_COPY;
        HRESULT hr = E_FAIL;
        EXPECT_NO_THROW(hr = registration.target()->Drop(&text, 0, POINTL{0, 0}, &effect));
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    }
    EXPECT_EQ(text.released, 2);
}

TEST_F(TextDropWindow, TheTargetCountsItsReferencesAndOutlivesTheRegistrationHarmlessly) {
    IDropTarget* kept = nullptr;
    {
        TextDropRegistration registration;
        ASSERT_TRUE(registration.Register(window, host));
        IDropTarget* target = registration.target();
        IUnknown* unknown = nullptr;
        ASSERT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
        EXPECT_EQ(unknown, static_cast<IUnknown*>(target));
        ASSERT_EQ(target->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&kept)), S_OK);
        EXPECT_EQ(kept, target);
        unknown->Release();
        void* other = &other;
        EXPECT_EQ(target->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
        EXPECT_EQ(other, nullptr);
    }
    // The window no longer answers; a late drop reaches nobody, and the last release frees it.
    TestData text = AnsiText(std::string("late\0", 5));
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(kept->Drop(&text, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_TRUE(host.texts.empty());
    EXPECT_EQ(kept->Release(), 0u);
}

namespace {

struct FakeAddHost : AddWithTitleHost {
    std::set<std::wstring> record;
    bool rowChosen = false;
    std::wstring rowTitle;
    bool fetchWorks = true;
    std::wstring pageTitle = L"Page title";

    std::vector<std::wstring> fetches, noted;
    std::vector<std::pair<std::wstring, std::wstring>> added;

    bool Contains(const std::wstring& path) override { return record.count(path) != 0; }
    void NoteExisting(const std::wstring& path) override { noted.push_back(path); }
    bool ChosenRowTitle(std::wstring& title) override {
        if (rowChosen) title = rowTitle;
        return rowChosen;
    }
    bool FetchPageTitle(const std::wstring& address, std::wstring& title) override {
        fetches.push_back(address);
        title = pageTitle;  // even a failed fetch may leave something behind
        return fetchWorks;
    }
    void AddItem(const std::wstring& path, const std::wstring& title) override { added.push_back({path, title}); }

    std::pair<std::wstring, std::wstring> only() const {
        return added.size() == 1 ? added[0] : std::pair<std::wstring, std::wstring>{L"<none or many>", L""};
    }
};

using Added = std::pair<std::wstring, std::wstring>;

}  // namespace

TEST(AddWithTitle, PlainPathsGoAsGivenWithBlanksForPercent20) {
    FakeAddHost host;
    host.rowChosen = true;  // a row title is for web addresses only
    host.rowTitle = L"Row";
    AddWithTitle(L"C:\\My%20Files\\a%20%20b.txt", L"", host);
    EXPECT_EQ(host.only(), Added(L"C:\\My Files\\a  b.txt", L""));
    AddWithTitle(L"D:\\notes.txt", L"Notes", host);
    EXPECT_EQ(host.added.back(), Added(L"D:\\notes.txt", L"Notes"));
    EXPECT_TRUE(host.fetches.empty());
    EXPECT_TRUE(host.noted.empty());
}

TEST(AddWithTitle, APathAlreadyInTheRecordIsOnlyNoted) {
    FakeAddHost host;
    host.record = {L"C:\\a b.txt", L"http://example.org/x y"};
    AddWithTitle(L"C:\\a%20b.txt", L"A", host);
    AddWithTitle(L"http://example.org/x%20y", L"", host);
    EXPECT_EQ(host.noted, (std::vector<std::wstring>{L"C:\\a b.txt", L"http://example.org/x y"}));
    EXPECT_TRUE(host.added.empty());
    EXPECT_TRUE(host.fetches.empty());
}

TEST(AddWithTitle, AWebAddressTakesTheRowTitleThenTheGivenOneThenThePageTitle) {
    {
        FakeAddHost host;
        host.rowChosen = true;
        host.rowTitle = L"From the row";
        AddWithTitle(L"http://example.org/", L"Given", host);
        EXPECT_EQ(host.only(), Added(L"http://example.org/", L"From the row"));
        EXPECT_TRUE(host.fetches.empty());
    }
    {
        FakeAddHost host;
        AddWithTitle(L"https://example.org/", L"Given", host);
        EXPECT_EQ(host.only(), Added(L"https://example.org/", L"Given"));
        EXPECT_TRUE(host.fetches.empty());
    }
    {
        // The scheme counts in any case and anywhere in the text; the page is asked for the
        // address as it will be stored.
        FakeAddHost host;
        AddWithTitle(L"see HTTPS://example.org/a%20b", L"", host);
        EXPECT_EQ(host.fetches, std::vector<std::wstring>{L"see HTTPS://example.org/a b"});
        EXPECT_EQ(host.only(), Added(L"see HTTPS://example.org/a b", L"Page title"));
    }
}

TEST(AddWithTitle, TheAddressStandsInWhenThePageGivesNoTitle) {
    for (bool fetchWorks : {true, false}) {
        FakeAddHost host;
        host.fetchWorks = fetchWorks;
        if (fetchWorks) host.pageTitle = L" \t ";  // a page title of blanks only
        AddWithTitle(L"http://example.org/", L"", host);
        EXPECT_EQ(host.fetches.size(), 1u);
        EXPECT_EQ(host.only(), Added(L"http://example.org/", L"http://example.org/")) << fetchWorks;
    }
}
