#include "support/TestEnv.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int code;
    QString err;
};

CliRun createDb(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(DORVANEL_CLI), QStringList{QStringLiteral("create-db")} + args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(CreateDb, MakesTheSchemaOnceAndRefusesAnyExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/ExLoggerDB.mdb");
    const CliRun made = createDb({path});
    ASSERT_EQ(made.code, 0) << qPrintable(made.err);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE type = "
                                          "'table' AND name NOT LIKE 'sqlite%' ORDER BY name)")) && q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("DownloadReqTable,EquipmentTable,EventTable"));
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), 1);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));

    // an existing file of any kind stays byte for byte as it was
    for (const QByteArray &content : {QByteArray("precious notes\n"), QByteArray()}) {
        const QString other = dvtest::writeFile(dir.path() + QStringLiteral("/other.mdb"), content);
        const CliRun refused = createDb({other});
        EXPECT_EQ(refused.code, 1);
        EXPECT_TRUE(refused.err.contains(QStringLiteral("already exists"))) << qPrintable(refused.err);
        QFile f(other);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), content);
    }
    EXPECT_EQ(createDb({path}).code, 1);
}

TEST(CreateDb, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(createDb({}).code, 2);
    EXPECT_EQ(createDb({QStringLiteral("a"), QStringLiteral("b")}).code, 2);
    QTemporaryDir dir;
    EXPECT_EQ(createDb({dir.path() + QStringLiteral("/no/such/folder/x.db")}).code, 1);
}

} // namespace
