#pragma once

#include "app/AppHook.h"
#include "app/MainFormFields.h"
#include "import/ImportState.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;

class DatabaseViewer;
class ErrorLog;
class LogFileGroup;
class LogFileListPage;
class SettingsPage;
class TdmDataBase;
class TfShutDown;
class tInfo;
namespace dv {
class Dataset;
class HidDevice;
class Prompter;
class VolumeMonitor;
} // namespace dv

// The program's working window: header with the two alternating group boxes
// and the logo, the page control, the status bar and the DataBase menu. It
// wires the pages together and holds the state they share; the pages do the
// work.
//
// The data module object exists before the window (it is inert until its
// DataModuleCreate runs, after the window's FormCreate), so the pages are
// built here with a reference to it and only use it from FormShow on.
class TMainFrm : public QMainWindow {
    Q_OBJECT
public:
    TMainFrm(tInfo &info, dv::Prompter &prompter, ErrorLog &log, dv::VolumeMonitor &volumes,
             dv::HidDevice &hid, TdmDataBase &db, QWidget *parent = nullptr);
    ~TMainFrm() override;

    // The creation handler; the entry sequence runs it right after the
    // window is made (an exception ends it and goes to the error log).
    void FormCreate();
    // The first-show handler; runs from the first showEvent.
    void FormShow();
    // The shutdown steps; runs from closeEvent.
    void FormClose();

    // The notice shown while closing (made by the entry sequence after the window).
    void setShutDownNotice(TfShutDown *notice) { fShutDown = notice; }

    // The user's Documents folder without a trailing separator; throws
    // EGeneralError "Could not find MyDocuments folder location." when there is none.
    static QString GetMyDocuments();
    // The program's folder, ending in a separator.
    static QString programFolder();

    // Shared fields.
    QString AppPath;
    ImportState Import; // Ms1, ExcavatorData, FileName, LogToDataBase, DwnldRecrd
    LinkState Link;     // USBEnabled, CrnIDPos, LogPos, LogPage2, OutStr, CrnType, ClrLogState
    bool USBAttached() const;

    // Header.
    QWidget *MainPanel = nullptr;
    QGroupBox *DownloadGB = nullptr;
    QLabel *DownloadLBL = nullptr;
    QPushButton *ConnectBtn = nullptr;
    QPushButton *DisconnectBtn = nullptr;
    QPushButton *DownloadBtn = nullptr;
    QPushButton *StopDownLoadBTN = nullptr;
    QPushButton *GetCraneIDBtn = nullptr;
    QPushButton *PrintBtn = nullptr;
    QGroupBox *DBGridDataSetRG = nullptr;
    LogFileGroup *LogFileGB = nullptr;
    QFrame *LogoPanel = nullptr;
    QLabel *LogoImage = nullptr;
    QLabel *Title1a = nullptr;
    QLabel *Title2 = nullptr;
    QLabel *Title3 = nullptr;
    QLabel *YearsLbl = nullptr;
    QLabel *Title1 = nullptr;

    // Pages.
    QTabWidget *PageCtrl = nullptr;
    QWidget *DBViewerSHT = nullptr;
    QWidget *CalDataSHT = nullptr;
    QWidget *SettingsSHT = nullptr;
    QWidget *LogFileListSHT = nullptr;
    QWidget *UnitRegisterSHT = nullptr;
    DatabaseViewer *Viewer = nullptr;
    SettingsPage *Settings = nullptr;
    LogFileListPage *LogFiles = nullptr;
    QPlainTextEdit *TxMemo = nullptr; // debug sheet: transmitted reports
    QPlainTextEdit *RxMemo = nullptr; // debug sheet: received reports

    // Bottom panel and status bar.
    QWidget *Panel1 = nullptr;
    QLineEdit *ActiveCraneRecord = nullptr;
    QLabel *statusPanel(int index) const { return StatusPanels[index]; }

    // Menu.
    QMenu *DataBase1 = nullptr;
    QAction *ClearOldRecords = nullptr;
    QAction *ClearDisplayUnit = nullptr;
    QAction *N1 = nullptr;
    QAction *LoadDatabaseFile1 = nullptr;
    QAction *N2 = nullptr;
    QAction *ShowDatabaseVersion1 = nullptr;

    // Timers of the display-unit link.
    QTimer *USBConnectTimer = nullptr;
    QTimer *USBQueryTimer = nullptr;
    QTimer *ClrLogTimer = nullptr;

public Q_SLOTS:
    // The operator selected a tab.
    void PageCtrlChange();
    // Makes a page active without running PageCtrlChange.
    void setActivePage(QWidget *page);
    // Shows or hides a page's tab without running PageCtrlChange.
    void setTabShown(QWidget *page, bool shown);
    // Header: the "Log File" group instead of " Data Logger ", or back.
    void showLogFileGroup(bool logFile);

    void DisconnectUSB();
    void GetCraneIDBtnClick();
    void PrintSelectClick();
    void ClearOldRecordsClick();
    void LoadDatabaseFile1Click();
    void ShowVersion1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildHeader();
    void buildPages();
    void buildStatusBar();
    void buildMenu();
    void wire();
    // Window height = work-area height - 5, the frame included once it is known.
    void fitToWorkArea();
    void AddAllFields(dv::Dataset &dataset);
    bool AllFieldsFound() const { return true; }
    // Connects a signal to a handler that reports its exceptions to the hook.
    template <typename Sender, typename Signal, typename Fn>
    void handle(Sender *sender, Signal signal, Fn fn);

    tInfo &info_;
    dv::Prompter &prompter_;
    AppHook hook_;
    dv::VolumeMonitor &volumes_;
    dv::HidDevice &hid_;
    TdmDataBase &db_;
    TfShutDown *fShutDown = nullptr;
    QLabel *StatusPanels[5] = {};
    bool shown_ = false;
    int pageFromCode_ = 0; // > 0 while code changes the page control
};
