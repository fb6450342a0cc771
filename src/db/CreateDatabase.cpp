#include "db/CreateDatabase.h"

#include "core/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

// The schema travels as a resource of this static library; naming it here
// keeps the linker from dropping it.
static void initSchemaResource() { Q_INIT_RESOURCE(schema); }

namespace dv {

QString schemaSql()
{
    initSchemaResource();
    QFile f(QStringLiteral(":/db/schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("The database schema is missing from the program"));
    return QString::fromUtf8(f.readAll());
}

namespace {
// Statements of the schema, split at semicolons that end a line; comments dropped.
QStringList statements(const QString &schema)
{
    QStringList out;
    QString current;
    for (const QString &line : schema.split(u'\n')) {
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1String("--")))
            continue;
        current += line + u'\n';
        if (t.endsWith(u';')) {
            out << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}
} // namespace

void createDatabase(const QString &path)
{
    if (path.isEmpty())
        throw EDatabaseError(QStringLiteral("No database file name given"));
    const QFileInfo fi(path);
    if (fi.exists() || fi.isSymLink())
        throw EDatabaseError(u'\'' + path + QStringLiteral("' already exists; it was left unchanged"));
    if (!fi.absoluteDir().exists())
        throw EDatabaseError(QStringLiteral("The folder of '") + path + QStringLiteral("' does not exist"));

    // Claim the name atomically, so a file appearing meanwhile is never overwritten.
    {
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw EDatabaseError(QStringLiteral("Cannot create '") + path + QStringLiteral("': ") + claim.errorString());
    }

    const QString schema = schemaSql();
    const QString name = QStringLiteral("create-db-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("BEGIN")))
                failure = q.lastError().text();
            for (const QString &stmt : statements(schema)) {
                if (!failure.isEmpty())
                    break;
                if (!q.exec(stmt))
                    failure = q.lastError().text() + QStringLiteral(" in: ") + stmt;
            }
            if (failure.isEmpty() && !q.exec(QStringLiteral("COMMIT")))
                failure = q.lastError().text();
            q.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty()) {
        QFile::remove(path);
        throw EDatabaseError(QStringLiteral("Cannot create the database '") + path + QStringLiteral("': ") + failure);
    }
}

} // namespace dv
