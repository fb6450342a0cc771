#include "core/Errors.h"
#include "db/L3Data.h"
#include "db/DbFixture.h"
#include "support/TestEnv.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(Connection, ConnectionStringIsTheJetTextForThePath)
{
    EXPECT_EQ(Connection::ConnectionString(QStringLiteral("C:\\Data\\ExLoggerDB.mdb")),
              QStringLiteral(
                  "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;;Data Source=C:\\Data\\ExLoggerDB.mdb;Mode=Share Deny "
                  "None;Extended Properties=\"\";Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";Jet "
                  "OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;Jet OLEDB:Database Locking Mode=1;Jet "
                  "OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database "
                  "Password=\"\";Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=True;Jet "
                  "OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica Repair=False;Jet "
                  "OLEDB:SFP=False"));
}

QString openError(const QString &path)
{
    Connection c(QStringLiteral("probe"));
    try {
        c.open(path);
    } catch (const dv::EDatabaseError &e) {
        EXPECT_FALSE(c.connected());
        return e.message();
    }
    return QStringLiteral("<opened>");
}

TEST(Connection, ForeignAndBrokenFilesAreNamedForWhatTheyAre)
{
    const QString dir = dvtest::home() + QStringLiteral("/conn");
    QByteArray jet(2048, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    QByteArray ace(2048, '\0');
    ace.replace(4, 15, "Standard ACE DB");
    QByteArray damaged = QByteArray("SQLite format 3", 16) + QByteArray(4080, '\xff');

    const QString jetPath = dvtest::writeFile(dir + QStringLiteral("/old.mdb"), jet);
    const QString acePath = dvtest::writeFile(dir + QStringLiteral("/new.accdb"), ace);
    const QString textPath = dvtest::writeFile(dir + QStringLiteral("/notes.mdb"), "just some text\n");
    const QString emptyPath = dvtest::writeFile(dir + QStringLiteral("/empty.mdb"), QByteArray());
    const QString damagedPath = dvtest::writeFile(dir + QStringLiteral("/damaged.mdb"), damaged);

    EXPECT_TRUE(openError(jetPath).startsWith(
        u'\'' + jetPath + QStringLiteral("' is a Microsoft Access (Jet) database; this program needs its own "
                                         "database format (SQLite).")))
        << qPrintable(openError(jetPath));
    EXPECT_TRUE(openError(acePath).contains(QStringLiteral("is a Microsoft Access (Jet) database")));
    EXPECT_EQ(openError(textPath), u'\'' + textPath + QStringLiteral("' is not a database file"));
    EXPECT_EQ(openError(emptyPath), u'\'' + emptyPath + QStringLiteral("' is not a database file"));
    EXPECT_TRUE(openError(dir + QStringLiteral("/missing.mdb")).contains(QStringLiteral("does not exist")));
    EXPECT_TRUE(openError(damagedPath).startsWith(QStringLiteral("Cannot open database '") + damagedPath))
        << qPrintable(openError(damagedPath));

    // nothing was written to the refused files
    QFile f(jetPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), jet);
}

TEST(Connection, ManyConnectionsLiveSideBySideAndReopenElsewhere)
{
    dbtest::TempDb a(QStringLiteral("a.db"));
    dbtest::TempDb b(QStringLiteral("b.db"));
    dbtest::sql(b.path, QStringLiteral("INSERT INTO EquipmentTable VALUES ('1', 'one')"));
    Connection c1(QStringLiteral("same")), c2(QStringLiteral("same"));
    c1.open(a.path);
    c2.open(a.path);
    EXPECT_TRUE(c1.connected() && c2.connected());
    EXPECT_EQ(dbtest::sql(a.path, QStringLiteral("PRAGMA journal_mode")).value(0).value(0), QStringLiteral("wal"));
    c1.open(b.path);
    EXPECT_EQ(c1.path(), b.path);
    QSqlQuery q(c1.db());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM EquipmentTable")) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    q.finish();
    c1.close();
    EXPECT_FALSE(c1.connected());
    EXPECT_TRUE(c2.connected());
}

} // namespace
