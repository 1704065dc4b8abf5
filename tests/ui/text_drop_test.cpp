#include "ui/main/intakes/text_drop.h"

#include "support/test_data_object.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace tv;
using tvtest::FileListBytes;
using tvtest::TestData;

namespace {

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
    std::vector<std::vector<std::wstring>> fileLists;
    void TextDropped(const std::wstring& text) override { texts.push_back(text); }
    void FilesDropped(const std::vector<std::wstring>& files) override { fileLists.push_back(files); }
};

struct ThrowingDropHost : TextDropHost {
    bool standard = true;
    void TextDropped(const std::wstring&) override {
        if (standard) throw std::runtime_error("add failed");
        throw 42;
    }
    void FilesDropped(const std::vector<std::wstring>&) override { throw std::runtime_error("add failed"); }
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

TEST(DroppedFiles, ReadsWideAndAnsiListsInOrderAndReleasesTheMedium) {
    TestData wide(CF_HDROP, FileListBytes({L"C:\\Docs\\a.txt", L"C:\\Docs\\Sub Folder"}));
    std::vector<std::wstring> files;
    ASSERT_TRUE(DroppedFiles(&wide, files));
    EXPECT_EQ(files, (std::vector<std::wstring>{L"C:\\Docs\\a.txt", L"C:\\Docs\\Sub Folder"}));
    EXPECT_EQ(wide.released, 1);

    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    std::string ansi(reinterpret_cast<const char*>(&header), sizeof(header));
    ansi += std::string("C:\\one.txt\0D:\\two\0\0", 20);
    TestData narrow(CF_HDROP, ansi);
    ASSERT_TRUE(DroppedFiles(&narrow, files));
    EXPECT_EQ(files, (std::vector<std::wstring>{L"C:\\one.txt", L"D:\\two"}));
}

TEST(DroppedFiles, HostileBlocksAreReadNoFurtherThanTheirSize) {
    std::vector<std::wstring> files;
    // A list whose closing empty name is missing ends at the block's end; a name whose own zero
    // is missing may be cut there, and is left out.
    std::string open = FileListBytes({L"C:\\a", L"C:\\b"});
    open.resize(open.size() - 2);
    TestData unclosed(CF_HDROP, open);
    ASSERT_TRUE(DroppedFiles(&unclosed, files));
    EXPECT_EQ(files, (std::vector<std::wstring>{L"C:\\a", L"C:\\b"}));
    open.resize(open.size() - 2);
    TestData unterminated(CF_HDROP, open);
    ASSERT_TRUE(DroppedFiles(&unterminated, files));
    EXPECT_EQ(files, std::vector<std::wstring>{L"C:\\a"});

    // An offset past the block, a header cut short, an empty list, text only: no files.
    std::string distant = FileListBytes({L"C:\\a"});
    reinterpret_cast<DROPFILES*>(&distant[0])->pFiles = 100000;
    TestData outside(CF_HDROP, distant);
    TestData shortHeader(CF_HDROP, std::string(6, '\1'));
    TestData empty(CF_HDROP, FileListBytes({}));
    TestData textOnly(CF_TEXT, std::string("C:\\a\0", 5));
    for (TestData* data : {&outside, &shortHeader, &empty, &textOnly}) {
        files = {L"left over"};
        EXPECT_FALSE(DroppedFiles(data, files));
        EXPECT_TRUE(files.empty());
    }
    EXPECT_FALSE(DroppedFiles(nullptr, files));
    EXPECT_EQ(outside.released + shortHeader.released + empty.released, 3);
}

TEST_F(TextDropWindow, FilesAreTakenBeforeTextAndOtherDataIsRefused) {
    TextDropRegistration registration;
    ASSERT_TRUE(registration.Register(window, host));
    IDropTarget* target = registration.target();
    POINTL pt{10, 10};

    TestData files(CF_HDROP, FileListBytes({L"C:\\a.txt", L"C:\\folder"}));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(&files, MK_LBUTTON, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(&files, 0, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(host.fileLists.size(), 1u);
    EXPECT_EQ(host.fileLists[0], (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\folder"}));
    EXPECT_TRUE(host.texts.empty());

    // A bitmap (or text only in UTF-16) is refused from the first move on, and its drop does nothing.
    TestData picture(CF_BITMAP, std::string("xx", 2));
    TestData unicodeOnly(CF_UNICODETEXT, std::string("a\0\0\0", 4));
    for (TestData* other : {&picture, &unicodeOnly}) {
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(target->DragEnter(other, MK_LBUTTON, pt, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(target->DragOver(MK_LBUTTON, pt, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(target->Drop(other, 0, pt, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    }
    EXPECT_EQ(host.fileLists.size(), 1u);
    EXPECT_TRUE(host.texts.empty());

    // A failing file intake ends the drop quietly too.
    ThrowingDropHost failing;
    ASSERT_TRUE(registration.Register(window, failing));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(registration.target()->Drop(&files, 0, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
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
