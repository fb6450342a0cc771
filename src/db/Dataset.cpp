#include "db/Dataset.h"

#include "core/Errors.h"
#include "db/JetSql.h"
#include "db/SqlValues.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVector>

#include <algorithm>

namespace dv {

using sqlvalues::quoteIdent;

namespace {

// Rows fetched per window; the window is placed so that moving a little
// backwards does not refetch.
constexpr int kWindow = 256;
constexpr int kBehind = 64;

QString stripTrailingSemicolons(QString s)
{
    s = s.trimmed();
    while (s.endsWith(u';'))
        s = s.left(s.size() - 1).trimmed();
    return s;
}

bool returnsRows(const QString &sql)
{
    const QString head = sql.trimmed().section(QRegularExpression(QStringLiteral("\\s|\\(")), 0, 0, QString::SectionSkipEmpty);
    return head.compare(QLatin1String("select"), Qt::CaseInsensitive) == 0
        || head.compare(QLatin1String("with"), Qt::CaseInsensitive) == 0
        || head.compare(QLatin1String("values"), Qt::CaseInsensitive) == 0;
}

} // namespace

struct Dataset::Impl {
    QSqlDatabase db;
    QString table;
    QString sql;       // Jet text as given
    QString engineSql; // rewritten, without trailing semicolons
    QHash<QString, QVariant> params;
    QStringList declared;
    QString orderBy;

    bool active = false;
    State state = State::Inactive;
    QStringList columns;
    QHash<QString, int> columnIndex; // lower-case name -> first column of that name
    QVector<bool> dateColumn;

    mutable int count = -1;
    int cur = -1;
    bool bof = true;
    bool eof = true;

    mutable int winStart = -1;
    mutable QVector<QVector<QVariant>> win;
    mutable QVector<qint64> winRowids;

    QStringList bufOrder; // fields set in Insert/Edit state, in order
    QHash<QString, QVariant> buf;
    qint64 editRowid = -1;

    // Forgets the cached row count and row window, so the next read asks the engine.
    void dropCache()
    {
        count = -1;
        winStart = -1;
        win.clear();
        winRowids.clear();
    }

    [[noreturn]] void fail(const QString &context, const QSqlError &e) const
    {
        QString msg = e.databaseText().isEmpty() ? e.text() : e.databaseText();
        throw EDatabaseError(context + QStringLiteral(": ") + msg);
    }

    void prepare(QSqlQuery &q, const QString &text, const QString &context) const
    {
        q.setForwardOnly(true);
        if (!q.prepare(text))
            fail(context, q.lastError());
    }

    void bindParams(QSqlQuery &q, const QString &text) const
    {
        for (const QString &p : JetSql::parameters(text)) {
            const auto it = params.constFind(p.toLower());
            q.bindValue(u':' + p, it == params.constEnd() ? QVariant() : sqlvalues::toDb(*it));
        }
    }

    QString tableOrder() const
    {
        return orderBy.trimmed().isEmpty() ? QStringLiteral("rowid") : orderBy + QStringLiteral(", rowid");
    }

    QString rowSource() const
    {
        // Query rows, sorted in the database when an order is set.
        if (orderBy.trimmed().isEmpty())
            return engineSql;
        return QStringLiteral("SELECT * FROM (") + engineSql + QStringLiteral(") ORDER BY ") + orderBy;
    }

