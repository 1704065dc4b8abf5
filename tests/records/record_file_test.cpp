#include "records/record_file.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>

#include "base/file_util.h"
#include "base/handles.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "support/record_entries.h"
#include "support/test_support.h"

using namespace tv;
using tvtest::AddEntry;
using tvtest::TempFolder;

namespace {


// Folders, a program with documents and a grandchild, a web page, a lone document.
void FillSample(ShownRecord& r) {
    RecordNode* c = AddEntry(r, nullptr, L"C:\\", L"C:\\", kFolderOrLocation, 0);
    AddEntry(r, c, L"Temp", L"C:\\Temp\\", kFolderOrLocation, 0);
    AddEntry(r, c, L"Données & <notes>", L"C:\\Données\\", kFolderOrLocation, 0);
    c->expanded = true;
    RecordNode* word = AddEntry(r, nullptr, L"Writer", L"C:\\Apps\\writer.exe", kProgramOrDocument, 47);
    AddEntry(r, word, L"a.doc", L"C:\\Docs\\a.doc", kProgramOrDocument, 48);
    RecordNode* b = AddEntry(r, word, L"b \"quoted\".doc", L"C:\\Docs\\b.doc", kProgramOrDocument, 48);
    AddEntry(r, b, L"deep", L"C:\\Docs\\deep.doc", kProgramOrDocument, 48);
    AddEntry(r, word, L"日本語.doc", L"C:\\Docs\\日本語.doc", kProgramOrDocument, 79);
    AddEntry(r, nullptr, L"Example", L"http://example.com/?a=1&b=2", kWebPage, 1);
    AddEntry(r, nullptr, L"notes", L"C:\\notes.txt", kProgramOrDocument, 9);
}

// Caption, path, kind, image and depth of every node, parents first.
std::vector<std::wstring> Shape(const ShownRecord& r, const RecordTree& tree) {
    std::vector<std::wstring> out;
    tree.Walk([&](RecordNode& n) {
        int depth = 0;
        for (RecordNode* p = n.parent; p; p = p->parent) ++depth;
        const TMyDoc& d = r.items.At(n.data.itemIndex);
        out.push_back(std::to_wstring(depth) + L"|" + n.caption + L"|" + d.path + L"|" + std::to_wstring(d.kind) +
                      L"|" + std::to_wstring(n.imageIndex));
    });
    return out;
}

std::wstring Item(const std::wstring& text, const std::wstring& path, const std::wstring& docType,
                  const std::wstring& inner = L"") {
    std::wstring e = L"<item text=\"" + text + L"\" path=\"" + path + L"\" imageIndex=\"3\" stateIndex=\"-1\"";
    if (!docType.empty()) e += L" docType=\"" + docType + L"\"";
    return e + L" extand=\"-1\">" + inner + L"</item>";
}

bool WriteUtf8(const std::wstring& path, const std::wstring& xml) {
    return tvtest::WriteAll(path, ToUtf8(xml));
}

}  // namespace

TEST(RecordFile, ARecordReadsBackWithItsShapeAndTheSelectionFileExpansion) {
    TempFolder dir;
    std::wstring file = dir.file(L"Dec 08,2026_001.tolvane");
    ShownRecord written;
    FillSample(written);
    written.docs.SortByCaption();  // as the trees hold it
    ASSERT_TRUE(WriteRecordFile(written, file, L"C:\\TolVane\\tolvane.exe"));
    ASSERT_TRUE(WriteSelectionFile(written, SelectionFilePath(file)));

    ShownRecord read;
    bool webPageSeen = false;
    ASSERT_EQ(ReadRecordFile(read, file, [&] { webPageSeen = true; }), ReadOutcome::Complete);
    ReadSelectionFile(read, SelectionFilePath(file));
    EXPECT_EQ(Shape(read, read.docs), Shape(written, written.docs));
    EXPECT_TRUE(webPageSeen);
    EXPECT_TRUE(read.docs.top()[0]->expanded);
    EXPECT_FALSE(read.docs.top()[1]->expanded);
    // Items read from a file have their path as group key and no date.
    for (int i = 0; i < read.items.Count(); ++i) {
        EXPECT_EQ(read.items.At(i).groupKey, read.items.At(i).path);
        EXPECT_TRUE(read.items.At(i).date.empty());
    }

    // The per-kind trees copy top-level nodes with their direct children only.
    ASSERT_EQ(read.apps.top().size(), 2u);
    const RecordNode& writer = *read.apps.top()[1];  // after "notes": the locale order puts case aside
    EXPECT_EQ(writer.caption, L"Writer");
    EXPECT_EQ(writer.children.size(), 3u);
    EXPECT_TRUE(writer.children[1]->children.empty());  // no grandchild
    EXPECT_EQ(read.paths.top().size(), 1u);
    EXPECT_EQ(read.pages.top().size(), 1u);
    EXPECT_EQ(writer.children[2]->imageIndex, 79);
}

