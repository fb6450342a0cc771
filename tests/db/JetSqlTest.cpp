#include "core/Errors.h"
#include "db/Dataset.h"
#include "db/JetSql.h"
#include "db/L3Data.h"
#include "db/DbFixture.h"

#include <gtest/gtest.h>

using dv::JetSql;

namespace {

struct Rewrite {
    const char *jet;
    const char *sqlite;
};

TEST(JetSql, RewritesJetConstructsAndLeavesLiteralsAlone)
{
    const Rewrite cases[] = {
        {"delete * from EventTable where  FORMAT (DateTime , 'yyyy/MM/dd') between '2024/01/01' and '2024/01/02'",
         "delete from EventTable where  strftime('%Y/%m/%d', DateTime) between '2024/01/01' and '2024/01/02'"},
        {"DELETE  *  FROM t", "DELETE FROM t"},
        {"select count(*) from t", "select count(*) from t"},
        {"where SerialNumber = \"AB'C\"", "where SerialNumber = 'AB''C'"},
        {"where x = \"say \"\"hi\"\"\"", "where x = 'say \"hi\"'"},
        {"where x = 'it''s \"FORMAT(a, 'yyyy')\"'", "where x = 'it''s \"FORMAT(a, 'yyyy')\"'"},
        {"select [Event Table].[Down\"Load] from [Event Table]", "select \"Event Table\".\"Down\"\"Load\" from \"Event Table\""},
        {"Format(d, \"yyyy/mm/dd hh:nn:ss\")", "strftime('%Y/%m/%d %H:%M:%S', d)"},
        {"FORMAT(coalesce(a, b), 'yyyy')", "strftime('%Y', coalesce(a, b))"},
        {"select Formatted, format_x from t", "select Formatted, format_x from t"},
        {"a INNER JOIN (b INNER JOIN c ON b.k = c.k) ON a.s = c.s;", "a INNER JOIN (b INNER JOIN c ON b.k = c.k) ON a.s = c.s;"},
        {"where DateTime > :DateTime", "where DateTime > :DateTime"},
    };
    for (const Rewrite &c : cases)
        EXPECT_EQ(JetSql::toSqlite(QString::fromUtf8(c.jet)), QString::fromUtf8(c.sqlite)) << c.jet;
}

TEST(JetSql, RefusesWhatItCannotTranslate)
{
    EXPECT_THROW(JetSql::toSqlite(QStringLiteral("where a = 'open")), dv::EDatabaseError);
    EXPECT_THROW(JetSql::toSqlite(QStringLiteral("where a = \"open")), dv::EDatabaseError);
    EXPECT_THROW(JetSql::toSqlite(QStringLiteral("FORMAT(d, 'dd mmm yyyy')")), dv::EDatabaseError);
    EXPECT_THROW(JetSql::toSqlite(QStringLiteral("FORMAT(d)")), dv::EDatabaseError);
}

TEST(JetSql, ParametersAreFoundOutsideLiteralsOnly)
{
    EXPECT_EQ(JetSql::parameters(QStringLiteral("where a > :DateTime and b = ':nope' and c < :DateTime")),
              QStringList{QStringLiteral("DateTime")});
}

// Every statement text the program builds, run against known rows.
class JetTexts : public ::testing::Test {
protected:
    dbtest::TempDb db;
    Connection conn{QStringLiteral("jet-texts")};
    dv::Dataset query{dv::Dataset::Kind::Query, QStringLiteral("L3EventQuery")};

