// Choosing the item: "ctmenu.txt" in the data folder, then the program beside the library
// started with "/ctmenu"; a running instance receives the paths.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>

#include "base/file_util.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "e2e/e2e_support.h"
#include "shellext/menu_fixture.h"

using namespace tvtest;
using namespace tvtest::menu;

namespace {

const std::string kMark("\xFF\xFE", 2);

class MenuHandOff : public RegisteredLibrary {
protected:
    ScopedDataFolders folders;

    std::wstring HandOffFile() const { return folders.documents() + L"\\tolvane\\ctmenu.txt"; }
    std::string HandOffBytes() const { return ReadAll(HandOffFile()); }
    std::vector<std::wstring> HandOffLines() const {
        std::vector<std::wstring> lines;
        tv::ReadTextLines(HandOffFile(), lines);
        return lines;
    }
    // What the stand-in program noted, once every start of it has ended.
    std::vector<std::wstring> Starts() {
        WaitForProcessesToEnd(L"tolvane.exe");
        return StartsNoted(library());
    }
};

std::string Lines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& l : lines) text += l + L"\r\n";
    return kMark + Utf16(text);
}

HRESULT InvokeVerb(IContextMenu* menu, const char* verb, const wchar_t* wideVerb = nullptr) {
    CMINVOKECOMMANDINFOEX info = {};
    info.cbSize = sizeof(info);
    info.lpVerb = verb;
    if (wideVerb) {
        info.fMask = CMIC_MASK_UNICODE;
        info.lpVerbW = wideVerb;
    }
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
}

}  // namespace

TEST_F(MenuHandOff, WritesTheShellsSelectionInOrderAndStartsTheProgramBesideTheLibrary) {
    ASSERT_TRUE(library().PutProgram(L"start_note.exe"));
    TempFolder folder;
    CreateDirectoryW(folder.file(L"Sub Folder").c_str(), nullptr);
    for (const wchar_t* name : {L"c.txt", L"a b.txt", L"b.txt"}) WriteAll(folder.file(name), "x");

    for (const auto& names : {std::vector<std::wstring>{L"c.txt", L"a b.txt", L"b.txt"},
                              std::vector<std::wstring>{L"Sub Folder"}}) {
        tv::ComPtr<IDataObject> data;
        ASSERT_HRESULT_SUCCEEDED(ShellDataObject(folder.path(), names, data.put()));
        auto handler = NewHandler(data.get());
        ASSERT_TRUE(handler);
        ASSERT_EQ(InvokeOffset(handler.get(), 0), S_OK);
        // A later, smaller selection replaces the file whole.
        std::vector<std::wstring> lines = HandOffLines();
        ASSERT_EQ(lines.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_TRUE(tv::EqualsNoCase(lines[i], folder.file(names[i]))) << lines[i];
    }
    EXPECT_EQ(Starts(), (std::vector<std::wstring>{L"/ctmenu", L"/ctmenu"}));
}

TEST_F(MenuHandOff, WritesTheFileByteForByte) {
    const std::vector<std::wstring> paths = {L"C:\\Users\\me\\a b.txt", L"D:\\\x00e9t\x00e9\\\x65e5.doc",
                                             L"\\\\server\\share\\x"};
    auto handler = HandlerFor(paths);
    ASSERT_TRUE(handler);
    ASSERT_EQ(InvokeOffset(handler.get(), 0), S_OK);
    EXPECT_EQ(HandOffBytes(), Lines(paths));
}

TEST_F(MenuHandOff, ActsOnlyOnItsOwnCommand) {
    ASSERT_TRUE(library().PutProgram(L"start_note.exe"));
    auto handler = HandlerFor({L"C:\\one.txt"});
    ASSERT_TRUE(handler);
    EXPECT_EQ(InvokeOffset(handler.get(), 1), E_FAIL);
    EXPECT_EQ(InvokeVerb(handler.get(), "open"), E_FAIL);
    EXPECT_EQ(InvokeVerb(handler.get(), "TolvaneMenuX"), E_FAIL);
    EXPECT_EQ(InvokeVerb(handler.get(), "TolvaneMenu", L"open"), E_FAIL);  // the Unicode verb counts
    EXPECT_EQ(InvokeVerb(handler.get(), ""), E_FAIL);
    EXPECT_FALSE(tv::FileExists(HandOffFile()));

    EXPECT_EQ(InvokeVerb(handler.get(), "tOLVANEmENU"), S_OK);
    EXPECT_EQ(HandOffBytes(), Lines({L"C:\\one.txt"}));
    EXPECT_EQ(InvokeVerb(handler.get(), "open", L"TolvaneMenu"), S_OK);
    EXPECT_EQ(Starts(), (std::vector<std::wstring>{L"/ctmenu", L"/ctmenu"}));
}

TEST_F(MenuHandOff, StartsNothingWhenTheFileCannotBeWritten) {
    ASSERT_TRUE(library().PutProgram(L"start_note.exe"));
    // A folder where the file belongs: the file cannot be written.
    ASSERT_TRUE(tv::CreateFolderTree(HandOffFile()));
    auto handler = HandlerFor({L"C:\\new.txt"});
    ASSERT_TRUE(handler);
    EXPECT_EQ(InvokeOffset(handler.get(), 0), E_FAIL);

    // A handler the shell never gave a selection has nothing to hand over either.
    tv::ComPtr<IContextMenu> bare;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu, bare.put_void()));
    EXPECT_EQ(InvokeOffset(bare.get(), 0), E_FAIL);

    ASSERT_TRUE(RemoveDirectoryW(HandOffFile().c_str()));
    EXPECT_EQ(InvokeOffset(handler.get(), 0), S_OK);
    EXPECT_EQ(HandOffBytes(), Lines({L"C:\\new.txt"}));
    // Only the start after the file was written happened.
    EXPECT_EQ(Starts(), std::vector<std::wstring>{L"/ctmenu"});
}

