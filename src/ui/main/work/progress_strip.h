#pragma once
// The strip at the bottom of the main window while long operations run: a hint text, the Stop
// button and the gauge.
#include <windows.h>

#include <functional>
#include <string>

namespace tv {

class ProgressStrip {
public:
    // Made on first use, so it costs nothing on the way to the first paint.
    void Create(HWND parent, HFONT font);
    bool created() const { return PnlHint != nullptr; }
    bool shown() const { return shown_; }
    bool overViews() const { return overViews_; }
    // `overViews`: the strip lies over the foot of the record views instead of shortening them.
    // A recording freezes the views, and every resize of a full tree repaints all of it.
    void Show(bool shown, bool overViews = false);
    // A notice that stays in the hint while no long operation uses the strip (the hint alone,
    // without Stop and the gauge); empty takes it away. `relayout` runs when the strip starts
    // or stops taking room for it.
    void SetNotice(const std::wstring& text);
    const std::wstring& notice() const { return notice_; }
    std::function<void()> relayout;
    void SetHint(const std::wstring& text);
    std::wstring hint() const;
    void SetMaximum(int maximum);
    void SetPosition(int position);
    // One step further. The gauge is redrawn at most every few milliseconds: a step per item
    // of a long loop would otherwise cost more than the item.
    void Step();
    int position() const { return position_; }
    // Lays the strip out along the bottom of `area`; answers the height it takes from the
    // views (0 when hidden or lying over them).
    int Place(HDWP& defer, const RECT& area, int dpi);

    // Set by the Stop button and by closing the window; long loops end when they see it.
    bool stopRequested = false;

    HWND PnlHint = nullptr;
    HWND SpeedButton5 = nullptr;  // "S&top"
    HWND Gauge1 = nullptr;

private:
    void ShowPosition();
    // The notice alone, or nothing, when no long operation holds the strip.
    void ShowIdle();
    bool busy_ = false;
    std::wstring notice_;
    bool shown_ = false;
    bool overViews_ = false;
    int position_ = 0;
    ULONGLONG positionShownAt_ = 0;
};

}  // namespace tv
