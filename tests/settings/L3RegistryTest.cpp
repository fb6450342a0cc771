#include "core/Errors.h"
#include "platform/FileRegistryStore.h"
#include "platform/ScriptedPrompter.h"
#include "settings/L3Registry.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using dv::RegValue;

namespace {

const QString kKey = QString::fromLatin1(kSettingsKeyPath);

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class L3RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir{dvtest::home() + QStringLiteral("/config/settings-XXXXXX")};
    dv::FileRegistryStore store{dir.path()};
    dv::ScriptedPrompter prompter;
    tInfo info{store, prompter};

    void SetUp() override { info.RegPath = kKey; }
    QString file() const { return store.fileFor(kKey); }
    QByteArray content() const { return readAll(file()); }
    QString name(tINFOVARIABLE iv) const { return info.ReturnVariableName(iv); }
};

TEST_F(L3RegistryTest, TableNamesKindsAndDefaults)
{
    struct Row {
        tINFOVARIABLE iv;
        const char *name;
        tInfoKind kind;
        QVariant def;
    };
    const Row rows[] = {
        {ivDATABASEPATH, "DataBase Path", ikText, QStringLiteral("c:\\program files\\Vorsholt\\Tellmarin")},
        {ivDATABASENAME, "DataBase Name", ikText, QStringLiteral("ExLoggerDB.mdb")},
        {ivSUPERVISORPASSWORD, "Supervisor Password", ikText, QStringLiteral("rutab")},
        {ivLOGFILE, "Log Errors", ikBoolean, false},
        {ivSUPPRESSWARNINGS, "Suppress Warnings", ikBoolean, false},
        {ivDELETEONREADLOGFILE, "Delete On Read", ikBoolean, false},
        {ivBACKUPONREADLOGFILE, "Backup On Read", ikBoolean, true},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(info.ReturnVariableName(r.iv), QString::fromLatin1(r.name));
        EXPECT_EQ(tInfo::entry(r.iv).Kind, r.kind);
        const QVariant c = info.ReturnVariableConst(r.iv);
        EXPECT_EQ(c.typeId(), r.def.typeId());
        EXPECT_EQ(c, r.def);
    }
    for (int bad : {7, 8, 255, -1}) {
        EXPECT_TRUE(info.ReturnVariableName(bad).isEmpty());
        EXPECT_FALSE(info.ReturnVariableConst(bad).isValid());
        EXPECT_THROW(info.ReturnVariable(bad), dv::EGeneralError);
    }
}

