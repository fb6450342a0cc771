#include "import/LogFileListPage.h"

#include "core/Errors.h"
#include "import/ImportState.h"
#include "import/ReadLogFile.h"
#include "import/UsbDetector.h"
#include "platform/Documents.h"
#include "platform/Prompter.h"
#include "platform/VolumeMonitor.h"
#include "settings/L3Registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

const char *const kLogFileExtensions[] = {".cdfh", ".cdfl", ".cmfh", ".cd1h", ".cd2h", ".cmdf", ".radf",
                                          ".eedf", ".~0~", ".txt", "wss", "exs", "crs"};
constexpr int kExcavatorLogFile = 11;

const QString kParentEntry = QStringLiteral("..");

// base + "/" + sub when that folder exists, else base.
QString firstChoice(const QString &base, const QString &sub)
{
    const QString preferred = QDir(base).filePath(sub);
    return QFileInfo(preferred).isDir() ? preferred : base;
}

// A mask like "*exs;" as the file list reads it: patterns split by ';', matched
// without regard to case, as the logger's FAT sticks do.
QList<QRegularExpression> maskPatterns(const QString &mask)
{
    QList<QRegularExpression> out;
    for (const QString &p : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                      QRegularExpression::CaseInsensitiveOption));
    return out;
}

} // namespace

struct LogFileListPage::Impl {
    Impl(tInfo &i, TdmDataBase &b, dv::Prompter &p, dv::VolumeMonitor &v, ImportState &s)
        : info(i), db(b), prompter(p), volumes(v), state(s) {}
    tInfo &info;
    TdmDataBase &db;
    dv::Prompter &prompter;
    dv::VolumeMonitor &volumes;
    ImportState &state;
    QPointer<LogFileGroup> group;
    QListWidget *folders = nullptr;
    QString folder;
    QString mask;
    QFileIconProvider icons;
};

namespace {

// Shows the import's progress in the header and the viewer's count label.
// Repaints at most every 100 ms, so a large file does not spend its time
// painting, while the window still answers; the last count is always shown.
class PageImportObserver : public ImportObserver {
public:
    PageImportObserver(LogFileListPage &page, std::function<void(const QString &)> numEvents)
        : page_(page), numEvents_(std::move(numEvents)) { clock_.start(); }

    void fileStarted(const QString &fileName) override
    {
        const QString name = QFileInfo(fileName).fileName();
        QListWidget *list = page_.CheckFileListBox;
        list->clearSelection();
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.first());
        page_.LogFileGB->setReadingFileData(name);
        page_.LogFileGB->ReadingFileLBL->repaint();
    }

    void recordStored(quint16 dwnldRecrd) override
    {
        last_ = dwnldRecrd;
        pending_ = true;
        if (clock_.elapsed() < 100)
            return;
        clock_.restart();
        pending_ = false;
        numEvents_(QString::number(last_));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    void finish()
    {
        page_.CheckFileListBox->clearSelection();
        if (pending_)
            numEvents_(QString::number(last_));
        pending_ = false;
    }

private:
    LogFileListPage &page_;
    std::function<void(const QString &)> numEvents_;
    QElapsedTimer clock_;
    quint16 last_ = 0;
    bool pending_ = false;
};

} // namespace

