#pragma once
// "Send To": where the record's "Send To" puts its folder of shortcuts, and how that folder is
// named. Made on first use and kept, so its boxes keep their texts between showings.
#include <windows.h>

#include <functional>
#include <string>

#include "base/handles.h"
#include "ui/dialogs/settings_dialog.h"  // FolderPicker
#include "ui/modal_dialog.h"

namespace tv {

class TFormSendTo {
public:
    // `desktop` is the desktop folder as the special folder path gives it; `explore` shows a
    // folder in Explorer.
    TFormSendTo(std::wstring desktop, FolderPicker picker, std::function<void(const std::wstring&)> explore);
    ~TFormSendTo();
    TFormSendTo(const TFormSendTo&) = delete;
    TFormSendTo& operator=(const TFormSendTo&) = delete;

    // Shows the dialog modally over `owner` for the record `recordName`, "As original file name"
    // ticked as `asRecordFileName` says; true when "&Confirm" (or Enter) closed it.
    bool Execute(HWND owner, const std::wstring& recordName, bool asRecordFileName);
    HWND hwnd() const { return hwnd_; }
    // What the last confirmation left: the destination and the name as typed, whether the
    // destination was exactly the desktop folder, and the two boxes.
    std::wstring destination() const;
    std::wstring folderName() const;
    bool destinationIsDesktop() const { return desktopChosen_; }
    bool asRecordFileName() const;
    bool openAfterConfirm() const;
    // The background of the path box and of the name box now.
    COLORREF pathColour() const { return pathColour_; }
    COLORREF nameColour() const { return nameColour_; }

    // Controls, named as the program has always named them.
    HWND LblRecordPath = nullptr, EdtRecordPath = nullptr, BtnSelectPath = nullptr, BtnOpenDir = nullptr;
    HWND LblRename = nullptr, EdtRename = nullptr, cbAsRecordFileName = nullptr, cbAutoLaunch = nullptr;
    HWND BtnConfirm = nullptr, SpeedButton1 = nullptr;

    void BtnConfirmClick();
    void BtnSelectPathClick();
    void BtnOpenDirClick();
    void cbAsRecordFileNameClick();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Create(HWND owner);
    void FormCreate();
    HWND Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                 DWORD exStyle = 0);
    void SetColour(HWND box, COLORREF colour);

    std::wstring desktop_;
    FolderPicker picker_;
    std::function<void(const std::wstring&)> explore_;
    std::wstring recordName_;
    bool desktopChosen_ = false;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;  // the modal helper's
    int dpi_ = 96;
    COLORREF pathColour_, nameColour_;
    GdiOwner<HBRUSH> pathBrush_, nameBrush_;
    ModalDialog modal_;
};

}  // namespace tv
