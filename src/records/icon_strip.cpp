#include "records/icon_strip.h"

#include <shellapi.h>

#include <cstring>
#include <unordered_map>
#include <vector>

#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/process_services.h"

namespace tv {

namespace {
constexpr size_t kKeptShellIcons = 512;

struct NamedIcon {
    const wchar_t* name;
    int index;
};

// Programs known by their file name, lower case.
constexpr NamedIcon kPrograms[] = {
    {L"notepad.exe", 9},           {L"firefox.exe", 13},        {L"safari.exe", 14},
    {L"bdslauncher.exe", 15},      {L"winrar.exe", 16},         {L"msnmsgr.exe", 17},
    {L"chrome.exe", 18},           {L"opera.exe", 19},          {L"tolvane.exe", 20},
    {L"tolvanesetup.exe", 20},     {L"7zfm.exe", 21},           {L"7zg.exe", 21},
    {L"acrord32.exe", 22},         {L"calc.exe", 23},           {L"bckgzm.exe", 24},
    {L"bdeadmin.exe", 25},         {L"chess.exe", 26},          {L"chkrzm.exe", 27},
    {L"cmd.exe", 28},              {L"control.exe", 29},        {L"datapump.exe", 30},
    {L"dbd32.exe", 31},            {L"dbexplor.exe", 32},       {L"delphi32.exe", 33},
    {L"displayswitch.exe", 34},    {L"dvdmaker.exe", 35},       {L"ehshell.exe", 36},
    {L"excel.exe", 37},            {L"explorer.exe", 38},       {L"freecell.exe", 39},
    {L"hearts.exe", 40},           {L"helppane.exe", 41},       {L"wmplayer.exe", 42},
    {L"iscsicpl.exe", 44},         {L"mahjong.exe", 45},        {L"mblctr.exe", 46},
    {L"winword.exe", 47},          {L"regedit.exe", 51},        {L"moviemaker.exe", 52},
    {L"mobsync.exe", 53},          {L"msconfig.exe", 54},       {L"mspaint.exe", 55},
    {L"msoxmled.exe", 56},         {L"snippingtool.exe", 57},   {L"soundrecorder.exe", 58},
    {L"sidebar.exe", 59},          {L"wlstartup.exe", 60},      {L"wlmail.exe", 61},
    {L"windowslivewriter.exe", 62}, {L"wlxphotogallery.exe", 63}, {L"wscript.exe", 64},
    {L"notepad++.exe", 66},        {L"minesweeper.exe", 67},    {L"wordpad.exe", 68},
    {L"ytd.exe", 69},              {L"rundll32.exe", 70},       {L"stikynot.exe", 71},
    {L"solitaire.exe", 72},        {L"spidersolitaire.exe", 73}, {L"hh.exe", 74},
    {L"icofx.exe", 75},
};

// File kinds known by their extension, dot included, lower case.
constexpr NamedIcon kFileKinds[] = {
    {L".zip", 77}, {L".dll", 50}, {L".xls", 49}, {L".doc", 48},  {L".wav", 43}, {L".js", 65},
    {L".jpg", 8},  {L".jpeg", 8}, {L".gif", 8},  {L".txt", 9},   {L".bmp", 10}, {L".ini", 11},
};

// Shell places known by the name the user sees, lower case.
constexpr NamedIcon kShellPlaces[] = {
    {L"my computer", kIconComputer},        {L"computer", kIconComputer},
    {L"desktop", kIconDesktop},             {L"control panel", kIconControlPanel},
    {L"my network places", kIconNetworkPlaces}, {L"network places", kIconNetworkPlaces},
    {L"my documents", kIconDocuments},      {L"documents", kIconDocuments},
};

template <size_t N>
int Lookup(const NamedIcon (&table)[N], const std::wstring& key) {
    for (const NamedIcon& entry : table)
        if (key == entry.name) return entry.index;
    return -1;
}

// Paths enter the rule as the user or a scan wrote them: "%20" for blanks, stray blanks, any case.
std::wstring DiskPath(const std::wstring& path) { return Trim(ReplaceAll(path, L"%20", L" ")); }
std::wstring RulePath(const std::wstring& path) { return ToLower(DiskPath(path)); }

// From the last dot of the file name, dot included; empty when the name has none.
std::wstring ExtensionOf(const std::wstring& fileName) {
    size_t dot = fileName.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : fileName.substr(dot);
}

bool Contains(const std::wstring& s, const wchar_t* part) { return s.find(part) != std::wstring::npos; }

using GdiBitmap = GdiOwner<HBITMAP>;

constexpr int kStripWidth = kStandardIconCount * kStandardIconSize;

// The images of the ICONSTRIP resource as a 32-bit colour bitmap and a mask made from the alpha:
// a pixel with no alpha at all is background. Its colour is cleared too, so that drawing through
// the mask alone (without alpha blending) leaves the background untouched.
bool LoadStandardImages(GdiBitmap& colour, GdiBitmap& mask) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, L"ICONSTRIP", RT_BITMAP);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD size = SizeofResource(module, found);
    if (!bytes || size < sizeof(BITMAPINFOHEADER)) return false;

    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const size_t pixelBytes = size_t(kStripWidth) * kStandardIconSize * 4;
    if (header.biSize < sizeof header || header.biWidth != kStripWidth || height != kStandardIconSize ||
        header.biBitCount != 32 || header.biCompression != BI_RGB || header.biClrUsed != 0 ||
        size < header.biSize + pixelBytes)
        return false;
    const BYTE* source = bytes + header.biSize;

