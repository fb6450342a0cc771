#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>

namespace dv {
class RegistryStore;
class Prompter;
}

enum tINFOVARIABLE : std::uint8_t {
    ivDATABASEPATH = 0,
    ivDATABASENAME = 1,
    ivSUPERVISORPASSWORD = 2,
    ivLOGFILE = 3,
    ivSUPPRESSWARNINGS = 4,
    ivDELETEONREADLOGFILE = 5,
    ivBACKUPONREADLOGFILE = 6,
};

enum tInfoKind : std::uint8_t { ikText = 0, ikInteger = 1, ikReal = 2, ikBoolean = 3 };

struct tInfoEntry {
    const char *Name;
    tInfoKind Kind;
    QVariant Default;
};

// The settings store: seven typed settings under one registry key, read and
// written at each use (never cached). A read of a missing value stores its default.
class tInfo {
public:
    tInfo(dv::RegistryStore &reg, dv::Prompter &prompter);

    QString RegPath; // empty until the entry sequence sets it

    QString ReturnVariableName(int Indx) const;
    QVariant ReturnVariableConst(int Indx) const;
    // Invalid QVariant = the empty value (its text form is the empty text).
    QVariant ReturnVariable(int Indx);
    // Throws dv::EConvertError for a Boolean from a text that is no truth word
    // or number; dv::ERegistryException when the store refuses.
    void SetVariable(int Indx, const QVariant &V);

    // Conveniences over ReturnVariable.
    QString text(tINFOVARIABLE iv) { return TextOf(ReturnVariable(iv)); }
    bool flag(tINFOVARIABLE iv) { return ReturnVariable(iv).toBool(); }

    // Text form of a setting value: Booleans as "True"/"False", numbers in decimal.
    static QString TextOf(const QVariant &v);

    static const tInfoEntry &entry(int Indx);

private:
    dv::RegistryStore &reg_;
    dv::Prompter &prompter_;
};

// The key the entry sequence gives to Info.RegPath.
inline constexpr const char *kSettingsKeyPath = "\\SOFTWARE\\Vorsholt\\VidedorovIzarir";
