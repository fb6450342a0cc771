#include "views/DatabaseViewer.h"

#include "views/ViewerTestWorld.h"

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

const QStringList kDownloadHeaders{QString(), QStringLiteral("DownLoad"), QStringLiteral("Plant ID"),
                                   QStringLiteral("DownloadDateTime")};
const QList<int> kDownloadWidths{20, 70, 250, 200};
const QStringList kEventHeaders{QString(), QStringLiteral("DateTime"), QStringLiteral("ErrorStr"),
                                QStringLiteral("SetLimit"), QStringLiteral("PeakSpeed")};
const QList<int> kEventWidths{20, 147, 170, 100, 120};

class ViewerTest : public ::testing::Test {
protected:
    dvtest::World w;
    std::unique_ptr<DatabaseViewer> viewer;

    void open(const QStringList &rows)
    {
        w.openDatabase(w.databaseAt(QStringLiteral("viewer.mdb"), rows));
        viewer = std::make_unique<DatabaseViewer>(w.db);
        viewer->resize(800, 400);
        viewer->show();
    }
    // What the main window does when it shows: last download, then refresh.
    void showLikeMainWindow()
    {
        w.db.L3DownLoadTbl.last();
        viewer->DBGridDataSetRGClick();
    }
    QAbstractItemModel *model() const { return viewer->EventDBGrid->model(); }
    QString cell(int row, int column) const { return model()->index(row, column).data().toString(); }
    QStringList columnTexts(int column) const
    {
        QStringList out;
        for (int r = 0; r < model()->rowCount(); ++r)
            out << cell(r, column);
        return out;
    }
    void expectColumns(const QStringList &headers, const QList<int> &widths) const
    {
        ASSERT_EQ(model()->columnCount(), headers.size());
        for (int c = 0; c < headers.size(); ++c) {
            EXPECT_EQ(model()->headerData(c, Qt::Horizontal).toString(), headers[c]) << "column " << c;
            EXPECT_EQ(viewer->EventDBGrid->columnWidth(c), widths[c]) << "column " << c;
        }
    }
    qlonglong currentDownload() const
    {
        return w.db.L3DownLoadTbl.field(QStringLiteral("DownLoad")).toLongLong();
    }
    int gridRow() const { return viewer->EventDBGrid->currentIndex().row(); }
    void clickCell(int row, int column)
    {
        QTableView *g = viewer->EventDBGrid;
        const QRect r = g->visualRect(model()->index(row, column));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
};

TEST_F(ViewerTest, EmptyDatabaseShowsBothViewsWithTheirColumnsAndNoRows)
{
    open({});
    showLikeMainWindow();
    expectColumns(kDownloadHeaders, kDownloadWidths);
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_EQ(viewer->unitDescription(), QString());
    EXPECT_EQ(viewer->DownloadLBL->text(), QStringLiteral("Unit Description : "));
    EXPECT_EQ(viewer->NumEvents->text(), QStringLiteral("0"));
    EXPECT_FALSE(viewer->MainDBNav->isHidden());

    viewer->setDataViewIndex(1);
    viewer->DBGridDataSetRGClick();
    expectColumns(kEventHeaders, kEventWidths);
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_TRUE(viewer->MainDBNav->isHidden());
    EXPECT_FALSE(viewer->ListDownLoads());
}

TEST_F(ViewerTest, DownloadsViewListsEveryDownloadAndCountsAllEvents)
{
    open(dvtest::threeDownloads());
    showLikeMainWindow();
    expectColumns(kDownloadHeaders, kDownloadWidths);
    EXPECT_EQ(columnTexts(1), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(columnTexts(2), (QStringList{"A100", "B200", "Q\"7"}));
    EXPECT_EQ(cell(0, 3), QStringLiteral("01/03/2024 08:00:00"));
    // All five events, not the two of the current download.
    EXPECT_EQ(viewer->NumEvents->text(), QStringLiteral("5"));
    // The current row is the last download, marked in the indicator column.
    EXPECT_EQ(gridRow(), 2);
    EXPECT_EQ(columnTexts(0), (QStringList{"", "", QStringLiteral("\u25B6")}));
    EXPECT_EQ(viewer->unitDescription(), QStringLiteral("Quoted unit"));
    EXPECT_EQ(viewer->DownloadLBL->text(), QStringLiteral("Unit Description : Quoted unit"));
}

TEST_F(ViewerTest, EventDataViewListsTheEventsOfTheCurrentDownloadInTimeOrder)
{
    open(dvtest::threeDownloads());
    w.db.L3DownLoadTbl.first();
    viewer->setDataViewIndex(1);
    viewer->DBGridDataSetRGClick();
    expectColumns(kEventHeaders, kEventWidths);
    EXPECT_EQ(w.db.L3DownLoadEventQuery.sql(),
              QStringLiteral("select * from EventTable where  DownLoad =  1 ORDER BY EventTable.DateTime"));
    EXPECT_EQ(columnTexts(2), (QStringList{"Load 1", "Load 2", "Load 3"}));
    EXPECT_EQ(columnTexts(3), (QStringList{"10.00t", "10.00t", "10.00t"}));
    EXPECT_EQ(columnTexts(4), (QStringList{"12.25t", "3.00t", "7.50t"}));
    EXPECT_EQ(cell(0, 1), QStringLiteral("01/03/2024 07:01:00"));
    EXPECT_EQ(viewer->NumEvents->text(), QStringLiteral("5"));

    // A download without events: an empty list, same five columns.
    w.db.L3DownLoadTbl.next();
    viewer->DBGridDataSetRGClick();
    expectColumns(kEventHeaders, kEventWidths);
    EXPECT_EQ(model()->rowCount(), 0);
}

TEST_F(ViewerTest, EventDataViewWithoutDownloadsListsEveryEvent)
{
    open({QStringLiteral("INSERT INTO EventTable (DownLoad, DateTime, ErrorStr, PeakSpeed) VALUES "
                         "(7, '2024-01-01T00:00:00.000', 'x', 1), (8, '2024-01-02T00:00:00.000', 'y', 2)")});
    viewer->setDataViewIndex(1);
    viewer->DBGridDataSetRGClick();
    EXPECT_EQ(model()->rowCount(), 2);
    EXPECT_EQ(viewer->NumEvents->text(), QStringLiteral("2"));
    EXPECT_EQ(cell(0, 3), QString()); // SetLimit never written: empty, not "0.00t"
}

TEST_F(ViewerTest, TheDataViewRadioGroupSwitchesViews)
{
    open(dvtest::threeDownloads());
    showLikeMainWindow();
    auto buttons = viewer->DBGridDataSetRG->findChildren<QRadioButton *>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("DownLoads"));
    EXPECT_EQ(buttons[1]->text(), QStringLiteral("Event Data"));
    buttons[1]->click();
    EXPECT_EQ(viewer->dataViewIndex(), 1);
    EXPECT_EQ(columnTexts(2), (QStringList{"Q load 1", "Q load 2"}));
    buttons[0]->click();
    EXPECT_EQ(model()->columnCount(), 4);
    EXPECT_EQ(currentDownload(), 3);
}

TEST_F(ViewerTest, StepsWithTheNavigatorUpdateTheUnitDescriptionAndTheGridRow)
{
    open(dvtest::threeDownloads());
    showLikeMainWindow();
    auto button = [this](const char *name) {
        auto *b = viewer->MainDBNav->findChild<QToolButton *>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    };
    ASSERT_EQ(viewer->MainDBNav->findChildren<QToolButton *>().size(), 4);

    struct Step { const char *button; qlonglong download; const char *description; };
    const Step steps[] = {
        {"First", 1, "Excavator north pit"},
        {"Next", 2, ""}, // B200 is in no register row
        {"Next", 3, "Quoted unit"},
        {"Next", 3, "Quoted unit"}, // already at the end
        {"Prior", 2, ""},
        {"Last", 3, "Quoted unit"},
    };
    for (const Step &s : steps) {
        button(s.button)->click();
        EXPECT_EQ(currentDownload(), s.download) << s.button;
        EXPECT_EQ(viewer->unitDescription(), QString::fromUtf8(s.description)) << s.button;
        EXPECT_EQ(viewer->DownloadLBL->text(),
                  QStringLiteral("Unit Description : ") + QString::fromUtf8(s.description));
        EXPECT_EQ(gridRow(), s.download - 1) << s.button;
        // The event list follows the navigator, ready for the Event Data view.
        EXPECT_TRUE(w.db.L3DownLoadEventQuery.sql().contains(
            QStringLiteral("DownLoad =  %1 ").arg(s.download)));
    }
    EXPECT_TRUE(w.prompter.shown().isEmpty());
}

TEST_F(ViewerTest, ACellClickMovesToThatDownloadAndAHeaderRowClickMovesNothing)
{
    open(dvtest::threeDownloads());
    showLikeMainWindow();
    viewer->EventDBGridClickCell(1, 2); // first data row
    EXPECT_EQ(currentDownload(), 1);
    EXPECT_EQ(viewer->unitDescription(), QStringLiteral("Excavator north pit"));
    viewer->EventDBGridClickCell(0, 1); // the header row
    EXPECT_EQ(currentDownload(), 1);

    // A real click on the grid, through the view.
    clickCell(1, 3);
    EXPECT_EQ(currentDownload(), 2);
    EXPECT_EQ(viewer->unitDescription(), QString());
    clickCell(2, 1);
    EXPECT_EQ(currentDownload(), 3);
    EXPECT_EQ(viewer->unitDescription(), QStringLiteral("Quoted unit"));

    // The keyboard moves the cursor too.
    viewer->EventDBGrid->setFocus();
    QTest::keyClick(viewer->EventDBGrid, Qt::Key_Up);
    EXPECT_EQ(currentDownload(), 2);
    QTest::keyClick(viewer->EventDBGrid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(currentDownload(), 1);
    EXPECT_EQ(viewer->unitDescription(), QStringLiteral("Excavator north pit"));
}

TEST_F(ViewerTest, UnitLookupMatchesTheSerialNumberExactly)
{
    open({QStringLiteral("INSERT INTO EquipmentTable VALUES ('K1', 'Kay one')"),
          QStringLiteral("INSERT INTO DownloadReqTable (DownLoad, CraneID) VALUES (1, 'K1 '), (2, 'k1'), (3, NULL), "
                         "(4, '\" OR \"\"=\"'), (5, 'K1')")});
    viewer->DBGridDataSetRGClick();
    const char *expected[] = {"", "", "", "", "Kay one"};
    for (int row = 1; row <= 5; ++row) {
        viewer->EventDBGridClickCell(row, 1);
        EXPECT_EQ(currentDownload(), row);
        EXPECT_EQ(viewer->unitDescription(), QString::fromLatin1(expected[row - 1])) << "download " << row;
    }
    EXPECT_TRUE(w.prompter.shown().isEmpty());
}

TEST_F(ViewerTest, HeaderClickSortsInTheDatabaseAndKeepsTheCurrentDownload)
{
    open(dvtest::threeDownloads());
    showLikeMainWindow();
    viewer->EventDBGridClickCell(2, 1); // download 2
    QHeaderView *header = viewer->EventDBGrid->horizontalHeader();

    const QPoint plantId(header->sectionViewportPosition(2) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, plantId);
    EXPECT_EQ(columnTexts(2), (QStringList{"A100", "B200", "Q\"7"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, plantId);
    EXPECT_EQ(columnTexts(2), (QStringList{"Q\"7", "B200", "A100"}));
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_TRUE(w.db.L3DownLoadTbl.orderBy().startsWith(QStringLiteral("CraneID DESC")));
    EXPECT_EQ(currentDownload(), 2);
    EXPECT_EQ(gridRow(), 1);

    // The sort outlives a refresh; stepping follows the sorted order.
    viewer->navigate(DatabaseViewer::nbFirst);
    EXPECT_EQ(currentDownload(), 3);
    EXPECT_EQ(columnTexts(2), (QStringList{"Q\"7", "B200", "A100"}));
    EXPECT_EQ(header->sortIndicatorSection(), 2);

    // The indicator column does not sort.
    viewer->sortGrid(0, Qt::AscendingOrder);
    EXPECT_EQ(columnTexts(2), (QStringList{"Q\"7", "B200", "A100"}));
    EXPECT_EQ(header->sortIndicatorSection(), 2);
}

TEST_F(ViewerTest, EventListSortsByAnyColumnOfTheSameDownload)
{
    open(dvtest::threeDownloads());
    w.db.L3DownLoadTbl.first();
    viewer->setDataViewIndex(1);
    viewer->DBGridDataSetRGClick();
    viewer->sortGrid(4, Qt::DescendingOrder);
    EXPECT_EQ(columnTexts(2), (QStringList{"Load 1", "Load 3", "Load 2"}));
    viewer->sortGrid(4, Qt::AscendingOrder);
    EXPECT_EQ(columnTexts(2), (QStringList{"Load 2", "Load 3", "Load 1"}));
    EXPECT_EQ(currentDownload(), 1);
}

TEST_F(ViewerTest, UpdateDBGridShowsRowsWrittenSinceTheTableOpened)
{
    open(dvtest::threeDownloads());
    showLikeMainWindow();
    QSqlQuery q(w.db.L3ADOConnection.db());
    ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO DownloadReqTable (DownLoad, CraneID) VALUES (4, 'A100')")));
    viewer->UpdateDBGrid();
    EXPECT_EQ(columnTexts(1), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(gridRow(), w.db.L3DownLoadTbl.recNo());
}

TEST(ViewerClosedDatabase, RefreshWithNoDatabaseOpenShowsNothingAndDoesNotFail)
{
    dvtest::World w; // the settings name no file: the data module stays closed
    w.db.DataModuleCreate();
    ASSERT_FALSE(w.db.connected());
    DatabaseViewer viewer(w.db);
    for (int view : {0, 1}) {
        viewer.setDataViewIndex(view);
        EXPECT_NO_THROW(viewer.DBGridDataSetRGClick());
        EXPECT_EQ(viewer.EventDBGrid->model()->rowCount(), 0);
        EXPECT_EQ(viewer.NumEvents->text(), QStringLiteral("0"));
        EXPECT_EQ(viewer.unitDescription(), QString());
    }
    EXPECT_NO_THROW(viewer.navigate(DatabaseViewer::nbNext));
    EXPECT_NO_THROW(viewer.UpdateDBGrid());
}

TEST_F(ViewerTest, SetNumEventsShowsTheGivenCount)
{
    open({});
    viewer->setNumEvents(QStringLiteral("42"));
    EXPECT_EQ(viewer->NumEvents->text(), QStringLiteral("42"));
    EXPECT_TRUE(viewer->NumEvents->font().bold());
}

} // namespace
