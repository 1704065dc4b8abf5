#include "ui/dialogs/prompter.h"

#include "base/constants.h"

namespace tv {

namespace {
class MessageBoxPrompter : public Prompter {
public:
    bool Ask(HWND owner, const std::wstring& text) override {
        return MessageBoxW(owner, text.c_str(), kAppName, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
    }
    void Tell(HWND owner, const std::wstring& text) override {
        MessageBoxW(owner, text.c_str(), kAppName, MB_OK);
    }
};
}  // namespace

Prompter& SystemPrompter() {
    static MessageBoxPrompter prompter;
    return prompter;
}

}  // namespace tv