LogFileListPage::LogFileListPage(tInfo &info, TdmDataBase &db, dv::Prompter &prompter,
                                 dv::VolumeMonitor &volumes, ImportState &state, QWidget *parent)
    : QWidget(parent), d(new Impl(info, db, prompter, volumes, state))
{
    LogFileGB = new LogFileGroup;
    d->group = LogFileGB;

    DriveComboBox = new QComboBox(this);
    DriveComboBox->setObjectName(QStringLiteral("DriveComboBox"));
    d->folders = new QListWidget(this);
    d->folders->setObjectName(QStringLiteral("DirectoryListBox"));
    DirectoryListBox = d->folders;
    CheckFileListBox = new QListWidget(this);
    CheckFileListBox->setObjectName(QStringLiteral("CheckFileListBox"));
    CheckFileListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    CheckFileListBox->setContextMenuPolicy(Qt::CustomContextMenu);
    CopyFirmwareBTN = new QPushButton(QStringLiteral("Copy Firmware to USB"), this);
    CopyFirmwareBTN->setObjectName(QStringLiteral("CopyFirmwareBTN"));
    CopyFirmwareBTN->setToolTip(QStringLiteral("Copy Firmware File to USB stick"));
    DataListView = new QListWidget(this);
    DataListView->setObjectName(QStringLiteral("DataListView"));

    CheckFilePopupMenu = new QMenu(this);
    CheckFilePopupMenu->setObjectName(QStringLiteral("CheckFilePopupMenu"));
    CheckAllFiles = CheckFilePopupMenu->addAction(QStringLiteral("&Select All Files"));
    UnCheckAllFiles = CheckFilePopupMenu->addAction(QStringLiteral("&DeSelect All Files"));
    N3 = CheckFilePopupMenu->addSeparator();
    DeleteSelectedFile1 = CheckFilePopupMenu->addAction(QStringLiteral("De&lete Selected Files"));
    FileLoadPopupMenu = new QMenu(this);
    FileLoadPopupMenu->setObjectName(QStringLiteral("FileLoadPopupMenu"));
    LoadFilefromDirectory1 = FileLoadPopupMenu->addAction(QStringLiteral("Load File from Directory"));

    auto *lists = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(DriveComboBox);
    left->addWidget(DirectoryListBox, 1);
    lists->addLayout(left, 1);
    lists->addWidget(CheckFileListBox, 2);
    auto *l = new QVBoxLayout(this);
    l->addLayout(lists, 1);
    l->addWidget(CopyFirmwareBTN, 0, Qt::AlignLeft);
    l->addWidget(DataListView);

    connect(LogFileGB->ReadLogFileBTN, &QPushButton::clicked, this, [this] { ReadLogFileBTNClick(); });
    // A state change made by code runs the box's handler too, as a click does.
    connect(LogFileGB->BackupOnReadCB, &QCheckBox::toggled, this, [this] { BackupOnReadCBClick(); });
    connect(LogFileGB->DeleteOnReadCB, &QCheckBox::toggled, this, [this] { DeleteOnReadCBClick(); });
    connect(LogFileGB->SuppressWarningsCB, &QCheckBox::toggled, this,
            [this] { SuppressWarningsCBClick(); });
    connect(CopyFirmwareBTN, &QPushButton::clicked, this, [this] { CopyFirmwareBTNClick(); });
    connect(CheckFilePopupMenu, &QMenu::aboutToShow, this, &LogFileListPage::CheckFilePopupMenuPopup);
    connect(CheckAllFiles, &QAction::triggered, this, &LogFileListPage::CheckAllFilesClick);
    connect(UnCheckAllFiles, &QAction::triggered, this, &LogFileListPage::UnCheckAllFilesClick);
    connect(DeleteSelectedFile1, &QAction::triggered, this, &LogFileListPage::DeleteSelectedFile1Click);
    connect(LoadFilefromDirectory1, &QAction::triggered, this,
            &LogFileListPage::LoadFilefromDirectory1Click);
    connect(CheckFileListBox, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        CheckFilePopupMenu->popup(CheckFileListBox->viewport()->mapToGlobal(pos));
    });
    connect(d->folders, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString name = item->text();
        setFolder(name == kParentEntry ? QFileInfo(d->folder).absolutePath()
                                       : QDir(d->folder).filePath(name));
    });
    connect(DriveComboBox, &QComboBox::activated, this, [this](int index) {
        setFolder(DriveComboBox->itemData(index).toString());
    });
    // The drive box lists the volumes present, whoever mounts them.
    connect(&volumes, &dv::VolumeMonitor::volumeChanged, this, [this] { fillDrives(); });
    fillDrives();
}

LogFileListPage::~LogFileListPage()
{
    // The main window normally takes the group into its header; if not, it is ours.
    if (d->group && !d->group->parent())
        delete d->group;
    delete d;
}

void LogFileListPage::fillDrives()
{
    const QString current = currentDrive();
    DriveComboBox->clear();
    for (const dv::Volume &v : d->volumes.volumes()) {
        QString text = v.root;
        if (!v.device.isEmpty())
            text += QStringLiteral("  (") + v.device + QLatin1Char(')');
        DriveComboBox->addItem(text, v.root);
    }
    const int i = DriveComboBox->findData(current);
    DriveComboBox->setCurrentIndex(i);
}

