// Damaged and hostile variations of one valid record, each read in-process: the reader must
// never crash or leave a node without its item, and whatever it calls whole must survive a
// save and a second reading unchanged.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "base/strings.h"
#include "records/record_file.h"
#include "support/record_entries.h"
#include "support/test_support.h"

using namespace tv;
using tvtest::AddEntry;
using tvtest::TempFolder;

namespace {


std::string SampleRecord(const std::wstring& file) {
    ShownRecord r;
    RecordNode* c = AddEntry(r, nullptr, L"C:\\", L"C:\\", kFolderOrLocation, 0);
    AddEntry(r, c, L"Temp", L"C:\\Temp\\", kFolderOrLocation, 0);
    AddEntry(r, c, L"Données & <notes>", L"C:\\Données\\", kFolderOrLocation, 0);
    RecordNode* w = AddEntry(r, nullptr, L"Writer", L"C:\\Apps\\writer.exe", kProgramOrDocument, 47);
    RecordNode* b = AddEntry(r, w, L"b \"q\".doc", L"C:\\Docs\\b.doc", kProgramOrDocument, 48);
    AddEntry(r, b, L"deep", L"C:\\Docs\\deep.doc", kProgramOrDocument, 48);
    AddEntry(r, w, L"日本語.doc", L"C:\\Docs\\日本語.doc", kProgramOrDocument, 79);
    AddEntry(r, nullptr, L"Example", L"http://example.com/?a=1&b=2", kWebPage, 1);
    AddEntry(r, nullptr, L"notes", L"C:\\notes.txt", kProgramOrDocument, 9);
    r.docs.SortByCaption();
    EXPECT_TRUE(WriteRecordFile(r, file, L"C:\\TolVane\\tolvane.exe"));
    return tvtest::ReadAll(file);
}

// Depth, caption, path, kind and image of every node, parents first.
std::vector<std::wstring> Shape(const ShownRecord& r) {
    std::vector<std::wstring> out;
    r.docs.Walk([&](RecordNode& n) {
        int depth = 0;
        for (RecordNode* p = n.parent; p; p = p->parent) ++depth;
        const TMyDoc& d = r.items.At(n.data.itemIndex);
        out.push_back(std::to_wstring(depth) + L"|" + n.caption + L"|" + d.path + L"|" + std::to_wstring(d.kind) +
                      L"|" + std::to_wstring(n.imageIndex) + L"|" + std::to_wstring(d.imageIndex));
    });
    return out;
}

class Mutator {
public:
    explicit Mutator(const std::string& base) : base_(base), random_(20261208u) {}

    size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    // Cut at an offset: near the start, inside the declaration, anywhere, near the end.
    std::string Cut(size_t i) {
        size_t n = base_.size(), at;
        switch (i % 4) {
            case 0: at = Below(64); break;
            case 1: at = n - 1 - Below(64); break;
            default: at = Below(n); break;
        }
        return base_.substr(0, at);
    }

    std::string Flip(std::string s) {
        for (size_t k = 1 + Below(3); k > 0; --k) s[Below(s.size())] = static_cast<char>(Below(256));
        return s;
    }

    // One attribute of one element removed, emptied or given a hostile value.
    std::string Garble(std::string s) {
        static const char* const names[] = {"text=", "path=", "imageIndex=", "stateIndex=", "docType=", "extand="};
        static const char* const values[] = {"\"\"", "\"abc\"", "\"99999999999\"", "\"-2147483649\"", "\"-1\"",
                                             "\"0x7F\"", "\" 12 \"", "\"&#1;\"", "\"&#xFFFF;\"", "\"&#xD800;\"",
                                             "\"&amp;&lt;\"", "\"\xEF\xBF\xBE\"", "\"\xC3\"", "\"a\"b\"", "\"x"};
        std::vector<size_t> at;
        std::string name = names[Below(6)];
        for (size_t p = s.find(" " + name); p != std::string::npos; p = s.find(" " + name, p + 1)) at.push_back(p);
        if (at.empty()) return s;
        size_t start = at[Below(at.size())];
        size_t open = start + 1 + name.size();
        size_t close = s.find('"', open + 1);
        if (close == std::string::npos) return s;
        if (Below(3) == 0) return s.erase(start, close + 1 - start);  // removed
        return s.replace(open, close + 1 - open, values[Below(sizeof(values) / sizeof(*values))]);
    }