    int rowIndex(const QString &name) const
    {
        return columnIndex.value(name.toLower(), -1);
    }
};

Dataset::Dataset(Kind kind, QString name, QObject *parent)
    : QObject(parent), kind_(kind), name_(std::move(name)), d(std::make_unique<Impl>())
{
}

Dataset::~Dataset() = default;

void Dataset::setTableName(const QString &table) { d->table = table; }
QString Dataset::tableName() const { return d->table; }
void Dataset::setSql(const QString &jetSql) { d->sql = jetSql; }
QString Dataset::sql() const { return d->sql; }
QString Dataset::engineSql() const { return d->engineSql; }

void Dataset::setParam(const QString &name, const QVariant &value)
{
    QString n = name.startsWith(u':') ? name.mid(1) : name;
    d->params.insert(n.toLower(), value);
}

void Dataset::setDeclaredFields(const QStringList &fields) { d->declared = fields; }
const QStringList &Dataset::declaredFields() const { return d->declared; }

void Dataset::setOrderBy(const QString &orderBy)
{
    if (d->orderBy == orderBy)
        return;
    d->orderBy = orderBy;
    if (d->active)
        refresh();
}

QString Dataset::orderBy() const { return d->orderBy; }

void Dataset::setConnection(const QSqlDatabase &db) { d->db = db; }

void Dataset::open()
{
    if (d->active)
        return;
    if (!d->db.isValid() || !d->db.isOpen())
        throw EDatabaseError(name_ + QStringLiteral(": the database connection is not open"));

    QStringList cols;
    QVector<bool> dates;
    if (kind_ == Kind::Table) {
        if (d->table.isEmpty())
            throw EDatabaseError(name_ + QStringLiteral(": no table name"));
        QSqlQuery q(d->db);
        d->prepare(q, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), name_);
        q.addBindValue(d->table);
        if (!q.exec())
            d->fail(name_, q.lastError());
        while (q.next()) {
            cols << q.value(0).toString();
            const QString type = q.value(1).toString().toUpper();
            dates << (type.contains(QLatin1String("DATE")) || type.contains(QLatin1String("TIME")));
        }
        if (cols.isEmpty())
            throw EDatabaseError(name_ + QStringLiteral(": Table '") + d->table + QStringLiteral("' not found"));
        for (const QString &f : d->declared) {
            const bool found = std::any_of(cols.cbegin(), cols.cend(), [&](const QString &c) {
                return c.compare(f, Qt::CaseInsensitive) == 0;
            });
            if (!found)
                throw EDatabaseError(name_ + QStringLiteral(": Field '") + f + QStringLiteral("' not found in table '")
                                     + d->table + u'\'');
        }
    } else {
        if (d->sql.trimmed().isEmpty())
            throw EDatabaseError(name_ + QStringLiteral(": no SQL text"));
        d->engineSql = stripTrailingSemicolons(JetSql::toSqlite(d->sql));
        if (!returnsRows(d->engineSql)) {
            // A statement without rows: run it, and stay open on an empty result.
            execSql();
        } else {
            // Column names and which of them hold date/time text: a column is
            // read as date/time when some table declares a column of its name so.
            QSet<QString> dateNames;
            {
                QSqlQuery t(d->db);
                t.setForwardOnly(true);
                if (t.exec(QStringLiteral("SELECT p.name, p.type FROM sqlite_master m, pragma_table_info(m.name) p "
                                          "WHERE m.type = 'table'"))) {
                    while (t.next()) {
                        const QString type = t.value(1).toString().toUpper();
                        if (type.contains(QLatin1String("DATE")) || type.contains(QLatin1String("TIME")))
                            dateNames.insert(t.value(0).toString().toLower());
                    }
                }
            }
            QSqlQuery q(d->db);
            const QString probe = QStringLiteral("SELECT * FROM (") + d->engineSql + QStringLiteral(") LIMIT 0");
            d->prepare(q, probe, name_);
            d->bindParams(q, probe);
            if (!q.exec())
                d->fail(name_, q.lastError());
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i) {
                cols << rec.fieldName(i);
                dates << dateNames.contains(rec.fieldName(i).toLower());
            }
        }
    }

    d->columns = cols;
    d->dateColumn = dates;
    d->columnIndex.clear();
    for (int i = cols.size() - 1; i >= 0; --i)
        d->columnIndex.insert(cols[i].toLower(), i);
    d->active = true;
    d->state = State::Browse;
    d->dropCache();
    d->cur = -1;
    first();
    Q_EMIT rowsChanged();
}

void Dataset::close()
{
    if (!d->active)
        return;
    d->active = false;
    d->state = State::Inactive;
    d->dropCache();
    d->cur = -1;
    d->bof = d->eof = true;
    d->buf.clear();
    d->bufOrder.clear();
    Q_EMIT rowsChanged();
}

bool Dataset::active() const { return d->active; }
Dataset::State Dataset::state() const { return d->state; }