    BITMAPINFO info = {};
    info.bmiHeader = header;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biHeight = -kStandardIconSize;  // top-down, so rows below count from the top
    void* bits = nullptr;
    GdiBitmap made(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!made.get() || !bits) return false;

    // Monochrome rows are padded to whole 16-bit words.
    const size_t maskStride = ((kStripWidth + 15) / 16) * 2;
    std::vector<BYTE> maskBits(maskStride * kStandardIconSize, 0);
    auto* target = static_cast<DWORD*>(bits);
    for (int y = 0; y < kStandardIconSize; ++y) {
        int sourceRow = header.biHeight > 0 ? kStandardIconSize - 1 - y : y;
        const BYTE* row = source + size_t(sourceRow) * kStripWidth * 4;
        for (int x = 0; x < kStripWidth; ++x) {
            DWORD pixel;
            std::memcpy(&pixel, row + size_t(x) * 4, 4);
            if ((pixel >> 24) == 0) {
                pixel = 0;
                maskBits[size_t(y) * maskStride + size_t(x) / 8] |= BYTE(0x80 >> (x % 8));
            }
            target[size_t(y) * kStripWidth + size_t(x)] = pixel;
        }
    }
    GdiBitmap madeMask(CreateBitmap(kStripWidth, kStandardIconSize, 1, 1, maskBits.data()));
    if (!madeMask.get()) return false;

    colour.reset(made.release());
    mask.reset(madeMask.release());
    return true;
}

bool AddStandardImages(HIMAGELIST strip) {
    GdiBitmap colour, mask;
    if (!LoadStandardImages(colour, mask)) return false;
    return ImageList_Add(strip, colour.get(), mask.get()) >= 0 &&
           ImageList_GetImageCount(strip) == kStandardIconCount;
}

}  // namespace

int StandardIconIndex(const std::wstring& path) {
    const std::wstring p = RulePath(path);
    const std::wstring f = FileNameOf(p);
    const std::wstring e = ExtensionOf(f);
    if (IsPhotoViewer(p)) return kIconPictureViewer;
    if (Contains(p, L"http:") || Contains(p, L"https:")) return kIconWebPage;
    if (f == L"iexplore.exe" || e == L".html" || e == L".htm") return kIconWebPage;
    int program = Lookup(kPrograms, f);
    if (program >= 0) return program;
    return Lookup(kFileKinds, e);
}

HIMAGELIST CreateStandardStrip() {
    HIMAGELIST strip = ImageList_Create(kStandardIconSize, kStandardIconSize, ILC_COLOR32 | ILC_MASK,
                                        kStandardIconCount, 16);
    ImageListOwner made(strip);
    return made && AddStandardImages(strip) ? made.release() : nullptr;
}

bool RefillFromStandardStrip(HIMAGELIST strip) {
    if (!strip || !ImageList_RemoveAll(strip)) return false;
    return AddStandardImages(strip);
}