    // One item wrapped in extra levels, some beyond the depth limit.
    std::string Deepen(std::string s) {
        std::vector<size_t> items;
        for (size_t p = s.find("<item "); p != std::string::npos; p = s.find("<item ", p + 1)) items.push_back(p);
        size_t at = items[Below(items.size())];
        size_t depth = Below(4) == 0 ? kMaxRecordDepth + Below(40) : 1 + Below(30);
        std::string open, close;
        for (size_t k = 0; k < depth; ++k) {
            open += "<item text=\"L" + std::to_string(k) + "\" path=\"C:\\L\" imageIndex=\"2\" docType=\"3\">";
            close += "</item>";
        }
        // The wrapped element ends where the next sibling or parent end begins: wrap only a
        // self-closed item, else put the levels in front of it as a sibling chain.
        size_t end = s.find("/>", at);
        size_t nextOpen = s.find('<', at + 1);
        if (end != std::string::npos && end < nextOpen) return s.insert(end + 2, close).insert(at, open);
        return s.insert(at, open + close);
    }

    // The same text under another declaration or in another encoding.
    std::string SwapEncoding(std::string s) {
        std::wstring text = FromUtf8(s);
        switch (Below(6)) {
            case 0: return Relabel(s, "UTF-16");
            case 1: return Relabel(s, "ISO-8859-1");
            case 2: return Relabel(s, "no-such-encoding");
            case 3: return std::string("\xFF\xFE", 2) + tvtest::Utf16(FromUtf8(Relabel(s, "UTF-16")));
            case 4: return tvtest::Utf16(FromUtf8(Relabel(s, "UTF-16")));  // no byte-order mark
            default: return std::string("\xFF\xFE", 2) + tvtest::Utf16(text);  // UTF-16 declared UTF-8
        }
    }

    const std::string& base() const { return base_; }

private:
    static std::string Relabel(std::string s, const std::string& encoding) {
        size_t at = s.find("UTF-8");
        return at == std::string::npos ? s : s.replace(at, 5, encoding);
    }
    static std::wstring FromUtf8(const std::string& s) {
        int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
        std::wstring w(n, L'\0');
        MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
        return w;
    }

    std::string base_;
    std::mt19937 random_;
};

std::vector<std::string> Variations(Mutator& m) {
    std::vector<std::string> variations;
    for (size_t i = 0; i < 400; ++i) variations.push_back(m.Cut(i));
    for (size_t i = 0; i < 600; ++i) variations.push_back(m.Flip(m.base()));
    for (size_t i = 0; i < 600; ++i) variations.push_back(i % 5 ? m.Garble(m.base()) : m.Garble(m.Garble(m.base())));
    for (size_t i = 0; i < 200; ++i) variations.push_back(m.Deepen(m.base()));
    for (size_t i = 0; i < 250; ++i) variations.push_back(m.SwapEncoding(i % 2 ? m.base() : m.Garble(m.base())));
    return variations;
}

using Visited = std::vector<std::pair<std::wstring, std::wstring>>;
ItemVisit Into(Visited& out) {
    return [&out](const std::wstring& path, const std::wstring& text) { out.emplace_back(path, text); };
}

}  // namespace

TEST(RecordFuzz, DamagedVariationsNeverCrashAndWholeReadsSurviveASave) {
    TempFolder dir;
    Mutator m(SampleRecord(dir.file(L"sample.tolvane")));
    ASSERT_FALSE(m.base().empty());
    std::vector<std::string> variations = Variations(m);
    ASSERT_GE(variations.size(), 2000u);

    std::map<ReadOutcome, int> outcomes;
    for (size_t i = 0; i < variations.size(); ++i) {
        SCOPED_TRACE("variation " + std::to_string(i));
        ShownRecord read;
        ReadOutcome outcome = ReadRecordBytes(read, variations[i]);
        ++outcomes[outcome];
        ASSERT_TRUE(read.NodesPointToItems());
        if (outcome != ReadOutcome::Complete) {
            if (outcome == ReadOutcome::NotLoaded) {
                EXPECT_EQ(read.docs.NodeCount(), 0u);
            }
            continue;
        }
        std::string saved;
        ASSERT_TRUE(RecordFileBytes(read, L"C:\\TolVane\\tolvane.exe", saved));
        ShownRecord again;
        ASSERT_EQ(ReadRecordBytes(again, saved), ReadOutcome::Complete);
        ASSERT_EQ(Shape(again), Shape(read));
    }
    // Each kind of damage was met: the variations are no mere copies of the valid record.
    // (Deeper nesting than the reader's limit is refused by Wine's parser itself, so it
    // counts as not loaded there.)
    EXPECT_GT(outcomes[ReadOutcome::NotLoaded] + outcomes[ReadOutcome::DepthCut], 0);
    for (ReadOutcome o : {ReadOutcome::Complete, ReadOutcome::Stopped, ReadOutcome::NotLoaded})
        EXPECT_GT(outcomes[o], 0) << static_cast<int>(o);
}


