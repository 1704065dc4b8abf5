#pragma once
// Showing the record the list selects: it is read into the trees while the window stays live,
// the status bar names it (or says it was read only in part), and its index is stored for the
// next start. The "more" menu gains "Search..." with the first record shown, and the record
// list's menu marks the record that replays at start.
#include <windows.h>

#include <string>

namespace tv {

class LongWork;
class Prompter;
class Options;
class ProgressStrip;
class RecordList;
class RecordPages;
class RecordSession;
class SettingsStore;
class StatusBar;
struct MainMenus;

class SelectedRecord {
public:
    struct Parts {
        RecordSession& session;
        RecordList& list;
        RecordPages& pages;
        LongWork& work;
        StatusBar& status;
        ProgressStrip& progress;
        const MainMenus& menus;
        SettingsStore& user;
        const Options& options;
        const int& startupIndex;  // the record that replays at start, or -1
        const HWND& window;       // owns the questions
        Prompter*& prompter;
    };
    explicit SelectedRecord(Parts parts) : p_(parts) {}

    // Shows the record selected in the list (LbRECsClick); nothing when none is. With `store`,
    // its index becomes the one the next start shows.
    void Show(bool store = true);
    // Stores `index` as the record the next start shows; a negative one is not stored.
    void Store(int index);
    // The status bar names the shown record when the list selects it, and says nothing is
    // selected otherwise.
    void Describe();
    // The list's selection changed: the status bar names what it selects now. A reading of the
    // list that selects what it selected before leaves what the bar says (a refusal, say).
    void SelectionChanged();

private:
    // What the status bar was last told: the entry selected and the record shown.
    std::wstring DescribedState() const;
    std::wstring described_;
    // Before another record is read into the trees, for the list's entry `index`: a change of
    // the shown record that could not be saved is asked about first. True when the record may
    // be read, with `index` its entry then; false when the shown record stays.
    bool MayLeaveShownRecord(int& index);
    Parts p_;
};

}  // namespace tv
