#pragma once

#include <QDateTime>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace dv {

// A cursor over one table or one query of the data module's connection, with
// the operations the forms use: open/close, first/last/next/prior, bof/eof,
// exact locate, append/post/cancel, field by name, record count.
//
// Rows are fetched on demand (a window around the current position), so a
// table of a million rows is never read whole into memory. Threading: GUI
// thread only, like its connection.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class Kind { Table, Query };
    enum class State { Inactive, Browse, Insert, Edit };

    Dataset(Kind kind, QString name, QObject *parent = nullptr);
    ~Dataset() override;

    const QString &name() const { return name_; }
    Kind kind() const { return kind_; }

    // Table: the table's name. Query: the SQL text (Jet SQL; rewritten for the
    // engine when the query opens). Changing it does not reopen.
    void setTableName(const QString &table);
    QString tableName() const;
    void setSql(const QString &jetSql);
    void clearSql() { setSql(QString()); }
    QString sql() const;
    // Named parameters of a query (":DateTime" for parameter DateTime).
    void setParam(const QString &name, const QVariant &value);

    // Columns that must exist when the table opens; a missing one makes open()
    // throw EDatabaseError naming the column.
    void setDeclaredFields(const QStringList &fields);
    const QStringList &declaredFields() const;

    // ORDER BY used by a table's cursor (empty: physical order). Reopens when active.
    void setOrderBy(const QString &orderBy);
    QString orderBy() const;

    void setConnection(const QSqlDatabase &db);

    void open();   // throws EDatabaseError
    void close();
    bool active() const;
    State state() const;

    void first();
    void last();
    void next();
    void prior();
    bool bof() const;
    bool eof() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recordCount() const;
    int recNo() const; // 0-based current row, -1 when empty
    void moveTo(int row);

    // Exact match of one column; moves there and answers true when found.
    bool locate(const QString &field, const QVariant &value);

    void append();
    // Writes the appended row; on a table with an auto-number key the cursor
    // stays on the new row and field() answers the assigned number.
    void post();   // throws EDatabaseError
    void cancel();
    // Edit state: setField() changes the current row; post() writes it (tables only).
    void edit();
    // Deletes the current row of a table; the cursor stays at the same position.
    void remove(); // throws EDatabaseError

    // Re-reads the rows and the count (after another writer changed the table),
    // keeping the position where it still exists.
    void refresh();
    // Runs a query's text as a statement that returns no rows ("delete * from
    // ..."); answers the number of rows it changed. Throws EDatabaseError.
    int execSql();

    QVariant field(const QString &name) const;          // current row
    void setField(const QString &name, const QVariant &value); // in Insert state
    QVariant valueAt(int row, const QString &name) const; // any row, for grids
    QStringList fieldNames() const; // every physical column, in column order
    bool hasField(const QString &name) const;
    // The engine's text of the query as it runs (after the Jet rewrite).
    QString engineSql() const;

Q_SIGNALS:
    void rowsChanged();     // opened, closed, reloaded, row posted
    void currentChanged();  // the cursor moved
    void afterPost();

private:
    bool loadWindow(int row) const;
    struct Impl;
    Kind kind_;
    QString name_;
    std::unique_ptr<Impl> d;
};

} // namespace dv
