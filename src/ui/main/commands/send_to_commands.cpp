#include "ui/main/commands/send_to_commands.h"

#include <shlobj.h>

#include "app/folders.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "base/constants.h"
#include "base/debug_log.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "capture/shell_windows.h"
#include "records/record_library.h"
#include "replay/item_launcher.h"
#include "replay/shell_calls.h"
#include "ui/dialogs/prompter.h"
#include "ui/dialogs/send_to_dialog.h"
#include "ui/main/commands/item_commands.h"
#include "ui/main/menus/main_menus.h"

namespace tv {

// ---- rules -----------------------------------------------------------------------------------

std::wstring CleanFileName(const std::wstring& caption) {
    std::wstring name = caption;
    for (wchar_t& c : name)
        if (c < 32 || wcschr(L"/\\:*?\"<>|", c)) c = L'_';
    // Windows drops trailing dots and blanks itself, which would make "..", "." or "a." name
    // another file or folder than the one meant.
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
    if (name.empty()) return L"_";
    const std::wstring stem = ToUpper(name.substr(0, name.find(L'.')));
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL"};
    bool device = false;
    for (const wchar_t* d : kDevices) device = device || stem == d;
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) && stem[3] >= L'1' &&
        stem[3] <= L'9')
        device = true;
    return device ? L"_" + name : name;
}

std::wstring LastRemovableRoot(const std::function<UINT(const std::wstring& root)>& driveType) {
    std::wstring found;
    for (wchar_t letter = L'B'; letter <= L'Z'; ++letter) {
        const std::wstring root = std::wstring(1, letter) + L":\\";
        if (driveType(root) == DRIVE_REMOVABLE) found = root;  // the last one wins
    }
    return found;
}

std::vector<SentShortcut> ShortcutsOfRecord(const ShownRecord& record, const std::wstring& helpFile,
                                            const std::function<bool(const std::wstring&)>& isFolder) {
    std::vector<SentShortcut> out;
    auto pathOf = [&](const RecordNode& node) {
        const std::wstring path = record.items.Valid(node.data.itemIndex) ? record.items.At(node.data.itemIndex).path
                                                                           : std::wstring();
        // The help viewer stands for the program's own help.
        return ToLower(Trim(FileNameOf(path))) == L"hh.exe" ? helpFile : path;
    };
    for (const auto& top : record.docs.top()) {
        const std::wstring path = pathOf(*top);
        if (!top->children.empty() && !isFolder(path)) {
            for (const auto& child : top->children) out.push_back({top->caption, child->caption, pathOf(*child)});
        } else {
            out.push_back({L"", top->caption, path});
        }
    }
    return out;
}

std::vector<std::wstring> FolderIconLines(const std::wstring& windir) {
    return {L"[.ShellClassInfo]", L"IconFile = " + windir + L"\\system32\\SHELL32.DLL", L"IconIndex = 38",
            L"InfoTip = This is folder with icon"};
}

std::wstring ShortcutNames::FileFor(const std::wstring& folder, const std::wstring& caption) {
    const std::wstring base = NormaliseFolder(folder) + CleanFileName(caption);
    std::wstring file = base + L".lnk";
    for (int n = 2; !given_.insert(ToLower(file)).second; ++n) file = base + L" (" + std::to_wstring(n) + L").lnk";
    return file;
}

bool WriteShortcut(const std::wstring& linkFile, const std::wstring& target, std::wstring& why) {
    const size_t cut = target.find_last_of(L"\\:");
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : target.substr(0, cut + 1);
    const HRESULT hr = WriteShellLink(linkFile, target, folder);
    if (SUCCEEDED(hr)) return true;
    why = SystemMessageText(static_cast<unsigned long>(hr));
    return false;
}

// ---- the commands ----------------------------------------------------------------------------

void ToggleDesktop() {
    ComScope com;
    CallShellApplication(L"ToggleDesktop");
}

SendToCommands::SendToCommands(const Parts& parts)
    : specialFolder(SpecialFolderPath),
      driveType([](const std::wstring& root) { return GetDriveTypeW(root.c_str()); }),
      showDesktop(ToggleDesktop),
      p_(parts) {}
SendToCommands::~SendToCommands() = default;

void SendToCommands::AddCommands(CommandTable& table) {
    // The trees' items end where they fail, quietly; what was sent stays sent.
    auto row = [this, &table](UINT id, void (SendToCommands::*handler)()) {
        AddQuietCommand(table, id, [this, handler] { (this->*handler)(); }, L"a send-to command");
    };
    row(kCmdSendToDesktop, &SendToCommands::SendToDesktopClick);
    row(kCmdSendToDocuments, &SendToCommands::Documents1Click);
    row(kCmdSendToRemovable, &SendToCommands::RemovableDisk1Click);
    row(kCmdOpenAfterSendTo, &SendToCommands::Openfilelocationaftersendto1Click);
    table.Add(kCmdSendTo, [this](UINT) { btnSendtoDesktopClick(); });
}

bool SendToCommands::IsSendToMenu(HMENU menu) const {
    return menu && GetMenuItemCount(menu) > 0 && GetMenuItemID(menu, 0) == kCmdSendToDesktop;
}