    void SetUp() override
    {
        // Units 1234 and 5678 registered; download 3 is of an unregistered
        // unit, download 4 has no events.
        dbtest::sql(db.path, {
            QStringLiteral("INSERT INTO EquipmentTable VALUES ('1234', 'Big digger'), ('5678', 'Small digger')"),
            QStringLiteral("INSERT INTO DownloadReqTable (CraneID) VALUES ('1234'), ('5678'), ('9999'), ('1234')"),
        });
        conn.open(db.path);
        dv::Dataset events(dv::Dataset::Kind::Table, QStringLiteral("L3EventTbl"));
        events.setTableName(QStringLiteral("EventTable"));
        events.setConnection(conn.db());
        events.open();
        const struct { int dl; QDateTime at; const char *str; } rows[] = {
            {1, at(2024, 3, 1, 8, 0, 0, 0), "E1"},
            {1, at(2024, 3, 2, 23, 59, 59, 999), "E2"},
            {1, at(2024, 3, 3, 0, 0, 0, 0), "E3"},
            {2, at(2024, 3, 2, 12, 0, 0, 0), "F1"},
            {2, at(2024, 2, 28, 10, 0, 0, 0), "F0"},
            {3, at(2024, 3, 2, 9, 0, 0, 0), "G1"},
        };
        for (const auto &r : rows) {
            events.append();
            events.setField(QStringLiteral("DownLoad"), r.dl);
            events.setField(QStringLiteral("DateTime"), r.at);
            events.setField(QStringLiteral("ErrorStr"), QString::fromLatin1(r.str));
            events.post();
        }
        query.setConnection(conn.db());
    }

    static QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms)
    {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
    }

    QStringList column(const QString &jet, const QString &field)
    {
        query.close();
        query.setSql(jet);
        query.open();
        QStringList out;
        for (query.first(); !query.eof(); query.next())
            out << query.field(field).toString();
        return out;
    }

    QStringList events()
    {
        return column(QStringLiteral("select * from EventTable order by DownLoad, DateTime"), QStringLiteral("ErrorStr"));
    }
};

const QString kByDownloadAll = QStringLiteral(
    "SELECT EventTable.DownLoad, EventTable.PeakSpeed, EventTable.ErrorStr, EventTable.ErrorCode, EventTable.DateTime, "
    "EventTable.SetLimit, DownLoadReqTable.DownLoad FROM DownLoadReqTable INNER JOIN EventTable ON "
    "DownLoadReqTable.DownLoad = EventTable.DownLoad where  EventTable.DownLoad =  ");
const QString kByDownloadDated = QStringLiteral(
    "SELECT EventTable.DownLoad, EventTable.PeakSpeed, EventTable.ErrorStr,  EventTable.ErrorCode, EventTable.DateTime, "
    "EventTable.SetLimit, DownLoadReqTable.DownLoad FROM DownLoadReqTable INNER JOIN EventTable ON "
    "DownLoadReqTable.DownLoad = EventTable.DownLoad WHERE  FORMAT (EventTable.DateTime , 'yyyy/MM/dd') BETWEEN '");
const QString kByDownloadOrder = QStringLiteral(" ORDER BY DownLoadReqTable.DownLoad, EventTable.DateTime");
const QString kAllData = QStringLiteral(
    "SELECT EventTable.DownLoad, EventTable.PeakSpeed, EventTable.ErrorStr,  EventTable.ErrorCode, EventTable.DateTime, "
    "EventTable.SetLimit,  DownLoadReqTable.DownLoad, DownLoadReqTable.CraneID, EquipmentTable.Description FROM "
    "EquipmentTable INNER JOIN (EventTable INNER JOIN DownloadReqTable ON EventTable.DownLoad = "
    "DownloadReqTable.DownLoad) ON EquipmentTable.SerialNumber = DownloadReqTable.CraneID");
const QString kAllDataOrder = QStringLiteral(
    " ORDER BY DownloadReqTable.CraneID, DownLoadReqTable.DownLoad, EquipmentTable.Description, EventTable.DateTime;");

