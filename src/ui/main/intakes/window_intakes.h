// intakes/: what reaches the main window from outside (drops, a drive attached, the hand-off of a
// second start) and how each is taken into the shown record.

#pragma once
// What reaches the main window from outside and ends in the shown record: files and text
// dropped on it, a removable drive attached, and the hand-off of a second start. Each is read
// at once (the drop is given back to the system, the sender released) and taken into the
// record when no long operation runs.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/record_session.h"
#include "ui/main/work/long_work.h"
#include "ui/main/views/record_pages.h"

namespace tv {

class WindowIntakes {
public:
    WindowIntakes(RecordSession& session, RecordPages& pages, LongWork& work)
        : session_(session), pages_(pages), work_(work) {}

    void FilesDropped(HDROP drop);
    void FilesDropped(const std::vector<std::wstring>& files);
    void TextDropped(const std::wstring& text);
    void DeviceArrived();
    // The hand-off message: only the program's own 8 bytes count, and only once the first-run
    // step has shown the record and while the window is not closing (otherwise the answer 0
    // makes the sender send again). Answers 1 when the items were taken.
    LRESULT CopyDataReceived(const COPYDATASTRUCT* data);
    void SetReady() { ready_ = true; }
    // While the window may be closing, hand-offs are answered 0 as before the first-run step.
    void HoldHandOffs(bool on) { held_ = on; }
    // Told of each item a record cannot hold, which is left out.
    std::function<void(const std::wstring& message)> refused;
    // Told what each intake added, and to which record, with what it left out (each noted here).
    std::function<void(const std::wstring& text)> told;
    void NoteRefused(const std::wstring& message);
    // The title of an open folder or page showing `location`, empty when none shows it.
    std::function<std::wstring(const std::wstring& location)> openLocationTitle;
    // A web page's own title; empty when it cannot be fetched.
    std::function<std::wstring(const std::wstring& address)> fetchPageTitle;
    // Takes what earlier hand-off messages brought.
    void TakeHandedOffItems();

    // The steps done once their turn comes.
    void TakeFiles(const std::vector<std::wstring>& files);
    void TakeDroppedText(const std::wstring& text);
    void TakeRemovableDrives();

private:
    // Tells what was added since the adds counted `before`.
    void TellAdded(const AddedCounts& before);

    RecordSession& session_;
    RecordPages& pages_;
    LongWork& work_;
    std::vector<IntakeStep> handedOff_;  // read from the hand-off file, not yet in the record
    std::vector<std::wstring> handedOffRefusals_;  // what those hand-offs left out
    std::vector<std::wstring> refusedNotes_;       // what the intake under way left out
    bool ready_ = false;
    bool held_ = false;
};

}  // namespace tv
