#pragma once
// The "Rename" dialog and the rename of a record that it serves.
#include <windows.h>

#include <string>

#include "ui/dialogs/prompter.h"
#include "ui/modal_dialog.h"

namespace tv {

// The "Rename" dialog: label "File Name", name box, "&OK" and "&Cancel". Created on first use and kept.
class TFrmReName {
public:
    TFrmReName() = default;
    ~TFrmReName();
    TFrmReName(const TFrmReName&) = delete;
    TFrmReName& operator=(const TFrmReName&) = delete;

    // Shows the dialog modally with its top-left corner at `at` (screen pixels, kept on the work
    // area), the name box holding `name`; answers true and sets `newName` to the box text when
    // confirmed by "&OK" or Enter; "&Cancel", Escape and the close box leave it unconfirmed (false).
    bool Execute(HWND owner, POINT at, const std::wstring& name, std::wstring& newName);
    HWND hwnd() const { return hwnd_; }

    // Controls, named as the program has always named them.
    HWND Label1 = nullptr, EdtName = nullptr, BtnConfirm = nullptr, BtnClose = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Create(HWND owner);
    void FormCreate();
    void BtnConfirmClick() { modal_.End(true); }
    void BtnCloseClick() { modal_.End(false); }
    HWND Control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                 DWORD exStyle = 0);
    int S(int v) const { return MulDiv(v, dpi_, 96); }

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;  // the modal helper's
    int dpi_ = 96;
    ModalDialog modal_;
};

// The question asked before a record file at `path` is replaced by another of the same name.
std::wstring ReplaceRecordQuestion(const std::wstring& path);

// The rename of a record: shows the dialog at the mouse holding `proposed` when not empty, else
// `oldName`; when confirmed, moves the record's files from folder\oldName+extension to
// RenameTarget(folder, newName, extension), asking before it replaces another record. Answers
// the target's file name (no folder), or empty when nothing was renamed: cancelled, a blank name,
// the replacement declined, or a name Windows refuses. A refused name (one with characters no
// file name may hold, or a move that failed) is told to the user in the system's words and sets
// `refused` when given.
std::wstring RenameRecord(HWND owner, TFrmReName& dialog, Prompter& prompter, const std::wstring& folder,
                          const std::wstring& oldName, const std::wstring& extension, const std::wstring& proposed,
                          bool* refused = nullptr);

}  // namespace tv
