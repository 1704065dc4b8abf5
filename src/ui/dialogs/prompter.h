#pragma once
// Every message box and OK/Cancel question of the program goes through a prompter, so that
// tests can answer them and the program shows the real ones.
#include <windows.h>

#include <string>
#include <vector>

#include "base/strings.h"  // SystemMessageText, for the texts of errors told

namespace tv {

class Prompter {
public:
    virtual ~Prompter() = default;
    // A question with the information icon and the buttons OK and Cancel; true only for OK.
    virtual bool Ask(HWND owner, const std::wstring& text) = 0;
    // A plain message with an OK button.
    virtual void Tell(HWND owner, const std::wstring& text) = 0;
    // A question with a button for each choice; the index of the one pressed, -1 when the
    // question was closed without a choice.
    virtual int Choose(HWND owner, const std::wstring& text, const std::vector<std::wstring>& choices) = 0;
};

// The real one: message boxes titled with the program's name.
Prompter& SystemPrompter();

}  // namespace tv
