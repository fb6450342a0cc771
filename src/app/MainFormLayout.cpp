// The window's widgets: positions, captions and fonts of the header, the
// pages, the status bar and the menu.
#include "app/MainForm.h"

#include "app/MainFormTexts.h"
#include "import/LogFileListPage.h"
#include "settings/SettingsPage.h"
#include "views/DatabaseViewer.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QFont>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kHeaderHeight = 161;
const QRect kGroupBoxRect(4, 2, 440, 157);

QFont makeFont(const char *family, int pixelSize, bool bold)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QPushButton *button(QWidget *parent, const char *name, const char *caption, int left, int top)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(left, top, 97, 25);
    return b;
}

QLabel *centredLabel(QWidget *parent, const char *name, const QString &text, int top)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(makeFont("Arial", 13, true));
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(4, top, 223, 18);
    return l;
}

QWidget *page(const char *name)
{
    auto *w = new QWidget;
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

void fill(QWidget *sheet, QWidget *content)
{
    auto *l = new QVBoxLayout(sheet);
    l->setContentsMargins(2, 2, 2, 2);
    l->addWidget(content);
}

} // namespace

void TMainFrm::buildHeader()
{
    MainPanel = new QWidget;
    MainPanel->setObjectName(QStringLiteral("MainPanel"));
    MainPanel->setFixedHeight(kHeaderHeight);

    DownloadGB = new QGroupBox(QStringLiteral(" Data Logger "), MainPanel);
    DownloadGB->setObjectName(QStringLiteral("DownloadGB"));
    DownloadGB->setGeometry(kGroupBoxRect);
    DownloadLBL = Viewer->DownloadLBL;
    DownloadLBL->setParent(DownloadGB);
    DownloadLBL->setGeometry(8, 20, 424, 24);
    ConnectBtn = button(DownloadGB, "ConnectBtn", "&Connect", 8, 52);
    DisconnectBtn = button(DownloadGB, "DisconnectBtn", "&Disconnect", 8, 82);
    DownloadBtn = button(DownloadGB, "DownloadBtn", "D&ownload", 111, 52);
    StopDownLoadBTN = button(DownloadGB, "StopDownLoadBTN", "&Stop Download", 111, 82);
    GetCraneIDBtn = button(DownloadGB, "GetCraneIDBtn", "Get Crane ID", 214, 52);
    PrintBtn = button(DownloadGB, "PrintBtn", "&Print", 214, 82);
    PrintBtn->setToolTip(QStringLiteral("Print logged entries"));
    DBGridDataSetRG = Viewer->DBGridDataSetRG;
    DBGridDataSetRG->setParent(DownloadGB);
    DBGridDataSetRG->setGeometry(318, 48, 114, 72);

    LogFileGB = LogFiles->LogFileGB;
    LogFileGB->setParent(MainPanel);
    LogFileGB->setObjectName(QStringLiteral("LogFileGB"));
    LogFileGB->setGeometry(kGroupBoxRect);

    LogoPanel = new QFrame(MainPanel);
    LogoPanel->setObjectName(QStringLiteral("LogoPanel"));
    LogoPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    LogoPanel->setLineWidth(2);
    LogoPanel->setGeometry(448, 6, 231, 151);
    LogoImage = new QLabel(LogoPanel);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->setGeometry(6, 6, 88, 66);
    Title1a = new QLabel(QString::fromLatin1(dv::kBrandWord), LogoPanel);
    Title1a->setObjectName(QStringLiteral("Title1a"));
    Title1a->setFont(makeFont("Tahoma", 24, true));
    Title1a->setAlignment(Qt::AlignCenter);
    Title1a->setGeometry(96, 18, 130, 40);
    auto *shadow = new QGraphicsDropShadowEffect(Title1a);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(2);
    shadow->setColor(QColor(0x80, 0x80, 0x80));
    Title1a->setGraphicsEffect(shadow);
    Title2 = centredLabel(LogoPanel, "Title2", QString(), 84);
    Title3 = centredLabel(LogoPanel, "Title3", QStringLiteral("Data Viewing Package"), 104);
    YearsLbl = centredLabel(LogoPanel, "YearsLbl", QString::fromUtf8(dv::kReleaseYears), 124);
    Title1 = new QLabel(LogoPanel);
    Title1->setObjectName(QStringLiteral("Title1"));
    Title1->setGeometry(104, 6, 122, 72);
}

