#include "app/MainForm.h"

#include "app/MainFormTexts.h"
#include "app/ShutDown.h"
#include "db/DatabaseSearch.h"
#include "db/L3Data.h"
#include "import/LogFileListPage.h"
#include "platform/Documents.h"
#include "platform/HidDevice.h"
#include "platform/Prompter.h"
#include "settings/SettingsPage.h"
#include "views/DatabaseViewer.h"
#include "Version.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <type_traits>

namespace {
constexpr int kClientWidth = 681;

// Counts code-driven page changes, so currentChanged can tell them from the operator's.
class PageFromCode {
public:
    explicit PageFromCode(int &depth) : depth_(depth) { ++depth_; }
    ~PageFromCode() { --depth_; }
    PageFromCode(const PageFromCode &) = delete;
    PageFromCode &operator=(const PageFromCode &) = delete;

private:
    int &depth_;
};
} // namespace

TMainFrm::TMainFrm(tInfo &info, dv::Prompter &prompter, ErrorLog &log,
                   dv::VolumeMonitor &volumes, dv::HidDevice &hid, TdmDataBase &db,
                   QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      info_(info), prompter_(prompter), hook_(log), volumes_(volumes), hid_(hid), db_(db)
{
    setObjectName(QStringLiteral("MainFrm"));
    QFont base(QStringLiteral("MS Sans Serif"));
    base.setPixelSize(11);
    setFont(base);
    resize(kClientWidth, 600);

    Viewer = new DatabaseViewer(db_);
    Settings = new SettingsPage(info_, db_, prompter_);
    LogFiles = new LogFileListPage(info_, db_, prompter_, volumes_, Import);

    buildHeader();
    buildPages();
    buildStatusBar();
    buildMenu();
    wire();
}

TMainFrm::~TMainFrm()
{
    // FormDestroy: the log-file buffer goes with the window.
    Import.Ms1.clear();
}

template <typename Sender, typename Signal, typename Fn>
void TMainFrm::handle(Sender *sender, Signal signal, Fn fn)
{
    connect(sender, signal, this, [this, fn](auto &&...args) {
        hook_.run([&] {
            // A handler may ignore the signal's arguments (clicked's checked flag).
            if constexpr (std::is_invocable_v<Fn, decltype(args)...>)
                fn(args...);
            else
                fn();
        });
    });
}

void TMainFrm::wire()
{
    handle(PageCtrl, &QTabWidget::currentChanged, [this](int) {
        if (pageFromCode_ == 0)
            PageCtrlChange();
    });

    handle(ClearOldRecords, &QAction::triggered, [this] { ClearOldRecordsClick(); });
    handle(LoadDatabaseFile1, &QAction::triggered, [this] { LoadDatabaseFile1Click(); });
    handle(ShowDatabaseVersion1, &QAction::triggered, [this] { ShowVersion1Click(); });
    handle(PrintBtn, &QPushButton::clicked, [this] { PrintSelectClick(); });
    handle(GetCraneIDBtn, &QPushButton::clicked, [this] { GetCraneIDBtnClick(); });
    handle(DisconnectBtn, &QPushButton::clicked, [this] { DisconnectUSB(); });

    connect(Settings, &SettingsPage::numEventsChanged, Viewer, &DatabaseViewer::setNumEvents);
    connect(LogFiles, &LogFileListPage::numEventsChanged, Viewer, &DatabaseViewer::setNumEvents);
    handle(LogFiles, &LogFileListPage::logFileTabVisible,
           [this](bool visible) { setTabShown(LogFileListSHT, visible); });
    handle(LogFiles, &LogFileListPage::showLogFilePage, [this] { setActivePage(LogFileListSHT); });
    handle(LogFiles, &LogFileListPage::showViewerPage, [this] { setActivePage(DBViewerSHT); });
    handle(LogFiles, &LogFileListPage::showLogFileGroup,
           [this](bool logFile) { showLogFileGroup(logFile); });
    handle(LogFiles, &LogFileListPage::reloadRequested, [this] { Settings->Reload(); });

    // The viewer grid's popup: "Load File from Directory".
    QTableView *grid = Viewer->EventDBGrid;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint &pos) {
        if (QMenu *menu = LogFiles->FileLoadPopupMenu)
            menu->popup(grid->viewport()->mapToGlobal(pos));
    });
}

