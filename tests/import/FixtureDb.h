#pragma once

// A real event database in a temporary folder, with its own settings file and
// a prompter that records every box.
#include "db/CreateDatabase.h"
#include "db/L3Data.h"
#include "import/ImportState.h"
#include "platform/FileRegistryStore.h"
#include "platform/ScriptedPrompter.h"
#include "settings/L3Registry.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

#include <gtest/gtest.h>

namespace fixture {

struct Db {
    QTemporaryDir dir;
    dv::FileRegistryStore registry{dir.path() + QStringLiteral("/config")};
    dv::ScriptedPrompter prompter;
    tInfo info{registry, prompter};
    QString path = dir.path() + QStringLiteral("/events.db");
    TdmDataBase db{info, prompter};
    ImportState state;

    explicit Db(bool connect = true)
    {
        info.RegPath = QString::fromLatin1(kSettingsKeyPath);
        dv::createDatabase(path);
        if (connect)
            db.OpenDBConnection(path);
    }

    void set(tINFOVARIABLE iv, bool on) { info.SetVariable(iv, on); }

    // Each box as "<kind letter>:<text>": E error, W warning, P plain, I information.
    QStringList boxes() const
    {
        QStringList out;
        for (const dv::Prompt &p : prompter.shown()) {
            const char *k = p.kind == dv::MsgKind::Error     ? "E"
                : p.kind == dv::MsgKind::Warning             ? "W"
                : p.kind == dv::MsgKind::Plain               ? "P"
                                                             : "I";
            out << QString::fromLatin1(k) + QLatin1Char(':') + p.text;
        }
        return out;
    }

    // Rows as committed, read through a connection of their own, so rows still
    // inside an open transaction do not show.
    QList<QVariantList> committed(const QString &sql) const
    {
        QList<QVariantList> rows;
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            c.setDatabaseName(path);
            EXPECT_TRUE(c.open());
            QSqlQuery q(c);
            EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
            while (q.next()) {
                QVariantList r;
                for (int i = 0; i < q.record().count(); ++i)
                    r << q.value(i);
                rows << r;
            }
        }
        QSqlDatabase::removeDatabase(name);
        return rows;
    }

    // LoadIDs (ErrorStr) of the committed events, in the order they were written.
    QStringList eventLoadIds(int downLoad = -1) const
    {
        QStringList ids;
        const QString where = downLoad < 0 ? QString() : QStringLiteral(" WHERE DownLoad = %1").arg(downLoad);
        for (const QVariantList &r : committed(QStringLiteral("SELECT ErrorStr FROM EventTable") + where
                                               + QStringLiteral(" ORDER BY rowid")))
            ids << r[0].toString();
        return ids;
    }

    // (DownLoad, CraneID) of every download row, in order.
    QStringList downloads() const
    {
        QStringList out;
        for (const QVariantList &r : committed(QStringLiteral("SELECT DownLoad, CraneID FROM DownloadReqTable ORDER BY DownLoad")))
            out << r[0].toString() + QLatin1Char(':') + r[1].toString();
        return out;
    }
};

} // namespace fixture
