#pragma once
// The icon strip: the 78 fixed 16 by 16 images every record tree and the add-item lists draw
// from, and the rule that picks an image for a path. Shell icons of paths the fixed images do
// not cover are appended to the strip the caller passes, from index 78 on.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_map>

namespace tv {

constexpr int kStandardIconCount = 78;
constexpr int kStandardIconSize = 16;

// Standard images the program refers to by meaning; the programs and file kinds from 13 on
// are reached through the file-name tables only.
enum StandardIcon : int {
    kIconFolder = 0,
    kIconWebPage = 1,
    kIconComputer = 2,
    kIconDesktop = 3,
    kIconControlPanel = 4,
    kIconNetworkPlaces = 5,
    kIconDocuments = 6,
    kIconPictureViewer = 7,
    kIconPictureFile = 8,
    kIconText = 9,
    kIconBitmap = 10,
    kIconSettingsFile = 11,
    kIconMissingPath = 12,
    kIconGenericProgram = 76,  // an existing path the shell gives no icon for
};

// The image the path's text alone decides: the photo viewer, web addresses and pages, the
// known programs and file kinds. -1 when the machine has to be asked.
int StandardIconIndex(const std::wstring& path);

// A new 16 by 16 strip holding the 78 standard images (from the ICONSTRIP bitmap resource of
// the executable), or nullptr when they could not be loaded. The caller destroys it.
HIMAGELIST CreateStandardStrip();

// Empties the strip and puts the 78 standard images back, in order. False when they could not
// be loaded; the strip is then empty.
bool RefillFromStandardStrip(HIMAGELIST strip);

// The strip images of document types whose icon is the same for every file of the type, so a
// recording of many documents asks the shell once per type. Forget them whenever the strip's
// images are replaced.
class TypeIcons {
public:
    // The type of the file whose icon stands for its whole type, or empty: programs, shortcuts,
    // icon files and types whose icon is read from each file answer empty.
    static std::wstring SharedIconType(const std::wstring& path);
    // The same, with the answer for each extension asked of the registry once.
    const std::wstring& SharedType(const std::wstring& path);
    int Find(const std::wstring& type) const;
    void Remember(const std::wstring& type, int index) { byType_[type] = index; }
    void Forget() {
        byType_.clear();
        sharedTypes_.clear();
    }

private:
    std::unordered_map<std::wstring, int> byType_;
    std::unordered_map<std::wstring, std::wstring> sharedTypes_;  // extension -> shared type
};

// The image for a path (and, for shell places, its name, which may be empty). May append the
// path's shell icon to `strip` and answer its new index; with `types`, a document type's icon
// is appended once and its index answered again for the type's other files.
int IconIndex(const std::wstring& path, const std::wstring& name, HIMAGELIST strip, TypeIcons* types = nullptr);

// The image of an existing path by its shell place name, else its shell icon appended to
// `strip`; the missing-path image when the path is neither a folder nor a file.
int ShellIconIndex(const std::wstring& path, const std::wstring& name, HIMAGELIST strip, TypeIcons* types = nullptr);

}  // namespace tv
