#include "db/L3Data.h"

#include "core/Errors.h"
#include "db/PreparedEventInserter.h"
#include "platform/Prompter.h"
#include "settings/L3Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

using dv::Dataset;

TdmDataBase::TdmDataBase(tInfo &info, dv::Prompter &prompter, QObject *parent)
    : QObject(parent)
    , L3ADOConnection(QStringLiteral("L3ADOConnection"))
    , L3EventTbl(Dataset::Kind::Table, QStringLiteral("L3EventTbl"))
    , L3EquipmentTbl(Dataset::Kind::Table, QStringLiteral("L3EquipmentTbl"))
    , L3DownLoadTbl(Dataset::Kind::Table, QStringLiteral("L3DownLoadTbl"))
    , L3EventQuery(Dataset::Kind::Query, QStringLiteral("L3EventQuery"))
    , L3DownLoadEventQuery(Dataset::Kind::Query, QStringLiteral("L3DownLoadEventQuery"))
    , L3EquipmentQuery(Dataset::Kind::Query, QStringLiteral("L3EquipmentQuery"))
    , L3UnitQuery(Dataset::Kind::Query, QStringLiteral("L3UnitQuery"))
    , L3ErrorCodeQuery(Dataset::Kind::Query, QStringLiteral("L3ErrorCodeQuery"))
    , L3EventDateQuery(Dataset::Kind::Query, QStringLiteral("L3EventDateQuery"))
    , TablesQuery(Dataset::Kind::Query, QStringLiteral("TablesQuery"))
    , L3DownloadQuery(Dataset::Kind::Query, QStringLiteral("L3DownloadQuery"))
    , info_(info)
    , prompter_(prompter)
{
    L3EventTbl.setTableName(QStringLiteral("EventTable"));
    L3EventTbl.setDeclaredFields({QStringLiteral("DownLoad"), QStringLiteral("DateTime"), QStringLiteral("ErrorStr"),
                                  QStringLiteral("ErrorCode"), QStringLiteral("EngUnits"), QStringLiteral("SetLimit"),
                                  QStringLiteral("PeakSpeed")});
    L3EquipmentTbl.setTableName(QStringLiteral("EquipmentTable"));
    L3EquipmentTbl.setDeclaredFields({QStringLiteral("SerialNumber"), QStringLiteral("Description")});
    L3DownLoadTbl.setTableName(QStringLiteral("DownloadReqTable"));
    L3DownLoadTbl.setDeclaredFields({QStringLiteral("DownLoad"), QStringLiteral("CraneID"), QStringLiteral("DateTime"),
                                     QStringLiteral("FromDate"), QStringLiteral("ToDate")});

    const QSqlDatabase db = L3ADOConnection.db();
    for (Dataset *ds : {&L3EventTbl, &L3EquipmentTbl, &L3DownLoadTbl, &L3EventQuery, &L3DownLoadEventQuery,
                        &L3EquipmentQuery, &L3UnitQuery, &L3ErrorCodeQuery, &L3EventDateQuery, &TablesQuery,
                        &L3DownloadQuery})
        ds->setConnection(db);

    connect(&L3EventTbl, &Dataset::afterPost, this, &TdmDataBase::EventDSUpdateData);
}

TdmDataBase::~TdmDataBase()
{
    for (Dataset *ds : {&L3EventTbl, &L3EquipmentTbl, &L3DownLoadTbl, &L3EventQuery, &L3DownLoadEventQuery,
                        &L3EquipmentQuery, &L3UnitQuery, &L3ErrorCodeQuery, &L3EventDateQuery, &TablesQuery,
                        &L3DownloadQuery})
        ds->close();
}

void TdmDataBase::DataModuleCreate()
{
    const QString path = info_.text(ivDATABASEPATH) + QDir::separator() + info_.text(ivDATABASENAME);
    if (!QFileInfo(path).isFile()) {
        prompter_.show(dv::MsgKind::Error, QStringLiteral("Database Filename doesn't exist :- ") + path);
        return;
    }
    OpenDBConnection(path);
    L3EventTbl.open();
    EventDSEnabled = true;
    L3EquipmentTbl.open();
    L3DownLoadTbl.open();
    DownLoadDSEnabled = true;
    ActivateDataSourceEventTable();
}

void TdmDataBase::OpenDBConnection(const QString &path)
{
    for (Dataset *ds : {&L3EventTbl, &L3EquipmentTbl, &L3DownLoadTbl, &L3EventQuery, &L3DownLoadEventQuery,
                        &L3EquipmentQuery, &L3UnitQuery, &L3ErrorCodeQuery, &L3EventDateQuery, &TablesQuery,
                        &L3DownloadQuery})
        ds->close();
    L3ADOConnection.close();
    L3ADOConnection.open(path);
}

void TdmDataBase::ActivateDataSourceEventTable()
{
    EventDSEnabled = true;
    L3EventTbl.open();
}

void TdmDataBase::ActivateDataSourceDownLoadTable()
{
    DownLoadDSEnabled = true;
    L3DownLoadTbl.open();
}

void TdmDataBase::DownloadTableUpdateFileSerialNum(const QString &SerialNum)
{
    if (!L3DownLoadTbl.active())
        L3DownLoadTbl.open();
    L3DownLoadTbl.append();
    try {
        L3DownLoadTbl.setField(QStringLiteral("CraneID"), SerialNum);
        L3DownLoadTbl.setField(QStringLiteral("DateTime"), QDateTime::currentDateTime());
        L3DownLoadTbl.post();
    } catch (...) {
        L3DownLoadTbl.cancel();
        throw;
    }
}

int TdmDataBase::EventCount()
{
    if (!connected())
        return 0;
    if (L3EventTbl.active())
        return L3EventTbl.recordCount();
    QSqlQuery q(L3ADOConnection.db());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM EventTable")) || !q.next())
        throw dv::EDatabaseError(QStringLiteral("EventTable: ") + q.lastError().text());
    return q.value(0).toInt();
}

QString TdmDataBase::EngineVersion() const
{
    QString version;
    auto read = [&version](const QSqlDatabase &db) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT sqlite_version()")) && q.next())
            version = q.value(0).toString();
    };
    if (connected()) {
        read(L3ADOConnection.db());
    } else {
        // The engine answers its version without a database file.
        const QString name = QStringLiteral("version-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            if (db.open())
                read(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    return QStringLiteral("SQLite ") + (version.isEmpty() ? QStringLiteral("(unknown)") : version);
}

void TdmDataBase::ShowVersion()
{
    prompter_.show(dv::MsgKind::Information,
                   QStringLiteral("ADO Version is ") + EngineVersion() + QStringLiteral(" (Should be at least 2.8)"));
}

std::unique_ptr<dv::EventInserter> TdmDataBase::beginEventInsert()
{
    if (!connected())
        throw dv::EDatabaseError(QStringLiteral("Connection to DataBase Failed"));
    return std::make_unique<dv::PreparedEventInserter>(L3ADOConnection.db(), [this] {
        L3EventTbl.refresh();
        Q_EMIT EventDSUpdateData();
    });
}

void TdmDataBase::AddAllFields(dv::Dataset &dataset)
{
    const bool wasOpen = dataset.active();
    dataset.close();
    if (wasOpen)
        dataset.open(); // reading the column list again on open makes every column reachable
}

bool TdmDataBase::AllFieldsFound() { return true; }
