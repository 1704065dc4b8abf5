#pragma once
// Smart Record: the box in the command strip and its menu item, kept in step; the question
// asked before it starts; the interval label and slider beside the box; and the timer that
// records again every few seconds while the box is ticked.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace tv {

class LongWork;
class Options;
class RecordingCommands;
class SettingsStore;
class TFrmSmartRecordSettings;

class SmartRecord {
public:
    struct Parts {
        const HWND& window;
        const HWND& box;     // `cbSmartRecord`
        const HWND& slider;  // `tbRecordInterval`
        const HMENU& menu;   // holds the menu item `SmartRecord1`
        RecordingCommands& recording;
        LongWork& work;
        Options& options;
        SettingsStore& user;
        std::function<void()> layOut;
    };
    // The Smart Record question: the interval shown, the one chosen; false when not confirmed.
    using Question = std::function<bool(int interval, int& chosenInterval)>;

    explicit SmartRecord(Parts parts);
    ~SmartRecord();
    SmartRecord(const SmartRecord&) = delete;
    SmartRecord& operator=(const SmartRecord&) = delete;

    // Makes the interval label once the command strip exists, and hides the interval controls.
    void Create(HFONT font);
    // The program's own question unless a test sets another.
    Question askSmartRecord;

    bool on() const;
    // The box was clicked: switches Smart Record to the box's state.
    void cbSmartRecordClick();
    // The menu item toggles its check mark, and the box follows it.
    void SmartRecord1Click();
    // Sets the box from elsewhere (resume marker, a hand-off that restored it); switches only
    // when the state changes.
    void SetChecked(bool on);
    void TimerContinueRecordTimer();
    // The slider moved: label, timer and the stored interval follow at once.
    void tbRecordIntervalChange();
    // The options set the interval; they store it themselves.
    void SetInterval(int seconds);

    bool timerEnabled() const { return timerOn_; }
    UINT timerInterval() const { return intervalMs_; }
    bool panelShown() const;
    HWND lbRecording = nullptr;
    // The label's width in pixels, for the layout of the panel.
    int labelWidth() const { return labelWidth_; }
    // The least width of the slider and the gaps around the panel, at 96 dpi.
    static constexpr int kSliderLeast = 100;
    static constexpr int kPanelPad = 6;

    // The window's messages that belong to Smart Record; true when `msg` was one of them.
    bool Handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Switch();
    void ShowPanel(bool show);
    void WidenForPanel();
    int Interval() const;
    void FollowInterval();
    void Store(const wchar_t* key, int value);

    Parts p_;
    std::unique_ptr<TFrmSmartRecordSettings> question_;
    bool timerOn_ = false;
    UINT intervalMs_ = 3000;
    bool ticking_ = false;
    int labelWidth_ = 0;
};

// Where the main window goes so that a panel ending at `panelRight` (window coordinates) fits:
// widened to that edge when the panel reaches it, then moved left when it passes the screen.
struct WindowSpan {
    int left;
    int width;
};
WindowSpan SpanForPanel(WindowSpan window, int panelRight, int screenWidth);

}  // namespace tv