void TMainFrm::buildPages()
{
    PageCtrl = new QTabWidget;
    PageCtrl->setObjectName(QStringLiteral("PageCtrl"));
    PageCtrl->setUsesScrollButtons(false); // tabs wrap rather than scroll

    DBViewerSHT = page("DBViewerSHT");
    fill(DBViewerSHT, Viewer);
    CalDataSHT = page("CalDataSHT");
    TxMemo = new QPlainTextEdit;
    TxMemo->setObjectName(QStringLiteral("TxMemo"));
    TxMemo->setReadOnly(true);
    RxMemo = new QPlainTextEdit;
    RxMemo->setObjectName(QStringLiteral("RxMemo"));
    RxMemo->setReadOnly(true);
    {
        auto *l = new QHBoxLayout(CalDataSHT);
        l->addWidget(TxMemo);
        l->addWidget(RxMemo);
    }
    SettingsSHT = page("SettingsSHT");
    fill(SettingsSHT, Settings);
    LogFileListSHT = page("LogFileListSHT");
    fill(LogFileListSHT, LogFiles);
    UnitRegisterSHT = page("UnitRegisterSHT");

    PageCtrl->addTab(DBViewerSHT, QStringLiteral("Database Viewer"));
    PageCtrl->addTab(CalDataSHT, QStringLiteral("Debug Sheet"));
    PageCtrl->addTab(SettingsSHT, QStringLiteral("Settings / Options"));
    PageCtrl->addTab(LogFileListSHT, QStringLiteral("Log File List"));
    PageCtrl->addTab(UnitRegisterSHT, QStringLiteral("Unit Register"));

    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *linked = new QLabel(QStringLiteral("Currently Linked to :-"), Panel1);
    ActiveCraneRecord = new QLineEdit(QStringLiteral("No crane information available"), Panel1);
    ActiveCraneRecord->setObjectName(QStringLiteral("ActiveCraneRecord"));
    ActiveCraneRecord->setReadOnly(true);
    auto *pl = new QHBoxLayout(Panel1);
    pl->setContentsMargins(4, 2, 4, 2);
    pl->addWidget(linked);
    pl->addWidget(ActiveCraneRecord, 1);

    auto *central = new QWidget;
    auto *cl = new QVBoxLayout(central);
    cl->setContentsMargins(0, 0, 0, 0);
    cl->setSpacing(0);
    cl->addWidget(MainPanel);
    cl->addWidget(PageCtrl, 1);
    cl->addWidget(Panel1);
    setCentralWidget(central);
}

void TMainFrm::buildStatusBar()
{
    auto *bar = new QStatusBar;
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    bar->setStyleSheet(QStringLiteral("QStatusBar::item { border: 0px }"));
    // One strip of our own, so the panels sit edge to edge at their widths.
    auto *strip = new QWidget;
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const int widths[5] = {155, 150, 65, 170, 40};
    for (int i = 0; i < 5; ++i) {
        auto *p = new QLabel;
        p->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setAlignment((i == 2 || i == 4 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        // The panel widths were chosen for an 11-pixel font; a larger default
        // font would cut the release date in the last panel.
        QFont small = p->font();
        small.setPixelSize(11);
        p->setFont(small);
        // The last panel takes what is left of the bar, as the platform's status bar does.
        if (i == 4)
            p->setMinimumWidth(widths[i]);
        else
            p->setFixedWidth(widths[i]);
        row->addWidget(p, i == 4 ? 1 : 0);
        StatusPanels[i] = p;
    }
    bar->addWidget(strip, 1);
    setStatusBar(bar);
}

void TMainFrm::buildMenu()
{
    DataBase1 = menuBar()->addMenu(QStringLiteral("DataBase"));
    DataBase1->setObjectName(QStringLiteral("DataBase1"));
    auto item = [this](const char *name, const char *caption) {
        QAction *a = DataBase1->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    ClearOldRecords = item("ClearOldRecords", "Clear Old Records");
    ClearDisplayUnit = item("ClearDisplayUnit", "Clear Display Unit");
    N1 = DataBase1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    LoadDatabaseFile1 = item("LoadDatabaseFile1", "&Load Database File");
    N2 = DataBase1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    ShowDatabaseVersion1 = item("ShowDatabaseVersion1", "Show Database Version");

    USBConnectTimer = new QTimer(this);
    USBConnectTimer->setObjectName(QStringLiteral("USBConnectTimer"));
    USBConnectTimer->setInterval(2000);
    USBQueryTimer = new QTimer(this);
    USBQueryTimer->setObjectName(QStringLiteral("USBQueryTimer"));
    USBQueryTimer->setInterval(150);
    ClrLogTimer = new QTimer(this);
    ClrLogTimer->setObjectName(QStringLiteral("ClrLogTimer"));
    ClrLogTimer->setInterval(150);
}
