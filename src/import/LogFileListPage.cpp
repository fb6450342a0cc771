// Shell: the page's behaviour is filled in by its own change.
#include "import/LogFileListPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

LogFileGroup::LogFileGroup(QWidget *parent) : QGroupBox(QStringLiteral("Log File"), parent)
{
    ReadingFileLBL = new QLabel(QStringLiteral("Reading File"), this);
    ReadLogFileBTN = new QPushButton(QStringLiteral("R&ead Log File"), this);
    SuppressWarningsCB = new QCheckBox(QStringLiteral("Suppress Warnings"), this);
    DeleteOnReadCB = new QCheckBox(QStringLiteral("Delete DataFile on Read"), this);
    BackupOnReadCB = new QCheckBox(QStringLiteral("Backup DataFile on Read"), this);
}

struct LogFileListPage::Impl {};

LogFileListPage::LogFileListPage(tInfo &, TdmDataBase &, dv::Prompter &, dv::VolumeMonitor &,
                                 ImportState &, QWidget *parent)
    : QWidget(parent), d(new Impl)
{
    LogFileGB = new LogFileGroup;
    DriveComboBox = new QComboBox(this);
    DirectoryListBox = new QWidget(this);
    CheckFileListBox = new QListWidget(this);
    CopyFirmwareBTN = new QPushButton(QStringLiteral("Copy Firmware to USB"), this);
    DataListView = new QWidget(this);
    CheckFilePopupMenu = new QMenu(this);
    FileLoadPopupMenu = new QMenu(this);
    auto *l = new QVBoxLayout(this);
    l->addWidget(DriveComboBox);
    l->addWidget(DirectoryListBox);
    l->addWidget(CheckFileListBox);
    l->addWidget(CopyFirmwareBTN);
    l->addWidget(DataListView);
}
LogFileListPage::~LogFileListPage() { delete d; }
void LogFileListPage::startDetector() {}
void LogFileListPage::enterPage() {}
QString LogFileListPage::currentFolder() const { return {}; }
void LogFileListPage::Usb(const QString &, const QString &, bool) {}
void LogFileListPage::ReadLogFileBTNClick() {}
void LogFileListPage::BackupOnReadCBClick() {}
void LogFileListPage::DeleteOnReadCBClick() {}
void LogFileListPage::SuppressWarningsCBClick() {}
void LogFileListPage::CheckFilePopupMenuPopup() {}
void LogFileListPage::CheckAllFilesClick() {}
void LogFileListPage::UnCheckAllFilesClick() {}
void LogFileListPage::DeleteSelectedFile1Click() {}
void LogFileListPage::LoadFilefromDirectory1Click() {}
void LogFileListPage::CopyFirmwareBTNClick() {}