TEST(RecordFile, ExpansionComesFromTheSelectionFileNotFromTheRecordFile) {
    TempFolder dir;
    std::wstring file = dir.file(L"r.tolvane");
    ShownRecord written;
    FillSample(written);
    ASSERT_TRUE(WriteRecordFile(written, file, L"x"));  // "extand" says: first node expanded
    // Read in caption order: "C:\", "Example", "notes", "Writer".
    ASSERT_TRUE(WriteTextLines(SelectionFilePath(file), {L"0", L"1", L"0", L"1"}));
    ShownRecord read;
    ReadRecordFile(read, file);
    ReadSelectionFile(read, SelectionFilePath(file));
    EXPECT_FALSE(read.docs.top()[0]->expanded);
    EXPECT_TRUE(read.docs.top()[3]->expanded);
    EXPECT_FALSE(read.docs.top()[1]->expanded);  // no children: left as it was
}

TEST(RecordFile, ASelectionFileWithTooFewLinesAppliesToTheLastNodes) {
    ShownRecord r;
    for (int i = 0; i < 4; ++i) {
        RecordNode* n = AddEntry(r, nullptr, L"g" + std::to_wstring(i), L"C:\\g", kFolderOrLocation, 0);
        AddEntry(r, n, L"c", L"C:\\g\\c", kFolderOrLocation, 0);
    }
    TempFolder dir;
    ASSERT_TRUE(WriteTextLines(dir.file(L"s.tolvanetreesel"), {L"1", L"1"}));
    r.docs.top()[0]->expanded = true;
    int selectionWrites = 0;
    r.currentRecordPath = dir.file(L"s.tolvane");
    r.writeSelectionFile = [&](const std::wstring&) { ++selectionWrites; };
    ReadSelectionFile(r, dir.file(L"s.tolvanetreesel"));
    EXPECT_FALSE(r.docs.top()[0]->expanded);
    EXPECT_FALSE(r.docs.top()[1]->expanded);
    EXPECT_TRUE(r.docs.top()[2]->expanded);
    EXPECT_TRUE(r.docs.top()[3]->expanded);
    EXPECT_EQ(selectionWrites, 0);  // reading does not write it back
    EXPECT_FALSE(r.recording);
}

TEST(RecordFile, TheSelectionFileIsWrittenAlsoBeforeOneWasRead) {
    TempFolder dir;
    ShownRecord r;
    FillSample(r);
    ASSERT_TRUE(WriteSelectionFile(r, dir.file(L"new.tolvanetreesel")));
    std::vector<std::wstring> lines;
    ASSERT_TRUE(ReadTextLines(dir.file(L"new.tolvanetreesel"), lines));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"1", L"0", L"0", L"0"}));
}

