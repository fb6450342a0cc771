#pragma once

#include <QDateTime>
#include <QString>

#include <exception>
#include <functional>

namespace dv {
class Error;
}

// The error log: every exception that escapes a handler is appended as four
// lines to <My Documents>/VidedorovIzarir/Excavator Error.log:
//
//   Error Time Stamp: 03:07 pm on 15/Sep/2015
//   Error Class: EConvertError
//   Error Message: 'x' is not a valid date
//   -->>
//
// Each line ends in CR LF. The entry is appended rather than the file being
// read and rewritten, so a failure half-way can never lose earlier entries.
// A file that starts with a UTF-8 or UTF-16 byte-order mark keeps its
// encoding; any other file (and a new one) gets Latin-1 bytes. The folder is
// never created. Logging runs while an exception is being handled, so it never
// throws: when the log cannot be written the entry goes to standard error.
class ErrorLog {
public:
    using DocumentsFn = std::function<QString()>; // may throw when there is no folder
    using ClockFn = std::function<QDateTime()>;

    explicit ErrorLog(DocumentsFn myDocuments, ClockFn clock = &QDateTime::currentDateTime);

    void LogError(const QString &className, const QString &message) noexcept;
    void LogError(const dv::Error &e) noexcept;
    // Class name: the readable type name of the exception (std::runtime_error).
    void LogError(const std::exception &e) noexcept;

    // The log file's path; throws what the documents lookup throws.
    QString logFilePath() const;

private:
    DocumentsFn myDocuments_;
    ClockFn clock_;
};
