// Shell: the viewer's behaviour is filled in by its own change.
#include "views/DatabaseViewer.h"

#include <QGroupBox>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

struct DatabaseViewer::Impl {
    TdmDataBase &db;
};

DatabaseViewer::DatabaseViewer(TdmDataBase &db, QWidget *parent) : QWidget(parent), d(new Impl{db})
{
    DownloadLBL = new QLabel(QStringLiteral("Unit Description"));
    DBGridDataSetRG = new QGroupBox(QStringLiteral("Data View"));
    MainDBNav = new QWidget(this);
    NumEvents = new QLabel(QStringLiteral("0"), this);
    EventDBGrid = new QTableView(this);
    DBCtrls1Panel = new QWidget(this);
    auto *l = new QVBoxLayout(this);
    l->addWidget(MainDBNav);
    l->addWidget(NumEvents);
    l->addWidget(EventDBGrid);
    l->addWidget(DBCtrls1Panel);
}
DatabaseViewer::~DatabaseViewer() { delete d; }
int DatabaseViewer::dataViewIndex() const { return 0; }
void DatabaseViewer::setDataViewIndex(int) {}
QString DatabaseViewer::unitDescription() const { return {}; }
void DatabaseViewer::DBGridDataSetRGClick() {}
bool DatabaseViewer::ListDownLoads() { return false; }
void DatabaseViewer::DownloadPlantIDQuery() {}
void DatabaseViewer::MainDBNavClick(int) {}
void DatabaseViewer::EventDBGridClickCell(int, int) {}
void DatabaseViewer::UpdateDBGrid() {}
void DatabaseViewer::setNumEvents(const QString &text) { NumEvents->setText(text); }
