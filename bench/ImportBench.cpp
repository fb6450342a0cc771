// Import of a 1,000,000-record log file through the Read Log File command,
// beside a bare loop that inserts the same rows with one prepared statement
// in one transaction. The import should reach at least half the bare rate.
//
//   cmake -S . -B build -G Ninja -DDORVANEL_BUILD_BENCH=ON && cmake --build build --target ImportBench
//   build/bench/ImportBench
#include "db/CreateDatabase.h"
#include "db/L3Data.h"
#include "db/SqlValues.h"
#include "import/ImportState.h"
#include "import/LogReader.h"
#include "import/ReadLogFile.h"
#include "platform/FileRegistryStore.h"
#include "platform/Prompter.h"
#include "settings/L3Registry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 1'000'000;

class DropPrompter : public dv::Prompter {
public:
    using dv::Prompter::ask;
    dv::MsgButton ask(const dv::Prompt &p) override { return p.defaultButton; }
};

QByteArray buildLog(int n)
{
    QByteArray out;
    out.reserve(qsizetype(n) * 15);
    auto put16 = [&out](unsigned v) { out.append(char(v & 0xFF)); out.append(char((v >> 8) & 0xFF)); };
    for (int i = 0; i < n; ++i) {
        const unsigned secs = unsigned(i % 60), mins = unsigned(i / 60 % 60), hours = unsigned(i / 3600 % 24);
        const unsigned day = unsigned(i / 86400 % 28 + 1), month = unsigned(i / (86400 * 28) % 12 + 1);
        out.append(char(1));
        out.append(char(secs)); out.append(char(mins)); out.append(char(hours)); out.append(char(0));
        put16(day | month << 5 | 24u << 9);
        put16(unsigned(i % 5000));
        put16('A' + unsigned(i % 26));
        put16(unsigned(i & 0xFFFF));
        put16(0x55AA);
    }
    return out;
}

struct Work {
    QTemporaryDir dir;
    QString logPath = dir.path() + QStringLiteral("/EXLOG0457_bench.exs");
    int dbCount = 0;

    Work()
    {
        QFile f(logPath);
        if (!f.open(QIODevice::WriteOnly) || f.write(buildLog(kRecords)) != qint64(kRecords) * 15)
            std::abort();
    }
    QString freshDb()
    {
        const QString path = dir.path() + QStringLiteral("/bench%1.db").arg(++dbCount);
        dv::createDatabase(path);
        return path;
    }
};

Work &work()
{
    static Work w; // built once, after QCoreApplication exists
    return w;
}

void BM_ReadLogFileCommand(benchmark::State &state)
{
    Work &w = work();
    for (auto _ : state) {
        state.PauseTiming();
        dv::FileRegistryStore registry(w.dir.path() + QStringLiteral("/config"));
        DropPrompter prompter;
        tInfo info(registry, prompter);
        info.RegPath = QString::fromLatin1(kSettingsKeyPath);
        TdmDataBase db(info, prompter);
        db.OpenDBConnection(w.freshDb());
        ImportState importState;
        ReadLogFileCommand command(db, info, prompter, importState);
        command.setKeepFiles(true);
        state.ResumeTiming();

        if (!command.run({w.logPath}))
            state.SkipWithError("the import reported a problem");
        if (importState.DwnldRecrd != quint16(kRecords & 0xFFFF))
            state.SkipWithError("not every record was read");
    }
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BarePreparedInsert(benchmark::State &state)
{
    Work &w = work();
    // The rows as the import stores them, made before the clock runs.
    struct Row { QString dateTime, errorStr, errorCode; double peak; };
    std::vector<Row> rows;
    rows.reserve(kRecords);
    QFile f(w.logPath);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray bytes = f.readAll();
    dv::LogReader reader(bytes);
    dv::LogEvent ev;
    while (reader.next(ev)) {
        const ExcavRec_t &r = ev.data.ExcavRecs;
        const dv::LogDateTime t = dv::decodeLogDateTime(r.Time, r.Date);
        rows.push_back({dv::sqlvalues::dateTimeText(QDateTime(QDate(t.year, t.month, t.day), QTime(t.hours, t.mins, t.secs))),
                        QString::number(r.LoadID), QString(QChar(char16_t(r.Machine))), double(float(r.LoadWght / 100.0))});
    }

    for (auto _ : state) {
        state.PauseTiming();
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            c.setDatabaseName(w.freshDb());
            if (!c.open())
                std::abort();
            QSqlQuery q(c);
            q.exec(QStringLiteral("PRAGMA journal_mode=WAL")); // as the program's connection has it
            q.finish();
            state.ResumeTiming();

            q.exec(QStringLiteral("BEGIN IMMEDIATE"));
            QSqlQuery ins(c);
            ins.setForwardOnly(true);
            ins.prepare(QStringLiteral("INSERT INTO EventTable (DownLoad, DateTime, ErrorStr, ErrorCode, PeakSpeed) "
                                       "VALUES (?, ?, ?, ?, ?)"));
            for (const Row &r : rows) {
                ins.bindValue(0, 1);
                ins.bindValue(1, r.dateTime);
                ins.bindValue(2, r.errorStr);
                ins.bindValue(3, r.errorCode);
                ins.bindValue(4, r.peak);
                if (!ins.exec())
                    std::abort();
            }
            ins.finish();
            q.exec(QStringLiteral("COMMIT"));
            state.PauseTiming();
        }
        QSqlDatabase::removeDatabase(name);
        state.ResumeTiming();
    }
    state.counters["records/s"] = benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_ReadLogFileCommand)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BarePreparedInsert)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's rate, so the ratio can be printed at the end.
class RateReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            const auto it = r.counters.find("records/s");
            if (it != r.counters.end() && r.run_type == Run::RT_Iteration)
                rates[r.benchmark_name()] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> rates;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    double ours = 0, bare = 0;
    for (const auto &[name, rate] : reporter.rates) {
        if (name.rfind("BM_ReadLogFileCommand", 0) == 0)
            ours = rate;
        else if (name.rfind("BM_BarePreparedInsert", 0) == 0)
            bare = rate;
    }
    if (ours > 0 && bare > 0)
        std::printf("\nimport %.0f records/s, bare insert %.0f records/s, ratio %.2f (required >= 0.50)\n", ours,
                    bare, ours / bare);
    return 0;
}
