#include "views/DatabaseViewer.h"

#include "db/L3Data.h"
#include "views/DatasetGridModel.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kUnitCaption = QStringLiteral("Unit Description");
const QString kUnitSeparator = QStringLiteral(" : ");
const QString kEventListHead = QStringLiteral("select * from EventTable where  DownLoad =  ");
const QString kEventListOrder = QStringLiteral(" ORDER BY EventTable.DateTime");
// The CraneID is bound, never spliced: a serial number may hold any character.
const QString kUnitLookup =
    QStringLiteral("SELECT * FROM EquipmentTable WHERE EquipmentTable.SerialNumber = :CraneID");

QVector<GridColumn> downloadColumns()
{
    return {
        {QString(), QString(), 20, false},
        {QStringLiteral("DownLoad"), QStringLiteral("DownLoad"), 70, false},
        {QStringLiteral("CraneID"), QStringLiteral("Plant ID"), 250, false},
        {QStringLiteral("DateTime"), QStringLiteral("DownloadDateTime"), 200, false},
    };
}

QVector<GridColumn> eventColumns()
{
    return {
        {QString(), QString(), 20, false},
        {QStringLiteral("DateTime"), QStringLiteral("DateTime"), 147, false},
        {QStringLiteral("ErrorStr"), QStringLiteral("ErrorStr"), 170, false},
        {QStringLiteral("SetLimit"), QStringLiteral("SetLimit"), 100, true},
        {QStringLiteral("PeakSpeed"), QStringLiteral("PeakSpeed"), 120, true},
    };
}

QString direction(Qt::SortOrder order)
{
    return order == Qt::AscendingOrder ? QStringLiteral("ASC") : QStringLiteral("DESC");
}

// Keeps the grid from repainting until the rebuild is over, whatever ends it.
class UpdateBracket {
public:
    explicit UpdateBracket(QWidget *w) : w_(w) { w_->setUpdatesEnabled(false); }
    ~UpdateBracket() { w_->setUpdatesEnabled(true); }
    UpdateBracket(const UpdateBracket &) = delete;
    UpdateBracket &operator=(const UpdateBracket &) = delete;

private:
    QWidget *w_;
};

} // namespace

struct DatabaseViewer::Impl {
    explicit Impl(TdmDataBase &database) : db(database) {}
    TdmDataBase &db;
    DatasetGridModel *model = nullptr;
    QButtonGroup *viewGroup = nullptr;
    QString description;
    QMetaObject::Connection cursorLink;
    // The header pieces live in the main window's header once it places them.
    QPointer<QWidget> label, radioGroup;
    // The sort a header click gave to a dataset, with the text that made it.
    struct Sort {
        QString field;
        Qt::SortOrder order = Qt::AscendingOrder;
        QString text; // order clause of a table, or the whole text of a query
    };
    QHash<const dv::Dataset *, Sort> sorts;
    bool syncing = false;      // the grid is being moved to the cursor
    bool settingSort = false;  // the sort indicator is being set by code

    // Puts the grid's current row where the dataset's cursor is.
    void followCursor(QTableView *grid)
    {
        QScopedValueRollback guard(syncing, true);
        dv::Dataset *ds = model->dataset();
        if (!ds || model->rowCount() == 0 || ds->recNo() < 0)
            return;
        const int col = qMax(1, grid->currentIndex().column());
        const QModelIndex idx = model->index(ds->recNo(), col);
        grid->selectionModel()->setCurrentIndex(
            idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        grid->scrollTo(idx);
    }

    static QString eventListSql(const QVariant &downLoad, const QString &order = QString())
    {
        const QString tail = order.isEmpty() ? kEventListOrder
                                             : QStringLiteral(" ORDER BY EventTable.") + order;
        return kEventListHead + QString::number(downLoad.toLongLong()) + tail;
    }
};

DatabaseViewer::DatabaseViewer(TdmDataBase &db, QWidget *parent)
    : QWidget(parent), d(new Impl(db))
{
    DownloadLBL = new QLabel(kUnitCaption + kUnitSeparator);
    DownloadLBL->setObjectName(QStringLiteral("DownloadLBL"));

    DBGridDataSetRG = new QGroupBox(QStringLiteral("Data View"));
    DBGridDataSetRG->setObjectName(QStringLiteral("DBGridDataSetRG"));
    d->viewGroup = new QButtonGroup(DBGridDataSetRG);
    auto *rgLayout = new QVBoxLayout(DBGridDataSetRG);
    const QStringList views{QStringLiteral("DownLoads"), QStringLiteral("Event Data")};
    for (int i = 0; i < views.size(); ++i) {
        auto *b = new QRadioButton(views.at(i), DBGridDataSetRG);
        d->viewGroup->addButton(b, i);
        rgLayout->addWidget(b);
    }
    d->viewGroup->button(0)->setChecked(true);
    d->label = DownloadLBL;
    d->radioGroup = DBGridDataSetRG;
    connect(d->viewGroup, &QButtonGroup::idClicked, this, [this] { DBGridDataSetRGClick(); });

    auto *top = new QWidget(this);
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);

