// The data module's connection: decides by a file's content whether it can
// be opened, so a foreign file is named for what it is instead of failing
// half-way through the first query.
#include "db/L3Data.h"

#include "core/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

using dv::EDatabaseError;

namespace {

enum class FileKind { Missing, NotAFile, Sqlite, Jet, Other };

FileKind probe(const QString &path)
{
    const QFileInfo fi(path);
    if (!fi.exists())
        return FileKind::Missing;
    if (!fi.isFile())
        return FileKind::NotAFile;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileKind::Other;
    const QByteArray head = f.read(32);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return FileKind::Sqlite;
    const QByteArray sig = head.mid(4, 15);
    if (sig == "Standard Jet DB" || sig == "Standard ACE DB")
        return FileKind::Jet;
    return FileKind::Other;
}

QString quoted(const QString &path) { return u'\'' + path + u'\''; }

} // namespace

Connection::Connection(QString connectionName)
    // Every instance gets a connection name of its own, so several data
    // modules (tests, the command-line tool) can live side by side.
    : name_(connectionName + u'#' + QString::number(reinterpret_cast<quintptr>(this), 16))
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

void Connection::open(const QString &path)
{
    close();
    switch (probe(path)) {
    case FileKind::Missing:
        throw EDatabaseError(QStringLiteral("Database file ") + quoted(path) + QStringLiteral(" does not exist"));
    case FileKind::NotAFile:
        throw EDatabaseError(quoted(path) + QStringLiteral(" is not a database file (it is a folder or a device)"));
    case FileKind::Jet:
        throw EDatabaseError(quoted(path)
                             + QStringLiteral(" is a Microsoft Access (Jet) database; this program needs its own "
                                              "database format (SQLite). Create one with \"dorvanel-cli create-db "
                                              "PATH\" and choose it in the settings."));
    case FileKind::Other:
        throw EDatabaseError(quoted(path) + QStringLiteral(" is not a database file"));
    case FileKind::Sqlite:
        break;
    }

    QSqlDatabase d = db();
    d.setDatabaseName(path);
    d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!d.open()) {
        const QString why = d.lastError().text();
        d.close();
        throw EDatabaseError(QStringLiteral("Cannot open database ") + quoted(path) + QStringLiteral(": ") + why);
    }
    // Reading the catalogue proves the file is sound enough to use; a damaged
    // header or page fails here with the engine's message.
    QSqlQuery q(d);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const QString why = q.lastError().text();
        q.finish();
        q = QSqlQuery();
        d.close();
        throw EDatabaseError(QStringLiteral("Cannot open database ") + quoted(path) + QStringLiteral(": ") + why);
    }
    q.finish();
    // WAL lets a reader and the writer work side by side; a file on a medium
    // that cannot hold the WAL index keeps its own journal mode.
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.finish();
    path_ = path;
    open_ = true;
}

void Connection::close()
{
    QSqlDatabase d = db();
    if (d.isOpen())
        d.close();
    open_ = false;
}

bool Connection::connected() const { return open_ && db().isOpen(); }

QString Connection::path() const { return path_; }

QSqlDatabase Connection::db() const { return QSqlDatabase::database(name_, false); }

QString Connection::ConnectionString(const QString &path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;;Data Source=") + path
        + QStringLiteral(";Mode=Share Deny None"
                         ";Extended Properties=\"\""
                         ";Jet OLEDB:System database=\"\""
                         ";Jet OLEDB:Registry Path=\"\""
                         ";Jet OLEDB:Database Password=\"\""
                         ";Jet OLEDB:Engine Type=5"
                         ";Jet OLEDB:Database Locking Mode=1"
                         ";Jet OLEDB:Global Partial Bulk Ops=2"
                         ";Jet OLEDB:Global Bulk Transactions=1"
                         ";Jet OLEDB:New Database Password=\"\""
                         ";Jet OLEDB:Create System Database=False"
                         ";Jet OLEDB:Encrypt Database=True"
                         ";Jet OLEDB:Don't Copy Locale on Compact=False"
                         ";Jet OLEDB:Compact Without Replica Repair=False"
                         ";Jet OLEDB:SFP=False");
}
