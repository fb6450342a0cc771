#pragma once

#include "db/L3Data.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>

namespace dv {

// EventInserter over one prepared INSERT inside one write transaction
// (BEGIN IMMEDIATE, so a second writer waits at the start, not half-way).
class PreparedEventInserter : public EventInserter {
public:
    // `onCommit` runs after a successful commit.
    PreparedEventInserter(const QSqlDatabase &db, std::function<void()> onCommit);
    ~PreparedEventInserter() override;

    void add(const EventRow &row) override;
    void commit() override;
    void rollback() override;

private:
    QSqlDatabase db_;
    QSqlQuery insert_;
    std::function<void()> onCommit_;
    bool open_ = false;
    bool added_ = false;
};

} // namespace dv
