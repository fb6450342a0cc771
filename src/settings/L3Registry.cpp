#include "settings/L3Registry.h"

#include "core/Errors.h"
#include "platform/Prompter.h"
#include "platform/RegistryStore.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

const tInfoEntry kInfoTable[] = {
    {"DataBase Path", ikText, QVariant(QStringLiteral("c:\\program files\\Vorsholt\\Tellmarin"))},
    {"DataBase Name", ikText, QVariant(QStringLiteral("ExLoggerDB.mdb"))},
    {"Supervisor Password", ikText, QVariant(QStringLiteral("rutab"))},
    {"Log Errors", ikBoolean, QVariant(false)},
    {"Suppress Warnings", ikBoolean, QVariant(false)},
    {"Delete On Read", ikBoolean, QVariant(false)},
    {"Backup On Read", ikBoolean, QVariant(true)},
};
constexpr int kInfoCount = int(sizeof kInfoTable / sizeof kInfoTable[0]);

bool validIndex(int Indx) { return Indx >= 0 && Indx < kInfoCount; }

const tInfoEntry &checkedEntry(int Indx)
{
    if (!validIndex(Indx))
        throw dv::EGeneralError(QStringLiteral("Invalid setting index %1").arg(Indx));
    return kInfoTable[Indx];
}

[[noreturn]] void invalidType(const QString &name)
{
    throw dv::ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
}

bool isTextVariant(const QVariant &v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray
        || v.typeId() == QMetaType::QChar;
}

bool toBoolean(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (isTextVariant(v)) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (ok && std::isfinite(d))
            return d != 0.0;
        throw dv::EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(v.toString()));
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw dv::EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(v.toString()));
    return d != 0.0;
}

qint32 toInteger(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1 : 0; // a Boolean's ordinal as Delphi's variants give it
    bool ok = false;
    if (isTextVariant(v)) {
        const qint32 i = v.toString().trimmed().toInt(&ok);
        if (!ok)
            throw dv::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return i;
    }
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d) || d < -2147483648.0 || d > 2147483647.0)
        throw dv::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
    return qint32(std::llround(d));
}

double toReal(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return 0.0;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    bool ok = false;
    const double d = isTextVariant(v) ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    if (!ok)
        throw dv::EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    return d;
}

QByteArray realBytes(double d)
{
    quint64 bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    QByteArray out(8, '\0');
    qToLittleEndian(bits, out.data());
    return out;
}

double realFromBytes(const QByteArray &b)
{
    const quint64 bits = qFromLittleEndian<quint64>(b.constData());
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

dv::RegValue toRegValue(tInfoKind kind, const QVariant &v)
{
    switch (kind) {
    case ikText:
        return dv::RegValue::ofString(tInfo::TextOf(v));
    case ikInteger:
        return dv::RegValue::ofDWord(quint32(toInteger(v)));
    case ikReal:
        return dv::RegValue::ofBinary(realBytes(toReal(v)));
    case ikBoolean:
        return dv::RegValue::ofDWord(toBoolean(v) ? 1u : 0u);
    }
    return dv::RegValue::ofString(tInfo::TextOf(v));
}

// The value as the setting's kind reads it; throws when the stored type does
// not fit the kind.
QVariant fromRegValue(const tInfoEntry &e, const dv::RegValue &r)
{
    const QString name = QString::fromLatin1(e.Name);
    switch (e.Kind) {
    case ikText:
        if (r.type != dv::RegValue::String)
            invalidType(name);
        if (r.text.isEmpty())
            return QVariant();
        return QVariant(r.text);
    case ikInteger:
        if (r.type != dv::RegValue::DWord)
            invalidType(name);
        return QVariant(int(qint32(r.dword)));
    case ikReal:
        if (r.type != dv::RegValue::Binary || r.bytes.size() != 8)
            invalidType(name);
        return QVariant(realFromBytes(r.bytes));
    case ikBoolean:
        if (r.type != dv::RegValue::DWord)
            invalidType(name);
        return QVariant(r.dword != 0);
    }
    invalidType(name);
}

const QString kNoRegPath = QStringLiteral("Set Info.RegPath");

} // namespace

tInfo::tInfo(dv::RegistryStore &reg, dv::Prompter &prompter) : reg_(reg), prompter_(prompter) {}

const tInfoEntry &tInfo::entry(int Indx) { return checkedEntry(Indx); }

QString tInfo::ReturnVariableName(int Indx) const
{
    if (!validIndex(Indx))
        return QString();
    return QString::fromLatin1(kInfoTable[Indx].Name);
}

QVariant tInfo::ReturnVariableConst(int Indx) const
{
    if (!validIndex(Indx))
        return QVariant();
    const tInfoEntry &e = kInfoTable[Indx];
    switch (e.Kind) {
    case ikText:
        return QVariant(e.Default.toString());
    case ikInteger:
        return QVariant(e.Default.toInt());
    case ikReal:
        return QVariant(e.Default.toDouble());
    case ikBoolean:
        return QVariant(e.Default.toBool());
    }
    return QVariant(0);
}

QVariant tInfo::ReturnVariable(int Indx)
{
    const tInfoEntry &e = checkedEntry(Indx);
    if (RegPath.isEmpty()) {
        prompter_.show(dv::MsgKind::Plain, kNoRegPath);
        return QVariant();
    }
    if (!reg_.openOrCreateKey(RegPath))
        return QVariant();
    const QString name = QString::fromLatin1(e.Name);
    if (const std::optional<dv::RegValue> stored = reg_.read(RegPath, name))
        return fromRegValue(e, *stored);
    const QVariant def = ReturnVariableConst(Indx);
    reg_.write(RegPath, name, toRegValue(e.Kind, def));
    return def;
}

void tInfo::SetVariable(int Indx, const QVariant &V)
{
    const tInfoEntry &e = checkedEntry(Indx);
    if (RegPath.isEmpty()) {
        prompter_.show(dv::MsgKind::Plain, kNoRegPath);
        return;
    }
    // Convert first: a value that does not convert stores nothing.
    const dv::RegValue value = toRegValue(e.Kind, V);
    if (!reg_.openOrCreateKey(RegPath))
        return;
    reg_.write(RegPath, QString::fromLatin1(e.Name), value);
}

QString tInfo::TextOf(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    default:
        return v.toString();
    }
}
