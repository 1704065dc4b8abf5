// work/: long work and what shows it: one operation at a time with the rest queued, the progress
// strip with its Stop button, and Smart Record's timer.

#pragma once
// One long operation at a time (reading a record, deleting records, taking a hand-off, the
// first-run step). While one runs, the window still pumps messages so it paints and its Stop
// button works; what else arrives meanwhile is queued here and done after it, in order, never
// dropped and never run in the middle of the running operation.
#include <deque>
#include <functional>
#include <string>

namespace tv {

class LongWork {
public:
    // `wake` asks the window to come back for the queue (a posted message), so queued work runs
    // from the message loop, not from inside the operation that just ended.
    explicit LongWork(std::function<void()> wake = nullptr) : wake_(std::move(wake)) {}

    // Held for the whole of a long operation; nested scopes are part of the outer one.
    class Scope {
    public:
        explicit Scope(LongWork& work) : work_(work) { ++work_.depth_; }
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        LongWork& work_;
    };

    bool busy() const { return depth_ > 0; }
    // Runs `work` now when nothing runs, otherwise queues it. Work queued under the same
    // non-empty `key` is queued once: a second "show the selected record" adds nothing.
    void RunOrQueue(std::function<void()> work, const std::wstring& key = L"");
    // Runs the next queued piece of work when nothing runs; true when one ran.
    bool RunNext();
    size_t queued() const { return queue_.size(); }

private:
    struct Pending {
        std::wstring key;
        std::function<void()> work;
    };
    static void Run(const std::function<void()>& work);
    std::function<void()> wake_;
    std::deque<Pending> queue_;
    int depth_ = 0;
};

}  // namespace tv
