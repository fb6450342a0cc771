#include "MainFormTestFixture.h"

#include "app/ShutDown.h"
#include "core/Errors.h"
#include "import/LogFileListPage.h"
#include "views/DatabaseViewer.h"
#include "Version.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace apptest;

namespace {

QStringList visibleTabs(const TMainFrm &w)
{
    QStringList tabs;
    for (int i = 0; i < w.PageCtrl->count(); ++i)
        if (w.PageCtrl->isTabVisible(i))
            tabs << w.PageCtrl->tabText(i);
    return tabs;
}

// Selects a tab the way the operator does: a click on the tab bar.
void clickTab(TMainFrm &w, QWidget *page)
{
    QTabBar *bar = w.PageCtrl->tabBar();
    const int index = w.PageCtrl->indexOf(page);
    ASSERT_TRUE(w.PageCtrl->isTabVisible(index));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCoreApplication::processEvents();
}

QStringList visibleChildren(QWidget *parent)
{
    QStringList names;
    for (QWidget *c : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (c->isVisibleTo(parent))
            names << c->objectName();
    names.sort();
    return names;
}

} // namespace

TEST(MainFormStartUp, TabsFollowTheUsbDrivesPresent)
{
    struct Case {
        const char *what;
        QList<dv::Volume> volumes;
        QStringList tabs;
    };
    const QList<Case> cases = {
        {"no stick", {}, {"Database Viewer", "Unit Register"}},
        {"a stick", {usbStick(dvtest::home() + "/stick")},
         {"Database Viewer", "Log File List", "Unit Register"}},
    };
    for (const Case &c : cases) {
        Start s(Start::WithDatabase, Start::WithProductFolder, c.volumes);
        s.show();
        EXPECT_EQ(visibleTabs(*s.window), c.tabs) << c.what;
        EXPECT_EQ(s.window->PageCtrl->currentWidget(), s.window->DBViewerSHT) << c.what;
        EXPECT_EQ(s.window->USBAttached(), !c.volumes.isEmpty()) << c.what;
    }
}

TEST(MainFormStartUp, HeaderShowsOnlyUnitDescriptionAndPrint)
{
    Start s;
    s.show();
    TMainFrm &w = *s.window;
    EXPECT_EQ(w.windowTitle(), "Zuduriziv Izev Erediz");
    EXPECT_EQ(w.DownloadGB->title(), " Data Logger ");
    EXPECT_TRUE(w.DownloadGB->isVisible());
    EXPECT_FALSE(w.LogFileGB->isVisible());
    QStringList expected = {w.DownloadLBL->objectName(), "PrintBtn"};
    expected.sort();
    EXPECT_EQ(visibleChildren(w.DownloadGB), expected);
    EXPECT_EQ(w.DownloadLBL->parentWidget(), w.DownloadGB);
    EXPECT_EQ(w.PrintBtn->pos(), QPoint(111, 52));
    EXPECT_EQ(w.PrintBtn->text(), "&Print");
    EXPECT_EQ(w.PrintBtn->toolTip(), "Print logged entries");
    EXPECT_FALSE(w.ConnectBtn->isEnabled());
    EXPECT_FALSE(w.DownloadBtn->isEnabled());
    EXPECT_FALSE(w.Panel1->isVisibleTo(&w));
    EXPECT_EQ(w.ActiveCraneRecord->text(), ""); // emptied by the crane-ID read at first show
    EXPECT_FALSE(w.Title1->isVisibleTo(&w));
    EXPECT_EQ(w.Title2->text(), "Videdorov Izarir");
    EXPECT_EQ(w.Title1a->text(), "OKAVEN");
    EXPECT_EQ(w.Link.CrnIDPos, 1026);
    EXPECT_FALSE(w.Link.USBEnabled);
    EXPECT_FALSE(w.Import.LogToDataBase);
    EXPECT_FALSE(w.TxMemo->isVisibleTo(w.CalDataSHT));
    EXPECT_TRUE(w.RxMemo->isVisibleTo(w.CalDataSHT));
    EXPECT_TRUE(errorLogLines().isEmpty()) << errorLogLines().join('\n').toStdString();
    EXPECT_TRUE(s.prompter.texts().isEmpty()) << s.prompter.texts().join('\n').toStdString();
}

TEST(MainFormStartUp, MenuOffersClearLoadAndASeparator)
{
    Start s;
    s.show();
    QStringList seen;
    for (QAction *a : s.window->DataBase1->actions())
        if (a->isVisible())
            seen << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(seen, QStringList({"Clear Old Records", "-", "&Load Database File"}));
    EXPECT_FALSE(s.window->ClearDisplayUnit->isEnabled());
    EXPECT_EQ(s.window->DataBase1->title(), "DataBase");
}

TEST(MainFormStartUp, StatusBarCarriesVersionAndReleaseDate)
{
    Start s;
    s.show();
    const QStringList texts = {"", "", QStringLiteral("V") + dv::kFileVersion, "",
                               QStringLiteral("Ver: ") + dv::kReleaseDate};
    const int widths[4] = {155, 150, 65, 170};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s.window->statusPanel(i)->text(), texts[i]) << "panel " << i;
        EXPECT_EQ(bool(s.window->statusPanel(i)->alignment() & Qt::AlignHCenter), i == 2 || i == 4)
            << "panel " << i;
        if (i < 4) {
            EXPECT_EQ(s.window->statusPanel(i)->width(), widths[i]) << "panel " << i;
        }
    }
}