void SendToCommands::Sendto2Click(HMENU submenu) {
    DeleteMenu(submenu, kCmdSendToRemovable, MF_BYCOMMAND);
    removableRoot_ = LastRemovableRoot(driveType);
    if (!removableRoot_.empty()) {
        // After "Documents", as the menu has it.
        const std::wstring caption = L"Removable Disk (" + removableRoot_.substr(0, 2) + L")";
        InsertMenuW(submenu, 2, MF_BYPOSITION | MF_STRING, kCmdSendToRemovable, caption.c_str());
    }
    CheckMenuItem(submenu, kCmdOpenAfterSendTo, MF_BYCOMMAND | (p_.checks.openFolderAfterSendTo ? MF_CHECKED : MF_UNCHECKED));
}

std::vector<SendToCommands::Item> SendToCommands::ItemsToSend() {
    std::vector<Item> out;
    ItemLauncher& launcher = p_.launcher();
    for (const SelectedItem& selected : SelectedItemsOf(p_.pages, p_.session.record())) {
        Item item{selected.title, selected.path};
        // A shell place is not a file to send.
        if (ShellWindowTable(item.title, item.path, ShellTableMode::Capture, &launcher) == 1) continue;
        out.push_back(item);
    }
    return out;
}

void SendToCommands::SendToDesktopClick() {
    const std::wstring desktop = specialFolder(CSIDL_DESKTOP);
    ShortcutNames names;
    std::wstring why;
    for (const Item& item : ItemsToSend())
        if (!WriteShortcut(names.FileFor(desktop, item.title), item.path, why)) return;
    if (p_.checks.openFolderAfterSendTo) showDesktop();
}

void SendToCommands::CopyInto(const std::wstring& folder) {
    for (const Item& item : ItemsToSend()) ShellCopy(p_.window, item.path, PasteDestination(folder, item.path));
    if (p_.checks.openFolderAfterSendTo) p_.launcher().OpenPathOrAddress(folder);
}

void SendToCommands::Documents1Click() { CopyInto(specialFolder(CSIDL_PERSONAL)); }

void SendToCommands::RemovableDisk1Click() {
    if (!removableRoot_.empty()) CopyInto(removableRoot_);
}

void SendToCommands::Openfilelocationaftersendto1Click() {
    p_.checks.openFolderAfterSendTo = !p_.checks.openFolderAfterSendTo;
    p_.user.WriteBool(keys::kDefault, keys::kOpenFolderAfterSendTo, p_.checks.openFolderAfterSendTo);
    CheckMenuItem(p_.menus.PmDocTree, kCmdOpenAfterSendTo,
                  MF_BYCOMMAND | (p_.checks.openFolderAfterSendTo ? MF_CHECKED : MF_UNCHECKED));
}

void SendToCommands::btnSendtoDesktopClick() {
    if (!FormSendTo)
        FormSendTo = std::make_unique<TFormSendTo>(specialFolder(CSIDL_DESKTOP), PickFolder,
                                                   [this](const std::wstring& folder) { p_.launcher().ExploreFolder(folder); });
    const int selected = p_.records.SelectedIndex();
    if (p_.records.Count() == 0 || selected < 0) return;
    const bool confirmed = FormSendTo->Execute(p_.window, p_.records.Name(selected),
                                               p_.user.ReadBool(keys::kDefault, keys::kAsRecordFileName, false));
    p_.user.WriteBool(keys::kDefault, keys::kAsRecordFileName, FormSendTo->asRecordFileName());
    if (!confirmed) return;
    const std::wstring destination = FormSendTo->destination();
    if (!SendRecordInto(NormaliseFolder(Trim(destination)) + CleanFileName(Trim(FormSendTo->folderName()))))
        return;
    if (!FormSendTo->openAfterConfirm()) return;
    if (FormSendTo->destinationIsDesktop()) showDesktop();
    else p_.launcher().ExploreFolder(NormaliseFolder(destination));
}

bool SendToCommands::SendRecordInto(const std::wstring& target) {
    // A folder that was there before is the user's: its icon and its marks stay as they are.
    if (!DirectoryExists(target)) {
        if (!CreateFolderTree(target)) {
            TellFailure(target, SystemMessageText(GetLastError()));
            return false;
        }
        const std::wstring ini = target + L"\\Desktop.ini";
        DeleteFileW(ini.c_str());
        if (!WriteTextLines(ini, FolderIconLines(RealEnvironmentVariable(L"Windir")))) {
            TellFailure(ini, SystemMessageText(GetLastError()));
            return false;
        }
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    const std::wstring help = JoinPath(FolderOf(ModulePath()), std::wstring(kAppName) + L".chm");
    ShortcutNames names;
    for (const SentShortcut& shortcut : ShortcutsOfRecord(p_.session.record(), help, DirectoryExists)) {
        std::wstring folder = target;
        if (!shortcut.folder.empty()) {
            folder = NormaliseFolder(target) + CleanFileName(shortcut.folder);
            if (!CreateFolderTree(folder)) {
                TellFailure(shortcut.folder, SystemMessageText(GetLastError()));
                return false;
            }
        }
        // The shortcuts made so far stay: they are good ones.
        std::wstring why;
        if (!WriteShortcut(names.FileFor(folder, shortcut.caption), shortcut.target, why)) {
            TellFailure(shortcut.caption, why);
            return false;
        }
    }
    return true;
}

void SendToCommands::TellFailure(const std::wstring& item, const std::wstring& why) {
    p_.prompter->Tell(p_.window, L"\"" + item + L"\" could not be sent.\r\n" + why);
}

}  // namespace tv