    MainDBNav = new QWidget(top);
    MainDBNav->setObjectName(QStringLiteral("MainDBNav"));
    auto *navLayout = new QHBoxLayout(MainDBNav);
    navLayout->setContentsMargins(0, 0, 0, 0);
    navLayout->setSpacing(0);
    struct NavSpec { NavButton button; const char *name; const char *tip; QStyle::StandardPixmap icon; };
    const NavSpec navs[] = {
        {nbFirst, "First", "First record", QStyle::SP_MediaSkipBackward},
        {nbPrior, "Prior", "Prior record", QStyle::SP_MediaSeekBackward},
        {nbNext, "Next", "Next record", QStyle::SP_MediaSeekForward},
        {nbLast, "Last", "Last record", QStyle::SP_MediaSkipForward},
    };
    for (const NavSpec &n : navs) {
        auto *b = new QToolButton(MainDBNav);
        b->setObjectName(QString::fromLatin1(n.name));
        b->setText(QString::fromLatin1(n.name));
        b->setToolTip(QString::fromLatin1(n.tip));
        b->setIcon(style()->standardIcon(n.icon));
        const NavButton which = n.button;
        connect(b, &QToolButton::clicked, this, [this, which] { navigate(which); });
        navLayout->addWidget(b);
    }
    topLayout->addWidget(MainDBNav);

    auto *info = new QWidget(top);
    auto *infoLayout = new QHBoxLayout(info);
    infoLayout->setContentsMargins(0, 0, 0, 0);
    infoLayout->addWidget(new QLabel(QStringLiteral("Number of logged data entries :"), info));
    NumEvents = new QLabel(QStringLiteral("0"), info);
    NumEvents->setObjectName(QStringLiteral("NumEvents"));
    QFont bold = NumEvents->font();
    bold.setBold(true);
    NumEvents->setFont(bold);
    infoLayout->addWidget(NumEvents);
    topLayout->addWidget(info);
    topLayout->addStretch(1);

    d->model = new DatasetGridModel(this);
    EventDBGrid = new QTableView(this);
    EventDBGrid->setObjectName(QStringLiteral("EventDBGrid"));
    EventDBGrid->setModel(d->model);
    EventDBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    EventDBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    EventDBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    EventDBGrid->verticalHeader()->hide();
    EventDBGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    EventDBGrid->verticalHeader()->setDefaultSectionSize(EventDBGrid->fontMetrics().height() + 6);
    QHeaderView *header = EventDBGrid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setStretchLastSection(false);
    // The indicator column is narrower than the style's default minimum.
    header->setMinimumSectionSize(16);
    connect(header, &QHeaderView::sortIndicatorChanged, this,
            [this](int section, Qt::SortOrder order) {
                if (!d->settingSort)
                    sortGrid(section, order);
            });
    connect(EventDBGrid, &QTableView::clicked, this,
            [this](const QModelIndex &idx) { EventDBGridClickCell(idx.row() + 1, idx.column()); });
    connect(EventDBGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                // The keyboard moves the cursor as a click does.
                dv::Dataset *ds = d->model->dataset();
                if (d->syncing || !current.isValid() || !ds || !ds->active()
                    || ds->recNo() == current.row())
                    return;
                ds->moveTo(current.row());
                if (dataViewIndex() == 0)
                    DownloadPlantIDQuery();
            });
    connect(&d->db, &TdmDataBase::EventDSUpdateData, EventDBGrid->viewport(),
            [this] { EventDBGrid->viewport()->update(); });

    DBCtrls1Panel = new QWidget(this);
    DBCtrls1Panel->setObjectName(QStringLiteral("DBCtrls1Panel"));

    auto *l = new QVBoxLayout(this);
    l->addWidget(top);
    l->addWidget(DBCtrls1Panel);
    l->addWidget(EventDBGrid, 1);
}