TEST(MainFormStartUp, WindowIsFixedAndFillsTheWorkAreaHeight)
{
    Start s;
    s.show();
    TMainFrm &w = *s.window;
    const QRect work = w.screen()->availableGeometry();
    // The height counts the frame, as the window manager draws it.
    EXPECT_EQ(w.frameGeometry().height(), work.height() - 5);
    EXPECT_EQ(w.width(), 681);
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.MainPanel->height(), 161);
}

TEST(MainFormPages, SelectingATabSwitchesTheHeaderGroup)
{
    Start s(Start::WithDatabase, Start::WithProductFolder, {usbStick(dvtest::home() + "/stick")});
    s.show();
    TMainFrm &w = *s.window;

    clickTab(w, w.UnitRegisterSHT);
    EXPECT_FALSE(w.DownloadGB->isVisible());
    EXPECT_FALSE(w.LogFileGB->isVisible());

    clickTab(w, w.DBViewerSHT);
    EXPECT_TRUE(w.DownloadGB->isVisible());
    EXPECT_FALSE(w.LogFileGB->isVisible());

    clickTab(w, w.LogFileListSHT);
    EXPECT_TRUE(w.LogFileGB->isVisible());
    EXPECT_EQ(w.LogFileGB->title(), "Log File");
    EXPECT_FALSE(w.DownloadGB->isVisible());

    clickTab(w, w.UnitRegisterSHT);
    EXPECT_FALSE(w.DownloadGB->isVisible());
    EXPECT_FALSE(w.LogFileGB->isVisible());
    EXPECT_TRUE(s.db->L3EquipmentTbl.active());
    EXPECT_TRUE(errorLogLines().isEmpty()) << errorLogLines().join('\n').toStdString();
}

TEST(MainFormPages, MakingAPageActiveFromCodeRunsNoPageChange)
{
    Start s;
    s.show();
    TMainFrm &w = *s.window;
    clickTab(w, w.UnitRegisterSHT);
    ASSERT_FALSE(w.DownloadGB->isVisible());

    w.setActivePage(w.DBViewerSHT);
    EXPECT_EQ(w.PageCtrl->currentWidget(), w.DBViewerSHT);
    EXPECT_FALSE(w.DownloadGB->isVisible()) << "the page change ran for a change made by code";

    // Hiding the tab of the current page moves the page control on: no dispatch either.
    clickTab(w, w.UnitRegisterSHT);
    w.setTabShown(w.UnitRegisterSHT, false);
    EXPECT_FALSE(w.DownloadGB->isVisible());
    EXPECT_FALSE(w.LogFileGB->isVisible());
}

TEST(MainFormErrors, AFailingHandlerIsLoggedAndShowsNothing)
{
    // Without a database the Unit Register page cannot open its table.
    Start s(Start::NoDatabase);
    s.show();
    TMainFrm &w = *s.window;
    EXPECT_TRUE(w.isVisible()) << "a failing show handler must not stop the window";
    EXPECT_EQ(w.frameGeometry().height(), w.screen()->availableGeometry().height() - 5);
    const int before = errorLogLines().size();
    s.prompter.clear();

    clickTab(w, w.UnitRegisterSHT);

    const QStringList lines = errorLogLines();
    ASSERT_EQ(lines.size(), before + 4);
    EXPECT_TRUE(lines[before].startsWith("Error Time Stamp: "));
    EXPECT_EQ(lines[before + 1], "Error Class: EDatabaseError");
    EXPECT_TRUE(lines[before + 2].startsWith("Error Message: "));
    EXPECT_EQ(lines[before + 3], "-->>");
    EXPECT_TRUE(s.prompter.shown().isEmpty());
    // The handler ended after its first steps; the window goes on.
    EXPECT_FALSE(w.DownloadGB->isVisible());
    clickTab(w, w.DBViewerSHT);
    EXPECT_TRUE(w.DownloadGB->isVisible());
}