// The search reads the program's own files without the XML library: whatever it reads must be
// what the library reads, and whatever it cannot be sure of it must leave to the library.
TEST(RecordFuzz, TheQuickReaderAgreesWithTheXmlLibraryOrDeclines) {
    TempFolder dir;
    Mutator m(SampleRecord(dir.file(L"sample.tolvane")));
    std::vector<std::string> variations = Variations(m);
    // Shapes the writer never makes but a file may hold.
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tolvanetree>";
    const std::string tail = "</tolvanetree>\n";
    variations.push_back(head + "<item text='single &apos;quoted&apos;' path=\"a\tb\r\nc&#9;d\"/>" + tail);
    variations.push_back(head + "<item text=\"&#x1F600; &#65;\" path=\"&lt;&gt;&amp;&quot;\"></item >" + tail);
    variations.push_back(head + "<other path=\"x\"><item text=\"in\"/></other>" + tail);
    variations.push_back(head + "<item text=\"a\" text=\"b\"/>" + tail);
    variations.push_back(head + "<item text=\"a\"path=\"b\"/>" + tail);
    variations.push_back(head + "<!-- note --><item text=\"a\"/>" + tail);
    variations.push_back(head + "text<item text=\"a\"/>" + tail);
    variations.push_back(head + "<item text=\"&#0;\"/>" + tail);
    variations.push_back(head + "<x:item text=\"a\"/>" + tail);
    variations.push_back("<tolvanetree><item path=\"no declaration\"/></tolvanetree>");
    variations.push_back("\xEF\xBB\xBF" + head + "<item path=\"bom\"/>" + tail);
    std::string many = head;
    for (int i = 0; i < 5003; ++i) many += "<item path=\"p" + std::to_string(i) + "\"><item path=\"c\"/></item>";
    variations.push_back(many + tail);
    std::string deep = head;
    for (int i = 0; i < 210; ++i) deep += "<item path=\"d\">";
    for (int i = 0; i < 210; ++i) deep += "</item>";
    variations.push_back(deep + tail);

    int quick = 0, declined = 0;
    for (size_t i = 0; i < variations.size(); ++i) {
        SCOPED_TRACE("variation " + std::to_string(i));
        Visited scanned, parsed;
        if (!ScanRecordItems(variations[i], Into(scanned))) {
            EXPECT_TRUE(scanned.empty());  // a declined file reports nothing
            ++declined;
            continue;
        }
        ++quick;
        ASSERT_TRUE(VisitRecordBytes(variations[i], Into(parsed))) << "read quickly, but the library refuses it";
        ASSERT_EQ(scanned, parsed);
    }
    EXPECT_GT(quick, 300);
    EXPECT_GT(declined, 300);
}

TEST(QuickRecordReader, ReadsWhatTheWriterWritesAndResolvesReferencesAsTheLibraryDoes) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tolvanetree app=\"x\">";
    Visited seen;
    ASSERT_TRUE(ScanRecordItems(head + "<item text='it&apos;s' path=\"a\tb\r\nc&#9;d\"><item text=\"&#x1F600;\" "
                                       "path=\"&lt;&amp;&gt;\"/></item></tolvanetree>\n",
                                Into(seen)));
    EXPECT_EQ(seen, (Visited{{L"a b c\td", L"it's"}, {L"<&>", L"\xD83D\xDE00"}}));

    // Every top-level item is visited, past 5000 too, with everything below it.
    std::string many = head;
    for (int i = 0; i < 5002; ++i) many += "<item path=\"p" + std::to_string(i) + "\"><item path=\"c\"/></item>";
    seen.clear();
    ASSERT_TRUE(ScanRecordItems(many + "</tolvanetree>", Into(seen)));
    EXPECT_EQ(seen.size(), 10004u);
    EXPECT_EQ(seen[10002].first, L"p5001");

    // Shapes left to the library.
    for (const std::string& odd : {head + "<!-- c --></tolvanetree>", head + "</tolvanetre>", head,
                                   std::string("\xFF\xFE<\0a\0/\0>\0", 10), head + "<i t=\"\xC3\"/></tolvanetree>"}) {
        seen.clear();
        EXPECT_FALSE(ScanRecordItems(odd, Into(seen)));
        EXPECT_TRUE(seen.empty());
    }
}
