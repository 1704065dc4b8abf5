#include "records/icon_strip.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/shell_links.h"
#include "base/strings.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;

namespace {

// Owns a strip for the length of a test.
struct Strip {
    HIMAGELIST h;
    explicit Strip(HIMAGELIST list) : h(list) {}
    ~Strip() {
        if (h) ImageList_Destroy(h);
    }
    Strip(const Strip&) = delete;
    Strip& operator=(const Strip&) = delete;
    int count() const { return ImageList_GetImageCount(h); }
};

// One image drawn over a plain background, as 16 x 16 pixels 0x00RRGGBB, rows from the top.
std::vector<COLORREF> Render(HIMAGELIST strip, int index, COLORREF background) {
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, kStandardIconSize, kStandardIconSize);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all = {0, 0, kStandardIconSize, kStandardIconSize};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ImageList_Draw(strip, index, dc, 0, 0, ILD_NORMAL);
    for (int y = 0; y < kStandardIconSize; ++y)
        for (int x = 0; x < kStandardIconSize; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A pixel that shows the background on black and on white is transparent.
bool Transparent(const std::vector<COLORREF>& onBlack, const std::vector<COLORREF>& onWhite, int x, int y) {
    size_t i = size_t(y) * kStandardIconSize + size_t(x);
    return onBlack[i] == RGB(0, 0, 0) && onWhite[i] == RGB(255, 255, 255);
}

}  // namespace

// The rules that need only the text of the path.

TEST(IconStripRules, ProgramsMatchTheWholeFileNameInAnyCase) {
    EXPECT_EQ(StandardIconIndex(L"C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE"), 13);
    EXPECT_EQ(StandardIconIndex(L"c:\\live\\wlxphotogallery.exe"), 63);
    EXPECT_EQ(StandardIconIndex(L"C:\\Live\\WlxPhotoGallery.EXE"), 63);
    EXPECT_EQ(StandardIconIndex(L"C:\\Windows\\notepad.exe"), kIconText);
    EXPECT_EQ(StandardIconIndex(L"C:\\Tools\\Notepad++.exe"), 66);
    EXPECT_EQ(StandardIconIndex(L"C:\\TolVane\\TolVaneSetup.exe"), 20);
    EXPECT_EQ(StandardIconIndex(L"C:\\7-Zip\\7zG.exe"), 21);
    EXPECT_EQ(StandardIconIndex(L"C:\\Program Files\\Windows NT\\Accessories\\WORDPAD.EXE"), 68);
    EXPECT_EQ(StandardIconIndex(L"c:calc.exe"), 23);  // the file name also ends at a colon
    // Only the file name counts, and only all of it.
    EXPECT_EQ(StandardIconIndex(L"C:\\Tools\\myfirefox.exe"), -1);
    EXPECT_EQ(StandardIconIndex(L"C:\\firefox.exe\\readme"), -1);
    EXPECT_EQ(StandardIconIndex(L"C:\\Tools\\firefox.exe.bak"), -1);
}

TEST(IconStripRules, WebAddressesAndPagesWinOverEveryTable) {
    EXPECT_EQ(StandardIconIndex(L"http://example.com/"), kIconWebPage);
    EXPECT_EQ(StandardIconIndex(L"HTTPS://Example.com/Setup.ZIP"), kIconWebPage);
    EXPECT_EQ(StandardIconIndex(L"http://example.com/firefox.exe"), kIconWebPage);
    EXPECT_EQ(StandardIconIndex(L"C:\\Windows\\rundll32.exe url.dll,OpenURL http://example.com"), kIconWebPage);
    EXPECT_EQ(StandardIconIndex(L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE"), kIconWebPage);
    EXPECT_EQ(StandardIconIndex(L"C:\\Pages\\Index.HTM"), kIconWebPage);
    EXPECT_EQ(StandardIconIndex(L"C:\\Pages\\index.html"), kIconWebPage);
    EXPECT_EQ(StandardIconIndex(L"C:\\Pages\\index.shtml"), -1);
}

TEST(IconStripRules, ThePhotoViewerComesBeforeItsProgramAndPicture) {
    // rundll32.exe and ".jpg" alone would give other images.
    EXPECT_EQ(StandardIconIndex(L"C:\\Windows\\System32\\rundll32.exe \"C:\\Program Files\\Windows Photo "
                                L"Viewer\\PhotoViewer.dll\", ImageView_Fullscreen C:\\a.jpg"),
              kIconPictureViewer);
    EXPECT_EQ(StandardIconIndex(L"Windows Photo Viewer"), kIconPictureViewer);
    EXPECT_EQ(StandardIconIndex(L"C:\\Windows\\System32\\rundll32.exe"), 70);
}

TEST(IconStripRules, FileKindsByTheExtensionOfTheFileName) {
    struct Case {
        const wchar_t* path;
        int index;
    } cases[] = {
        {L"C:\\a\\b.zip", 77},   {L"C:\\a\\B.DLL", 50},      {L"C:\\a\\sheet.xls", 49},
        {L"C:\\a\\letter.Doc", 48}, {L"C:\\a\\ring.wav", 43}, {L"C:\\a\\app.js", 65},
        {L"C:\\a\\p.jpg", 8},    {L"C:\\a\\p.JPEG", 8},      {L"C:\\a\\p.gif", 8},
        {L"C:\\a\\t.txt", 9},    {L"C:\\a\\b.bmp", 10},      {L"C:\\a\\win.ini", 11},
        // the last dot decides, and a longer extension is a different kind
        {L"C:\\a\\b.txt.zip", 77}, {L"C:\\a\\b.zip.txt", 9}, {L"C:\\a\\b.docx", -1},
        {L"C:\\a\\b.json", -1},
        // a dot in a folder name is no extension
        {L"C:\\my.zip\\readme", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(StandardIconIndex(c.path), c.index) << c.path;
}

TEST(IconStripRules, BlanksAndEncodedBlanksAreTidiedFirst) {
    EXPECT_EQ(StandardIconIndex(L"   C:\\Windows\\Calc.exe  "), 23);
    // "%20" becomes a blank before trimming, so a trailing one does not hide the extension.
    EXPECT_EQ(StandardIconIndex(L"C:\\My%20Files\\notes.txt%20"), kIconText);
    EXPECT_EQ(StandardIconIndex(L"C:\\My%20Files\\Hearts.exe"), 40);
    EXPECT_EQ(StandardIconIndex(L""), -1);
}

// The rules that ask the machine, and the strip itself.

TEST(IconStrip, TheStandardStripHasTheFixedImagesInOrder) {
    Strip strip(CreateStandardStrip());
    ASSERT_NE(strip.h, nullptr);
    EXPECT_EQ(strip.count(), kStandardIconCount);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(strip.h, &cx, &cy));
    EXPECT_EQ(cx, kStandardIconSize);
    EXPECT_EQ(cy, kStandardIconSize);

    // Every image is a picture of its own: none empty, no two alike.
    std::set<std::vector<COLORREF>> seen;
    for (int i = 0; i < kStandardIconCount; ++i) {
        std::vector<COLORREF> onBlack = Render(strip.h, i, RGB(0, 0, 0));
        std::vector<COLORREF> onWhite = Render(strip.h, i, RGB(255, 255, 255));
        int opaque = 0;
        for (int y = 0; y < kStandardIconSize; ++y)
            for (int x = 0; x < kStandardIconSize; ++x) opaque += !Transparent(onBlack, onWhite, x, y);
        EXPECT_GT(opaque, 20) << "image " << i;
        EXPECT_TRUE(seen.insert(onWhite).second) << "image " << i << " repeats an earlier one";
    }

    // The computer stands upright: its screen fills the top left, below it only the stand.
    std::vector<COLORREF> onBlack = Render(strip.h, kIconComputer, RGB(0, 0, 0));
    std::vector<COLORREF> onWhite = Render(strip.h, kIconComputer, RGB(255, 255, 255));
    EXPECT_FALSE(Transparent(onBlack, onWhite, 2, 4));
    EXPECT_TRUE(Transparent(onBlack, onWhite, 2, 14));
    EXPECT_TRUE(Transparent(onBlack, onWhite, 0, 0));
}

TEST(IconStrip, ShellIconsAreAppendedAfterTheStandardImagesEveryTime) {
    TempFolder dir;
    std::wstring first = dir.file(L"notes.tvqx"), second = dir.file(L"other notes.tvqy");
    ASSERT_TRUE(WriteAll(first, "one"));
    ASSERT_TRUE(WriteAll(second, "two"));
    Strip strip(CreateStandardStrip());
    ASSERT_NE(strip.h, nullptr);

    EXPECT_EQ(IconIndex(first, L"", strip.h), kStandardIconCount);
    EXPECT_EQ(IconIndex(second, L"", strip.h), kStandardIconCount + 1);
    // The same path again is another copy, not the earlier index.
    EXPECT_EQ(IconIndex(first, L"", strip.h), kStandardIconCount + 2);
    EXPECT_EQ(strip.count(), kStandardIconCount + 3);

    ASSERT_TRUE(RefillFromStandardStrip(strip.h));
    EXPECT_EQ(strip.count(), kStandardIconCount);
    EXPECT_EQ(IconIndex(first, L"", strip.h), kStandardIconCount);
    // Found on disk only once "%20" is a blank again and the blanks around are gone.
    EXPECT_EQ(IconIndex(L" " + dir.file(L"Other%20Notes.tvqy") + L"  ", L"", strip.h), kStandardIconCount + 1);
}

// With the session's type memory, a document type's icon goes into the strip once; types whose
// files have icons of their own still get one image per file; a refilled strip starts over.
TEST(IconStrip, DocumentsOfOneTypeShareOneImageWhenTheTypesAreRemembered) {
    TempFolder dir;
    std::wstring a = dir.file(L"a.tvqs"), b = dir.file(L"b.tvqs"), other = dir.file(L"c.tvqt");
    std::wstring ownA = dir.file(L"a.tvqo"), ownB = dir.file(L"b.tvqo");
    for (const auto& f : {a, b, other, ownA, ownB}) ASSERT_TRUE(WriteAll(f, "x"));
    // A type whose icon is read from each of its files.
    ScopedClasses classes;
    classes.Set(L".tvqo", L"Tolvane.OwnIcon");
    classes.Set(L"Tolvane.OwnIcon\\DefaultIcon", L"%1");
    EXPECT_EQ(TypeIcons::SharedIconType(a), L".tvqs");
    EXPECT_EQ(TypeIcons::SharedIconType(ownA), L"");
    EXPECT_EQ(TypeIcons::SharedIconType(L"C:\\Tools\\tool.EXE"), L"");

    Strip strip(CreateStandardStrip());
    ASSERT_NE(strip.h, nullptr);
    TypeIcons types;
    EXPECT_EQ(IconIndex(a, L"", strip.h, &types), kStandardIconCount);
    EXPECT_EQ(IconIndex(b, L"", strip.h, &types), kStandardIconCount);
    EXPECT_EQ(IconIndex(other, L"", strip.h, &types), kStandardIconCount + 1);
    EXPECT_EQ(IconIndex(ownA, L"", strip.h, &types), kStandardIconCount + 2);
    EXPECT_EQ(IconIndex(ownB, L"", strip.h, &types), kStandardIconCount + 3);
    EXPECT_EQ(IconIndex(dir.file(L"gone.tvqs"), L"", strip.h, &types), kIconMissingPath);
    EXPECT_EQ(strip.count(), kStandardIconCount + 4);

    ASSERT_TRUE(RefillFromStandardStrip(strip.h));
    types.Forget();
    EXPECT_EQ(IconIndex(b, L"", strip.h, &types), kStandardIconCount);
    EXPECT_EQ(strip.count(), kStandardIconCount + 1);
}

// Each record brings its own strip, and every strip asks again for the same programs and types:
// the icons outlive the strip they first went into, and look the same in the next one.
TEST(IconStrip, AShellIconLooksTheSameInEveryLaterStrip) {
    TempFolder dir;
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    const std::wstring document = dir.file(L"kept.tvqk");
    ASSERT_TRUE(WriteAll(document, "x"));
    std::vector<COLORREF> program, type;
    {
        Strip first(CreateStandardStrip());
        ASSERT_NE(first.h, nullptr);
        TypeIcons types;
        ASSERT_EQ(IconIndex(exe, L"", first.h, &types), kStandardIconCount);
        ASSERT_EQ(IconIndex(document, L"", first.h, &types), kStandardIconCount + 1);
        program = Render(first.h, kStandardIconCount, RGB(200, 100, 50));
        type = Render(first.h, kStandardIconCount + 1, RGB(200, 100, 50));
    }
    for (int again = 0; again < 2; ++again) {
        Strip later(CreateStandardStrip());
        ASSERT_NE(later.h, nullptr);
        TypeIcons types;
        EXPECT_EQ(IconIndex(document, L"", later.h, &types), kStandardIconCount);
        EXPECT_EQ(IconIndex(dir.file(L"other.TVQK"), L"", later.h, &types), kIconMissingPath);
        EXPECT_EQ(IconIndex(ToUpper(exe), L"", later.h, &types), kStandardIconCount + 1);
        EXPECT_EQ(Render(later.h, kStandardIconCount, RGB(200, 100, 50)), type);
        EXPECT_EQ(Render(later.h, kStandardIconCount + 1, RGB(200, 100, 50)), program);
    }
}

TEST(IconStrip, ARefilledStripHoldsTheStandardImagesAgain) {
    Strip standard(CreateStandardStrip());
    Strip strip(ImageList_Create(kStandardIconSize, kStandardIconSize, ILC_COLOR32 | ILC_MASK, 4, 4));
    ASSERT_NE(standard.h, nullptr);
    ASSERT_NE(strip.h, nullptr);
    ASSERT_TRUE(RefillFromStandardStrip(strip.h));
    ASSERT_EQ(strip.count(), kStandardIconCount);
    for (int i : {0, 12, 13, 40, 77})
        EXPECT_EQ(Render(strip.h, i, RGB(200, 100, 50)), Render(standard.h, i, RGB(200, 100, 50))) << i;
    EXPECT_FALSE(RefillFromStandardStrip(nullptr));
}

TEST(IconStrip, FoldersMissingPathsAndShellPlaces) {
    TempFolder dir;
    std::wstring file = dir.file(L"place.tvqz");
    ASSERT_TRUE(WriteAll(file, "x"));
    Strip strip(CreateStandardStrip());
    ASSERT_NE(strip.h, nullptr);

    EXPECT_EQ(IconIndex(dir.path(), L"", strip.h), kIconFolder);
    EXPECT_EQ(IconIndex(dir.path() + L"\\", L"Desktop", strip.h), kIconFolder);  // folders ignore names
    EXPECT_EQ(IconIndex(dir.file(L"nothing here.tvq"), L"", strip.h), kIconMissingPath);
    EXPECT_EQ(IconIndex(dir.file(L"gone\\deeper"), L"My Computer", strip.h), kIconMissingPath);
    EXPECT_EQ(IconIndex(L"Z:\\surely\\not\\here", L"", strip.h), kIconMissingPath);
    // Tables come before the disk: a missing program or picture keeps its own image.
    EXPECT_EQ(IconIndex(dir.file(L"firefox.exe"), L"", strip.h), 13);
    EXPECT_EQ(IconIndex(dir.file(L"holiday.jpg"), L"", strip.h), kIconPictureFile);

    // An existing path is named by its shell place, blanks and case aside.
    struct Case {
        const wchar_t* name;
        int index;
    } places[] = {
        {L"My Computer", kIconComputer},           {L"computer", kIconComputer},
        {L" Desktop ", kIconDesktop},              {L"CONTROL PANEL", kIconControlPanel},
        {L"My Network Places", kIconNetworkPlaces}, {L"Network Places", kIconNetworkPlaces},
        {L"My Documents", kIconDocuments},         {L"Documents", kIconDocuments},
    };
    for (const Case& c : places) {
        EXPECT_EQ(ShellIconIndex(dir.path(), c.name, strip.h), c.index) << c.name;
        EXPECT_EQ(IconIndex(file, c.name, strip.h), c.index) << c.name;
    }
    EXPECT_EQ(ShellIconIndex(dir.file(L"missing"), L"Desktop", strip.h), kIconMissingPath);
    EXPECT_EQ(strip.count(), kStandardIconCount);  // none of these needed a shell icon
}

TEST(IconStrip, AShortcutIsNotNamedByItsCaption) {
    TempFolder dir;
    std::wstring link = dir.file(L"Computer.lnk");
    ASSERT_TRUE(CreateShortcut(link, dir.path(), dir.path()));
    Strip strip(CreateStandardStrip());
    ASSERT_NE(strip.h, nullptr);
    EXPECT_EQ(IconIndex(link, L"My Computer", strip.h), kStandardIconCount);
    EXPECT_EQ(strip.count(), kStandardIconCount + 1);
}

namespace {

constexpr int kColumns = 13, kRows = 6, kScale = 3, kCell = kStandardIconSize * kScale + 8;

// Each image drawn at 16 x 16 over a light ground, then enlarged, so single pixels show.
void PaintGrid(HDC target, HIMAGELIST strip) {
    HDC small = CreateCompatibleDC(target);
    HBITMAP bmp = CreateCompatibleBitmap(target, kStandardIconSize, kStandardIconSize);
    HGDIOBJ old = SelectObject(small, bmp);
    HBRUSH ground = CreateSolidBrush(RGB(236, 236, 236));
    RECT all = {0, 0, kColumns * kCell, kRows * kCell};
    FillRect(target, &all, ground);
    RECT cell = {0, 0, kStandardIconSize, kStandardIconSize};
    for (int i = 0; i < kStandardIconCount; ++i) {
        FillRect(small, &cell, ground);
        ImageList_Draw(strip, i, small, 0, 0, ILD_NORMAL);
        int x = (i % kColumns) * kCell + 4, y = (i / kColumns) * kCell + 4;
        StretchBlt(target, x, y, kStandardIconSize * kScale, kStandardIconSize * kScale, small, 0, 0,
                   kStandardIconSize, kStandardIconSize, SRCCOPY);
    }
    DeleteObject(ground);
    SelectObject(small, old);
    DeleteObject(bmp);
    DeleteDC(small);
}

LRESULT CALLBACK GridProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        PaintGrid(dc, reinterpret_cast<HIMAGELIST>(GetWindowLongPtrW(w, GWLP_USERDATA)));
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

TEST(IconStrip, TheStandardImagesOnScreen) {
    Strip strip(CreateStandardStrip());
    ASSERT_NE(strip.h, nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = GridProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TolvaneIconGrid";
    RegisterClassW(&wc);
    RECT frame = {0, 0, kColumns * kCell, kRows * kCell};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND w = CreateWindowW(L"TolvaneIconGrid", L"Icon strip", WS_OVERLAPPEDWINDOW, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(strip.h));
    ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

    // The missing-path image (row 0, last column): red disc above its white cross, clear corner.
    HDC dc = GetDC(w);
    int cx = 12 * kCell + 4 + 8 * kScale, cy = 4 + 4 * kScale;
    COLORREF middle = GetPixel(dc, cx + 1, cy + 1), corner = GetPixel(dc, 12 * kCell + 5, 5);
    ReleaseDC(w, dc);
    EXPECT_GT(GetRValue(middle), 150);
    EXPECT_LT(GetGValue(middle), 120);
    EXPECT_EQ(corner, RGB(236, 236, 236));

    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + L"\\icon_strip.png"));
    DestroyWindow(w);
}
