#include "core/Errors.h"
#include "db/Dataset.h"
#include "db/L3Data.h"
#include "db/DbFixture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using dv::Dataset;

class DatasetTest : public ::testing::Test {
protected:
    dbtest::TempDb db;
    Connection conn{QStringLiteral("dataset")};

    void SetUp() override { conn.open(db.path); }

    std::unique_ptr<Dataset> table(const QString &name)
    {
        auto ds = std::make_unique<Dataset>(Dataset::Kind::Table, name);
        ds->setTableName(name);
        ds->setConnection(conn.db());
        return ds;
    }

    void events(int n)
    {
        QStringList s{QStringLiteral("BEGIN")};
        for (int i = 0; i < n; ++i)
            s << QStringLiteral("INSERT INTO EventTable (DownLoad, ErrorStr, PeakSpeed) VALUES (%1, 'e%1', %2)")
                     .arg(i)
                     .arg(n - i);
        s << QStringLiteral("COMMIT");
        dbtest::sql(db.path, s);
    }
};

TEST_F(DatasetTest, PostOnTheDownloadTableStaysOnTheNewRowWithItsNumber)
{
    dbtest::sql(db.path, QStringLiteral("INSERT INTO DownloadReqTable (CraneID) VALUES ('a'), ('b')"));
    auto dl = table(QStringLiteral("DownloadReqTable"));
    dl->open();
    dl->first();
    QSignalSpy posted(dl.get(), &Dataset::afterPost);
    dl->append();
    EXPECT_EQ(dl->state(), Dataset::State::Insert);
    dl->setField(QStringLiteral("CraneID"), QStringLiteral("1234"));
    EXPECT_TRUE(dl->field(QStringLiteral("DownLoad")).isNull());
    dl->post();
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(dl->state(), Dataset::State::Browse);
    EXPECT_EQ(dl->recordCount(), 3);
    EXPECT_EQ(dl->recNo(), 2);
    EXPECT_EQ(dl->field(QStringLiteral("DownLoad")).toInt(), 3);
    EXPECT_EQ(dl->field(QStringLiteral("CraneID")).toString(), QStringLiteral("1234"));

    // with another order the cursor still lands on the posted row
    dl->setOrderBy(QStringLiteral("CraneID DESC"));
    dl->append();
    dl->setField(QStringLiteral("CraneID"), QStringLiteral("aa"));
    dl->post();
    EXPECT_EQ(dl->field(QStringLiteral("DownLoad")).toInt(), 4);
    EXPECT_EQ(dl->recNo(), 1); // b, aa, a, 1234
}

TEST_F(DatasetTest, TooLongTextIsRefusedNotCut)
{
    auto eq = table(QStringLiteral("EquipmentTable"));
    eq->open();
    eq->append();
    eq->setField(QStringLiteral("SerialNumber"), QString(16, u'9'));
    try {
        eq->post();
        FAIL() << "a 16-character serial number was accepted";
    } catch (const dv::EDatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("SerialNumber: at most 15 characters"))) << qPrintable(e.message());
    }
    EXPECT_EQ(eq->state(), Dataset::State::Insert); // still there to correct
    eq->setField(QStringLiteral("SerialNumber"), QString(15, u'9'));
    eq->post();
    EXPECT_EQ(eq->field(QStringLiteral("SerialNumber")).toString(), QString(15, u'9'));
    EXPECT_EQ(dbtest::sql(db.path, QStringLiteral("SELECT count(*) FROM EquipmentTable")).value(0).value(0),
              QStringLiteral("1"));
}

