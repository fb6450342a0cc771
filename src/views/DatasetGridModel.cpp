#include "views/DatasetGridModel.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "db/Dataset.h"

#include <QDateTime>

namespace {
// The grid's default look of a date-time value.
const QString kDateTimeDisplay = QStringLiteral("dd/mm/yyyy hh:nn:ss");
const QString kFloatFormat = QStringLiteral("%2.2ft");
// Marker of the current row in the indicator column.
const QString kCurrentMarker = QStringLiteral("\u25B6");
} // namespace

DatasetGridModel::DatasetGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void DatasetGridModel::setSource(dv::Dataset *dataset, const QVector<GridColumn> &columns)
{
    beginResetModel();
    for (const auto &c : links_)
        disconnect(c);
    links_.clear();
    dataset_ = dataset;
    columns_ = columns;
    if (dataset_) {
        links_.append(connect(dataset_, &dv::Dataset::rowsChanged, this, &DatasetGridModel::reload));
        links_.append(connect(dataset_, &dv::Dataset::currentChanged, this,
                              &DatasetGridModel::onCurrentChanged));
    }
    rows_ = countRows();
    markedRow_ = (dataset_ && rows_ > 0) ? dataset_->recNo() : -1;
    endResetModel();
}

void DatasetGridModel::reload()
{
    beginResetModel();
    rows_ = countRows();
    markedRow_ = (dataset_ && rows_ > 0) ? dataset_->recNo() : -1;
    endResetModel();
}

int DatasetGridModel::countRows() const
{
    if (!dataset_ || !dataset_->active())
        return 0;
    return dataset_->recordCount();
}

void DatasetGridModel::onCurrentChanged()
{
    const int old = markedRow_;
    markedRow_ = (dataset_ && rows_ > 0) ? dataset_->recNo() : -1;
    if (old == markedRow_)
        return;
    if (old >= 0 && old < rows_)
        Q_EMIT dataChanged(index(old, 0), index(old, 0));
    if (markedRow_ >= 0 && markedRow_ < rows_)
        Q_EMIT dataChanged(index(markedRow_, 0), index(markedRow_, 0));
}

int DatasetGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DatasetGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QString DatasetGridModel::displayText(const QVariant &value, bool isFloat)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (isFloat) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (ok)
            return dv::Format(kFloatFormat, {v});
        return value.toString();
    }
    if (value.metaType().id() == QMetaType::QDateTime)
        return dv::FormatDateTime(kDateTimeDisplay, value.toDateTime());
    return value.toString();
}

QVariant DatasetGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !dataset_ || index.row() >= rows_ || index.column() >= columns_.size())
        return {};
    const GridColumn &col = columns_.at(index.column());
    if (role == Qt::DisplayRole) {
        if (col.field.isEmpty())
            return index.row() == markedRow_ ? kCurrentMarker : QString();
        try {
            return displayText(dataset_->valueAt(index.row(), col.field), col.isFloat);
        } catch (const dv::Error &) {
            // Painting cannot report: a column the file lacks shows empty.
            return QString();
        }
    }
    if (role == Qt::TextAlignmentRole && col.isFloat)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant DatasetGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return columns_.at(section).header;
}

Qt::ItemFlags DatasetGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Never editable: the grid only browses.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
