#pragma once

#include "import/LogFileGroup.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QCheckBox;
class QMenu;
class QAction;
class QTreeView;
class tInfo;
class TdmDataBase;
struct ImportState;
namespace dv { class Prompter; class VolumeMonitor; }

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
    QAction *CheckAllFiles = nullptr;
    QAction *UnCheckAllFiles = nullptr;
    QAction *N3 = nullptr;
    QAction *DeleteSelectedFile1 = nullptr;
    QAction *LoadFilefromDirectory1 = nullptr;

    bool USBAttached = false;
    QString USBDrv, USBFat, SourceFile;

    // Start-up: count the USB drives (tab shown when any) and start the detector.
    void startDetector();
    // The page was selected by the operator.
    void enterPage();
    QString currentFolder() const;
    // Root of the volume the drive box shows ("-" or empty when none).
    QString currentDrive() const;
    // The file list's mask, e.g. "*exs;"; empty: every file.
    QString fileMask() const;
    // Points the folder list at a folder; the file list follows.
    void setFolder(const QString &folder);
    // Makes the file list re-read its folder (ticks are cleared).
    void refreshFileList();
    // File system name of the volume at this root ("vfat", "ext4"); empty when unknown.
    QString GetHardDiskPartitionType(const QString &DriveLetter);

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
    void fillDrives();
    void setDriveBox(const QString &root);
    QString systemDrive();
    QString localFolder();
    void pointAtLocalFolder();
    void storeFileBoxes();
    int tickedCount() const;
    void leaveBusy();

    struct Impl;
    Impl *d;
};