TEST_F(MenuHandOff, WithoutTheProgramBesideTheLibraryTheFileIsStillWritten) {
    ASSERT_FALSE(tv::FileExists(library().file(L"tolvane.exe")));
    auto handler = HandlerFor({L"C:\\alone.txt"});
    ASSERT_TRUE(handler);
    EXPECT_EQ(InvokeOffset(handler.get(), 0), S_OK);
    EXPECT_EQ(HandOffBytes(), Lines({L"C:\\alone.txt"}));
}

TEST_F(MenuHandOff, CarriesTenThousandPathsAndLeavesOutOverlongOnes) {
    std::vector<std::wstring> many;
    for (int i = 0; i < 10000; ++i) many.push_back(tv::Format(L"C:\\data\\folder %05d\\file.txt", i));
    auto handler = HandlerFor(many);
    ASSERT_TRUE(handler);
    ASSERT_EQ(InvokeOffset(handler.get(), 0), S_OK);
    EXPECT_EQ(HandOffBytes(), Lines(many));

    const std::wstring longPath = L"C:\\" + std::wstring(4997, L'x');
    handler = HandlerFor({L"C:\\before.txt", longPath, L"C:\\after.txt"});
    ASSERT_TRUE(handler);
    ASSERT_EQ(InvokeOffset(handler.get(), 0), S_OK);
    // Cut to a line, it would name another file.
    EXPECT_EQ(HandOffBytes(), Lines({L"C:\\before.txt", L"C:\\after.txt"}));
}

TEST_F(MenuHandOff, ARunningInstanceAddsThePathsToItsShownRecord) {
    ASSERT_TRUE(library().PutProgram(L"" TOLVANE_EXE));
    TempFolder files;
    std::vector<std::wstring> paths;
    for (const wchar_t* name : {L"report.txt", L"notes.txt", L"plan.txt"}) {
        paths.push_back(files.file(name));
        WriteAll(paths.back(), "x");
    }
    Process running;
    HWND window = StartProgram(running, library().file(L"tolvane.exe"), L"");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(NodeCount(window), 0);

    auto handler = HandlerFor(paths);
    ASSERT_TRUE(handler);
    ASSERT_EQ(InvokeOffset(handler.get(), 0), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return NodeCount(window) == 3; })) << NodeCount(window);
    // The second start handed the file's lines over and ended.
    EXPECT_EQ(ReadAll(folders.dataFolder() + L"\\sendparam.txt"), Lines(paths));
    EXPECT_EQ(FindWindows(L"TTolvaneWindow").size(), 1u);
    EXPECT_EQ(CloseAndWait(window, running), 0);
}
