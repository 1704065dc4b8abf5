#pragma once
// A prompter for tests: answers questions from a script and remembers every text it was shown.
#include <deque>
#include <string>
#include <vector>

#include "ui/dialogs/prompter.h"

namespace tvtest {

class ScriptedPrompter : public tv::Prompter {
public:
    std::deque<bool> answers;  // taken from the front; a question past the script is cancelled
    std::vector<std::wstring> asked, told;
    std::vector<HWND> owners;  // of every question and message, in order
    int unscripted = 0;        // questions asked with no answer left

    bool Ask(HWND owner, const std::wstring& text) override {
        asked.push_back(text);
        owners.push_back(owner);
        if (answers.empty()) {
            ++unscripted;
            return false;
        }
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Tell(HWND owner, const std::wstring& text) override {
        told.push_back(text);
        owners.push_back(owner);
    }
    std::deque<int> choices;  // taken from the front; past the script the question is closed (-1)
    std::vector<std::wstring> offered;
    int Choose(HWND owner, const std::wstring& text, const std::vector<std::wstring>& buttons) override {
        offered.push_back(text);
        owners.push_back(owner);
        if (choices.empty()) return -1;
        int choice = choices.front();
        choices.pop_front();
        return choice < static_cast<int>(buttons.size()) ? choice : -1;
    }
};

}  // namespace tvtest
