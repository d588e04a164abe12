#pragma once
// A value that lives for one scope on one thread, found by code deeper on the
// same thread without being handed down (a memo for one gathering, a key kept
// open for one walk). Scopes of the same type nest: the inner one is found
// until it ends. Each use names its own type, so that two uses never meet.
#include <utility>

namespace platform {

template <class T>
class ThreadScope {
public:
    template <class... Args>
    explicit ThreadScope(Args&&... args) : value_(std::forward<Args>(args)...), outer_(active_) {
        active_ = this;
    }
    ~ThreadScope() { active_ = outer_; }
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;

    // The innermost live scope's value on this thread; null outside every scope.
    static T* Active() { return active_ ? &active_->value_ : nullptr; }

private:
    T value_;
    ThreadScope* outer_;
    static thread_local ThreadScope* active_;
};

template <class T>
thread_local ThreadScope<T>* ThreadScope<T>::active_ = nullptr;

}  // namespace platform