void LogFileListPage::setDriveBox(const QString &root)
{
    fillDrives();
    int i = DriveComboBox->findData(root);
    if (i < 0 && !root.isEmpty()) {
        DriveComboBox->addItem(root, root);
        i = DriveComboBox->count() - 1;
    }
    DriveComboBox->setCurrentIndex(i);
}

QString LogFileListPage::systemDrive()
{
    for (const dv::Volume &v : d->volumes.volumes())
        if (v.system)
            return v.root;
    return QStringLiteral("/");
}

QString LogFileListPage::localFolder()
{
    return firstChoice(dv::GetMyDocuments() + QStringLiteral("/VidedorovIzarir"),
                       QStringLiteral("EXCAVATOR"));
}

void LogFileListPage::pointAtLocalFolder()
{
    setDriveBox(systemDrive());
    setFolder(localFolder());
}

QString LogFileListPage::currentFolder() const { return d->folder; }
QString LogFileListPage::currentDrive() const { return DriveComboBox->currentData().toString(); }
QString LogFileListPage::fileMask() const { return d->mask; }

void LogFileListPage::setFolder(const QString &folder)
{
    d->folder = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
    d->folders->clear();
    const QDir dir(d->folder);
    if (!d->folder.isEmpty() && dir.exists()) {
        if (!dir.isRoot())
            d->folders->addItem(kParentEntry);
        for (const QFileInfo &fi :
             dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
            auto *item = new QListWidgetItem(d->icons.icon(QFileIconProvider::Folder), fi.fileName());
            d->folders->addItem(item);
        }
    }
    refreshFileList();
}

void LogFileListPage::refreshFileList()
{
    CheckFileListBox->clear();
    if (d->folder.isEmpty())
        return;
    const QList<QRegularExpression> patterns = maskPatterns(d->mask);
    const QFileInfoList files =
        QDir(d->folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fi : files) {
        if (!patterns.isEmpty() &&
            std::none_of(patterns.begin(), patterns.end(), [&](const QRegularExpression &re) {
                return re.match(fi.fileName()).hasMatch();
            }))
            continue;
        auto *item = new QListWidgetItem(d->icons.icon(fi), fi.fileName());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        CheckFileListBox->addItem(item);
    }
}

void LogFileListPage::startDetector()
{
    if (UsbDriveCount(d->volumes) > 0) {
        Q_EMIT logFileTabVisible(true);
        USBAttached = true;
    } else {
        Q_EMIT logFileTabVisible(false);
    }
    QPointer<LogFileListPage> self(this);
    StartUsbDetector(d->volumes, [self](TUSBDetector *, const QString &Drv, const QString &Drive,
                                        bool Attached) {
        if (self)
            self->Usb(Drv, Drive, Attached);
    });
}

void LogFileListPage::Usb(const QString &Drv, const QString &, bool Attached)
{
    if (Attached) {
        USBAttached = true;
        Q_EMIT logFileTabVisible(true);
        setDriveBox(Drv);
        USBDrv = Drv;
        setFolder(firstChoice(currentDrive(), QStringLiteral("EXCAVATOR")));
    } else {
        pointAtLocalFolder();
        USBAttached = false;
        Q_EMIT logFileTabVisible(false);
        USBDrv = QStringLiteral("-");
    }
}

void LogFileListPage::enterPage()
{
    Q_EMIT showLogFileGroup(true);
    d->mask = QStringLiteral("*") + QLatin1String(kLogFileExtensions[kExcavatorLogFile]) +
              QStringLiteral(";");
    const QString usb = USBAttached ? FirstUsbDrive(d->volumes) : QString();
    // Attached but no volume on the USB bus now (the last arrival was a card
    // reader or a disc): the local folder rather than a drive that is not there.
    if (USBAttached && usb != QLatin1String("-")) {
        setDriveBox(usb);
        setFolder(firstChoice(usb, QStringLiteral("EXCAVATOR")));
    } else {
        pointAtLocalFolder();
    }
    // Each read happens after the previous box's handler has stored its values.
    LogFileGB->SuppressWarningsCB->setChecked(d->info.flag(ivSUPPRESSWARNINGS));
    LogFileGB->BackupOnReadCB->setChecked(d->info.flag(ivBACKUPONREADLOGFILE));
    LogFileGB->DeleteOnReadCB->setChecked(d->info.flag(ivDELETEONREADLOGFILE));
}

