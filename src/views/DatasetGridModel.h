#pragma once

#include "db/Dataset.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

// One column of the viewer grid. An empty field marks the indicator column,
// which is bound to no field and shows a marker on the current row.
struct GridColumn {
    QString field;
    QString header;
    int width = 64;
    bool isFloat = false; // shown with the grid's float format "%2.2ft"
};

// A read-only table model over one dataset of the data module. Rows are read
// through Dataset::valueAt as the view asks for them, so only the rows in
// sight are ever fetched; the row count is taken once per reload.
class DatasetGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetGridModel(QObject *parent = nullptr);

    // Binds the model to a dataset (or to nothing) with a new column set.
    void setSource(dv::Dataset *dataset, const QVector<GridColumn> &columns);
    dv::Dataset *dataset() const { return dataset_; }
    const QVector<GridColumn> &columns() const { return columns_; }
    // Re-reads the row count and every row in sight.
    void reload();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Display text of one stored value for a column.
    static QString displayText(const QVariant &value, bool isFloat);

private:
    void onCurrentChanged();
    int countRows() const;

    QPointer<dv::Dataset> dataset_;
    QVector<GridColumn> columns_;
    QVector<QMetaObject::Connection> links_;
    int rows_ = 0;
    int markedRow_ = -1;
};
