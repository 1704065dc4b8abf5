#pragma once
#include <utility>

namespace tv {

// Runs `f` when the scope ends, however it ends: the way to put back state a handler changed
// for its own duration.
template <class F>
class OnExit {
public:
    explicit OnExit(F f) : f_(std::move(f)) {}
    ~OnExit() { f_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    F f_;
};

}  // namespace tv
