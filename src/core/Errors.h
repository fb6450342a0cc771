#pragma once

#include <QString>
#include <stdexcept>

namespace dv {

// Every error the program raises carries a class name, because the error log
// prints it on its "Error Class: " line.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    virtual QString className() const { return QStringLiteral("Exception"); }
    const QString &message() const { return message_; }

private:
    QString message_;
};

#define DV_ERROR_CLASS(Name, Base)                                             \
    class Name : public Base {                                                 \
    public:                                                                    \
        using Base::Base;                                                      \
        QString className() const override { return QStringLiteral(#Name); }   \
    };

// A value that does not convert (a date that is not a date, a text that is not a truth word).
DV_ERROR_CLASS(EConvertError, Error)
// The settings store refused a read or a write.
DV_ERROR_CLASS(ERegistryException, Error)
// The database engine failed: opening, a missing column, a refused statement.
DV_ERROR_CLASS(EDatabaseError, Error)
// A file could not be read, written, moved or deleted.
DV_ERROR_CLASS(EInOutError, Error)
// Anything else a handler wants to report by name.
DV_ERROR_CLASS(EGeneralError, Error)

// The quiet abort: ends the current operation and is never logged.
DV_ERROR_CLASS(EAbort, Error)

#undef DV_ERROR_CLASS

} // namespace dv
