// The modal loop every dialog runs in: what it leaves of the owner, and how it ends.
#include "ui/modal_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/test_support.h"
#include "ui/message_pump.h"

using namespace tv;

namespace {

LRESULT CALLBACK PlainDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Key(HWND target, WPARAM key) { PostMessageW(target, WM_KEYDOWN, key, 0); }

class ModalLoop : public ::testing::Test {
protected:
    HWND owner = nullptr, dialog = nullptr, box = nullptr;
    ModalDialog modal;
    int confirms = 0, cancels = 0;
    bool confirmCloses = true;
    ModalDialog::Behaviour behaviour;

    void SetUp() override {
        MSG m;  // an end-of-program message left by an earlier test would end the loop at once
        while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ASSERT_TRUE(RegisterDialogClass(L"TvModalLoopTest", PlainDialogProc));
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        dialog = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"TvModalLoopTest", L"dialog",
                                 WS_POPUP | WS_CAPTION, 120, 120, 200, 100, owner, nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
        box = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 5, 100, 20, dialog, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(owner && dialog && box);
        behaviour.focusFirst = [this] { SetFocus(box); };
        behaviour.confirm = [this] {
            ++confirms;
            if (confirmCloses) modal.End(true);
        };
        behaviour.cancel = [this] {
            ++cancels;
            modal.End(false);
        };
    }
    void TearDown() override {
        if (IsWindow(dialog)) DestroyWindow(dialog);
        if (IsWindow(owner)) DestroyWindow(owner);
    }
    bool Run(std::function<void()> step) {
        tvtest::RunSoon(std::move(step));
        return modal.Run(dialog, behaviour);
    }
};

}  // namespace

TEST_F(ModalLoop, EnterConfirmsEscapeCancelsAndTheOwnerIsEnabledAfterEither) {
    bool ownerDisabled = false, running = false;
    EXPECT_TRUE(Run([&] {
        ownerDisabled = !IsWindowEnabled(owner);
        running = modal.running();
        Key(box, VK_RETURN);
    }));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(running);
    EXPECT_FALSE(modal.running());
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(GetActiveWindow(), owner);

    EXPECT_FALSE(Run([&] { Key(box, VK_ESCAPE); }));
    EXPECT_EQ(confirms, 1);
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ModalLoop, AConfirmationTheDialogRefusesKeepsItOpen) {
    confirmCloses = false;
    bool stillShown = false;
    EXPECT_FALSE(Run([&] {
        Key(box, VK_RETURN);
        tvtest::RunSoon([&] {
            stillShown = IsWindowVisible(dialog) && modal.running();
            Key(box, VK_ESCAPE);
        });
    }));
    EXPECT_EQ(confirms, 1);
    EXPECT_TRUE(stillShown);
}

TEST_F(ModalLoop, TheDialogsOwnKeysComeFirst) {
    int own = 0;
    behaviour.keys = [&](const MSG& msg) {
        if (msg.wParam != VK_RETURN) return false;
        ++own;
        modal.End(false);
        return true;
    };
    EXPECT_FALSE(Run([&] { Key(box, VK_RETURN); }));
    EXPECT_EQ(own, 1);
    EXPECT_EQ(confirms, 0);
}

TEST_F(ModalLoop, AnOwnerDisabledBeforeStaysDisabled) {
    // A dialog opened over another modal dialog's owner must not free that owner.
    EnableWindow(owner, FALSE);
    Run([&] { Key(box, VK_ESCAPE); });
    EXPECT_FALSE(IsWindowEnabled(owner));
}

TEST_F(ModalLoop, TheProgramEndingCancelsAndLeavesTheQuitForTheMainLoop) {
    EXPECT_FALSE(Run([] { PostQuitMessage(7); }));
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(IsWindowEnabled(owner));
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

TEST_F(ModalLoop, ADialogDestroyedWhileShownEndsTheLoop) {
    EXPECT_FALSE(Run([&] { DestroyWindow(dialog); }));
    EXPECT_EQ(cancels, 0);  // nothing is left to cancel
    EXPECT_FALSE(modal.running());
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST(QueuePass, LeavesTheEndOfTheProgramForTheMainLoop) {
    tvtest::DropQuitMessages();
    PostQuitMessage(4);
    ProcessMessages();
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 4u);
}

TEST(DialogPlace, CentredOverTheOwnerAndKeptOnTheWorkArea) {
    const RECT area{0, 0, 1000, 800};
    POINT at = CentredOver(RECT{100, 100, 500, 400}, SIZE{200, 100}, area);
    EXPECT_EQ(at.x, 200);
    EXPECT_EQ(at.y, 200);
    // An owner near the edge: the dialog stays whole on the area.
    at = CentredOver(RECT{900, 700, 1100, 900}, SIZE{300, 200}, area);
    EXPECT_EQ(at.x, 700);
    EXPECT_EQ(at.y, 600);
}