DatabaseViewer::~DatabaseViewer()
{
    // The grid's signals reach into d: let it go first.
    disconnect(d->cursorLink);
    delete EventDBGrid;
    delete d->label;
    delete d->radioGroup;
    delete d;
}

int DatabaseViewer::dataViewIndex() const { return d->viewGroup->checkedId(); }

void DatabaseViewer::setDataViewIndex(int index)
{
    if (QAbstractButton *b = d->viewGroup->button(index))
        b->setChecked(true);
}

QString DatabaseViewer::unitDescription() const { return d->description; }

void DatabaseViewer::DownloadPlantIDQuery()
{
    QString description;
    dv::Dataset &downloads = d->db.L3DownLoadTbl;
    if (downloads.active() && !downloads.isEmpty()) {
        dv::Dataset &q = d->db.L3UnitQuery;
        q.close();
        q.setSql(kUnitLookup);
        q.setParam(QStringLiteral("CraneID"), downloads.field(QStringLiteral("CraneID")));
        q.open();
        if (!q.isEmpty()) {
            q.first();
            description = q.field(QStringLiteral("Description")).toString();
        }
        q.close();
    }
    d->description = description;
    DownloadLBL->setText(kUnitCaption + kUnitSeparator + description);
}

bool DatabaseViewer::ListDownLoads()
{
    dv::Dataset &downloads = d->db.L3DownLoadTbl;
    if (!downloads.active() || downloads.isEmpty())
        return false;
    DownloadPlantIDQuery();
    dv::Dataset &q = d->db.L3DownLoadEventQuery;
    q.close();
    q.clearSql();
    q.setSql(Impl::eventListSql(downloads.field(QStringLiteral("DownLoad"))));
    q.open();
    return true;
}

void DatabaseViewer::DBGridDataSetRGClick()
{
    DownloadPlantIDQuery();
    NumEvents->setText(QString::number(d->db.connected() ? d->db.EventCount() : 0));

    dv::Dataset *source = nullptr;
    QVector<GridColumn> columns;
    UpdateBracket bracket(EventDBGrid);
    if (dataViewIndex() == 1) {
        MainDBNav->hide();
        source = ListDownLoads() ? &d->db.L3DownLoadEventQuery : &d->db.L3EventTbl;
        columns = eventColumns();
    } else {
        source = &d->db.L3DownLoadTbl;
        DownloadPlantIDQuery();
        MainDBNav->show();
        columns = downloadColumns();
    }

    {
        QScopedValueRollback guard(d->syncing, true);
        d->model->setSource(source, columns);
    }
    for (int i = 0; i < columns.size(); ++i)
        EventDBGrid->setColumnWidth(i, columns.at(i).width);

    disconnect(d->cursorLink);
    d->cursorLink = connect(source, &dv::Dataset::currentChanged, this,
                            [this] { d->followCursor(EventDBGrid); });

    // The database keeps a sort a header click gave; show it again.
    int sortSection = -1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    const auto it = d->sorts.constFind(source);
    if (it != d->sorts.constEnd()) {
        const QString now = source->kind() == dv::Dataset::Kind::Table ? source->orderBy()
                                                                       : source->sql();
        if (now == it->text) {
            for (int i = 1; i < columns.size(); ++i)
                if (columns.at(i).field == it->field)
                    sortSection = i;
            sortOrder = it->order;
        }
    }
    {
        QScopedValueRollback guard(d->settingSort, true);
        EventDBGrid->horizontalHeader()->setSortIndicator(sortSection, sortOrder);
    }
    d->followCursor(EventDBGrid);
}

