#include "db/PreparedEventInserter.h"

#include "core/Errors.h"
#include "db/SqlValues.h"

#include <QSqlError>

namespace dv {

namespace {
[[noreturn]] void fail(const QString &what, const QSqlError &e)
{
    throw EDatabaseError(what + QStringLiteral(": ")
                         + (e.databaseText().isEmpty() ? e.text() : e.databaseText()));
}
} // namespace

PreparedEventInserter::PreparedEventInserter(const QSqlDatabase &db, std::function<void()> onCommit)
    : db_(db), insert_(db), onCommit_(std::move(onCommit))
{
    if (!db_.isOpen())
        throw EDatabaseError(QStringLiteral("Connection to DataBase Failed"));
    QSqlQuery begin(db_);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        fail(QStringLiteral("EventTable"), begin.lastError());
    open_ = true;
    insert_.setForwardOnly(true);
    if (!insert_.prepare(QStringLiteral("INSERT INTO EventTable (DownLoad, DateTime, ErrorStr, ErrorCode, PeakSpeed) "
                                        "VALUES (?, ?, ?, ?, ?)"))) {
        const QSqlError e = insert_.lastError();
        rollback();
        fail(QStringLiteral("EventTable"), e);
    }
}

PreparedEventInserter::~PreparedEventInserter()
{
    if (open_) {
        try {
            rollback();
        } catch (...) {
            // a destructor must not throw; the engine rolls back on close anyway
        }
    }
}

void PreparedEventInserter::add(const EventRow &row)
{
    if (!open_)
        throw EDatabaseError(QStringLiteral("EventTable: the insert has already ended"));
    insert_.bindValue(0, row.DownLoad);
    if (!row.DateTimeText.isEmpty())
        insert_.bindValue(1, row.DateTimeText);
    else
        insert_.bindValue(1, row.DateTime.isValid() ? QVariant(sqlvalues::dateTimeText(row.DateTime)) : QVariant());
    insert_.bindValue(2, row.ErrorStr);
    insert_.bindValue(3, row.ErrorCode);
    insert_.bindValue(4, double(row.PeakSpeed));
    if (!insert_.exec())
        fail(QStringLiteral("EventTable"), insert_.lastError());
    added_ = true;
}

void PreparedEventInserter::commit()
{
    if (!open_)
        return;
    insert_.finish();
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("COMMIT")))
        fail(QStringLiteral("EventTable"), q.lastError());
    open_ = false;
    if (added_ && onCommit_)
        onCommit_();
}

void PreparedEventInserter::rollback()
{
    if (!open_)
        return;
    open_ = false;
    insert_.finish();
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("ROLLBACK")))
        fail(QStringLiteral("EventTable"), q.lastError());
}

} // namespace dv
