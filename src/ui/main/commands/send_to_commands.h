#pragma once
// Sending items elsewhere: the trees' "Send to " submenu (the desktop, Documents, a removable
// disk) and the record list's "Send To", which writes a folder of shortcuts for the whole shown
// record. Names made from captions stay inside the folder they are meant for.
#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/record_session.h"
#include "ui/main/commands/command_table.h"
#include "ui/main/commands/item_commands.h"
#include "ui/main/views/record_list.h"
#include "ui/main/views/record_pages.h"

namespace tv {

class TFormSendTo;

// ---- rules -----------------------------------------------------------------------------------

// A caption made into a name for a file or folder inside another folder: the nine characters no
// name may hold (and control characters) become "_", trailing dots and blanks go, a reserved
// device name ("CON", "com1.txt"...) gets "_" in front, and what is left empty is "_". So ".."
// and "C:\Program Files" name something inside, never above or beside.
std::wstring CleanFileName(const std::wstring& caption);

// The removable drive the "Send to " submenu offers: the root ("G:\") of the last drive from B
// to Z whose type `driveType` answers DRIVE_REMOVABLE; empty when none is.
std::wstring LastRemovableRoot(const std::function<UINT(const std::wstring& root)>& driveType);

// What to put where when a whole record is sent: a shortcut named `caption` to `target` inside
// the subfolder `folder` (empty: the send-to folder itself).
struct SentShortcut {
    std::wstring folder, caption, target;
};
// The shortcuts for the top-level nodes of `record`'s "All" tree: a node with children whose
// path is no existing folder (`isFolder` tells) gets a subfolder of its children's shortcuts,
// every other node one shortcut. "hh.exe" stands for the program's help file `helpFile`.
std::vector<SentShortcut> ShortcutsOfRecord(const ShownRecord& record, const std::wstring& helpFile,
                                            const std::function<bool(const std::wstring&)>& isFolder);

// The lines of the Desktop.ini that gives a send-to folder its icon; `windir` is the Windows folder.
std::vector<std::wstring> FolderIconLines(const std::wstring& windir);

// Shows the desktop over every window, as the taskbar's button does ("Shell.Application").
void ToggleDesktop();

// Shortcut files handed out during one command: a caption already given in a folder gets
// " (2)", " (3)"... so two items of one caption never share one file.
class ShortcutNames {
public:
    // The file for a shortcut named `caption` in `folder` (with or without a trailing backslash).
    std::wstring FileFor(const std::wstring& folder, const std::wstring& caption);

private:
    std::set<std::wstring> given_;  // lower-cased
};

// Writes the shortcut file `linkFile` to `target`, started in the target's folder. On failure
// answers false with the system's reason in `why`.
bool WriteShortcut(const std::wstring& linkFile, const std::wstring& target, std::wstring& why);

// ---- the commands ----------------------------------------------------------------------------

class SendToCommands {
public:
    // The same parts as the other item commands.
    using Parts = ItemCommands::Parts;
    explicit SendToCommands(const Parts& parts);
    ~SendToCommands();

    // What the commands ask of the machine; tests put their own in.
    std::function<std::wstring(int csidl)> specialFolder;
    std::function<UINT(const std::wstring& root)> driveType;
    std::function<void()> showDesktop;  // the desktop shown over every window

    void AddCommands(CommandTable& table);
    // The trees' "Send to " submenu opens: looks for a removable drive to offer.
    void Sendto2Click(HMENU submenu);
    // True for the "Send to " submenu of the trees' menu.
    bool IsSendToMenu(HMENU menu) const;

    void SendToDesktopClick();
    void Documents1Click();
    void RemovableDisk1Click();
    void Openfilelocationaftersendto1Click();
    // "Send To" of the whole record, through the send-to dialog.
    void btnSendtoDesktopClick();
    // The dialog, made on the first "Send To" and kept; null before.
    TFormSendTo* dialog() { return FormSendTo.get(); }
    const std::wstring& removableRoot() const { return removableRoot_; }

private:
    struct Item {
        std::wstring title, path;
    };
    // The selected items of the active tree that the shell-window table leaves to be sent.
    std::vector<Item> ItemsToSend();
    void CopyInto(const std::wstring& folder);
    // Makes the send-to folder `target` and its shortcuts; false after telling the user what failed.
    bool SendRecordInto(const std::wstring& target);
    // Tells the user which item could not be sent and why, once per command.
    void TellFailure(const std::wstring& item, const std::wstring& why);

    Parts p_;
    std::wstring removableRoot_;  // the drive "Removable Disk" copies onto
    std::unique_ptr<TFormSendTo> FormSendTo;
};

}  // namespace tv
