#pragma once

#include <QString>
#include <QStringList>

namespace dv {

// Rewrites the Jet SQL texts the program builds into SQL the embedded engine
// accepts, so the texts in the code stay as they were written for Jet:
//   FORMAT(x, 'yyyy/MM/dd')  ->  strftime('%Y/%m/%d', x)
//   delete * from            ->  delete from
//   "text"                   ->  'text'      (Jet quotes strings with ")
//   [name]                   ->  "name"      (Jet quotes names with [])
// Everything else (BETWEEN, NOT IN (select ...), nested INNER JOIN, named
// parameters) passes through unchanged. Works on tokens, so nothing inside a
// string literal is ever rewritten.
class JetSql {
public:
    // Throws EDatabaseError for an unterminated literal or a FORMAT pattern
    // the engine cannot express.
    static QString toSqlite(const QString &jet);
    // Names of the named parameters (":name") of a text, without the colon.
    static QStringList parameters(const QString &sql);
    // A Jet/VB date pattern as strftime text ("yyyy/MM/dd" -> "%Y/%m/%d").
    static QString strftimePattern(const QString &jetPattern);
};

} // namespace dv
