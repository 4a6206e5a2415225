#pragma once
// The silent abort: a command that the user cancels ends by throwing EAbort. Every UI entry
// point (slots, the close event, key handlers) runs its handler through GuardUi, which swallows
// it, so that it never crosses Qt code and never shows a message. Any other exception that
// reaches an entry point goes to the error reporter that the application installs (which shows
// it and lets the program go on); without a reporter it goes on to the caller.
#include <exception>
#include <functional>
#include <utility>

class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "aborted"; }
};

[[noreturn]] inline void Abort() { throw EAbort(); }

// Receives the message of an exception that ended a handler (none for one without a message).
using TErrorReporter = std::function<void(const char* message)>;
inline TErrorReporter& ErrorReporter()
{
    static TErrorReporter reporter;
    return reporter;
}

// Runs a UI handler; a silent abort ends it quietly, another exception is reported. Returns
// false when the handler did not complete.
template <class F> bool GuardUi(F&& handler)
{
    try {
        std::forward<F>(handler)();
        return true;
    } catch (const EAbort&) {
        return false;
    } catch (const std::exception& e) {
        if (!ErrorReporter())
            throw;
        ErrorReporter()(e.what());
        return false;
    } catch (...) {
        if (!ErrorReporter())
            throw;
        ErrorReporter()(nullptr);
        return false;
    }
}
