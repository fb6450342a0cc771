#include "app/ErrorLog.h"

#include "core/Errors.h"
#include "core/Format.h"

#include <QFile>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace {

enum class LogEncoding { Latin1, Utf8, Utf16LE, Utf16BE };

struct FileShape {
    LogEncoding encoding = LogEncoding::Latin1;
    bool needsLineBreak = false; // the last line has no line break yet
};

FileShape inspect(QFile &f)
{
    FileShape shape;
    const qint64 size = f.size();
    if (size == 0)
        return shape;
    const QByteArray head = f.read(3);
    qint64 bom = 0;
    if (head.startsWith("\xEF\xBB\xBF")) {
        shape.encoding = LogEncoding::Utf8;
        bom = 3;
    } else if (head.startsWith("\xFF\xFE")) {
        shape.encoding = LogEncoding::Utf16LE;
        bom = 2;
    } else if (head.startsWith("\xFE\xFF")) {
        shape.encoding = LogEncoding::Utf16BE;
        bom = 2;
    }
    const bool wide = shape.encoding == LogEncoding::Utf16LE || shape.encoding == LogEncoding::Utf16BE;
    const qint64 unit = wide ? 2 : 1;
    if (size - bom >= unit && f.seek(size - unit)) {
        const QByteArray tail = f.read(unit);
        const QByteArray lf = shape.encoding == LogEncoding::Utf16LE   ? QByteArray("\n\0", 2)
                              : shape.encoding == LogEncoding::Utf16BE ? QByteArray("\0\n", 2)
                                                                        : QByteArray("\n");
        shape.needsLineBreak = tail != lf;
    }
    return shape;
}

QByteArray encode(const QString &text, LogEncoding encoding)
{
    switch (encoding) {
    case LogEncoding::Utf8:
        return text.toUtf8();
    case LogEncoding::Utf16LE:
    case LogEncoding::Utf16BE: {
        QByteArray out;
        out.reserve(text.size() * 2);
        for (const QChar c : text) {
            const char hi = char(c.unicode() >> 8);
            const char lo = char(c.unicode() & 0xFF);
            if (encoding == LogEncoding::Utf16LE) {
                out.append(lo);
                out.append(hi);
            } else {
                out.append(hi);
                out.append(lo);
            }
        }
        return out;
    }
    case LogEncoding::Latin1:
        break;
    }
    return text.toLatin1(); // characters outside the code page become '?'
}

QString demangled(const std::type_info &type)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    if (status == 0 && name)
        return QString::fromUtf8(name.get());
    return QString::fromUtf8(type.name());
}

void reportToStderr(const QString &why, const QString &className, const QString &message) noexcept
{
    try {
        QString line = QStringLiteral("Dorvanel: the error log cannot be written (%1); %2: %3")
                           .arg(why, className, message);
        line.replace(u'\r', u' ').replace(u'\n', u' ');
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    } catch (...) {
    }
}

} // namespace

ErrorLog::ErrorLog(DocumentsFn myDocuments, ClockFn clock)
    : myDocuments_(std::move(myDocuments)), clock_(std::move(clock))
{
}

QString ErrorLog::logFilePath() const
{
    return myDocuments_() + QStringLiteral("/VidedorovIzarir/Excavator Error.log");
}

void ErrorLog::LogError(const QString &className, const QString &message) noexcept
{
    try {
        QString path;
        try {
            path = logFilePath();
        } catch (const dv::Error &e) {
            reportToStderr(e.message(), className, message);
            return;
        }
        // The time first, then the date, each read from the clock.
        const QDateTime time = clock_();
        const QDateTime date = clock_();
        const QString crlf = QStringLiteral("\r\n");
        QString entry = QStringLiteral("Error Time Stamp: ") + dv::FormatDateTime(QStringLiteral("hh:nn am/pm"), time)
                        + QStringLiteral(" on ") + dv::FormatDateTime(QStringLiteral("dd/MMM/yyyy"), date) + crlf
                        + QStringLiteral("Error Class: ") + className + crlf
                        + QStringLiteral("Error Message: ") + message + crlf + QStringLiteral("-->>") + crlf;

        FileShape shape;
        {
            QFile existing(path);
            if (existing.exists() && existing.open(QIODevice::ReadOnly))
                shape = inspect(existing);
        }
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
            reportToStderr(path + QStringLiteral(": ") + f.errorString(), className, message);
            return;
        }
        if (shape.needsLineBreak)
            entry.prepend(crlf);
        const QByteArray bytes = encode(entry, shape.encoding);
        if (f.write(bytes) != bytes.size() || !f.flush())
            reportToStderr(path + QStringLiteral(": ") + f.errorString(), className, message);
    } catch (const std::exception &e) {
        reportToStderr(QString::fromLocal8Bit(e.what()), className, message);
    } catch (...) {
        reportToStderr(QStringLiteral("unknown failure"), className, message);
    }
}

void ErrorLog::LogError(const dv::Error &e) noexcept
{
    try {
        LogError(e.className(), e.message());
    } catch (...) {
    }
}

void ErrorLog::LogError(const std::exception &e) noexcept
{
    try {
        if (const auto *own = dynamic_cast<const dv::Error *>(&e)) {
            LogError(*own);
            return;
        }
        LogError(demangled(typeid(e)), QString::fromLocal8Bit(e.what()));
    } catch (...) {
    }
}