bool TMainFrm::USBAttached() const { return LogFiles->USBAttached; }

QString TMainFrm::GetMyDocuments() { return dv::GetMyDocuments(); }

QString TMainFrm::programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
}

void TMainFrm::FormCreate()
{
    // 1. Access level and clear-log handshake back to idle; empty log-file buffer.
    Settings->LoginLevel = 0;
    Link.ClrLogState = 0;
    Import.Ms1.clear();

    // 2. The display-unit link and the optional features start hidden.
    ClearDisplayUnit->setVisible(false);
    ClearDisplayUnit->setEnabled(false);
    for (QPushButton *b : {DownloadBtn, StopDownLoadBTN, ConnectBtn, DisconnectBtn, GetCraneIDBtn})
        b->setVisible(false);
    for (QPushButton *b : {DownloadBtn, StopDownLoadBTN, ConnectBtn, DisconnectBtn})
        b->setEnabled(false);
    Viewer->setDataViewIndex(0);
    DBGridDataSetRG->setVisible(false);
    PrintBtn->move(111, 52); // where the hidden link buttons were
    LogFileGB->SuppressWarningsCB->setVisible(false);
    ShowDatabaseVersion1->setVisible(false);
    N2->setVisible(false);
    LogFiles->CopyFirmwareBTN->setVisible(false);
    Title1->setVisible(false);
    Panel1->setVisible(false);
    LogFiles->DataListView->setVisible(false);
    Viewer->DBCtrls1Panel->setVisible(false);
    setTabShown(SettingsSHT, false);
    setTabShown(CalDataSHT, false);
    TxMemo->setVisible(false);
    RxMemo->setVisible(true);

    // 3.
    Link.CrnIDPos = 1026;
    AppPath = programFolder();

    // 4.
    setWindowTitle(QString::fromLatin1(dv::kMainCaption));
    setWindowIcon(QIcon(QStringLiteral(":/WindowIcon.png")));
    LogoImage->setPixmap(QPixmap(QStringLiteral(":/Excavator.png")));
    LogoImage->setScaledContents(true);

    // 5. One level only: without a VidedorovIzarir folder this fails, and that is not reported.
    const QString backup = GetMyDocuments() + QStringLiteral("/VidedorovIzarir/__backup");
    if (!QDir(backup).exists())
        QDir().mkdir(backup);

    // 6.
    Import.LogToDataBase = false;
    Link.USBEnabled = false;

    // 7, 8. The page counts the USB drives (its tab follows) and starts the detector.
    LogFiles->startDetector();

    // 9.
    showLogFileGroup(false);

    // 10. May correct the stored database folder before the data module reads it.
    dv::DatabaseSearch(info_, prompter_, GetMyDocuments(), AppPath).run();

    // 11.
    setActivePage(DBViewerSHT);
}

void TMainFrm::FormShow()
{
    // 1, 2, 3.
    AppPath = programFolder();
    Viewer->setNumEvents(QStringLiteral("0"));
    StatusPanels[2]->setText(QStringLiteral("V") + QString::fromLatin1(dv::kFileVersion));
    StatusPanels[4]->setText(QStringLiteral("Ver: ") + QString::fromUtf8(dv::kReleaseDate));
    Title2->setText(QString::fromLatin1(dv::kProductLine));

    // 4.
    db_.ActivateDataSourceEventTable();
    db_.ActivateDataSourceDownLoadTable();
    Viewer->setNumEvents(QString::number(db_.EventCount()));

    // 5, 6, 7.
    Viewer->MainDBNav->setEnabled(true);
    Viewer->setDataViewIndex(0);
    GetCraneIDBtnClick();
    setActivePage(DBViewerSHT);

    // 8.
    fitToWorkArea();

    // 9. Every column of the two tables reachable by name.
    if (db_.connected()) {
        AddAllFields(db_.L3EventTbl);
        AddAllFields(db_.L3EquipmentTbl);
        if (AllFieldsFound()) {
            AddAllFields(db_.L3EventTbl);
            AddAllFields(db_.L3EquipmentTbl);
        }
    } else {
        prompter_.show(dv::MsgKind::Warning, QStringLiteral("Connection to DataBase Failed"));
    }

    // 10.
    db_.L3DownLoadTbl.last();
    Viewer->DBGridDataSetRGClick();
}

