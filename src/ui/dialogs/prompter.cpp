#include "ui/dialogs/prompter.h"

#include <commctrl.h>

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
    int Choose(HWND owner, const std::wstring& text, const std::vector<std::wstring>& choices) override {
        // The task dialog shows the choices as buttons; it is in the common controls of
        // Vista and later only, so it is looked up by name.
        using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
        HMODULE controls = GetModuleHandleW(L"comctl32.dll");
        auto taskDialog = controls ? reinterpret_cast<TaskDialogIndirectFn>(GetProcAddress(controls, "TaskDialogIndirect"))
                                   : nullptr;
        if (taskDialog) {
            std::vector<TASKDIALOG_BUTTON> buttons;
            for (size_t i = 0; i < choices.size(); ++i) buttons.push_back({static_cast<int>(100 + i), choices[i].c_str()});
            TASKDIALOGCONFIG config{};
            config.cbSize = sizeof(config);
            config.hwndParent = owner;
            config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
            config.pszWindowTitle = kAppName;
            config.pszMainIcon = TD_INFORMATION_ICON;
            config.pszContent = text.c_str();
            config.cButtons = static_cast<UINT>(buttons.size());
            config.pButtons = buttons.data();
            config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
            int pressed = 0;
            if (SUCCEEDED(taskDialog(&config, &pressed, nullptr, nullptr)))
                return pressed >= 100 && pressed < 100 + static_cast<int>(choices.size()) ? pressed - 100 : -1;
        }
        // Without it: Yes, No and Cancel stand for the first two choices and the third.
        std::wstring question = text;
        const wchar_t* keys[] = {L"Yes", L"No", L"Cancel"};
        for (size_t i = 0; i < choices.size() && i < 3; ++i) question += L"\r\n" + std::wstring(keys[i]) + L": " + choices[i];
        switch (MessageBoxW(owner, question.c_str(), kAppName, MB_YESNOCANCEL | MB_ICONINFORMATION)) {
            case IDYES: return 0;
            case IDNO: return 1;
            case IDCANCEL: return choices.size() > 2 ? 2 : -1;
            default: return -1;
        }
    }
};
}  // namespace

Prompter& SystemPrompter() {
    static MessageBoxPrompter prompter;
    return prompter;
}

}  // namespace tv
