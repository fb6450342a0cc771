#include "app/AppHook.h"

#include "app/ErrorLog.h"
#include "core/Errors.h"

#include <exception>

bool AppHook::run(const std::function<void()> &fn) noexcept
{
    try {
        fn();
        return true;
    } catch (...) {
        logCurrent();
        return false;
    }
}

void AppHook::logCurrent() noexcept
{
    // The outer block: the log runs while an exception is being handled, so a
    // failure of its own must not end the program.
    try {
        try {
            throw;
        } catch (const dv::EAbort &) {
            // the quiet abort cancels an operation and leaves no trace
        } catch (const dv::Error &e) {
            log_.LogError(e);
        } catch (const std::exception &e) {
            log_.LogError(e);
        } catch (...) {
            log_.LogError(QStringLiteral("Exception"), QStringLiteral("Unknown exception"));
        }
    } catch (...) {
    }
}
