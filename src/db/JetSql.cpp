#include "db/JetSql.h"

#include "core/Errors.h"

#include <QVector>

namespace dv {

namespace {

enum class Tok { Space, Ident, Number, SingleStr, DoubleStr, Bracket, Param, Punct };

struct Token {
    Tok kind;
    QString text; // exactly as written
};

bool isIdentStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isIdentPart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

QVector<Token> tokenize(const QString &s)
{
    QVector<Token> out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            out.push_back({Tok::Space, s.mid(start, i - start)});
        } else if (isIdentStart(c)) {
            while (i < n && isIdentPart(s[i]))
                ++i;
            out.push_back({Tok::Ident, s.mid(start, i - start)});
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && (s[i].isLetterOrNumber() || s[i] == u'.'))
                ++i;
            out.push_back({Tok::Number, s.mid(start, i - start)});
        } else if (c == u'\'' || c == u'"') {
            // A doubled quote inside the literal stands for one quote.
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                ++i;
            }
            if (!closed)
                throw EDatabaseError(QStringLiteral("Unterminated string in SQL: ") + s);
            out.push_back({c == u'\'' ? Tok::SingleStr : Tok::DoubleStr, s.mid(start, i - start)});
        } else if (c == u'[') {
            const qsizetype close = s.indexOf(u']', i);
            if (close < 0)
                throw EDatabaseError(QStringLiteral("Unterminated [name] in SQL: ") + s);
            i = close + 1;
            out.push_back({Tok::Bracket, s.mid(start, i - start)});
        } else if (c == u':' && i + 1 < n && isIdentStart(s[i + 1])) {
            ++i;
            while (i < n && isIdentPart(s[i]))
                ++i;
            out.push_back({Tok::Param, s.mid(start, i - start)});
        } else {
            ++i;
            out.push_back({Tok::Punct, QString(c)});
        }
    }
    return out;
}

QString literalValue(const Token &t)
{
    const QChar q = t.text.front();
    QString inner = t.text.mid(1, t.text.size() - 2);
    inner.replace(QString(2, q), QString(q));
    return inner;
}

QString singleQuoted(const QString &value)
{
    QString v = value;
    v.replace(u'\'', QStringLiteral("''"));
    return u'\'' + v + u'\'';
}

bool identIs(const Token &t, const char *word)
{
    return t.kind == Tok::Ident && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

qsizetype skipSpace(const QVector<Token> &t, qsizetype i, qsizetype end)
{
    while (i < end && t[i].kind == Tok::Space)
        ++i;
    return i;
}

QString rewrite(const QVector<Token> &t, qsizetype begin, qsizetype end);

// FORMAT ( expr , 'pattern' ) starting at the FORMAT token; returns the
// strftime text and sets `next` past the closing parenthesis, or returns a
// null text when the tokens do not form such a call.
QString rewriteFormat(const QVector<Token> &t, qsizetype at, qsizetype end, qsizetype &next)
{
    qsizetype open = skipSpace(t, at + 1, end);
    if (open >= end || t[open].text != QLatin1String("("))
        return {};
    int depth = 0;
    qsizetype lastComma = -1;
    qsizetype close = -1;
    for (qsizetype i = open; i < end; ++i) {
        if (t[i].kind != Tok::Punct)
            continue;
        if (t[i].text == QLatin1String("(")) {
            ++depth;
        } else if (t[i].text == QLatin1String(")")) {
            if (--depth == 0) {
                close = i;
                break;
            }
        } else if (t[i].text == QLatin1String(",") && depth == 1) {
            lastComma = i;
        }
    }
    if (close < 0 || lastComma < 0)
        throw EDatabaseError(QStringLiteral("FORMAT needs a value and a pattern"));
    const qsizetype pat = skipSpace(t, lastComma + 1, close);
    qsizetype patEnd = skipSpace(t, pat + 1, close);
    if (pat >= close || patEnd != close
        || (t[pat].kind != Tok::SingleStr && t[pat].kind != Tok::DoubleStr))
        throw EDatabaseError(QStringLiteral("FORMAT needs a literal pattern"));
    const QString value = rewrite(t, open + 1, lastComma).trimmed();
    next = close + 1;
    return QStringLiteral("strftime(") + singleQuoted(JetSql::strftimePattern(literalValue(t[pat])))
        + QStringLiteral(", ") + value + u')';
}

QString rewrite(const QVector<Token> &t, qsizetype begin, qsizetype end)
{
    QString out;
    for (qsizetype i = begin; i < end;) {
        const Token &tok = t[i];
        switch (tok.kind) {
        case Tok::DoubleStr:
            out += singleQuoted(literalValue(tok));
            ++i;
            continue;
        case Tok::Bracket: {
            QString name = tok.text.mid(1, tok.text.size() - 2);
            name.replace(u'"', QStringLiteral("\"\""));
            out += u'"' + name + u'"';
            ++i;
            continue;
        }
        case Tok::Ident:
            if (identIs(tok, "delete")) {
                // "delete * from" -> "delete from"
                const qsizetype star = skipSpace(t, i + 1, end);
                if (star < end && t[star].text == QLatin1String("*")) {
                    const qsizetype from = skipSpace(t, star + 1, end);
                    if (from < end && identIs(t[from], "from")) {
                        out += tok.text + u' ';
                        i = from;
                        continue;
                    }
                }
            } else if (identIs(tok, "format")) {
                qsizetype next = i;
                const QString call = rewriteFormat(t, i, end, next);
                if (!call.isNull()) {
                    out += call;
                    i = next;
                    continue;
                }
            }
            break;
        default:
            break;
        }
        out += tok.text;
        ++i;
    }
    return out;
}

} // namespace

QString JetSql::toSqlite(const QString &jet)
{
    const QVector<Token> t = tokenize(jet);
    return rewrite(t, 0, t.size());
}

QStringList JetSql::parameters(const QString &sql)
{
    QStringList names;
    for (const Token &t : tokenize(sql)) {
        if (t.kind == Tok::Param) {
            const QString name = t.text.mid(1);
            if (!names.contains(name))
                names << name;
        }
    }
    return names;
}

QString JetSql::strftimePattern(const QString &jetPattern)
{
    // Longest specifiers first; letters outside a specifier cannot be expressed.
    static const struct { const char *jet; const char *sqlite; } map[] = {
        {"yyyy", "%Y"}, {"mm", "%m"}, {"dd", "%d"}, {"hh", "%H"}, {"nn", "%M"}, {"ss", "%S"},
    };
    QString out;
    qsizetype i = 0;
    while (i < jetPattern.size()) {
        bool matched = false;
        for (const auto &m : map) {
            const QLatin1String token(m.jet);
            if (jetPattern.mid(i, token.size()).compare(token, Qt::CaseInsensitive) == 0) {
                out += QLatin1String(m.sqlite);
                i += token.size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const QChar c = jetPattern[i];
        if (c.isLetter())
            throw EDatabaseError(QStringLiteral("FORMAT pattern not supported: ") + jetPattern);
        out += (c == u'%') ? QStringLiteral("%%") : QString(c);
        ++i;
    }
    return out;
}

} // namespace dv