// A record grows past any walk limit through hand-offs and recordings; a save that dropped the
// top-level items past 5000 lost the user's items, old ones included.
TEST(RecordFile, EveryTopLevelNodeIsWrittenAndReadBackWithItsChildren) {
    TempFolder dir;
    std::wstring file = dir.file(L"big.tolvane");
    ShownRecord r;
    RecordNode* first = AddEntry(r, nullptr, L"first", L"C:\\first", kFolderOrLocation, 0);
    for (int i = 0; i < 6000; ++i) AddEntry(r, first, L"c", L"C:\\first\\c" + std::to_wstring(i), kFolderOrLocation, 0);
    for (int i = 1; i <= 10002; ++i) AddEntry(r, nullptr, L"n", L"C:\\n" + std::to_wstring(i), kProgramOrDocument, 2);
    ASSERT_TRUE(WriteRecordFile(r, file, L"x"));
    ASSERT_TRUE(WriteSelectionFile(r, SelectionFilePath(file)));
    ShownRecord read;
    ASSERT_EQ(ReadRecordFile(read, file), ReadOutcome::Complete);
    ASSERT_EQ(read.docs.top().size(), 10003u);
    EXPECT_EQ(read.docs.top()[0]->children.size(), 6000u);
    EXPECT_EQ(read.apps.top().size(), 10002u);  // the per-kind trees hold them all too
    std::set<std::wstring> paths;
    for (const auto& node : read.docs.top()) paths.insert(read.items.At(node->data.itemIndex).path);
    EXPECT_TRUE(paths.count(L"C:\\n1") && paths.count(L"C:\\n5001") && paths.count(L"C:\\n10002"));
    std::vector<std::wstring> lines;
    ReadTextLines(SelectionFilePath(file), lines);
    EXPECT_EQ(lines.size(), 10003u);
    // The quick reader of searches sees them all as well.
    size_t visited = 0;
    ASSERT_TRUE(VisitRecordItems(file, [&](const std::wstring&, const std::wstring&) { ++visited; }));
    EXPECT_EQ(visited, 16003u);
}

