#pragma once

#include "db/Dataset.h"

#include <QDateTime>
#include <QObject>
#include <QSqlDatabase>
#include <memory>

class tInfo;
namespace dv {
class Prompter;
class EventInserter;
}

// One event row as the import writes it.
struct EventRow {
    qint32 DownLoad = 0;
    QDateTime DateTime;
    QString ErrorStr;
    QString ErrorCode;
    float PeakSpeed = 0.0f;
    // When set, stored as it stands instead of DateTime (the engine's
    // "yyyy-MM-ddTHH:mm:ss.zzz" text): the import makes it straight from the
    // record's fields and so saves a time-zone lookup per row.
    QString DateTimeText;
};

// The connection the data module holds. The file's content decides whether
// it opens: SQLite opens; a Jet/Access file or any other file fails with an
// error saying what the file is.
class Connection {
public:
    explicit Connection(QString connectionName);
    ~Connection();
    void open(const QString &path); // throws dv::EDatabaseError
    void close();
    bool connected() const;
    QString path() const;
    QSqlDatabase db() const;
    // The Jet connection string the design builds for a path.
    static QString ConnectionString(const QString &path);

private:
    QString name_;
    QString path_;
    bool open_ = false;
};

// The data module: owns the connection, the three tables, the queries and the
// report datasets. Views and commands listen to it; none keeps a dataset of
// its own. GUI thread only.
class TdmDataBase : public QObject {
    Q_OBJECT
public:
    TdmDataBase(tInfo &info, dv::Prompter &prompter, QObject *parent = nullptr);
    ~TdmDataBase() override;

    Connection L3ADOConnection;
    dv::Dataset L3EventTbl;      // EventTable
    dv::Dataset L3EquipmentTbl;  // EquipmentTable
    dv::Dataset L3DownLoadTbl;   // DownloadReqTable
    dv::Dataset L3EventQuery;
    dv::Dataset L3DownLoadEventQuery;
    dv::Dataset L3EquipmentQuery;
    dv::Dataset L3UnitQuery;     // the viewer's unit lookup, kept apart from the event list
    // Queries that are never given a text; kept so every name of the module exists.
    dv::Dataset L3ErrorCodeQuery;
    dv::Dataset L3EventDateQuery;
    dv::Dataset TablesQuery;
    dv::Dataset L3DownloadQuery;

    QDateTime DateTime_Stamp;
    bool SetState = false;
    bool EventDSEnabled = false;
    bool DownLoadDSEnabled = false;

    // Reads "DataBase Path" + separator + "DataBase Name"; reports a missing
    // file in an error box; otherwise opens the connection and the tables.
    void DataModuleCreate();
    void OpenDBConnection(const QString &path); // throws dv::EDatabaseError
    void ActivateDataSourceEventTable();
    void ActivateDataSourceDownLoadTable();
    // Appends the download row of one file; the download table stays on it.
    void DownloadTableUpdateFileSerialNum(const QString &SerialNum);
    // Number of rows of EventTable (all downloads).
    int EventCount();
    // "ADO Version is ..." box.
    void ShowVersion();
    bool connected() const { return L3ADOConnection.connected(); }

    // Makes every physical column of the dataset reachable by name: closes it,
    // re-reads its column list from the database and reopens it if it was open.
    void AddAllFields(dv::Dataset &dataset);
    // Nothing is left to check once AddAllFields has run: answers true.
    bool AllFieldsFound();
    // The engine's version text, e.g. "SQLite 3.40.1".
    QString EngineVersion() const;

    // Fast path for the import: one prepared insert inside one transaction.
    std::unique_ptr<dv::EventInserter> beginEventInsert();

Q_SIGNALS:
    // A row of L3EventTbl was posted (through the table or the inserter).
    void EventDSUpdateData();

private:
    tInfo &info_;
    dv::Prompter &prompter_;
};

namespace dv {
// Writes event rows with one prepared statement inside one transaction.
// commit() makes them permanent; destroying it uncommitted rolls them back.
class EventInserter {
public:
    virtual ~EventInserter() = default;
    virtual void add(const EventRow &row) = 0; // throws EDatabaseError
    virtual void commit() = 0;
    virtual void rollback() = 0;
};
} // namespace dv