namespace {
// The shell icon of `path`, kept under `key` for the rest of the run: extracting one costs
// milliseconds, and every recording asks again for the same programs and types, since each
// record brings its own strip. Null when the shell has none; that answer is not kept.
HICON ShellIcon(const std::wstring& key, const std::wstring& path) {
    static std::unordered_map<std::wstring, IconOwner> icons;
    const std::wstring k = ToLower(key);
    auto known = icons.find(k);
    if (known != icons.end()) return known->second.get();
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON) || !info.hIcon) return nullptr;
    if (icons.size() >= kKeptShellIcons) icons.clear();
    icons.emplace(k, IconOwner(info.hIcon));
    return info.hIcon;
}

// The image of a path known to exist, a folder or a file as `isFolder` says.
int ExistingPathIcon(const std::wstring& path, const std::wstring& name, bool isFolder, HIMAGELIST strip,
                     TypeIcons* types) {
    int place = Lookup(kShellPlaces, ToLower(Trim(name)));
    if (place >= 0) return place;

    const std::wstring type = types && strip && !isFolder ? types->SharedType(path) : std::wstring();
    if (!type.empty()) {
        int known = types->Find(type);
        if (known >= 0 && known < ImageList_GetImageCount(strip)) return known;
    }
    HICON icon = ShellIcon(type.empty() ? path : L"*" + type, path);
    if (!icon) return kIconGenericProgram;
    int index = strip ? ImageList_AddIcon(strip, icon) : -1;
    if (index < 0) return kIconGenericProgram;
    if (!type.empty()) types->Remember(type, index);
    return index;
}
}  // namespace

int IconIndex(const std::wstring& path, const std::wstring& name, HIMAGELIST strip, TypeIcons* types) {
    int standard = StandardIconIndex(path);
    if (standard >= 0) return standard;
    // The disk is asked in the path's own case: the answer is the same, and a file system that
    // is case-sensitive underneath finds a name in its own case without searching the folder.
    const std::wstring p = DiskPath(path), rule = ToLower(p);
    // As this process sees the disk: the shell icon below is asked the same way.
    const PathKind kind = ProcessServices::Instance().KindUnguarded(p);
    if (kind == PathKind::Folder) return kIconFolder;
    if (kind == PathKind::Missing) return kIconMissingPath;
    // A shortcut's own caption says nothing about where it points.
    return ExistingPathIcon(p, ExtensionOf(FileNameOf(rule)) == L".lnk" ? rule : name, false, strip, types);
}

int ShellIconIndex(const std::wstring& path, const std::wstring& name, HIMAGELIST strip, TypeIcons* types) {
    const PathKind kind = ProcessServices::Instance().KindUnguarded(path);
    if (kind == PathKind::Missing) return kIconMissingPath;
    return ExistingPathIcon(path, name, kind == PathKind::Folder, strip, types);
}

namespace {
// The default value of a key under HKEY_CLASSES_ROOT, or empty.
std::wstring ClassesDefault(const std::wstring& subKey) {
    wchar_t value[512] = {};
    LONG size = sizeof value;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, subKey.c_str(), value, &size) != ERROR_SUCCESS) return {};
    return value;
}
}  // namespace

std::wstring TypeIcons::SharedIconType(const std::wstring& path) {
    const std::wstring e = ExtensionOf(FileNameOf(RulePath(path)));
    if (e.empty() || e == L".") return {};
    // Types whose files carry or choose their own icon.
    for (const wchar_t* own : {L".exe", L".lnk", L".ico", L".cur", L".ani", L".url", L".scr", L".dll", L".cpl",
                               L".msc", L".pif", L".com", L".appref-ms"})
        if (e == own) return {};
    const std::wstring progId = ClassesDefault(e);
    if (!progId.empty()) {
        const std::wstring icon = ClassesDefault(progId + L"\\DefaultIcon");
        if (icon.find(L"%1") != std::wstring::npos) return {};
        // A handler that draws each file's icon itself.
        HKEY handler = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (progId + L"\\ShellEx\\IconHandler").c_str(), 0, KEY_READ, &handler) ==
            ERROR_SUCCESS) {
            RegCloseKey(handler);
            return {};
        }
    }
    return e;
}

const std::wstring& TypeIcons::SharedType(const std::wstring& path) {
    const std::wstring e = ExtensionOf(FileNameOf(RulePath(path)));
    auto known = sharedTypes_.find(e);
    if (known == sharedTypes_.end()) known = sharedTypes_.emplace(e, SharedIconType(path)).first;
    return known->second;
}

int TypeIcons::Find(const std::wstring& type) const {
    auto known = byType_.find(type);
    return known == byType_.end() ? -1 : known->second;
}

}  // namespace tv