TEST(RecordFile, AnyDocumentElementNameAndUtf16FilesRead) {
    TempFolder dir;
    std::wstring xml = L"<other app=\"y\">" + Item(L"Ünïcode ✓", L"C:\\ü.txt", L"2") + L"</other>";
    ASSERT_TRUE(WriteUtf8(dir.file(L"a.tolvane"), L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + xml));
    ASSERT_TRUE(tvtest::WriteAll(dir.file(L"b.tolvane"),
                                 std::string("\xFF\xFE", 2) +
                                     tvtest::Utf16(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n" + xml)));
    for (const wchar_t* name : {L"a.tolvane", L"b.tolvane"}) {
        ShownRecord r;
        ASSERT_EQ(ReadRecordFile(r, dir.file(name)), ReadOutcome::Complete) << name;
        ASSERT_EQ(r.docs.top().size(), 1u) << name;
        EXPECT_EQ(r.docs.top()[0]->caption, L"Ünïcode ✓");
        EXPECT_EQ(r.items.At(0).path, L"C:\\ü.txt");
        EXPECT_EQ(r.apps.top().size(), 1u);
    }
}

TEST(RecordFile, ABadNumberOrAMissingAttributeCostsOnlyThatValue) {
    TempFolder dir;
    auto item = [](const std::wstring& attributes) { return L"<item " + attributes + L"/>"; };
    std::wstring xml =
        L"<tolvanetree>" +
        item(L"text=\"a\" path=\"C:\\a\" imageIndex=\"abc\" stateIndex=\"-1\" docType=\"2\" extand=\"-1\"") +
        item(L"text=\"b\" path=\"C:\\b\" stateIndex=\"x\" docType=\"3\" extand=\"?\"") +  // no imageIndex
        item(L"text=\"c\" path=\"C:\\c\" imageIndex=\"7\"") +  // no docType, stateIndex or extand
        item(L"text=\"d\" path=\"https://example.com/\" imageIndex=\"1\" docType=\"page\"") +
        item(L"text=\"e\" path=\"C:\\e\" imageIndex=\"99999999999\" docType=\"3\"") +  // beyond int
        L"</tolvanetree>";
    ASSERT_TRUE(WriteUtf8(dir.file(L"r.tolvane"), xml));
    ShownRecord r;
    ASSERT_EQ(ReadRecordFile(r, dir.file(L"r.tolvane")), ReadOutcome::Complete);
    ASSERT_EQ(r.docs.top().size(), 5u);
    auto item_of = [&](size_t i) { return r.items.At(r.docs.top()[i]->data.itemIndex); };
    EXPECT_EQ(item_of(0).imageIndex, 0);
    EXPECT_EQ(item_of(0).kind, kProgramOrDocument);
    EXPECT_EQ(item_of(1).imageIndex, 0);
    EXPECT_EQ(item_of(1).kind, kFolderOrLocation);
    EXPECT_EQ(r.docs.top()[2]->imageIndex, 7);
    EXPECT_EQ(item_of(2).kind, kProgramOrDocument);  // a missing kind: program or document...
    EXPECT_EQ(item_of(3).kind, kWebPage);            // ...or a web page for a web address
    EXPECT_EQ(item_of(4).imageIndex, 0);
    EXPECT_EQ(item_of(4).path, L"C:\\e");
    // Read whole, so the kind trees are built: two programs, two folders, one page.
    EXPECT_EQ(r.apps.top().size(), 2u);
    EXPECT_EQ(r.paths.top().size(), 2u);
    EXPECT_EQ(r.pages.top().size(), 1u);

    // Saved and read again, every item is there with the values it was shown with.
    ASSERT_TRUE(WriteRecordFile(r, dir.file(L"r.tolvane"), L"x"));
    ShownRecord again;
    ASSERT_EQ(ReadRecordFile(again, dir.file(L"r.tolvane")), ReadOutcome::Complete);
    EXPECT_EQ(Shape(again, again.docs), Shape(r, r.docs));
}

TEST(RecordFile, AnItemWithoutTextOrPathStopsTheReadingAndLeavesNoHalfMadeNode) {
    TempFolder dir;
    std::wstring noPath = L"<item text=\"two\" imageIndex=\"3\" docType=\"2\"/>";
    std::wstring noText = L"<item path=\"C:\\2\" imageIndex=\"3\" docType=\"2\"/>";
    for (const std::wstring& bad : {noPath, noText}) {
        std::wstring xml = L"<tolvanetree>" + Item(L"one", L"C:\\1", L"2", Item(L"child", L"C:\\1\\c", L"2")) +
                           bad + Item(L"three", L"C:\\3", L"2") + L"</tolvanetree>";
        ASSERT_TRUE(WriteUtf8(dir.file(L"r.tolvane"), xml));
        ShownRecord r;
        EXPECT_EQ(ReadRecordFile(r, dir.file(L"r.tolvane")), ReadOutcome::Stopped);
        EXPECT_FALSE(MayWriteOver(ReadOutcome::Stopped));
        EXPECT_EQ(r.docs.NodeCount(), 2u);
        EXPECT_EQ(r.items.Count(), 2);
        EXPECT_TRUE(r.NodesPointToItems());
        EXPECT_TRUE(r.apps.top().empty());
        EXPECT_TRUE(r.paths.top().empty());
        EXPECT_TRUE(r.pages.top().empty());
    }
}

TEST(RecordFile, ARecordNotReadWholeSaysWhy) {
    TempFolder dir;
    ShownRecord sample;
    FillSample(sample);
    ASSERT_TRUE(WriteRecordFile(sample, dir.file(L"whole.tolvane"), L"x"));
    std::string whole = tvtest::ReadAll(dir.file(L"whole.tolvane"));
    auto outcome = [&](const std::string& bytes) {
        tvtest::WriteAll(dir.file(L"t.tolvane"), bytes);
        ShownRecord r;
        ReadOutcome o = ReadRecordFile(r, dir.file(L"t.tolvane"));
        EXPECT_TRUE(r.NodesPointToItems());
        return o;
    };
    EXPECT_EQ(outcome(whole), ReadOutcome::Complete);
    EXPECT_EQ(outcome(whole.substr(0, whole.size() - 20)), ReadOutcome::NotLoaded);  // cut short
    EXPECT_EQ(outcome(""), ReadOutcome::NotLoaded);
    // UTF-8 bytes under a UTF-16 declaration.
    std::string mislabelled = whole;
    size_t at = mislabelled.find("UTF-8");
    ASSERT_NE(at, std::string::npos);
    mislabelled.replace(at, 5, "UTF-16");
    EXPECT_EQ(outcome(mislabelled), ReadOutcome::NotLoaded);

    // Nesting one level below the depth limit is left out, and said so (or refused by a parser
    // with a limit of its own); at the limit it is whole.
    auto nested = [](int depth) {
        std::wstring xml = L"<t>";
        for (int i = 0; i < depth; ++i) xml += L"<item text=\"d\" path=\"p\" imageIndex=\"0\" docType=\"3\">";
        for (int i = 0; i < depth; ++i) xml += L"</item>";
        return ToUtf8(xml + L"</t>");
    };
    EXPECT_EQ(outcome(nested(kMaxRecordDepth)), ReadOutcome::Complete);
    ReadOutcome deeper = outcome(nested(kMaxRecordDepth + 1));
    EXPECT_TRUE(deeper == ReadOutcome::DepthCut || deeper == ReadOutcome::NotLoaded);

    // Past 5000 top-level items every one is read: the writer writes them all.
    std::wstring many = L"<t>";
    for (int i = 0; i < 5001; ++i) many += Item(L"n" + std::to_wstring(i), L"C:\\n", L"2");
    EXPECT_EQ(outcome(ToUtf8(many + L"<!-- no item --></t>")), ReadOutcome::Complete);

    for (ReadOutcome o : {ReadOutcome::NotLoaded, ReadOutcome::DepthCut, ReadOutcome::Stopped})
        EXPECT_FALSE(MayWriteOver(o));
    EXPECT_TRUE(MayWriteOver(ReadOutcome::Complete));
    EXPECT_TRUE(MayWriteOver(ReadOutcome::Missing));
}

// A failed save tells the failing call's error, or the program's own words where no call of
// the system failed: never the "Success." of an error code of 0.
TEST(RecordFile, AFailedWriteSaysWhy) {
    TempFolder dir;
    ShownRecord good, bad;
    FillSample(good);
    FillSample(bad);
    bad.items.At(bad.docs.top()[0]->data.itemIndex).path = L"C:\\a\x01.txt";
    HIMAGELIST strip = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    struct Case {
        const ShownRecord& record;
        std::wstring path;
        DWORD error;       // the system's error expected, 0 for the program's own words
    } cases[] = {
        {bad, dir.file(L"r.tolvane"), 0},
        {good, L"", 0},
        {good, dir.file(L"no such folder\\r.tolvane"), ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        WriteFailure why;
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(WriteRecord(c.record, strip, c.path, L"x", &why)) << ToUtf8(c.path);
        EXPECT_EQ(why.error, c.error) << ToUtf8(c.path);
        EXPECT_FALSE(why.Text().empty());
        EXPECT_NE(why.Text(), SystemMessageText(ERROR_SUCCESS)) << ToUtf8(why.Text());
        if (!c.error) {
            EXPECT_FALSE(why.reason.empty());
        }
    }
    WriteFailure none;
    EXPECT_TRUE(WriteRecord(good, strip, dir.file(L"ok.tolvane"), L"x", &none));
    ImageList_Destroy(strip);
}

TEST(RecordFile, TextXmlCannotCarryIsNeverWritten) {
    TempFolder dir;
    std::wstring file = dir.file(L"r.tolvane");
    ShownRecord good;
    FillSample(good);
    ASSERT_TRUE(WriteRecordFile(good, file, L"x"));
    std::string before = tvtest::ReadAll(file);

    const std::wstring bad[] = {L"C:\\a\x01.txt", L"C:\\\xFFFF", L"C:\\\xFFFE", L"C:\\\xD800x", L"\xDC00"};
    for (const std::wstring& text : bad) {
        for (bool inCaption : {false, true}) {
            ShownRecord r;
            FillSample(r);
            RecordNode* deep = r.docs.top()[1]->children[1]->children[0].get();  // a grandchild
            if (inCaption) deep->caption = text;
            else r.items.At(deep->data.itemIndex).path = text;
            EXPECT_TRUE(HasUnwritableText(r));
            EXPECT_FALSE(WriteRecordFile(r, file, L"x"));
            EXPECT_FALSE(WriteRecord(r, nullptr, file, L"x"));
        }
    }
    EXPECT_EQ(tvtest::ReadAll(file), before);
    EXPECT_FALSE(HasUnwritableText(good));
    // Nothing of a refused write is left in the folder.
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(dir.file(L"*.tmp*").c_str(), &found);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);

    // Tab, CR, LF and whole surrogate pairs are written and read back as they were.
    ShownRecord fine;
    FillSample(fine);
    fine.docs.top()[0]->caption = L"tab\there\r\nand \xD83D\xDE00";
    fine.items.At(fine.docs.top()[0]->data.itemIndex).path = L"C:\\\xD83D\xDE00";
    ASSERT_TRUE(WriteRecordFile(fine, file, L"x"));
    ShownRecord read;
    ASSERT_EQ(ReadRecordFile(read, file), ReadOutcome::Complete);
    bool found_pair = false, found_caption = false;
    for (int i = 0; i < read.items.Count(); ++i) found_pair |= read.items.At(i).path == L"C:\\\xD83D\xDE00";
    read.docs.Walk([&](RecordNode& n) { found_caption |= n.caption == L"tab\there\r\nand \xD83D\xDE00"; });
    EXPECT_TRUE(found_pair);
    EXPECT_TRUE(found_caption);
    // The search's quick reader reads the written file as the XML library does.
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    std::vector<std::wstring> quick, library;
    auto into = [](std::vector<std::wstring>& out) {
        return [&out](const std::wstring& path, const std::wstring& text) { out.push_back(path + L"|" + text); };
    };
    ASSERT_TRUE(ScanRecordItems(bytes, into(quick)));
    ASSERT_TRUE(VisitRecordBytes(bytes, into(library)));
    EXPECT_EQ(quick, library);
}

TEST(RecordFile, HostileFilesAreReadSafely) {
    TempFolder dir;
    // Nested far deeper than any record: the parser refuses it or the reader stops at its
    // fixed depth; either way no stack is exhausted and no node is left without its item.
    auto nested = [](int depth) {
        std::wstring xml = L"<t>";
        for (int i = 0; i < depth; ++i)
            xml += L"<item text=\"d\" path=\"p\" imageIndex=\"0\" stateIndex=\"0\" docType=\"3\" extand=\"0\">";
        for (int i = 0; i < depth; ++i) xml += L"</item>";
        return xml + L"</t>";
    };
    ASSERT_TRUE(WriteUtf8(dir.file(L"deep.tolvane"), nested(20000)));
    ShownRecord r;
    ReadOutcome deep = ReadRecordFile(r, dir.file(L"deep.tolvane"));
    EXPECT_TRUE(deep == ReadOutcome::NotLoaded || deep == ReadOutcome::DepthCut);
    EXPECT_LE(r.docs.NodeCount(), static_cast<size_t>(kMaxRecordDepth));
    EXPECT_TRUE(r.NodesPointToItems());
    ASSERT_TRUE(WriteUtf8(dir.file(L"nested.tolvane"), nested(200)));
    EXPECT_EQ(ReadRecordFile(r, dir.file(L"nested.tolvane")), ReadOutcome::Complete);
    EXPECT_EQ(r.docs.NodeCount(), 200u);

    // Not XML, an empty file, a missing one.
    ASSERT_TRUE(WriteUtf8(dir.file(L"junk.tolvane"), L"<t><item text=\"a\""));
    ASSERT_TRUE(tvtest::WriteAll(dir.file(L"empty.tolvane"), ""));
    for (const wchar_t* name : {L"junk.tolvane", L"empty.tolvane"}) {
        ShownRecord bad;
        FillSample(bad);
        EXPECT_EQ(ReadRecordFile(bad, dir.file(name)), ReadOutcome::NotLoaded) << name;
        EXPECT_EQ(bad.docs.NodeCount(), 0u) << name;
        EXPECT_TRUE(bad.NodesPointToItems());
    }
    ShownRecord untouched;
    FillSample(untouched);
    EXPECT_EQ(ReadRecordFile(untouched, dir.file(L"missing.tolvane")), ReadOutcome::Missing);
    EXPECT_EQ(untouched.docs.NodeCount(), 10u);

    // An external entity is never fetched or expanded.
    ASSERT_TRUE(WriteUtf8(dir.file(L"dtd.tolvane"),
                          L"<!DOCTYPE t [<!ENTITY x SYSTEM \"file:///C:/windows/win.ini\">]><t>" +
                              Item(L"&x;", L"p", L"2") + L"</t>"));
    ShownRecord dtd;
    ReadRecordFile(dtd, dir.file(L"dtd.tolvane"));
    for (int i = 0; i < dtd.items.Count(); ++i) EXPECT_EQ(dtd.items.At(i).title.find(L"[fonts]"), std::wstring::npos);
}

TEST(RecordFile, AManyMegabyteRecordReads) {
    TempFolder dir;
    ShownRecord r;
    for (int i = 0; i < 2000; ++i) {
        RecordNode* n = AddEntry(r, nullptr, std::wstring(200, L'n'), L"C:\\n" + std::to_wstring(i), kProgramOrDocument, 5);
        for (int c = 0; c < 10; ++c) AddEntry(r, n, std::wstring(200, L'c'), L"C:\\c", kProgramOrDocument, 5);
    }
    std::wstring file = dir.file(L"large.tolvane");
    ASSERT_TRUE(WriteRecordFile(r, file, L"x"));
    EXPECT_GT(tvtest::ReadAll(file).size(), 5u << 20);
    ShownRecord read;
    EXPECT_EQ(ReadRecordFile(read, file), ReadOutcome::Complete);
    EXPECT_EQ(read.docs.NodeCount(), 22000u);
}

TEST(RecordFile, NamesOfTheThreeFilesShareTheBaseName) {
    EXPECT_EQ(IconFilePath(L"C:\\R\\Dec 08,2026_001.tolvane"), L"C:\\R\\Dec 08,2026_001.dat");
    EXPECT_EQ(SelectionFilePath(L"C:\\R\\Dec 08,2026_001.tolvane"), L"C:\\R\\Dec 08,2026_001.tolvanetreesel");
    EXPECT_EQ(WithExtension(L"C:\\a.b\\name", L".dat"), L"C:\\a.b\\name.dat");
}

TEST(RecordFile, AWriterKilledBeforeTheReplaceLeavesTheOldRecordWhole) {
    TempFolder dir;
    std::wstring file = dir.file(L"kept.tolvane"), marker = dir.file(L"marker");
    ShownRecord original;
    FillSample(original);
    original.docs.SortByCaption();  // as the trees hold it
    ASSERT_TRUE(WriteRecordFile(original, file, L"x"));
    tvtest::Process writer;
    ASSERT_TRUE(writer.Start(tvtest::ExeFolder() + L"\\record_writer.exe", L"\"" + file + L"\" \"" + marker + L"\""));
    bool ready = false;
    for (int i = 0; i < 600 && !ready; ++i, Sleep(50)) ready = FileExists(marker);
    ASSERT_TRUE(ready);
    writer.Kill();
    ShownRecord read;
    EXPECT_EQ(ReadRecordFile(read, file), ReadOutcome::Complete);
    EXPECT_EQ(Shape(read, read.docs), Shape(original, original.docs));
}

namespace {
// A 16 by 16 top-down 32-bit bitmap; `bits` receives its pixels.
HBITMAP Dib16(HDC dc, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP SolidBitmap(COLORREF color, BYTE alpha) {
    void* bits = nullptr;
    HBITMAP bmp = Dib16(nullptr, &bits);
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < 256; ++i)
        px[i] = (i % 17 == 0) ? 0 : (static_cast<DWORD>(alpha) << 24) | (GetRValue(color) << 16) |
                                        (GetGValue(color) << 8) | GetBValue(color);
    return bmp;
}

// The pixels of image i of a strip, drawn over black.
std::vector<DWORD> Pixels(HIMAGELIST strip, int i) {
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = Dib16(dc, &bits);
    HGDIOBJ old = SelectObject(dc, bmp);
    ImageList_Draw(strip, i, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    std::vector<DWORD> out(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 256);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return out;
}
}  // namespace

TEST(IconFile, RestoresTheSameImagesAtTheSameIndexes) {
    HIMAGELIST strip = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    ASSERT_NE(strip, nullptr);
    const COLORREF colors[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(250, 200, 20), RGB(90, 90, 90)};
    for (COLORREF c : colors) {
        HBITMAP bmp = SolidBitmap(c, 255);
        ASSERT_GE(ImageList_Add(strip, bmp, nullptr), 0);
        DeleteObject(bmp);
    }
    TempFolder dir;
    ASSERT_TRUE(WriteIconFile(strip, dir.file(L"r.dat")));
    HIMAGELIST back = ReadIconFile(dir.file(L"r.dat"));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(ImageList_GetImageCount(back), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Pixels(back, i), Pixels(strip, i)) << "image " << i;
    EXPECT_NE(Pixels(back, 0), Pixels(back, 1));
    ImageList_Destroy(back);
    ImageList_Destroy(strip);

    EXPECT_EQ(ReadIconFile(dir.file(L"missing.dat")), nullptr);
    ASSERT_TRUE(tvtest::WriteAll(dir.file(L"junk.dat"), "not an image list at all"));
    EXPECT_EQ(ReadIconFile(dir.file(L"junk.dat")), nullptr);
}

// Window places ride on items as extra attributes: what the writer puts there reads back, and a
// reader that ignores them (the file's items without the attributes) finds the same items.
TEST(RecordFile, WindowPlacesReadBackAndChangeNoItemWhenIgnored) {
    ShownRecord written;
    FillSample(written);
    WindowPlace place;
    place.known = true;
    place.normal = {-1900, 40, -1100, 640};
    place.shown = ShownState::Maximised;
    place.monitor = {L"\\\\.\\DISPLAY2", {-1920, 0, 0, 1040}, {}};
    written.items.At(written.docs.top()[1]->children[0]->data.itemIndex).place = place;
    written.items.At(written.docs.top()[1]->data.itemIndex).place = place;
    std::string bytes;
    ASSERT_TRUE(RecordFileBytes(written, L"C:\\tolvane.exe", bytes));

    ShownRecord read;
    ASSERT_EQ(ReadRecordBytes(read, bytes), ReadOutcome::Complete);
    const RecordNode* writer = nullptr;
    read.docs.Walk([&](RecordNode& n) { writer = n.caption == L"Writer" ? &n : writer; });
    ASSERT_TRUE(writer && !writer->children.empty());
    const TMyDoc& doc = read.items.At(writer->children[0]->data.itemIndex);
    ASSERT_TRUE(doc.place.known);
    EXPECT_TRUE(EqualRect(&doc.place.normal, &place.normal));
    EXPECT_EQ(doc.place.shown, ShownState::Maximised);
    EXPECT_EQ(doc.place.monitor.device, place.monitor.device);
    EXPECT_TRUE(EqualRect(&doc.place.monitor.work, &place.monitor.work));
    EXPECT_TRUE(read.items.At(writer->data.itemIndex).place.known);
    int placed = 0;
    read.docs.Walk([&](RecordNode& n) { placed += read.items.At(n.data.itemIndex).place.known; });
    EXPECT_EQ(placed, 2);

    std::string plain = bytes;
    for (const char* name : {" windowRect=\"", " windowShown=\"", " monitor=\"", " monitorWorkArea=\""})
        for (size_t at; (at = plain.find(name)) != std::string::npos;)
            plain.erase(at, plain.find('"', at + strlen(name)) + 1 - at);
    ASSERT_NE(plain, bytes);
    ShownRecord without;
    ASSERT_EQ(ReadRecordBytes(without, plain), ReadOutcome::Complete);
    EXPECT_EQ(Shape(without, without.docs), Shape(read, read.docs));
    std::vector<std::wstring> visited[2];
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(VisitRecordBytes(i ? plain : bytes, [&](const std::wstring& path, const std::wstring& text) {
            visited[i].push_back(path + L"|" + text);
        }));
    EXPECT_EQ(visited[0], visited[1]);
}
