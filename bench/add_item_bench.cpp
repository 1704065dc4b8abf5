// Listing the installed programs in the add-item dialog against the platform work it cannot
// avoid: walking the two Start-menu folders and loading every shortcut to read its path. Both
// run over the same 2,000 shortcuts (half to programs, half to documents) in the same run; the
// figure is the ratio of their median times. The dialog's listing is timed whole, inside its own
// loop, with its list, icons and progress strip; the steps under it are timed too, so a ratio
// over the target shows where the time goes.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/shell_links.h"
#include "bench_util.h"
#include "capture/add_operations.h"
#include "platform_baselines.h"
#include "support/test_support.h"
#include "ui/dialogs/add_item_dialog.h"
#include "ui/dialogs/add_item_listings.h"
#include "ui/main/frame/main_window.h"
#include "ui/main/frame/main_window_parts.h"
#include "ui/main/menus/main_menus.h"
#include "ui/message_pump.h"

namespace {

constexpr int kShortcuts = 2000, kFoldersEach = 50, kPrograms = 200, kRounds = 11;

// The folder walked with FindFirstFile at any depth, and every shortcut's path read through one
// link object: what any listing of these shortcuts must ask of the platform.
int WalkAndLoad(const std::wstring& folder, IShellLinkW* link, IPersistFile* file) {
    int paths = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) paths += WalkAndLoad(path, link, file);
        else if (bench::LoadLinkPath(link, file, path)) ++paths;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return paths;
}

// Two Start-menu folders of `kShortcuts / 2` shortcuts each, in subfolders as installers leave
// them; even shortcuts lead to one of `kPrograms` programs, odd ones to documents.
bool FillStartMenus(const std::wstring& user, const std::wstring& machine, const std::wstring& targets) {
    const std::wstring program = tvtest::ExeFolder() + L"\\minimal_window.exe";
    for (int p = 0; p < kPrograms; ++p)
        if (!CopyFileW(program.c_str(), (targets + L"\\tool" + std::to_wstring(p) + L".exe").c_str(), FALSE))
            return false;
    if (!tvtest::WriteAll(targets + L"\\readme.txt", "text")) return false;
    for (int i = 0; i < kShortcuts; ++i) {
        const std::wstring menu = i < kShortcuts / 2 ? user : machine;
        const std::wstring folder = menu + L"\\Vendor " + std::to_wstring(i % kFoldersEach);
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring target = i % 2 == 0 ? targets + L"\\tool" + std::to_wstring(i / 2 % kPrograms) + L".exe"
                                               : targets + L"\\readme.txt";
        if (!tv::CreateShortcut(folder + L"\\Entry " + std::to_wstring(i) + L".lnk", target, targets)) return false;
    }
    return true;
}

}  // namespace

int main() {
    tv::ComScope com;
    InitCommonControls();
    tvtest::TempFolder user, machine, targets, records;
    if (!FillStartMenus(user.path(), machine.path(), targets.path())) {
        std::printf("could not write the shortcuts\n");
        return 1;
    }
    tvtest::ScopedDataFolders folders;
    tv::Settings settings = tv::OpenSettingsFiles();
    settings.user->WriteString(tv::keys::kDefault, tv::keys::kRecordPath, records.path());
    auto window = std::make_unique<tv::TTolvaneWindow>(settings, nullptr);
    window->parts().recording.askRecord = [](auto&&...) { return false; };  // no first recording
    window->parts().addSources.programFolders = [&] { return std::vector<std::wstring>{user.path(), machine.path()}; };
    if (!window->Create(GetModuleHandleW(nullptr))) return 1;
    window->Show(SW_SHOWNORMAL);
    for (int i = 0; i < 20; ++i, Sleep(20)) tv::ProcessMessages();  // the first-run step

    tv::ComPtr<IShellLinkW> link;
    tv::ComPtr<IPersistFile> file;
    if (!bench::MakeLink(link, file)) return 1;
    std::vector<double> listing, baseline, walk, resolve;
    int rows = 0, paths = 0;
    size_t found = 0;
    std::function<void()> measure = [&] {
        tv::TFrmActionAdd* d = window->parts().addDialog.get();
        if (!d || d->loading() || d->loadsDone() == 0) return tvtest::RunSoon(measure, 50);
        for (int round = 0; round < kRounds; ++round) {
            baseline.push_back(bench::Millis([&] {
                paths = WalkAndLoad(user.path(), link.get(), file.get()) +
                        WalkAndLoad(machine.path(), link.get(), file.get());
            }));
            // Until the page is drawn: its visible rows read their icons then.
            listing.push_back(bench::Millis([&] {
                d->PageControl1Change();
                UpdateWindow(d->LvInstallPrograms);
            }));
            rows = ListView_GetItemCount(d->LvInstallPrograms);
            // The steps under the listing: the walk alone, then the shortcuts resolved to rows
            // without icons or a list.
            tv::RealRecentFolderReader reader;
            std::vector<std::wstring> collected;
            walk.push_back(bench::Millis([&] {
                for (const tv::FoundPath& f : tv::PathsBelow({user.path(), machine.path()}, reader))
                    collected.push_back(f.path);
            }));
            found = collected.size();
            tv::RecordingResolutionMachine resolution;
            resolve.push_back(bench::Millis([&] {
                tv::InstalledProgramRows(
                    collected, resolution, [](const std::wstring&) { return 0; }, [](const std::wstring&) {},
                    [] { return false; });
            }));
        }
        PostMessageW(d->EdtAction, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    tv::ProcessMessages();
    tvtest::RunSoon(measure, 50);
    tvtest::RunCommand(window->hwnd(), tv::kCmdAdd);

    if (listing.empty()) {
        std::printf("the add-item dialog did not list\n");
        return 1;
    }
    std::printf("add-item installed programs: %d shortcuts, %u paths walked, %d rows, %d paths read by the baseline; "
                "first listing %.1f ms (icons read for the first time); under the listing: walk %.1f ms, shortcuts "
                "resolved %.1f ms\n",
                kShortcuts, static_cast<unsigned>(found), rows, paths, listing.front(), bench::Median(walk),
                bench::Median(resolve));
    bench::Report("add-item dialog listing 2000 Start-menu shortcuts", listing, baseline, 1.3);
    DestroyWindow(window->hwnd());
    return 0;
}