void DatabaseViewer::MainDBNavClick(int)
{
    if (d->model->dataset() != &d->db.L3DownLoadTbl)
        return;
    ListDownLoads();
    DBGridDataSetRGClick();
    DownloadPlantIDQuery();
}

void DatabaseViewer::navigate(NavButton button)
{
    dv::Dataset *ds = d->model->dataset();
    if (ds && ds->active()) {
        switch (button) {
        case nbFirst: ds->first(); break;
        case nbPrior: ds->prior(); break;
        case nbNext: ds->next(); break;
        case nbLast: ds->last(); break;
        }
    }
    MainDBNavClick(button);
}

void DatabaseViewer::EventDBGridClickCell(int ARow, int)
{
    if (dataViewIndex() != 0 || ARow < 1)
        return;
    dv::Dataset *ds = d->model->dataset();
    const int row = ARow - 1;
    if (!ds || !ds->active() || row >= d->model->rowCount() || d->model->columnCount() < 2)
        return;
    const QString shown = d->model->data(d->model->index(row, 1)).toString();
    bool isNumber = false;
    const qlonglong number = shown.toLongLong(&isNumber);
    ds->locate(d->model->columns().at(1).field, isNumber ? QVariant(number) : QVariant(shown));
    DownloadPlantIDQuery();
}

void DatabaseViewer::sortGrid(int column, Qt::SortOrder order)
{
    dv::Dataset *ds = d->model->dataset();
    const QVector<GridColumn> columns = d->model->columns();
    if (!ds || !ds->active() || column <= 0 || column >= columns.size()) {
        // Nothing to sort by: put the indicator back where the data is.
        const auto it = ds ? d->sorts.constFind(ds) : d->sorts.constEnd();
        int section = -1;
        if (it != d->sorts.constEnd())
            for (int i = 1; i < columns.size(); ++i)
                if (columns.at(i).field == it->field)
                    section = i;
        QScopedValueRollback guard(d->settingSort, true);
        EventDBGrid->horizontalHeader()->setSortIndicator(
            section, it != d->sorts.constEnd() ? it->order : Qt::AscendingOrder);
        return;
    }

    const QString field = columns.at(column).field;
    Impl::Sort sort{field, order, QString()};
    UpdateBracket bracket(EventDBGrid);
    if (ds->kind() == dv::Dataset::Kind::Table) {
        const bool downloads = ds == &d->db.L3DownLoadTbl;
        const QVariant current = (downloads && !ds->isEmpty())
                                     ? ds->field(QStringLiteral("DownLoad"))
                                     : QVariant();
        sort.text = field + QLatin1Char(' ') + direction(order);
        // Equal plant IDs or dates keep one fixed order, so rows do not swap between reads.
        if (downloads && field != QLatin1String("DownLoad"))
            sort.text += QStringLiteral(", DownLoad ASC");
        {
            QScopedValueRollback guard(d->syncing, true);
            ds->setOrderBy(sort.text);
        }
        if (current.isValid())
            ds->locate(QStringLiteral("DownLoad"), current);
    } else {
        // The event list of one download: same list, other order.
        const QString text = ds->sql();
        const qsizetype at = text.indexOf(kEventListHead);
        if (at != 0)
            return;
        const QString number =
            text.mid(kEventListHead.size()).section(QLatin1Char(' '), 0, 0);
        sort.text = Impl::eventListSql(number, field + QLatin1Char(' ') + direction(order));
        QScopedValueRollback guard(d->syncing, true);
        ds->close();
        ds->setSql(sort.text);
        ds->open();
    }
    d->sorts.insert(ds, sort);
    {
        QScopedValueRollback guard(d->settingSort, true);
        EventDBGrid->horizontalHeader()->setSortIndicator(column, order);
    }
    d->model->reload();
    d->followCursor(EventDBGrid);
}

void DatabaseViewer::UpdateDBGrid()
{
    dv::Dataset *ds = d->model->dataset();
    if (!ds)
        return;
    if (ds->active())
        ds->refresh();
    d->model->reload();
    d->followCursor(EventDBGrid);
}

void DatabaseViewer::setNumEvents(const QString &text) { NumEvents->setText(text); }