TEST_F(L3RegistryTest, FirstReadReturnsDefaultAndStoresIt)
{
    struct Row {
        tINFOVARIABLE iv;
        QVariant expected;
        const char *line;
    };
    const Row rows[] = {
        {ivDATABASENAME, QStringLiteral("ExLoggerDB.mdb"), "\"DataBase Name\"=\"ExLoggerDB.mdb\"\n"},
        {ivDATABASEPATH, QStringLiteral("c:\\program files\\Vorsholt\\Tellmarin"),
         "\"DataBase Path\"=\"c:\\\\program files\\\\Vorsholt\\\\Tellmarin\"\n"},
        {ivBACKUPONREADLOGFILE, true, "\"Backup On Read\"=dword:00000001\n"},
        {ivDELETEONREADLOGFILE, false, "\"Delete On Read\"=dword:00000000\n"},
        {ivSUPPRESSWARNINGS, false, "\"Suppress Warnings\"=dword:00000000\n"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.line);
        const QVariant v = info.ReturnVariable(r.iv);
        EXPECT_EQ(v.typeId(), r.expected.typeId());
        EXPECT_EQ(v, r.expected);
        EXPECT_TRUE(content().contains(r.line));
        EXPECT_EQ(store.read(kKey, name(r.iv)).has_value(), true);
    }
    EXPECT_EQ(info.text(ivBACKUPONREADLOGFILE), QStringLiteral("True"));
    EXPECT_EQ(info.text(ivDELETEONREADLOGFILE), QStringLiteral("False"));
    // A setting nobody read is not created.
    EXPECT_FALSE(store.read(kKey, QStringLiteral("Supervisor Password")).has_value());
    EXPECT_FALSE(content().contains("Log Errors"));
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(L3RegistryTest, StoredValuesWinOverDefaults)
{
    store.write(kKey, QStringLiteral("DataBase Path"), RegValue::ofString(QString()));
    store.write(kKey, QStringLiteral("Backup On Read"), RegValue::ofDWord(0));
    store.write(kKey, QStringLiteral("Suppress Warnings"), RegValue::ofDWord(5));
    store.write(kKey, QStringLiteral("Delete On Read"), RegValue::ofDWord(0xFFFFFFFFu));
    const QByteArray before = content();

    const QVariant path = info.ReturnVariable(ivDATABASEPATH);
    EXPECT_FALSE(path.isValid()); // the empty value, not the default folder
    EXPECT_EQ(tInfo::TextOf(path), QString());
    EXPECT_EQ(info.ReturnVariable(ivBACKUPONREADLOGFILE), QVariant(false));
    EXPECT_EQ(info.ReturnVariable(ivSUPPRESSWARNINGS), QVariant(true));
    EXPECT_EQ(info.ReturnVariable(ivDELETEONREADLOGFILE), QVariant(true));
    EXPECT_EQ(content(), before);

    // Nothing is cached: a change made outside shows at the next read.
    store.write(kKey, QStringLiteral("Suppress Warnings"), RegValue::ofDWord(0));
    EXPECT_FALSE(info.flag(ivSUPPRESSWARNINGS));
}

TEST_F(L3RegistryTest, WrongStoredTypeRaisesAndLeavesValue)
{
    store.write(kKey, QStringLiteral("DataBase Name"), RegValue::ofDWord(3));
    store.write(kKey, QStringLiteral("Backup On Read"), RegValue::ofString(QStringLiteral("True")));
    const QByteArray before = content();
    for (tINFOVARIABLE iv : {ivDATABASENAME, ivBACKUPONREADLOGFILE}) {
        try {
            info.ReturnVariable(iv);
            ADD_FAILURE() << "no exception for " << name(iv).toStdString();
        } catch (const dv::ERegistryException &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid data type for '%1'").arg(name(iv)));
        }
    }
    EXPECT_EQ(content(), before);
}

TEST_F(L3RegistryTest, SetVariableConvertsToTheKind)
{
    struct Row {
        tINFOVARIABLE iv;
        QVariant in;
        RegValue stored;
    };
    const Row rows[] = {
        {ivSUPPRESSWARNINGS, QStringLiteral("True"), RegValue::ofDWord(1)},
        {ivSUPPRESSWARNINGS, QStringLiteral("false"), RegValue::ofDWord(0)},
        {ivSUPPRESSWARNINGS, QStringLiteral("tRUE"), RegValue::ofDWord(1)},
        {ivSUPPRESSWARNINGS, QStringLiteral("5"), RegValue::ofDWord(1)},
        {ivSUPPRESSWARNINGS, QStringLiteral("0"), RegValue::ofDWord(0)},
        {ivSUPPRESSWARNINGS, QStringLiteral("-1.5"), RegValue::ofDWord(1)},
        {ivDELETEONREADLOGFILE, true, RegValue::ofDWord(1)},
        {ivDELETEONREADLOGFILE, 0, RegValue::ofDWord(0)},
        {ivDELETEONREADLOGFILE, 7, RegValue::ofDWord(1)},
        {ivDATABASEPATH, QStringLiteral("/home/op/db/"), RegValue::ofString(QStringLiteral("/home/op/db/"))},
        {ivDATABASEPATH, QString(), RegValue::ofString(QString())},
        {ivSUPERVISORPASSWORD, 1234, RegValue::ofString(QStringLiteral("1234"))},
        {ivDATABASENAME, true, RegValue::ofString(QStringLiteral("True"))},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.in.toString().toStdString());
        info.SetVariable(r.iv, r.in);
        EXPECT_EQ(store.read(kKey, name(r.iv)), r.stored);
    }
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(L3RegistryTest, BooleanFromOtherTextRaisesAndStoresNothing)
{
    info.SetVariable(ivBACKUPONREADLOGFILE, true);
    const QByteArray before = content();
    for (const QString &bad : {QStringLiteral("abc"), QStringLiteral(""), QStringLiteral("yes")}) {
        SCOPED_TRACE(bad.toStdString());
        try {
            info.SetVariable(ivBACKUPONREADLOGFILE, bad);
            ADD_FAILURE() << "no exception";
        } catch (const dv::EConvertError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid boolean value").arg(bad));
        }
        EXPECT_THROW(info.SetVariable(ivLOGFILE, bad), dv::EConvertError);
    }
    EXPECT_EQ(content(), before);
    EXPECT_FALSE(content().contains("Log Errors"));
}

TEST_F(L3RegistryTest, EmptyRegPathShowsBoxAndTouchesNothing)
{
    info.RegPath.clear();
    EXPECT_FALSE(info.ReturnVariable(ivDATABASENAME).isValid());
    info.SetVariable(ivDATABASENAME, QStringLiteral("x.mdb"));
    ASSERT_EQ(prompter.shown().size(), 2);
    for (const dv::Prompt &p : prompter.shown()) {
        EXPECT_EQ(p.kind, dv::MsgKind::Plain);
        EXPECT_EQ(p.text, QStringLiteral("Set Info.RegPath"));
    }
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(L3RegistryTest, KeyThatCannotBeOpenedIsSilent)
{
    const QString blocker = dvtest::writeFile(dir.path() + QStringLiteral("/blocker"), "x");
    dv::FileRegistryStore blocked(blocker);
    tInfo other(blocked, prompter);
    other.RegPath = kKey;
    EXPECT_FALSE(other.ReturnVariable(ivBACKUPONREADLOGFILE).isValid());
    EXPECT_NO_THROW(other.SetVariable(ivBACKUPONREADLOGFILE, false));
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(readAll(blocker), QByteArray("x"));
}

// A store that opens the key but refuses every write.
class RefusingStore : public dv::RegistryStore {
public:
    bool openOrCreateKey(const QString &) override { return true; }
    std::optional<RegValue> read(const QString &, const QString &) override { return std::nullopt; }
    void write(const QString &, const QString &name, const RegValue &) override
    {
        throw dv::ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name));
    }
};

TEST_F(L3RegistryTest, RefusedWriteReachesCaller)
{
    RefusingStore refusing;
    tInfo other(refusing, prompter);
    other.RegPath = kKey;
    EXPECT_THROW(other.SetVariable(ivDATABASENAME, QStringLiteral("a")), dv::ERegistryException);
    EXPECT_THROW(other.ReturnVariable(ivDATABASENAME), dv::ERegistryException);
}

} // namespace
