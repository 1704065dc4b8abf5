#pragma once
// What is dropped on the main window through OLE: files dragged from Explorer, and text (a web
// address dragged from a browser, a path from an editor), with what the window does with text:
// "add with title".
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "app/intake.h"

#include "base/handles.h"

namespace tv {

// The CF_TEXT of a data object (HGLOBAL), converted from the ANSI code page. False when the
// object offers no such text or the text is empty. The block is read no further than its size
// and its first zero, and the medium is always released.
bool DroppedText(IDataObject* data, std::wstring& text);

// The file list (CF_HDROP) of a data object, in its order. False when the object offers none or
// the list is empty. The block is read no further than its size (DropListNames).
bool DroppedFiles(IDataObject* data, std::vector<std::wstring>& files);

// What a drop asks of the main window.
class TextDropHost {
public:
    virtual ~TextDropHost() = default;
    virtual void TextDropped(const std::wstring& text) = 0;
    virtual void FilesDropped(const std::vector<std::wstring>& files) = 0;
};

class TextDropTarget;

// Makes a window an OLE drop target for files and text while the object lives. OleInitialize
// must have run on the thread. Drag enter and drag over answer "copy" to a data object offering
// a file list or text and "none" to anything else. A drop hands the files to the host when it
// carries a file list, otherwise its text; a drop of neither does nothing and answers "none".
// No exception leaves the drop target.
class TextDropRegistration {
public:
    TextDropRegistration();
    ~TextDropRegistration();
    TextDropRegistration(const TextDropRegistration&) = delete;
    TextDropRegistration& operator=(const TextDropRegistration&) = delete;

    // False when the window could not be registered (not a window, already registered, no OLE).
    // A second call first revokes the earlier registration.
    bool Register(HWND window, TextDropHost& host);
    void Revoke();

    // The registered drop target, or null; not add-ref'd. Lets tests drive it as OLE would.
    IDropTarget* target() const;

private:
    HWND window_ = nullptr;
    ComPtr<TextDropTarget> target_;
};

// "Add with title": what the main window does with a dropped text or a path that comes with
// a title.
class AddWithTitleHost {
public:
    virtual ~AddWithTitleHost() = default;
    virtual bool Contains(const std::wstring& path) = 0;      // already in the shown record?
    virtual void NoteExisting(const std::wstring& path) = 0;  // remembers it as the last added path
    // The title of the row chosen in the add-item dialog, when it has a row index; false when none.
    virtual bool ChosenRowTitle(std::wstring& title) { return false; }
    // The title of a web page fetched from the network; false when the fetch failed.
    virtual bool FetchPageTitle(const std::wstring& address, std::wstring& title) { return false; }
    virtual void AddItem(const std::wstring& path, const std::wstring& title) = 0;
};

// "%20" in the path becomes a blank. A path already in the record is only remembered as the
// last added one. A web address ("http:" or "https:" anywhere, any case) takes the chosen row's
// title; failing that an empty title becomes the page's own title, or the address itself when
// the page gives none. Then the item is added.
void AddWithTitle(std::wstring path, std::wstring title, AddWithTitleHost& host);

// "Add with title" into the shown record, with no row chosen and no page fetched.
class IntakeTitleHost : public AddWithTitleHost {
public:
    explicit IntakeTitleHost(RecordIntake& record) : record_(record) {}
    bool Contains(const std::wstring& path) override { return record_.Contains(path); }
    void NoteExisting(const std::wstring& path) override { record_.NoteExisting(path); }
    void AddItem(const std::wstring& path, const std::wstring& title) override { record_.AddItem(path, title); }

private:
    RecordIntake& record_;
};

}  // namespace tv
