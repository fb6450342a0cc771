#pragma once

#include "platform/RegistryStore.h"

#include <QString>

namespace dv {

// The per-user registry as typed text files, one per key, in the layout of a
// REGEDIT4 export:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\SOFTWARE\Vorsholt\VidedorovIzarir]
//   "DataBase Name"="ExLoggerDB.mdb"
//   "Backup On Read"=dword:00000001
//   "Some Real"=hex:00,00,00,00,00,00,f8,3f
//
// Key "\SOFTWARE\Vorsholt\VidedorovIzarir" lives in
// <configRoot>/Vorsholt/VidedorovIzarir.reg (the leading SOFTWARE is dropped).
// The file is UTF-8. Strings escape backslash and quote as REGEDIT4 does; a
// line break inside a string is written as \n or \r so a value stays on one line.
//
// Every read opens and parses the file; every write rewrites it atomically, so
// an edit made outside the program is seen at the next read. A hand-edited
// file never makes the store fail:
// - a line that is no value line (comments, blank lines, other headers,
//   garbage) is kept verbatim when the file is rewritten;
// - a value line whose name parses but whose data does not (say
//   "x"=dword:zz) reads as missing, and the next write of that name replaces it;
// - when a name occurs twice, the last one counts, as a REGEDIT import would
//   have it; a write replaces them all by one line.
// Every line of the file belongs to the key: the header is written for
// readers, not used to scope the values.
class FileRegistryStore : public RegistryStore {
public:
    // configRoot: the folder that plays HKEY_CURRENT_USER\SOFTWARE; by default
    // the user's configuration folder ($XDG_CONFIG_HOME, else ~/.config).
    explicit FileRegistryStore(QString configRoot = defaultConfigRoot());

    bool openOrCreateKey(const QString &keyPath) override;
    std::optional<RegValue> read(const QString &keyPath, const QString &name) override;
    void write(const QString &keyPath, const QString &name, const RegValue &value) override;

    // The file that holds the key; empty when the key path is not usable
    // (empty, or a component that would leave the config root).
    QString fileFor(const QString &keyPath) const;

    static QString defaultConfigRoot();

private:
    QString root_;
};

} // namespace dv