int Dataset::recordCount() const
{
    if (!d->active)
        return 0;
    if (d->count >= 0)
        return d->count;
    if (kind_ == Kind::Query && !returnsRows(d->engineSql)) {
        d->count = 0;
        return 0;
    }
    QSqlQuery q(d->db);
    const QString text = kind_ == Kind::Table
        ? QStringLiteral("SELECT count(*) FROM ") + quoteIdent(d->table)
        : QStringLiteral("SELECT count(*) FROM (") + d->engineSql + u')';
    d->prepare(q, text, name_);
    d->bindParams(q, text);
    if (!q.exec() || !q.next())
        d->fail(name_, q.lastError());
    d->count = q.value(0).toInt();
    return d->count;
}

int Dataset::recNo() const { return d->cur; }

void Dataset::first()
{
    const int n = recordCount();
    d->cur = n > 0 ? 0 : -1;
    d->bof = true;
    d->eof = n == 0;
    Q_EMIT currentChanged();
}

void Dataset::last()
{
    const int n = recordCount();
    d->cur = n - 1;
    d->eof = true;
    d->bof = n == 0;
    Q_EMIT currentChanged();
}

void Dataset::next()
{
    const int n = recordCount();
    if (d->cur < n - 1) {
        ++d->cur;
        d->bof = false;
        d->eof = false;
        Q_EMIT currentChanged();
    } else {
        d->eof = true;
    }
}

void Dataset::prior()
{
    if (d->cur > 0) {
        --d->cur;
        d->bof = false;
        d->eof = false;
        Q_EMIT currentChanged();
    } else {
        d->bof = true;
    }
}

bool Dataset::bof() const { return !d->active || d->bof; }
bool Dataset::eof() const { return !d->active || d->eof; }

void Dataset::moveTo(int row)
{
    const int n = recordCount();
    if (n == 0) {
        d->cur = -1;
        d->bof = d->eof = true;
    } else {
        d->cur = std::clamp(row, 0, n - 1);
        d->bof = d->eof = false;
    }
    Q_EMIT currentChanged();
}

// Loads the window of rows holding `row` (0-based); false when out of range.
bool Dataset::loadWindow(int row) const
{
    const Kind kind = kind_;
    if (row < 0)
        return false;
    if (d->winStart >= 0 && row >= d->winStart && row < d->winStart + d->win.size())
        return true;
    const int start = std::max(0, row - kBehind);
    QString text;
    if (kind == Dataset::Kind::Table) {
        text = QStringLiteral("SELECT rowid, * FROM ") + quoteIdent(d->table) + QStringLiteral(" ORDER BY ")
            + d->tableOrder();
    } else {
        text = d->rowSource();
    }
    text += QStringLiteral(" LIMIT %1 OFFSET %2").arg(kWindow).arg(start);
    QSqlQuery q(d->db);
    d->prepare(q, text, name_);
    d->bindParams(q, text);
    if (!q.exec())
        d->fail(name_, q.lastError());
    d->win.clear();
    d->winRowids.clear();
    const int skip = kind == Dataset::Kind::Table ? 1 : 0;
    const int ncols = int(d->columns.size());
    while (q.next()) {
        QVector<QVariant> r(ncols);
        for (int c = 0; c < ncols; ++c) {
            const QVariant v = q.value(c + skip);
            r[c] = d->dateColumn.value(c) ? sqlvalues::fromDbDateTime(v) : v;
        }
        d->win.push_back(std::move(r));
        if (skip)
            d->winRowids.push_back(q.value(0).toLongLong());
    }
    d->winStart = start;
    return row < d->winStart + d->win.size();
}

QVariant Dataset::valueAt(int row, const QString &name) const
{
    if (!d->active)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    const int c = d->rowIndex(name);
    if (c < 0)
        throw EDatabaseError(name_ + QStringLiteral(": Field '") + name + QStringLiteral("' not found"));
    if (!loadWindow(row))
        return QVariant();
    return d->win[row - d->winStart][c];
}