void LogFileListPage::storeFileBoxes()
{
    d->info.SetVariable(ivDELETEONREADLOGFILE, LogFileGB->DeleteOnReadCB->isChecked());
    d->info.SetVariable(ivBACKUPONREADLOGFILE, LogFileGB->BackupOnReadCB->isChecked());
    Q_EMIT reloadRequested();
}

void LogFileListPage::BackupOnReadCBClick()
{
    if (LogFileGB->BackupOnReadCB->isChecked())
        LogFileGB->DeleteOnReadCB->setChecked(false);
    storeFileBoxes();
}

void LogFileListPage::DeleteOnReadCBClick()
{
    if (LogFileGB->DeleteOnReadCB->isChecked())
        LogFileGB->BackupOnReadCB->setChecked(false);
    storeFileBoxes();
}

void LogFileListPage::SuppressWarningsCBClick()
{
    d->info.SetVariable(ivSUPPRESSWARNINGS, LogFileGB->SuppressWarningsCB->isChecked());
    Q_EMIT reloadRequested();
}

int LogFileListPage::tickedCount() const
{
    int n = 0;
    for (int i = 0; i < CheckFileListBox->count(); ++i)
        if (CheckFileListBox->item(i)->checkState() == Qt::Checked)
            ++n;
    return n;
}

void LogFileListPage::CheckFilePopupMenuPopup()
{
    const int n = tickedCount();
    DeleteSelectedFile1->setEnabled(n > 0);
    if (n == 1)
        DeleteSelectedFile1->setText(QStringLiteral("De&lete Selected File"));
    else if (n > 1)
        DeleteSelectedFile1->setText(QStringLiteral("De&lete Selected Files"));
}

void LogFileListPage::CheckAllFilesClick()
{
    const int n = CheckFileListBox->count();
    for (int i = 0; i < n; ++i)
        CheckFileListBox->item(i)->setCheckState(Qt::Checked);
    if (n > 0)
        CheckFileListBox->setCurrentRow(0);
    d->prompter.show(dv::MsgKind::Information, QString::number(n) + QStringLiteral(" Files Selected"));
}

void LogFileListPage::UnCheckAllFilesClick()
{
    const int n = CheckFileListBox->count();
    for (int i = 0; i < n; ++i)
        CheckFileListBox->item(i)->setCheckState(Qt::Unchecked);
    d->prompter.show(dv::MsgKind::Information,
                     QString::number(n) + QStringLiteral(" Files De-Selected"));
}

void LogFileListPage::DeleteSelectedFile1Click()
{
    // Taken before the first box: a drive notice handled while a box is open
    // may point the list elsewhere, and must not redirect the deletions.
    struct Ticked { QListWidgetItem *item; QString name, path; };
    QList<Ticked> ticked;
    for (int i = 0; i < CheckFileListBox->count(); ++i) {
        QListWidgetItem *item = CheckFileListBox->item(i);
        if (item->checkState() == Qt::Checked)
            ticked.append({item, item->text(), QDir(d->folder).filePath(item->text())});
    }
    for (const Ticked &t : ticked) {
        for (int i = 0; i < CheckFileListBox->count(); ++i)
            if (CheckFileListBox->item(i) == t.item && t.item->text() == t.name)
                CheckFileListBox->setCurrentItem(t.item);
        const dv::MsgButton answer =
            d->prompter.ask(dv::MsgKind::Confirmation,
                            QStringLiteral("Delete :- ") + t.name + QStringLiteral("\n\r") +
                                QStringLiteral("Are you sure?"),
                            dv::mbYes | dv::mbNo, dv::mbNo);
        if (answer != dv::mbYes)
            continue;
        QFile f(t.path);
        if (!f.remove())
            d->prompter.show(dv::MsgKind::Error, QStringLiteral("Could not delete :- ") + t.name +
                                                     QStringLiteral("\n\r") + f.errorString());
    }
    refreshFileList();
}