TEST(MainFormErrors, HookLogsByClassAndDropsTheQuietAbort)
{
    QDir(documents()).removeRecursively();
    QDir().mkpath(productFolder());
    ErrorLog log([] { return dv::GetMyDocuments(); }, [] { return QDateTime::currentDateTime(); });
    AppHook hook(log);

    EXPECT_FALSE(hook.run([] { throw dv::EAbort(QStringLiteral("Operation aborted")); }));
    EXPECT_FALSE(QFile::exists(errorLogPath())) << "the quiet abort was logged";

    struct Case {
        std::function<void()> raise;
        QString cls, message;
    };
    const QList<Case> cases = {
        {[] { throw dv::EConvertError(QStringLiteral("'x' is not a valid date")); },
         "EConvertError", "'x' is not a valid date"},
        {[] { throw std::runtime_error("plain failure"); }, "", "plain failure"},
        {[] { throw 42; }, "", ""},
    };
    int expectedLines = 0;
    for (const Case &c : cases) {
        EXPECT_FALSE(hook.run(c.raise));
        expectedLines += 4;
        const QStringList lines = errorLogLines();
        ASSERT_EQ(lines.size(), expectedLines);
        if (!c.cls.isEmpty()) {
            EXPECT_EQ(lines[expectedLines - 3], "Error Class: " + c.cls);
        }
        if (!c.message.isEmpty()) {
            EXPECT_EQ(lines[expectedLines - 2], "Error Message: " + c.message);
        }
    }
    EXPECT_TRUE(hook.run([] {}));
    EXPECT_EQ(errorLogLines().size(), expectedLines);
}

TEST(MainFormErrors, ExceptionFromAnEventHandlerReachesTheHook)
{
    QDir(documents()).removeRecursively();
    QDir().mkpath(productFolder());
    ErrorLog log([] { return dv::GetMyDocuments(); }, [] { return QDateTime::currentDateTime(); });
    AppHook hook(log);

    struct Thrower : QObject {
        bool event(QEvent *e) override
        {
            if (e->type() == QEvent::User)
                throw dv::EInOutError(QStringLiteral("disk gone"));
            return QObject::event(e);
        }
    } target;
    QEvent ev(QEvent::User);
    EXPECT_FALSE(hook.run([&] { QCoreApplication::sendEvent(&target, &ev); }));
    const QStringList lines = errorLogLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], "Error Class: EInOutError");
    EXPECT_EQ(lines[2], "Error Message: disk gone");
}

TEST(MainFormStartUp, BackupFolderIsMadeOneLevelOnlyAndSilently)
{
    {
        Start s(Start::NoDatabase, Start::NoProductFolder);
        EXPECT_TRUE(s.createCompleted);
        EXPECT_FALSE(QDir(productFolder()).exists());
        for (const QString &t : s.prompter.texts())
            EXPECT_FALSE(t.contains("backup", Qt::CaseInsensitive)) << t.toStdString();
        // The later creation steps still ran.
        EXPECT_EQ(s.window->PageCtrl->currentWidget(), s.window->DBViewerSHT);
        EXPECT_FALSE(s.window->PageCtrl->isTabVisible(s.window->PageCtrl->indexOf(s.window->SettingsSHT)));
    }
    {
        Start s(Start::WithDatabase, Start::WithProductFolder);
        EXPECT_TRUE(s.createCompleted);
        EXPECT_TRUE(QDir(productFolder() + "/__backup").exists());
    }
}

TEST(MainFormShutDown, CloseShowsTheNoticeAndSwitchesTheLinkOff)
{
    Start s;
    TfShutDown notice(s.window.get());
    s.window->setShutDownNotice(&notice);
    s.show();
    bool noticeShownDuringDisconnect = false;
    s.hid.onSetActive = [&](bool) { noticeShownDuringDisconnect = notice.isVisible(); };

    EXPECT_TRUE(s.window->close());
    EXPECT_EQ(s.hid.setActiveCalls, QList<bool>{false});
    EXPECT_TRUE(noticeShownDuringDisconnect);
    EXPECT_EQ(notice.StaticText1->text(), "Shutting down......");
    EXPECT_FALSE(notice.isVisible());
    EXPECT_FALSE(s.window->isVisible());
}
