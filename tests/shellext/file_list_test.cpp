// The selection as the handler reads it from the file-list block, hostile blocks included. Each
// block goes to the library in a client process of its own, which the test ends if the library
// hangs in it, so a hang fails one test instead of holding up the run.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "base/file_util.h"
#include "base/text_file.h"
#include "e2e/e2e_support.h"
#include "shellext/menu_fixture.h"
#include "support/test_data_object.h"

using namespace tvtest;
using namespace tvtest::menu;

namespace {

// How long a client may take over one block; far beyond what a working library needs.
constexpr DWORD kClientWaitMs = 60000;

std::string Header(DWORD offset, BOOL wide) {
    DROPFILES header{};
    header.pFiles = offset;
    header.fWide = wide;
    return std::string(reinterpret_cast<const char*>(&header), sizeof(header));
}

std::string Wide(const std::wstring& names) {
    return std::string(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
}

std::string WithOffset(std::string block, DWORD offset) {
    reinterpret_cast<DROPFILES*>(&block[0])->pFiles = offset;
    return block;
}

// What a client saw of the library: its answer to the set-up, the items it added, the media
// it released, and the lines it handed over.
struct Outcome {
    bool ended = false;
    HRESULT setUp = S_OK;
    int items = -1, released = -1;
    std::vector<std::wstring> handedOver;
};

class MenuFileList : public RegisteredLibrary {
protected:
    ScopedDataFolders folders;
    TempFolder dir;

    Outcome RunClient(const std::string& block) {
        const std::wstring handOff = folders.documents() + L"\\tolvane\\ctmenu.txt";
        DeleteFileW(handOff.c_str());
        const std::wstring blockFile = dir.file(L"block.bin"), report = dir.file(L"report.txt");
        DeleteFileW(report.c_str());
        Outcome out;
        if (!WriteAll(blockFile, block)) return out;
        Process client;
        if (!client.Start(ExeFolder() + L"\\menu_probe.exe", L"\"" + blockFile + L"\" \"" + report + L"\""))
            return out;
        const long code = client.Wait(kClientWaitMs);
        if (code == -1) client.Kill();
        out.ended = code == 0;
        unsigned long hr = 0;
        if (std::sscanf(ReadAll(report).c_str(), "%lx %d %d", &hr, &out.items, &out.released) == 3)
            out.setUp = static_cast<HRESULT>(hr);
        if (tv::FileExists(handOff)) tv::ReadTextLines(handOff, out.handedOver);
        return out;
    }
};

}  // namespace

TEST_F(MenuFileList, TakesEveryWholePathInTheBlockAndRefusesWhatDoesNotFit) {
    const std::wstring atLimit = L"C:\\" + std::wstring(1020, L'a');   // 1023 characters
    const std::wstring pastLimit = L"C:\\" + std::wstring(1021, L'b');  // 1024
    struct Case {
        const char* what;
        std::string block;
        std::vector<std::wstring> taken;  // none: the set-up fails and no item is added
    };
    const Case cases[] = {
        {"a wide list", FileListBytes({L"C:\\Docs\\a b.txt", L"D:\\\x00e9t\x00e9\\\x65e5"}),
         {L"C:\\Docs\\a b.txt", L"D:\\\x00e9t\x00e9\\\x65e5"}},
        {"an ANSI list", Header(sizeof(DROPFILES), FALSE) + std::string("C:\\one.txt\0D:\\two words\0\0", 26),
         {L"C:\\one.txt", L"D:\\two words"}},
        {"an offset past the block", WithOffset(FileListBytes({L"C:\\a.txt"}), 100000), {}},
        {"an offset into the header", WithOffset(FileListBytes({L"C:\\a.txt"}), 4), {}},
        {"a block smaller than its header", std::string(sizeof(DROPFILES) - 1, '\x14'), {}},
        {"an empty list", FileListBytes({}), {}},
        {"a list without its closing empty name", Header(sizeof(DROPFILES), TRUE) + Wide(std::wstring(L"C:\\a\0C:\\b\0", 10)),
         {L"C:\\a", L"C:\\b"}},
        {"a last name running off the block", Header(sizeof(DROPFILES), TRUE) + Wide(std::wstring(L"C:\\a\0C:\\b", 9)),
         {L"C:\\a"}},
        {"an ANSI name running off the block", Header(sizeof(DROPFILES), FALSE) + "C:\\b", {}},
        {"paths at and past the length a hand-off line carries",
         FileListBytes({L"C:\\before.txt", pastLimit, atLimit, L"C:\\after.txt"}),
         {L"C:\\before.txt", atLimit, L"C:\\after.txt"}},
        {"a path holding a line break", FileListBytes({L"C:\\x\r\nC:\\y", L"C:\\z"}), {L"C:\\z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome out = RunClient(c.block);
        if (!out.ended) {
            ADD_FAILURE() << "the client hung or failed";
            continue;
        }
        EXPECT_EQ(out.released, 1);
        if (c.taken.empty()) {
            EXPECT_EQ(out.setUp, E_FAIL);
            EXPECT_EQ(out.items, 0);
        } else {
            EXPECT_EQ(out.setUp, S_OK);
            EXPECT_EQ(out.items, 1);
        }
        EXPECT_EQ(out.handedOver, c.taken);
    }
}