QVariant Dataset::field(const QString &name) const
{
    if (d->state == State::Insert || d->state == State::Edit) {
        if (d->rowIndex(name) < 0)
            throw EDatabaseError(name_ + QStringLiteral(": Field '") + name + QStringLiteral("' not found"));
        const auto it = d->buf.constFind(name.toLower());
        if (it != d->buf.constEnd())
            return *it;
        if (d->state == State::Insert)
            return QVariant();
    }
    return valueAt(d->cur, name);
}

void Dataset::setField(const QString &name, const QVariant &value)
{
    if (d->state != State::Insert && d->state != State::Edit)
        throw EDatabaseError(name_ + QStringLiteral(": Dataset not in edit or insert mode"));
    const int c = d->rowIndex(name);
    if (c < 0)
        throw EDatabaseError(name_ + QStringLiteral(": Field '") + name + QStringLiteral("' not found"));
    const QString key = d->columns[c].toLower();
    if (!d->buf.contains(key))
        d->bufOrder << d->columns[c];
    d->buf.insert(key, value);
}

QStringList Dataset::fieldNames() const { return d->columns; }

bool Dataset::hasField(const QString &name) const { return d->rowIndex(name) >= 0; }

bool Dataset::locate(const QString &fieldName, const QVariant &value)
{
    if (!d->active)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    const int c = d->rowIndex(fieldName);
    if (c < 0)
        throw EDatabaseError(name_ + QStringLiteral(": Field '") + fieldName + QStringLiteral("' not found"));
    if (kind_ == Kind::Table) {
        // Position of the first match in the cursor's order, found by the engine.
        const QString col = quoteIdent(d->columns[c]);
        const QString text = QStringLiteral("SELECT rn FROM (SELECT ") + col
            + QStringLiteral(" AS v, row_number() OVER (ORDER BY ") + d->tableOrder()
            + QStringLiteral(") - 1 AS rn FROM ") + quoteIdent(d->table)
            + QStringLiteral(") WHERE v = ? ORDER BY rn LIMIT 1");
        QSqlQuery q(d->db);
        d->prepare(q, text, name_);
        q.addBindValue(sqlvalues::toDb(value));
        if (!q.exec())
            d->fail(name_, q.lastError());
        if (!q.next())
            return false;
        moveTo(q.value(0).toInt());
        return true;
    }
    const int n = recordCount();
    const QVariant want = sqlvalues::toDb(value);
    for (int r = 0; r < n; ++r) {
        if (!loadWindow(r))
            break;
        const QVariant have = sqlvalues::toDb(d->win[r - d->winStart][c]);
        if (!have.isNull() && have.toString() == want.toString()) {
            moveTo(r);
            return true;
        }
    }
    return false;
}

void Dataset::append()
{
    if (!d->active)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    if (kind_ != Kind::Table)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot modify a read-only dataset"));
    if (d->state != State::Browse)
        cancel();
    d->buf.clear();
    d->bufOrder.clear();
    d->state = State::Insert;
}

void Dataset::edit()
{
    if (!d->active)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    if (kind_ != Kind::Table)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot modify a read-only dataset"));
    if (d->state == State::Edit || d->state == State::Insert)
        return;
    if (!loadWindow(d->cur))
        throw EDatabaseError(name_ + QStringLiteral(": Dataset is empty"));
    d->editRowid = d->winRowids[d->cur - d->winStart];
    d->buf.clear();
    d->bufOrder.clear();
    d->state = State::Edit;
}