void LogFileListPage::LoadFilefromDirectory1Click()
{
    Q_EMIT showLogFileGroup(true);
    Q_EMIT logFileTabVisible(true);
    Q_EMIT showLogFilePage();
    setDriveBox(systemDrive());
    setFolder(firstChoice(dv::GetMyDocuments() + QStringLiteral("/DezozadidUrudad"),
                          QStringLiteral("WIND_SPD")));
}

QString LogFileListPage::GetHardDiskPartitionType(const QString &DriveLetter)
{
    for (const dv::Volume &v : d->volumes.volumes())
        if (v.root == DriveLetter)
            return v.fileSystem;
    return {};
}

void LogFileListPage::CopyFirmwareBTNClick()
{
    if (USBDrv.isEmpty())
        USBDrv = FirstUsbDrive(d->volumes);
    const QString x = USBDrv;
    // "-" names no volume; copying there would write beside the program instead.
    if (!QDir::isAbsolutePath(x) || !QFileInfo(x).isDir()) {
        d->prompter.show(dv::MsgKind::Error, QStringLiteral("USB Stick not found"));
        return;
    }
    USBFat = GetHardDiskPartitionType(x);
    if (USBFat.compare(QLatin1String("vfat"), Qt::CaseInsensitive) != 0 &&
        USBFat.compare(QLatin1String("FAT32"), Qt::CaseInsensitive) != 0)
        d->prompter.show(dv::MsgKind::Error, QStringLiteral("USB Stick must be formatted with FAT32"));
    const QString target = QDir(x).filePath(QStringLiteral("QL77bin"));
    if (!QFileInfo(target).isDir() && !QDir().mkdir(target))
        throw dv::EInOutError(QStringLiteral("Cannot create folder ") + target);
    SourceFile = dv::GetMyDocuments() + QStringLiteral("/") +
                 QStringLiteral("DezozadidUrudad/QL77_mf") + QStringLiteral("/") +
                 QStringLiteral("QL77V1_Windspeed_Wireless.dfwf");
    if (!QFileInfo::exists(SourceFile)) {
        d->prompter.show(dv::MsgKind::Error, QStringLiteral("Board Firmware File not Found"));
        return;
    }
    const QString file = target + QStringLiteral("/") + QStringLiteral("QL77V1.bin");
    if (QFileInfo::exists(file))
        QFile::remove(file);
    if (QFile::copy(SourceFile, file))
        d->prompter.ask(dv::MsgKind::Confirmation, QStringLiteral("File Copied to USB Stick"), dv::mbOK,
                        dv::mbOK);
    else
        d->prompter.show(dv::MsgKind::Error, QStringLiteral("File Copy Error"));
}

void LogFileListPage::leaveBusy()
{
    QPushButton *btn = LogFileGB->ReadLogFileBTN;
    btn->setEnabled(true);
    btn->setText(QStringLiteral("Read Log File"));
    LogFileGB->ReadingFileLBL->hide();
    refreshFileList();
    CheckFileListBox->setEnabled(true);
}

void LogFileListPage::ReadLogFileBTNClick()
{
    QPushButton *btn = LogFileGB->ReadLogFileBTN;
    btn->setText(QStringLiteral("Loading     Wait!!"));
    btn->setEnabled(false);
    btn->repaint();
    LogFileGB->ReadingFileLBL->show();
    CheckFileListBox->clearSelection();
    CheckFileListBox->setEnabled(false);

    // The count and the folder are taken once: a drive notice during the run
    // may repoint the list, but the files ticked at the start are the ones read.
    const int count = CheckFileListBox->count();
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        QListWidgetItem *item = CheckFileListBox->item(i);
        if (item->checkState() == Qt::Checked)
            paths.append(QDir(d->folder).filePath(item->text()));
    }

    PageImportObserver observer(*this, [this](const QString &t) { Q_EMIT numEventsChanged(t); });
    try {
        ReadLogFileCommand command(d->db, d->info, d->prompter, d->state);
        command.run(paths, &observer);
    } catch (...) {
        observer.finish();
        leaveBusy();
        throw;
    }
    observer.finish();
    leaveBusy();
    if (!USBAttached) {
        Q_EMIT showViewerPage();
        Q_EMIT logFileTabVisible(false);
    }
}
