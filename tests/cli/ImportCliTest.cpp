#include "import/FixtureLog.h"

#include "db/CreateDatabase.h"
#include "platform/FileRegistryStore.h"
#include "platform/StreamPrompter.h"
#include "settings/L3Registry.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

using fixture::Rec;

namespace {

struct CliRun {
    int status = -1;
    QStringList out; // stdout lines
    QString err;
};

CliRun cli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(DORVANEL_CLI), QStringList{QStringLiteral("import")} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    CliRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// "DownLoad:CraneID:number of events" per download.
QStringList downloads(const QString &dbPath)
{
    QStringList out;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        c.setDatabaseName(dbPath);
        EXPECT_TRUE(c.open());
        QSqlQuery q(c);
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT d.DownLoad, d.CraneID, (SELECT count(*) FROM EventTable e "
                                          "WHERE e.DownLoad = d.DownLoad) FROM DownloadReqTable d ORDER BY d.DownLoad")));
        while (q.next())
            out << QStringLiteral("%1:%2:%3").arg(q.value(0).toInt()).arg(q.value(1).toString()).arg(q.value(2).toInt());
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

struct Folder {
    QTemporaryDir dir;
    QString db = dir.path() + QStringLiteral("/events.db");
    QString logs = dir.path() + QStringLiteral("/EXCAVATOR");
    QString backup = dvtest::documents() + QStringLiteral("/VidedorovIzarir/__backup");

    Folder()
    {
        dv::createDatabase(db);
        QDir(backup).removeRecursively();
        QDir().mkpath(backup);
    }
    QString log(const QString &name, const QByteArray &bytes) { return dvtest::writeFile(logs + u'/' + name, bytes); }
};

TEST(ImportCli, aFolderOfFilesGivesOneDownloadPerFile)
{
    Folder f;
    const QStringList files{f.log(QStringLiteral("EXLOG0457_1.exs"), fixture::goodRecords(3)),
                            f.log(QStringLiteral("EXLOG0458_1.exs"), fixture::goodRecords(2)),
                            f.log(QStringLiteral("EXLOG0459_1.exs"), {})};
    const CliRun r = cli(QStringList{QStringLiteral("--db"), f.db} << files);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (QStringList{"3 Records were read into Database", "2 Records were read into Database",
                                  "0 Records were read into Database"}));
    EXPECT_EQ(downloads(f.db), (QStringList{"1:0457:3", "2:0458:2", "3:0459:0"}));
    // Backup On Read is on by default: clean files leave the folder.
    EXPECT_TRUE(QDir(f.logs).isEmpty());
    EXPECT_TRUE(QFile::exists(f.backup + QStringLiteral("/EXLOG0458_1.E~S")));
}

TEST(ImportCli, problemsArePrintedAndGiveStatus1)
{
    Folder f;
    const QByteArray bad = Rec{}.load(1, 1).bytes() + Rec{}.term(0).bytes() + QByteArray(12, '\0');
    const QString badFile = f.log(QStringLiteral("EXLOG0457_1.exs"), bad);
    const QString good = f.log(QStringLiteral("EXLOG0458_1.exs"), fixture::goodRecords(1));

    CliRun r = cli({QStringLiteral("--db"), f.db, QStringLiteral("--keep"), badFile, good});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, (QStringList{"Error Reading Data in Record 1", "2 Records were read into Database",
                                  "1 Records were read into Database"}));
    EXPECT_TRUE(QFile::exists(good)); // --keep

    // Suppressed warnings are silent and still a problem; the setting is not stored.
    r = cli({QStringLiteral("--db"), f.db, QStringLiteral("--suppress-warnings"), badFile});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringList{"2 Records were read into Database"});
    dv::FileRegistryStore store;
    dv::StreamPrompter quiet;
    tInfo info(store, quiet);
    info.RegPath = QString::fromLatin1(kSettingsKeyPath);
    EXPECT_FALSE(info.flag(ivSUPPRESSWARNINGS));
    EXPECT_EQ(downloads(f.db), (QStringList{"1:0457:1", "2:0458:1", "3:0457:1"}));
}

TEST(ImportCli, anErrorEndsTheRunWithItsMessage)
{
    Folder f;
    const QString first = f.log(QStringLiteral("EXLOG0457_1.exs"), fixture::goodRecords(1) + Rec{}.at(24, 0, 0).bytes());
    const QString second = f.log(QStringLiteral("EXLOG0458_1.exs"), fixture::goodRecords(1));
    CliRun r = cli({QStringLiteral("--db"), f.db, first, second});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("EXLOG0457_1.exs"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Invalid argument to time encode"))) << r.err.toStdString();
    EXPECT_EQ(downloads(f.db), QStringList{"1:0457:1"}); // the row before the bad one stays; the next file is not read
    EXPECT_TRUE(QFile::exists(first));

    r = cli({QStringLiteral("--db"), f.db, f.logs + QStringLiteral("/missing.exs")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("missing.exs"))) << r.err.toStdString();
}

TEST(ImportCli, usageErrorsAndUnopenableDatabasesGiveStatus2)
{
    Folder f;
    const QString log = f.log(QStringLiteral("EXLOG0457_1.exs"), fixture::goodRecords(1));
    const QString notADb = dvtest::writeFile(f.dir.path() + QStringLiteral("/notes.txt"), "hello");
    const QStringList cases[] = {
        {},
        {QStringLiteral("--db"), f.db},
        {QStringLiteral("--db")},
        {QStringLiteral("--bogus"), log},
        {QStringLiteral("--db"), f.dir.path() + QStringLiteral("/absent.db"), log},
        {QStringLiteral("--db"), notADb, log},
    };
    for (const QStringList &args : cases) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(u' ').toStdString();
    }
    EXPECT_TRUE(QFile::exists(log));
    EXPECT_TRUE(downloads(f.db).isEmpty());
}

TEST(ImportCli, withoutDbTheSettingsNameTheDatabase)
{
    Folder f;
    dv::FileRegistryStore store;
    dv::StreamPrompter quiet;
    tInfo info(store, quiet);
    info.RegPath = QString::fromLatin1(kSettingsKeyPath);
    info.SetVariable(ivDATABASEPATH, f.dir.path() + u'/');
    info.SetVariable(ivDATABASENAME, QStringLiteral("events.db"));
    const CliRun r = cli({f.log(QStringLiteral("EXLOG0457_1.exs"), fixture::goodRecords(2))});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(downloads(f.db), QStringList{"1:0457:2"});
}

} // namespace
