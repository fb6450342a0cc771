#pragma once

#include <functional>

class ErrorLog;

// The one place where an exception that escaped a handler ends up: it is
// appended to the error log and nothing is shown. The quiet abort is dropped.
class AppHook {
public:
    explicit AppHook(ErrorLog &log) : log_(log) {}

    // Runs fn; an exception leaving it is logged (EAbort: dropped). Answers
    // false when fn did not finish.
    bool run(const std::function<void()> &fn) noexcept;

    // Logs the exception being handled; call only inside a catch block.
    void logCurrent() noexcept;

    ErrorLog &log() { return log_; }

private:
    ErrorLog &log_;
};
