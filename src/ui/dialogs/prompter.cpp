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

std::wstring SystemMessageText(DWORD error) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length && text ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? L"Error " + std::to_wstring(error) : message;
}

Prompter& SystemPrompter() {
    static MessageBoxPrompter prompter;
    return prompter;
}

}  // namespace tv
