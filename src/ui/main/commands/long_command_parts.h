#pragma once
// What the commands that run as long work (recording, replay) are handed by the window: the
// shown record, the list, the progress strip, the long-work guard and the options.
#include <windows.h>

#include <functional>

namespace tv {

class LongWork;
class Options;
class ProgressStrip;
class Prompter;
class RecordList;
class RecordSession;

struct LongCommandParts {
    RecordSession& session;
    RecordList& list;
    ProgressStrip& progress;
    LongWork& work;
    Options& options;
    std::function<void()> showProgress;  // makes the strip when first needed
    std::function<void()> layOut;        // after the strip shows or hides
    const HWND& window;                  // owns the questions
    Prompter*& prompter;
};

}  // namespace tv
