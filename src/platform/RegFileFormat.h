#pragma once

#include "platform/RegistryStore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dv {

// One logical line of a .reg text file: the physical lines it came from
// (more than one when a hex value is continued with a trailing backslash),
// and what they say when they parse as a value line.
struct RegFileLine {
    QStringList raw;
    QString name;                 // empty when the line is no value line
    std::optional<RegValue> value; // empty when the data does not parse
    bool isValueLine() const { return !name.isEmpty(); }
};

// The parsed text of one key's file. Lines that are not understood are kept
// so a rewrite leaves them where they were.
class RegFileFormat {
public:
    static RegFileFormat parse(const QString &text);
    // A new file's content: the REGEDIT4 banner and the key's header.
    static RegFileFormat fresh(const QString &keyHeader);

    std::optional<RegValue> value(const QString &name) const;
    void set(const QString &name, const RegValue &value);
    QString text() const;

    static QString formatLine(const QString &name, const RegValue &value);

private:
    QList<RegFileLine> lines_;
};

} // namespace dv
