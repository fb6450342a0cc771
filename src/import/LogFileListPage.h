#pragma once

#include <QGroupBox>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QCheckBox;
class QMenu;
class QTreeView;
class tInfo;
class TdmDataBase;
struct ImportState;
namespace dv { class Prompter; class VolumeMonitor; }

// The "Log File" group box of the header: the Read Log File command and its
// three check boxes.
class LogFileGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit LogFileGroup(QWidget *parent = nullptr);
    QLabel *ReadingFileLBL = nullptr;
    QPushButton *ReadLogFileBTN = nullptr;
    QCheckBox *SuppressWarningsCB = nullptr;
    QCheckBox *DeleteOnReadCB = nullptr;
    QCheckBox *BackupOnReadCB = nullptr;
};

// The Log File List page: drive box, folder list and check-file list, the
// file list's popup, and the USB notices that point it at the stick.
class LogFileListPage : public QWidget {
    Q_OBJECT
public:
    LogFileListPage(tInfo &info, TdmDataBase &db, dv::Prompter &prompter,
                    dv::VolumeMonitor &volumes, ImportState &state, QWidget *parent = nullptr);
    ~LogFileListPage() override;

    LogFileGroup *LogFileGB = nullptr; // placed by the main window in the header
    QComboBox *DriveComboBox = nullptr;
    QWidget *DirectoryListBox = nullptr;
    QListWidget *CheckFileListBox = nullptr;
    QPushButton *CopyFirmwareBTN = nullptr;
    QWidget *DataListView = nullptr;
    QMenu *CheckFilePopupMenu = nullptr;
    QMenu *FileLoadPopupMenu = nullptr; // the viewer grid's popup

    bool USBAttached = false;
    QString USBDrv, USBFat, SourceFile;

    // Start-up: count the USB drives (tab shown when any) and start the detector.
    void startDetector();
    // The page was selected by the operator.
    void enterPage();
    QString currentFolder() const;

public Q_SLOTS:
    void Usb(const QString &Drv, const QString &Drive, bool Attached);
    void ReadLogFileBTNClick();
    void BackupOnReadCBClick();
    void DeleteOnReadCBClick();
    void SuppressWarningsCBClick();
    void CheckFilePopupMenuPopup();
    void CheckAllFilesClick();
    void UnCheckAllFilesClick();
    void DeleteSelectedFile1Click();
    void LoadFilefromDirectory1Click();
    void CopyFirmwareBTNClick();

Q_SIGNALS:
    void logFileTabVisible(bool visible);
    void showLogFilePage();  // make the Log File List page active (no page-change handler)
    void showViewerPage();   // make the Database Viewer page active (no page-change handler)
    void showLogFileGroup(bool logFile); // header: Log File group instead of Data Logger
    void reloadRequested();  // the settings page's Reload
    void numEventsChanged(const QString &text);

private:
    struct Impl;
    Impl *d;
};
