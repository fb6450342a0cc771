// How the database viewer scales: a file of 1,000,000 events and 10,000
// downloads (download 1 holds 100,000 of the events). Each viewer figure
// stands beside a bare SELECT count(*) on the same file, the least any view
// of it can cost. Run with QT_QPA_PLATFORM=offscreen.
#include "db/CreateDatabase.h"
#include "db/L3Data.h"
#include "platform/FileRegistryStore.h"
#include "platform/StreamPrompter.h"
#include "settings/L3Registry.h"
#include "views/DatabaseViewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kEvents = 1'000'000;
constexpr int kDownloads = 10'000;
constexpr int kBigDownloadEvents = 100'000;

void execOrDie(QSqlQuery &q, const QString &sql)
{
    if (!q.exec(sql)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

// The file, the settings and the prompter every benchmark shares.
struct Bench {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/bench.mdb");
    dv::FileRegistryStore reg{dir.path() + QStringLiteral("/config")};
    dv::StreamPrompter prompter;
    tInfo info{reg, prompter};

    Bench()
    {
        QElapsedTimer t;
        t.start();
        dv::createDatabase(path);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
            db.setDatabaseName(path);
            db.open();
            QSqlQuery q(db);
            execOrDie(q, QStringLiteral("BEGIN"));
            execOrDie(q, QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO DownloadReqTable (DownLoad, CraneID, DateTime) "
                "SELECT i, 'U' || (i % 500), strftime('%Y-%m-%dT%H:%M:%S.000', 1600000000 + i * 3600, 'unixepoch') "
                "FROM n").arg(kDownloads));
            execOrDie(q, QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 499) "
                "INSERT INTO EquipmentTable SELECT 'U' || i, 'Unit number ' || i FROM n"));
            // Download 1 takes the first 100,000 events; the rest spread over the others.
            execOrDie(q, QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO EventTable (DownLoad, DateTime, ErrorStr, ErrorCode, SetLimit, PeakSpeed) "
                "SELECT CASE WHEN i < %2 THEN 1 ELSE 2 + (i % %3) END, "
                "strftime('%Y-%m-%dT%H:%M:%S.000', 1600000000 + i * 37, 'unixepoch'), "
                "'Load ' || (i % 97), 'C' || (i % 13), 10, (i * 7919 % 100000) / 100.0 FROM n")
                              .arg(kEvents - 1).arg(kBigDownloadEvents).arg(kDownloads - 1));
            execOrDie(q, QStringLiteral("COMMIT"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
        info.RegPath = QString::fromLatin1(kSettingsKeyPath);
        info.SetVariable(ivDATABASEPATH, dir.path());
        info.SetVariable(ivDATABASENAME, QStringLiteral("bench.mdb"));
        std::fprintf(stderr, "built %d events, %d downloads in %lld ms\n", kEvents, kDownloads,
                     static_cast<long long>(t.elapsed()));
    }
};

// A data module and a shown viewer on the bench file, as the main window has them.
struct Open {
    TdmDataBase db;
    DatabaseViewer viewer;
    explicit Open(Bench &b) : db(b.info, b.prompter), viewer(db)
    {
        db.DataModuleCreate();
        viewer.resize(800, 600);
        viewer.show();
    }
    // The grid as the screen gets it: only the rows in sight are read.
    void paint() { benchmark::DoNotOptimize(viewer.EventDBGrid->grab()); }
    int rows() const { return viewer.EventDBGrid->model()->rowCount(); }
};

void countStar(benchmark::State &state, Bench &b)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
    db.setDatabaseName(b.path);
    db.open();
    {
        QSqlQuery q(db);
        for (auto _ : state) {
            q.exec(QStringLiteral("SELECT count(*) FROM EventTable"));
            q.next();
            benchmark::DoNotOptimize(q.value(0).toInt());
            q.finish();
        }
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
}

void openViewer(benchmark::State &state, Bench &b)
{
    int rows = 0;
    for (auto _ : state) {
        Open o(b);
        o.db.L3DownLoadTbl.last();
        o.viewer.DBGridDataSetRGClick();
        o.paint();
        rows = o.rows();
    }
    state.counters["rows"] = rows;
}

void refreshViewer(benchmark::State &state, Bench &b)
{
    Open o(b);
    o.db.L3DownLoadTbl.last();
    o.viewer.DBGridDataSetRGClick();
    for (auto _ : state) {
        o.viewer.DBGridDataSetRGClick();
        o.paint();
    }
    state.counters["rows"] = o.rows();
}

void eventDataOfBigDownload(benchmark::State &state, Bench &b)
{
    Open o(b);
    o.db.L3DownLoadTbl.first(); // download 1: 100,000 events
    o.viewer.setDataViewIndex(1);
    for (auto _ : state) {
        o.viewer.DBGridDataSetRGClick();
        o.paint();
    }
    state.counters["rows"] = o.rows();
}

void sortDownloads(benchmark::State &state, Bench &b)
{
    Open o(b);
    o.db.L3DownLoadTbl.last();
    o.viewer.DBGridDataSetRGClick();
    bool descending = false;
    for (auto _ : state) {
        descending = !descending;
        o.viewer.sortGrid(2, descending ? Qt::DescendingOrder : Qt::AscendingOrder); // "Plant ID"
        o.paint();
    }
    state.counters["rows"] = o.rows();
}

void sortBigEventList(benchmark::State &state, Bench &b)
{
    Open o(b);
    o.db.L3DownLoadTbl.first();
    o.viewer.setDataViewIndex(1);
    o.viewer.DBGridDataSetRGClick();
    bool descending = false;
    for (auto _ : state) {
        descending = !descending;
        o.viewer.sortGrid(4, descending ? Qt::DescendingOrder : Qt::AscendingOrder); // "PeakSpeed"
        o.paint();
    }
    state.counters["rows"] = o.rows();
}

void lastDownload(benchmark::State &state, Bench &b)
{
    Open o(b);
    o.viewer.DBGridDataSetRGClick();
    for (auto _ : state) {
        o.viewer.navigate(DatabaseViewer::nbFirst);
        o.viewer.navigate(DatabaseViewer::nbLast);
        o.paint();
    }
    state.counters["rows"] = o.rows();
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Bench b;
    auto reg = [&b](const char *name, void (*fn)(benchmark::State &, Bench &)) {
        return benchmark::RegisterBenchmark(name, [fn, &b](benchmark::State &s) { fn(s, b); })
            ->Unit(benchmark::kMillisecond);
    };
    reg("SelectCountStar_1M_events", countStar);
    reg("OpenViewer", openViewer);
    reg("RefreshViewer", refreshViewer);
    reg("EventDataView_100k_download", eventDataOfBigDownload);
    reg("SortDownloadsByPlantID", sortDownloads);
    reg("SortEventList_100k_byPeakSpeed", sortBigEventList);
    reg("NavigatorFirstThenLast", lastDownload);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
