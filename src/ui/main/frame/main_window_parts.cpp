// The main window's wiring: each part made after what it needs, then the late joins between
// parts that need each other.
#include "ui/main/frame/main_window_parts.h"

#include "app/command_line.h"
#include "base/redraw.h"
#include "capture/open_locations.h"
#include "capture/page_title.h"
#include "capture/recording.h"
#include "ui/main/frame/main_window.h"
#include "ui/message_pump.h"

namespace tv {

LongCommandParts MainWindowParts::LongCommands(TTolvaneWindow& w) {
    return {session, records, progress, work, options, [&w] { w.EnsureProgressStrip(); }, [&w] { w.FormResize(); },
            w.hwnd_, prompter};
}

MainWindowParts::MainWindowParts(TTolvaneWindow& w, Settings& settings)
    : hosts(w),
      options(*settings.user, *settings.common, hosts),
      session(options, pages, records, [&w] { return w.OpenSettings(); }),
      work([&w] {
          if (w.hwnd_) PostMessageW(w.hwnd_, TTolvaneWindow::kMsgRunQueued, 0, 0);
      }),
      intakes(session, pages, work),
      hover(status, session.record()),
      listHint(records, hints, L"You can right click to access more features.",
               [this] { return options.RecordFolder(); }),
      selected({session, records, pages, work, status, progress, menus, *settings.user, options,
                w.startupRecordIndex_, w.hwnd_, prompter}),
      shown(menus, status, layout, *settings.user, [&w] { w.FormResize(); }),
      drops(intakes, work),
      searching(search, pages, [this] { selected.Show(); },
                [this, &w](const std::wstring& text) {
                    LongWork::Scope busy(work);
                    RedrawSuspender quiet(pages.views().TVDocs);
                    const SearchOutcome found = session.Search(text, [] { KeepResponsive(); });
                    if (session.searchShown()) w.TellSearchOutcome(SearchOutcomeText(text, found));
                },
                [&w] { w.FormResize(); }),
      listCommands(session, records, progress, work, prompter,
                   RecordListCommands::Window{[&w] { return w.hwnd_; }, [&w] { w.FormResize(); },
                                              [&w] { w.ReadRecordList(); }, [&w] { w.EnsureProgressStrip(); },
                                              [this](int index) { selected.Store(index); },
                                              [this] { selected.Describe(); },
                                              [&w] { w.OnCommand(kCmdReplayAll); }}),
      recording({LongCommands(w), [this](int index) { selected.Store(index); }, [this] { selected.Describe(); }}),
      replay({LongCommands(w), *settings.user, w.startupRecordIndex_, [&w]() -> ItemLauncher& { return w.Launcher(); },
              [this](const std::wstring& name) { listCommands.Rename(name); }}),
      items({w.hwnd_, pages, session, records, prompter, *settings.user, w.menuChecks_, menus,
             [&w]() -> ItemLauncher& { return w.Launcher(); }, [this]() -> ShellCalls& { return *shellCalls; },
             [&w] { return !w.showRunAsAdmin_; },
             [&w] { w.LbRECsClick(); }, [&w] { w.OnCommand(kCmdOpen); },
             [this](const std::wstring& address) { return intakes.fetchPageTitle(address); }}),
      sendTo(items.parts()),
      system({[&w] { return w.hwnd_; }, [&w]() -> ItemLauncher& { return w.Launcher(); },
              [this]() -> ShellCalls& { return *shellCalls; }, [this]() -> SystemCalls& { return *systemCalls; },
              [this]() -> Prompter& { return *prompter; }, *settings.user, *settings.common, w.menuChecks_, menus,
              [&w] { return !w.showRunAsAdmin_; }, [&w] { PostMessageW(w.hwnd_, WM_CLOSE, 0, 0); },
              [this] { return programFolder; }}),
      filter({session, records, options, [this] { return pages.views().TVDocs; }, [&w] { w.FormResize(); },
              [&w] { w.OpenSettings(); }}),
      smart({w.hwnd_, cbSmartRecord, PnlSmartRecord, menus.MainMenu1, recording, work, options, *settings.user,
             [&w] { w.FormResize(); }}) {
    layout.filter = &filter;
    // The dialog's running programs pass the start-up filter as a recording's do, and leave out
    // every program the filter list holds.
    addSources.runningPrograms = [this] { return RealRecordingSources(ModulePath()).RunningPrograms(filter.Filter()); };
    addSources.inStartupFilterList = [this](const std::wstring& path) { return filter.rows().HoldsPath(path); };
    addSources.open = [&w](const std::wstring& path) { w.Launcher().OpenPathOrAddress(path); };
    layout.status = &status;
    layout.progress = &progress;
    layout.search = &search;
    layout.pages = &pages;
    intakes.refused = [this](const std::wstring& message) { status.SetText(0, message); };
    intakes.told = [this](const std::wstring& text) { status.SetText(0, text, text); };
    intakes.fetchPageTitle = FetchPageTitle;
    intakes.openLocationTitle = [this](const std::wstring& location) {
        TShellWindows windows;
        for (const LocationPair& open : ScanOpenLocations(windows, false, options.values.recordWebPages, {}))
            if (open.location == location) return open.title;
        return std::wstring();
    };
    session.refused = [this](const std::wstring& path) {
        status.SetText(0, RefusedItemMessage(path));
        intakes.NoteRefused(RefusedItemMessage(path));
    };
    // A record not read whole says so where the user looks, for as long as it is shown.
    session.partialNotice = [this, &w](const std::wstring& notice) {
        w.EnsureProgressStrip();
        progress.SetNotice(notice);
    };
    session.searchShownChanged = [this, &w](bool shown) {
        pages.MarkSearchResults(shown);
        // The count of a search is told for as long as its results are shown.
        if (!shown) w.TellSearchOutcome(L"");
    };
    session.saveFailed = [this, &w](const std::wstring& path, const WriteFailure& why) {
        // The change stays in the trees; the user learns that it is not on disk.
        prompter->Tell(w.hwnd_, L"The record \"" + path + L"\" could not be saved.\r\n" + why.Text());
    };
    progress.relayout = [&w] { w.FormResize(); };
    hover.activated = [this, &w](RecordNode& node) {
        if (work.busy() || !session.record().items.Valid(node.data.itemIndex)) return;
        const std::wstring& path = session.record().items.At(node.data.itemIndex).path;
        w.EnsureProgressStrip();
        progress.SetHint(path);  // seen while the strip shows
        w.Launcher().QuickOpen(path, node.caption);
    };
    hover.keyPressed = [this](HWND tree, UINT key) { return items.TreeKeyDown(tree, key); };
    recording.tellOutcome = [this](const std::wstring& text) { status.SetText(0, text, text); };
    recording.startupFilter = filter.Filter();
    recording.beforeRecording = [this](bool smartRecord) { filter.BeforeRecording(smartRecord); };
    recording.afterRecording = [this] { filter.AfterRecording(); };
    recording.switchSmartRecordOff = [this] { smart.SetChecked(false); };
}

}  // namespace tv
