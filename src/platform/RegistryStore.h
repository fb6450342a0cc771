#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace dv {

// A typed value as the Windows registry keeps it: the three types the
// settings use stay apart, so a type mismatch can be told.
struct RegValue {
    enum Type { String, DWord, Binary };
    Type type = String;
    QString text;       // String
    quint32 dword = 0;  // DWord
    QByteArray bytes;   // Binary

    static RegValue ofString(const QString &s) { RegValue v; v.type = String; v.text = s; return v; }
    static RegValue ofDWord(quint32 d) { RegValue v; v.type = DWord; v.dword = d; return v; }
    static RegValue ofBinary(const QByteArray &b) { RegValue v; v.type = Binary; v.bytes = b; return v; }
    bool operator==(const RegValue &) const = default;
};

// The per-user registry the settings live in. A key path looks like
// "\SOFTWARE\Vorsholt\VidedorovIzarir". No handle stays open between calls.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // Opens the key, creating it (and its parents) when missing; false when it cannot.
    virtual bool openOrCreateKey(const QString &keyPath) = 0;
    // The stored value, or nothing when the key or the value does not exist.
    virtual std::optional<RegValue> read(const QString &keyPath, const QString &name) = 0;
    // Stores the value; throws ERegistryException "Failed to set data for '<name>'" when refused.
    virtual void write(const QString &keyPath, const QString &name, const RegValue &value) = 0;
};

} // namespace dv
