#pragma once

#include <QWidget>

class QLabel;
class QGroupBox;
class QRadioButton;
class QTableView;
class QPushButton;
class TdmDataBase;

// The Database Viewer page: navigator, event count, and the grid over the
// downloads or over the events of the current download. The unit description
// label and the Data View radio group sit in the main window's header; the
// viewer creates them and the main window places them.
class DatabaseViewer : public QWidget {
    Q_OBJECT
public:
    enum NavButton { nbFirst, nbPrior, nbNext, nbLast };

    explicit DatabaseViewer(TdmDataBase &db, QWidget *parent = nullptr);
    ~DatabaseViewer() override;

    // Header pieces (placed by the main window in " Data Logger ").
    QLabel *DownloadLBL = nullptr;     // "Unit Description" data label
    QGroupBox *DBGridDataSetRG = nullptr; // "Data View": "DownLoads" / "Event Data"
    // Page pieces.
    QWidget *MainDBNav = nullptr;      // First, Prior, Next, Last
    QLabel *NumEvents = nullptr;
    QTableView *EventDBGrid = nullptr;
    QWidget *DBCtrls1Panel = nullptr;  // empty panel, hidden at start-up

    int dataViewIndex() const;
    void setDataViewIndex(int index);
    // Text of the unit description data label (without its caption).
    QString unitDescription() const;

    // What a navigator button does: moves the grid's dataset, then MainDBNavClick.
    void navigate(NavButton button);
    // Sorts the grid by one of its columns in the database (a header click);
    // the indicator column does not sort. The current download stays current.
    void sortGrid(int column, Qt::SortOrder order);

public Q_SLOTS:
    void DBGridDataSetRGClick();
    bool ListDownLoads();
    void DownloadPlantIDQuery();
    void MainDBNavClick(int button);
    // ARow counts the header row as 0, so data rows start at 1; ACol 0 is the
    // indicator column.
    void EventDBGridClickCell(int ARow, int ACol);
    void UpdateDBGrid();
    void setNumEvents(const QString &text);

private:
    struct Impl;
    Impl *d;
};