void TMainFrm::AddAllFields(dv::Dataset &dataset)
{
    // Our datasets expose every physical column by name; reopening re-reads
    // the column definitions, which is what this step needs.
    const bool wasOpen = dataset.active();
    dataset.close();
    if (wasOpen)
        dataset.open();
}

void TMainFrm::fitToWorkArea()
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect work = s->availableGeometry();
    // Before the window manager has framed the window the frame is unknown (0).
    const int frame = frameGeometry().height() - geometry().height();
    setFixedSize(kClientWidth, work.height() - 5 - frame);
    move(work.left() + (work.width() - frameGeometry().width()) / 2, work.top());
}

void TMainFrm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (!hook_.run([this] { FormShow(); }))
        fitToWorkArea(); // the show handler ended early: the window keeps its place all the same
    // Once framed, the frame counts towards the height.
    QTimer::singleShot(0, this, [this] { fitToWorkArea(); });
}

void TMainFrm::closeEvent(QCloseEvent *event)
{
    hook_.run([this] { FormClose(); });
    event->accept();
}

void TMainFrm::FormClose()
{
    if (fShutDown)
        fShutDown->showOver(this);
    DisconnectUSB();
    if (fShutDown)
        fShutDown->close();
}

void TMainFrm::PageCtrlChange()
{
    showLogFileGroup(false);
    QWidget *page = PageCtrl->currentWidget();
    if (page == SettingsSHT) {
        Settings->enterPage();
    } else if (page == LogFileListSHT) {
        showLogFileGroup(true);
        LogFiles->enterPage();
    } else if (page == DBViewerSHT) {
        Viewer->DBGridDataSetRGClick();
    } else if (page == UnitRegisterSHT) {
        LogFileGB->setVisible(false);
        DownloadGB->setVisible(false);
        if (!db_.L3EquipmentTbl.active())
            db_.L3EquipmentTbl.open();
    } else {
        Settings->leftForDebugSheet();
    }
}

void TMainFrm::setActivePage(QWidget *page)
{
    PageFromCode guard(pageFromCode_);
    PageCtrl->setCurrentWidget(page);
}

void TMainFrm::setTabShown(QWidget *page, bool shown)
{
    PageFromCode guard(pageFromCode_);
    PageCtrl->setTabVisible(PageCtrl->indexOf(page), shown);
}

void TMainFrm::showLogFileGroup(bool logFile)
{
    DownloadGB->setVisible(!logFile);
    LogFileGB->setVisible(logFile);
}

void TMainFrm::DisconnectUSB() { hid_.setActive(false); }

void TMainFrm::GetCraneIDBtnClick()
{
    // The crane ID is read afresh; with the link off nothing answers and the text stays empty.
    ActiveCraneRecord->clear();
    DownloadBtn->setEnabled(false);
}

// Not built yet: the report selection has no pages of its own in this build.
void TMainFrm::PrintSelectClick() {}

// Not built yet: clearing records by date range.
void TMainFrm::ClearOldRecordsClick() {}

void TMainFrm::LoadDatabaseFile1Click() { Settings->LoadDatabaseFile1Click(); }

void TMainFrm::ShowVersion1Click() { db_.ShowVersion(); }