TEST_F(JetTexts, SelectTextsReturnTheirRows)
{
    const struct {
        QString jet;
        QString field;
        QStringList rows;
    } cases[] = {
        // viewer: event list of a download, unit lookup
        {QStringLiteral("select * from EventTable where  DownLoad =  ") + QString::number(1)
             + QStringLiteral(" ORDER BY EventTable.DateTime"),
         QStringLiteral("ErrorStr"), {"E1", "E2", "E3"}},
        {QStringLiteral("SELECT * FROM EquipmentTable WHERE EquipmentTable.SerialNumber = ") + u'"' + QStringLiteral("1234") + u'"',
         QStringLiteral("Description"), {"Big digger"}},
        {QStringLiteral("SELECT * FROM EquipmentTable WHERE EquipmentTable.SerialNumber = ") + u'"' + QStringLiteral("123") + u'"',
         QStringLiteral("Description"), {}},
        // report selection
        {QStringLiteral("select * from EquipmentTable where  SerialNumber =  ") + u'"' + QStringLiteral("5678") + u'"',
         QStringLiteral("Description"), {"Small digger"}},
        {QStringLiteral("select * from DownLoadReqTable where  DownLoad =  ") + QString::number(2),
         QStringLiteral("CraneID"), {"5678"}},
        {QStringLiteral("select * from DownLoadReqTable"), QStringLiteral("CraneID"), {"1234", "5678", "9999", "1234"}},
        // by-download report, without and with a date range (both days included, whatever the time)
        {kByDownloadAll + QStringLiteral("1") + kByDownloadOrder, QStringLiteral("ErrorStr"), {"E1", "E2", "E3"}},
        {kByDownloadDated + QStringLiteral("2024/03/01") + "'" + " AND " + "'" + QStringLiteral("2024/03/02") + "'"
             + " and " + " EventTable.DownLoad =  " + QStringLiteral("1") + kByDownloadOrder,
         QStringLiteral("ErrorStr"), {"E1", "E2"}},
        {kByDownloadDated + QStringLiteral("2024/03/03") + "'" + " AND " + "'" + QStringLiteral("2024/03/01") + "'"
             + " and " + " EventTable.DownLoad =  " + QStringLiteral("1") + kByDownloadOrder,
         QStringLiteral("ErrorStr"), {}},
        // all-data report: nested joins leave out the unregistered unit
        {kAllData + kAllDataOrder, QStringLiteral("ErrorStr"), {"E1", "E2", "E3", "F0", "F1"}},
        {kAllData + kAllDataOrder, QStringLiteral("Description"),
         {"Big digger", "Big digger", "Big digger", "Small digger", "Small digger"}},
        {kAllData + QStringLiteral(" WHERE  FORMAT (EventTable.DateTime , 'yyyy/MM/dd') BETWEEN '") + QStringLiteral("2024/03/02")
             + "'" + " AND " + "'" + QStringLiteral("2024/03/02") + "'" + kAllDataOrder,
         QStringLiteral("ErrorStr"), {"E2", "F1"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(column(c.jet, c.field), c.rows) << qPrintable(c.jet);
}

TEST_F(JetTexts, ClearingTextsDeleteTheRangeThenTheEmptiedDownloads)
{
    query.setSql(QStringLiteral("delete * from EventTable where  FORMAT (DateTime , 'yyyy/MM/dd') between '")
                 + QStringLiteral("2024/03/02") + "'" + " and " + "'" + QStringLiteral("2024/03/02") + "'");
    EXPECT_EQ(query.execSql(), 3);
    EXPECT_EQ(events(), (QStringList{"E1", "E3", "F0"}));

    query.close();
    query.setSql(QStringLiteral(
        "delete * from DownloadReqTable where DownloadReqTable.DownLoad not in ( select DownLoad from EventTable)"));
    EXPECT_EQ(query.execSql(), 2);
    EXPECT_EQ(column(QStringLiteral("select * from DownLoadReqTable"), QStringLiteral("DownLoad")),
              (QStringList{"1", "2"}));

    // the same range again deletes nothing
    query.setSql(QStringLiteral("delete * from EventTable where  FORMAT (DateTime , 'yyyy/MM/dd') between '2024/03/02' and '2024/03/02'"));
    EXPECT_EQ(query.execSql(), 0);
}

TEST_F(JetTexts, DateTimeReadsBackAsTheDateTimeWritten)
{
    column(QStringLiteral("select * from EventTable where  DownLoad =  1 ORDER BY EventTable.DateTime"),
           QStringLiteral("ErrorStr"));
    query.first();
    query.next();
    EXPECT_EQ(query.field(QStringLiteral("DateTime")).toDateTime(), at(2024, 3, 2, 23, 59, 59, 999));
}

} // namespace
