#pragma once
// The silent abort: a command that the user cancels ends by throwing EAbort. Every UI entry
// point (slots, the close event, key handlers) runs its handler through GuardUi, which swallows
// it, so that it never crosses Qt code and never shows a message.
#include <exception>
#include <utility>

class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "aborted"; }
};

[[noreturn]] inline void Abort() { throw EAbort(); }

// Runs a UI handler; a silent abort ends it quietly. Returns false when it was aborted.
template <class F> bool GuardUi(F&& handler)
{
    try {
        std::forward<F>(handler)();
        return true;
    } catch (const EAbort&) {
        return false;
    }
}
