#pragma once

// A settings store, a prompter and a data module of their own for each test,
// plus a builder of small event databases filled by plain SQL.
#include "db/CreateDatabase.h"
#include "db/L3Data.h"
#include "platform/FileRegistryStore.h"
#include "platform/ScriptedPrompter.h"
#include "settings/L3Registry.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

namespace dvtest {

// A fresh folder under the test home.
inline QString freshDir(const QString &stem)
{
    const QString dir = home() + u'/' + stem + u'-' + QUuid::createUuid().toString(QUuid::Id128);
    QDir().mkpath(dir);
    return dir;
}

// Makes an empty event database at `path`, then runs each statement on it.
inline QString makeDatabase(const QString &path, const QStringList &statements = {})
{
    dv::createDatabase(path);
    const QString name = QStringLiteral("fill-") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            ADD_FAILURE() << "cannot open " << path.toStdString();
        QSqlQuery q(db);
        for (const QString &s : statements)
            if (!q.exec(s))
                ADD_FAILURE() << s.toStdString() << ": " << q.lastError().text().toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return path;
}

// Three downloads: 1 of a registered unit with three events, 2 of an unknown
// unit with none, 3 of a unit whose serial number holds a double quote, two events.
inline QStringList threeDownloads()
{
    return {
        QStringLiteral("INSERT INTO EquipmentTable VALUES ('A100', 'Excavator north pit')"),
        QStringLiteral("INSERT INTO EquipmentTable VALUES ('Q\"7', 'Quoted unit')"),
        QStringLiteral("INSERT INTO EquipmentTable VALUES ('a100', 'lower case twin')"),
        QStringLiteral("INSERT INTO DownloadReqTable (DownLoad, CraneID, DateTime) VALUES "
                       "(1, 'A100', '2024-03-01T08:00:00.000'), "
                       "(2, 'B200', '2024-03-02T09:00:00.000'), "
                       "(3, 'Q\"7', '2024-03-03T10:00:00.000')"),
        QStringLiteral("INSERT INTO EventTable (DownLoad, DateTime, ErrorStr, SetLimit, PeakSpeed) VALUES "
                       "(1, '2024-03-01T07:03:00.000', 'Load 3', 10, 7.5), "
                       "(1, '2024-03-01T07:01:00.000', 'Load 1', 10, 12.25), "
                       "(1, '2024-03-01T07:02:00.000', 'Load 2', 10, 3), "
                       "(3, '2024-03-03T09:02:00.000', 'Q load 2', 20, 1.5), "
                       "(3, '2024-03-03T09:01:00.000', 'Q load 1', 20, 2.5)"),
    };
}

struct World {
    QString dir = freshDir(QStringLiteral("world"));
    dv::FileRegistryStore reg{dir + QStringLiteral("/config")};
    dv::ScriptedPrompter prompter;
    tInfo info{reg, prompter};
    TdmDataBase db{info, prompter};

    World() { info.RegPath = QString::fromLatin1(kSettingsKeyPath); }

    // Points the settings at the file and lets the data module open it.
    void openDatabase(const QString &path)
    {
        const QFileInfo fi(path);
        info.SetVariable(ivDATABASEPATH, fi.absolutePath());
        info.SetVariable(ivDATABASENAME, fi.fileName());
        db.DataModuleCreate();
        ASSERT_TRUE(db.connected()) << prompter.texts().join(u'\n').toStdString();
    }

    QString databaseAt(const QString &name, const QStringList &statements = {})
    {
        return makeDatabase(dir + u'/' + name, statements);
    }
};

} // namespace dvtest