void Dataset::post()
{
    if (d->state != State::Insert && d->state != State::Edit)
        return;
    QSqlQuery q(d->db);
    QString text;
    const QString tbl = quoteIdent(d->table);
    if (d->state == State::Insert) {
        if (d->bufOrder.isEmpty()) {
            text = QStringLiteral("INSERT INTO ") + tbl + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList cols, marks;
            for (const QString &f : d->bufOrder) {
                cols << quoteIdent(f);
                marks << QStringLiteral("?");
            }
            text = QStringLiteral("INSERT INTO ") + tbl + QStringLiteral(" (") + cols.join(QStringLiteral(", "))
                + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + u')';
        }
    } else {
        if (d->bufOrder.isEmpty()) {
            d->state = State::Browse;
            return;
        }
        QStringList sets;
        for (const QString &f : d->bufOrder)
            sets << quoteIdent(f) + QStringLiteral(" = ?");
        text = QStringLiteral("UPDATE ") + tbl + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "))
            + QStringLiteral(" WHERE rowid = ?");
    }
    d->prepare(q, text, name_);
    for (const QString &f : d->bufOrder)
        q.addBindValue(sqlvalues::toDb(d->buf.value(f.toLower())));
    if (d->state == State::Edit)
        q.addBindValue(d->editRowid);
    if (!q.exec())
        d->fail(name_, q.lastError()); // the row stays in Insert/Edit state, so the caller may correct it

    const qint64 rowid = d->state == State::Insert ? q.lastInsertId().toLongLong() : d->editRowid;
    q.finish();
    d->state = State::Browse;
    d->buf.clear();
    d->bufOrder.clear();
    d->dropCache();

    // Put the cursor on the written row. In physical order that is the number
    // of rows before it, which the engine counts from the key's index.
    int pos = -1;
    QSqlQuery p(d->db);
    if (d->orderBy.trimmed().isEmpty()) {
        d->prepare(p, QStringLiteral("SELECT count(*) FROM ") + tbl + QStringLiteral(" WHERE rowid > ?"), name_);
        p.addBindValue(rowid);
        if (p.exec() && p.next())
            pos = recordCount() - 1 - p.value(0).toInt();
    } else {
        d->prepare(p, QStringLiteral("SELECT rn FROM (SELECT rowid AS r, row_number() OVER (ORDER BY ")
                          + d->tableOrder() + QStringLiteral(") - 1 AS rn FROM ") + tbl
                          + QStringLiteral(") WHERE r = ?"),
                   name_);
        p.addBindValue(rowid);
        if (p.exec() && p.next())
            pos = p.value(0).toInt();
    }
    d->cur = pos >= 0 ? pos : std::max(0, recordCount() - 1);
    d->bof = d->eof = false;
    Q_EMIT afterPost();
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

void Dataset::cancel()
{
    if (d->state == State::Insert || d->state == State::Edit) {
        d->state = State::Browse;
        d->buf.clear();
        d->bufOrder.clear();
    }
}

void Dataset::remove()
{
    if (!d->active)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot perform this operation on a closed dataset"));
    if (kind_ != Kind::Table)
        throw EDatabaseError(name_ + QStringLiteral(": Cannot modify a read-only dataset"));
    cancel();
    if (!loadWindow(d->cur))
        throw EDatabaseError(name_ + QStringLiteral(": Dataset is empty"));
    const qint64 rowid = d->winRowids[d->cur - d->winStart];
    QSqlQuery q(d->db);
    d->prepare(q, QStringLiteral("DELETE FROM ") + quoteIdent(d->table) + QStringLiteral(" WHERE rowid = ?"), name_);
    q.addBindValue(rowid);
    if (!q.exec())
        d->fail(name_, q.lastError());
    q.finish();
    const int row = d->cur;
    d->dropCache();
    const int n = recordCount();
    d->cur = std::min(row, n - 1);
    d->bof = d->eof = n == 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

void Dataset::refresh()
{
    if (!d->active)
        return;
    cancel();
    const int row = d->cur;
    d->dropCache();
    const int n = recordCount();
    d->cur = n == 0 ? -1 : std::clamp(row, 0, n - 1);
    d->bof = d->eof = n == 0;
    Q_EMIT rowsChanged();
    Q_EMIT currentChanged();
}

int Dataset::execSql()
{
    if (!d->db.isValid() || !d->db.isOpen())
        throw EDatabaseError(name_ + QStringLiteral(": the database connection is not open"));
    if (d->sql.trimmed().isEmpty())
        throw EDatabaseError(name_ + QStringLiteral(": no SQL text"));
    d->engineSql = stripTrailingSemicolons(JetSql::toSqlite(d->sql));
    QSqlQuery q(d->db);
    d->prepare(q, d->engineSql, name_);
    d->bindParams(q, d->engineSql);
    if (!q.exec())
        d->fail(name_, q.lastError());
    return q.numRowsAffected();
}

} // namespace dv
