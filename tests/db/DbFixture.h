#pragma once

// Small helpers for tests of the data module: a fresh database in a
// temporary folder, raw SQL on it through a private connection, and a
// settings store of its own.

#include "db/CreateDatabase.h"
#include "platform/FileRegistryStore.h"
#include "platform/ScriptedPrompter.h"
#include "settings/L3Registry.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>
#include <gtest/gtest.h>

namespace dbtest {

// Runs statements on a database file through a connection of its own; the
// rows of the last statement are returned as text, one QStringList a row.
inline QList<QStringList> sql(const QString &path, const QStringList &statements)
{
    QList<QStringList> rows;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString &s : statements) {
            rows.clear();
            EXPECT_TRUE(q.exec(s)) << qPrintable(s) << ": " << qPrintable(q.lastError().text());
            while (q.isSelect() && q.next()) {
                QStringList r;
                for (int i = 0; i < q.record().count(); ++i)
                    r << q.value(i).toString();
                rows << r;
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}
inline QList<QStringList> sql(const QString &path, const QString &statement)
{
    return sql(path, QStringList{statement});
}

// A database made from the program's own schema in a temporary folder.
struct TempDb {
    QTemporaryDir dir;
    QString path;
    explicit TempDb(const QString &name = QStringLiteral("ExLoggerDB.mdb"))
    {
        path = dir.path() + u'/' + name;
        dv::createDatabase(path);
    }
};

// The settings store over a registry folder of its own.
struct Settings {
    QTemporaryDir regRoot;
    dv::FileRegistryStore store{regRoot.path()};
    dv::ScriptedPrompter prompter;
    tInfo info{store, prompter};
    Settings() { info.RegPath = QString::fromLatin1(kSettingsKeyPath); }
    void setDatabase(const QString &folder, const QString &name)
    {
        info.SetVariable(ivDATABASEPATH, folder);
        info.SetVariable(ivDATABASENAME, name);
    }
};

} // namespace dbtest
