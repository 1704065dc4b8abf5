#pragma once
// The messages by which what comes from outside reaches the main window: files and text dropped
// through OLE (posted back to the window, so the dragging program is free once the drop ends),
// files dropped the classic way, the hand-off of a second start and a drive attached. Each is
// passed to the window's intakes; hand-offs wait for a long operation to end.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/main/intakes/text_drop.h"

namespace tv {

class LongWork;
class WindowIntakes;

class IntakeMessages : public TextDropHost {
public:
    IntakeMessages(WindowIntakes& intakes, LongWork& work);
    ~IntakeMessages() override;

    // The window the dropped files and text are posted to.
    void Attach(HWND window) { window_ = window; }
    // Makes the window a drop target for Explorer's file drops and for OLE drops (once).
    void Register();
    // Revokes the drop target and forgets the window.
    void Detach();
    // The window's OLE drop target; null before Register. Not add-ref'd.
    IDropTarget* target() const { return drop_ ? drop_->target() : nullptr; }

    // TextDropHost
    void TextDropped(const std::wstring& text) override;
    void FilesDropped(const std::vector<std::wstring>& files) override;

    // True when `msg` is one of these messages; `result` is then the window's answer to it.
    bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    WindowIntakes& intakes_;
    LongWork& work_;
    HWND window_ = nullptr;
    std::unique_ptr<TextDropRegistration> drop_;
};

}  // namespace tv