TEST_F(DatasetTest, CursorWalksBeyondOneWindowInTheDatabaseOrder)
{
    events(1000);
    auto ev = table(QStringLiteral("EventTable"));
    ev->open();
    EXPECT_EQ(ev->recordCount(), 1000);
    EXPECT_TRUE(ev->bof());
    int seen = 0;
    for (ev->first(); !ev->eof(); ev->next())
        EXPECT_EQ(ev->field(QStringLiteral("DownLoad")).toInt(), seen++);
    EXPECT_EQ(seen, 1000);
    ev->prior();
    EXPECT_EQ(ev->field(QStringLiteral("ErrorStr")).toString(), QStringLiteral("e998"));
    EXPECT_EQ(ev->valueAt(3, QStringLiteral("errorstr")).toString(), QStringLiteral("e3")); // names ignore case
    EXPECT_FALSE(ev->valueAt(1000, QStringLiteral("ErrorStr")).isValid());

    ev->setOrderBy(QStringLiteral("PeakSpeed"));
    EXPECT_EQ(ev->valueAt(0, QStringLiteral("DownLoad")).toInt(), 999);
    EXPECT_EQ(ev->valueAt(700, QStringLiteral("DownLoad")).toInt(), 299);

    ASSERT_TRUE(ev->locate(QStringLiteral("ErrorStr"), QStringLiteral("e10")));
    EXPECT_EQ(ev->recNo(), 989);
    ASSERT_TRUE(ev->locate(QStringLiteral("DownLoad"), QStringLiteral("10"))); // grid text finds the number
    EXPECT_EQ(ev->recNo(), 989);
    EXPECT_FALSE(ev->locate(QStringLiteral("ErrorStr"), QStringLiteral("E10"))); // exact: case counts
    EXPECT_EQ(ev->recNo(), 989);
    EXPECT_EQ(ev->fieldNames().first(), QStringLiteral("DownLoad"));
    EXPECT_TRUE(ev->fieldNames().contains(QStringLiteral("Reeving")));
}

TEST_F(DatasetTest, UnknownFieldsAndMissingDeclaredColumnsFailByName)
{
    auto ev = table(QStringLiteral("EventTable"));
    ev->setDeclaredFields({QStringLiteral("DownLoad"), QStringLiteral("Nonesuch")});
    try {
        ev->open();
        FAIL() << "opened without a declared column";
    } catch (const dv::EDatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Field 'Nonesuch' not found in table 'EventTable'")))
            << qPrintable(e.message());
    }
    EXPECT_FALSE(ev->active());
    ev->setDeclaredFields({});
    ev->open();
    ev->append();
    EXPECT_THROW(ev->setField(QStringLiteral("Nonesuch"), 1), dv::EDatabaseError);
    ev->cancel();
    EXPECT_THROW(ev->field(QStringLiteral("Nonesuch")), dv::EDatabaseError);

    auto none = table(QStringLiteral("NoSuchTable"));
    EXPECT_THROW(none->open(), dv::EDatabaseError);
}

TEST_F(DatasetTest, EditAndRemoveChangeOnlyTheCurrentRow)
{
    dbtest::sql(db.path, QStringLiteral("INSERT INTO EquipmentTable VALUES ('1', 'one'), ('2', 'two'), ('3', 'three')"));
    auto eq = table(QStringLiteral("EquipmentTable"));
    eq->open();
    ASSERT_TRUE(eq->locate(QStringLiteral("SerialNumber"), QStringLiteral("2")));
    eq->edit();
    eq->setField(QStringLiteral("Description"), QStringLiteral("second"));
    eq->post();
    EXPECT_EQ(eq->field(QStringLiteral("Description")).toString(), QStringLiteral("second"));
    eq->remove();
    EXPECT_EQ(eq->recordCount(), 2);
    EXPECT_EQ(eq->field(QStringLiteral("SerialNumber")).toString(), QStringLiteral("3"));
    EXPECT_EQ(dbtest::sql(db.path, QStringLiteral("SELECT group_concat(Description) FROM EquipmentTable")).value(0).value(0),
              QStringLiteral("one,three"));
}

TEST_F(DatasetTest, QueryBindsItsParametersAndCountsItsRows)
{
    events(300);
    Dataset q(Dataset::Kind::Query, QStringLiteral("L3EventQuery"));
    q.setConnection(conn.db());
    q.setSql(QStringLiteral("select * from EventTable where DownLoad >= :From order by DownLoad desc"));
    q.setParam(QStringLiteral("From"), 10);
    q.open();
    EXPECT_EQ(q.recordCount(), 290);
    q.last();
    EXPECT_EQ(q.field(QStringLiteral("DownLoad")).toInt(), 10);
    EXPECT_TRUE(q.locate(QStringLiteral("ErrorStr"), QStringLiteral("e20")));
    EXPECT_EQ(q.recNo(), 279);
    EXPECT_THROW(q.append(), dv::EDatabaseError);

    // a value with a quote is bound, never spliced
    q.close();
    q.setSql(QStringLiteral("select * from EventTable where ErrorStr = :s"));
    q.setParam(QStringLiteral(":s"), QStringLiteral("e1' or '1'='1"));
    q.open();
    EXPECT_TRUE(q.isEmpty());
}

} // namespace
