#include "ui/main/work/long_work.h"

#include "base/debug_log.h"

namespace tv {

LongWork::Scope::~Scope() {
    if (--work_.depth_ == 0 && !work_.queue_.empty() && work_.wake_) work_.wake_();
}

void LongWork::Run(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        LogSwallowed(L"queued work");
    }
}

void LongWork::RunOrQueue(std::function<void()> work, const std::wstring& key) {
    if (!busy() && queue_.empty()) {
        Scope scope(*this);
        Run(work);
        return;
    }
    if (!key.empty())
        for (const Pending& p : queue_)
            if (p.key == key) return;
    queue_.push_back({key, std::move(work)});
    if (!busy() && wake_) wake_();
}

bool LongWork::RunNext() {
    if (busy() || queue_.empty()) return false;
    Pending next = std::move(queue_.front());
    queue_.pop_front();
    {
        Scope scope(*this);
        Run(next.work);
    }
    // The scope asked to be woken if more is waiting.
    return true;
}

}  // namespace tv
