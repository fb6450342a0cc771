#include "platform/RegFileFormat.h"

namespace dv {

namespace {

// Reads a quoted string starting at text[pos] == '"'. Returns the index just
// past the closing quote, or -1 when the quote never closes.
qsizetype readQuoted(const QString &text, qsizetype pos, QString &out)
{
    out.clear();
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"')
            return i + 1;
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar n = text.at(++i);
            if (n == u'\\' || n == u'"')
                out.append(n);
            else if (n == u'n')
                out.append(u'\n');
            else if (n == u'r')
                out.append(u'\r');
            else {
                // A hand-typed path such as c:\program files: keep it as typed.
                out.append(u'\\');
                out.append(n);
            }
            continue;
        }
        out.append(c);
    }
    return -1;
}

QString quote(const QString &s)
{
    QString out;
    out.reserve(s.size() + 2);
    out.append(u'"');
    for (const QChar c : s) {
        if (c == u'\\' || c == u'"') {
            out.append(u'\\');
            out.append(c);
        } else if (c == u'\n') {
            out.append(QLatin1String("\\n"));
        } else if (c == u'\r') {
            out.append(QLatin1String("\\r"));
        } else {
            out.append(c);
        }
    }
    out.append(u'"');
    return out;
}

std::optional<RegValue> parseData(const QString &data)
{
    if (data.startsWith(u'"')) {
        QString s;
        const qsizetype end = readQuoted(data, 0, s);
        if (end < 0 || !data.mid(end).trimmed().isEmpty())
            return std::nullopt;
        return RegValue::ofString(s);
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        bool ok = false;
        const uint v = digits.toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        return RegValue::ofDWord(v);
    }
    if (data.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
        QByteArray bytes;
        const QString list = data.mid(4);
        if (list.trimmed().isEmpty())
            return RegValue::ofBinary(bytes);
        for (const QString &part : list.split(u',')) {
            const QString b = part.trimmed();
            bool ok = false;
            const uint v = b.toUInt(&ok, 16);
            if (!ok || b.size() > 2)
                return std::nullopt;
            bytes.append(static_cast<char>(v));
        }
        return RegValue::ofBinary(bytes);
    }
    return std::nullopt;
}

// Splits `"name"=data`; false when the line is not of that shape.
bool splitValueLine(const QString &line, QString &name, QString &data)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'"'))
        return false;
    const qsizetype end = readQuoted(t, 0, name);
    if (end < 0 || name.isEmpty())
        return false;
    qsizetype i = end;
    while (i < t.size() && t.at(i).isSpace())
        ++i;
    if (i >= t.size() || t.at(i) != u'=')
        return false;
    data = t.mid(i + 1).trimmed();
    return true;
}

} // namespace

RegFileFormat RegFileFormat::parse(const QString &text)
{
    RegFileFormat f;
    QStringList physical = text.split(u'\n');
    if (!physical.isEmpty() && physical.last().isEmpty())
        physical.removeLast(); // the final line break
    for (qsizetype i = 0; i < physical.size(); ++i) {
        RegFileLine line;
        QString joined = physical.at(i);
        if (joined.endsWith(u'\r'))
            joined.chop(1);
        line.raw.append(joined);
        // hex data may continue over several lines, each ending in a backslash
        while (joined.endsWith(u'\\') && joined.contains(QLatin1String("=hex:"), Qt::CaseInsensitive)
               && i + 1 < physical.size()) {
            QString next = physical.at(++i);
            if (next.endsWith(u'\r'))
                next.chop(1);
            line.raw.append(next);
            joined.chop(1);
            joined.append(next.trimmed());
        }
        QString name, data;
        if (splitValueLine(joined, name, data)) {
            line.name = name;
            line.value = parseData(data);
        }
        f.lines_.append(line);
    }
    return f;
}

RegFileFormat RegFileFormat::fresh(const QString &keyHeader)
{
    RegFileFormat f;
    for (const QString &s : {QStringLiteral("REGEDIT4"), QString(), keyHeader}) {
        RegFileLine line;
        line.raw.append(s);
        f.lines_.append(line);
    }
    return f;
}

std::optional<RegValue> RegFileFormat::value(const QString &name) const
{
    for (qsizetype i = lines_.size() - 1; i >= 0; --i) {
        const RegFileLine &l = lines_.at(i);
        if (l.isValueLine() && l.name.compare(name, Qt::CaseInsensitive) == 0)
            return l.value;
    }
    return std::nullopt;
}

void RegFileFormat::set(const QString &name, const RegValue &value)
{
    RegFileLine line;
    line.name = name;
    line.value = value;
    line.raw.append(formatLine(name, value));

    qsizetype first = -1;
    for (qsizetype i = 0; i < lines_.size();) {
        const RegFileLine &l = lines_.at(i);
        if (l.isValueLine() && l.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (first < 0) {
                first = i;
                lines_[i] = line;
                ++i;
            } else {
                lines_.removeAt(i);
            }
        } else {
            ++i;
        }
    }
    if (first >= 0)
        return;
    // A new value goes after the last value line (or the header), ahead of
    // any trailing blank lines.
    qsizetype at = lines_.size();
    while (at > 0 && lines_.at(at - 1).raw.join(QString()).trimmed().isEmpty())
        --at;
    lines_.insert(at, line);
}

QString RegFileFormat::text() const
{
    QString out;
    for (const RegFileLine &l : lines_)
        for (const QString &r : l.raw) {
            out.append(r);
            out.append(u'\n');
        }
    return out;
}

QString RegFileFormat::formatLine(const QString &name, const RegValue &value)
{
    QString data;
    switch (value.type) {
    case RegValue::String:
        data = quote(value.text);
        break;
    case RegValue::DWord:
        data = QStringLiteral("dword:%1").arg(value.dword, 8, 16, QLatin1Char('0'));
        break;
    case RegValue::Binary: {
        QStringList parts;
        for (const char b : value.bytes)
            parts.append(QStringLiteral("%1").arg(static_cast<uchar>(b), 2, 16, QLatin1Char('0')));
        data = QStringLiteral("hex:") + parts.join(u',');
        break;
    }
    }
    return quote(name) + u'=' + data;
}

} // namespace dv
