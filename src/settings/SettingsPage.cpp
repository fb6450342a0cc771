#include "settings/SettingsPage.h"

#include "core/Errors.h"
#include "db/L3Data.h"
#include "platform/Prompter.h"
#include "settings/L3Registry.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kBuiltInPassword = QStringLiteral("pavok7");
const QString kPasswordMask = QStringLiteral("******");
constexpr int kSettingCount = 7;
constexpr int kFixedRows = 3;   // heading row, database folder, database name
constexpr int kPasswordRow = 3; // row of "Supervisor Password"

// The folder of a chosen file as the settings keep it: with a trailing separator.
QString folderOf(const QString &path)
{
    QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QString openDatabaseDialog(QWidget *parent, const QString &folder, const QString &name)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("Microsoft Database (*.mdb)"));
    dialog.setDirectory(folder);
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

struct SettingsPage::Impl {
    tInfo &info;
    TdmDataBase &db;
    dv::Prompter &prompter;
    FileChooser chooser;
    // The file the last Browse chose and opened.
    QString chosenFolder;
    QString chosenName;
};

SettingsPage::SettingsPage(tInfo &info, TdmDataBase &db, dv::Prompter &prompter, QWidget *parent)
    : QWidget(parent), d(new Impl{info, db, prompter, {}, {}, {}})
{
    d->chooser = [this](const QString &folder, const QString &name) {
        return openDatabaseDialog(this, folder, name);
    };

    SecureOptionsGrpBox = new QGroupBox(QStringLiteral("LogIn Options"), this);
    auto *login = new QHBoxLayout(SecureOptionsGrpBox);
    auto *passwordLabel = new QLabel(QStringLiteral("Supervisor password :"), SecureOptionsGrpBox);
    PasswordEDT = new QLineEdit(SecureOptionsGrpBox);
    PasswordEDT->setObjectName(QStringLiteral("PasswordEDT"));
    PasswordEDT->setEchoMode(QLineEdit::Password);
    // Masked with "*" rather than the style's own bullet.
    PasswordEDT->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    passwordLabel->setBuddy(PasswordEDT);
    SetPswrdBtn = new QPushButton(QStringLiteral("&Login"), SecureOptionsGrpBox);
    SetPswrdBtn->setEnabled(false);
    login->addWidget(passwordLabel);
    login->addWidget(PasswordEDT, 1);
    login->addWidget(SetPswrdBtn);

    auto *registryPNL = new QWidget(this);
    registryPNL->setObjectName(QStringLiteral("RegistryPNL"));
    auto *buttons = new QHBoxLayout(registryPNL);
    buttons->setContentsMargins(0, 0, 0, 0);
    ReloadBtn = new QPushButton(QStringLiteral("&Reload"), registryPNL);
    SaveBtn = new QPushButton(QStringLiteral("&Save"), registryPNL);
    SaveBtn->setDefault(true);
    BrowseBtn = new QPushButton(QStringLiteral("&Browse.."), registryPNL);
    buttons->addWidget(ReloadBtn);
    buttons->addWidget(SaveBtn);
    buttons->addWidget(BrowseBtn);
    buttons->addStretch(1);

    RegisterStrGrid = new QTableWidget(8, 2, this);
    RegisterStrGrid->setObjectName(QStringLiteral("RegisterStrGrid"));
    // Row 0 is the grid's own heading row.
    RegisterStrGrid->horizontalHeader()->hide();
    RegisterStrGrid->verticalHeader()->hide();
    RegisterStrGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    RegisterStrGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                     | QAbstractItemView::AnyKeyPressed);

    auto *l = new QVBoxLayout(this);
    l->addWidget(SecureOptionsGrpBox);
    l->addWidget(registryPNL);
    l->addWidget(RegisterStrGrid, 1);

    for (QWidget *w : {static_cast<QWidget *>(RegisterStrGrid), static_cast<QWidget *>(ReloadBtn),
                       static_cast<QWidget *>(SaveBtn), static_cast<QWidget *>(BrowseBtn)})
        w->setEnabled(false);

    connect(PasswordEDT, &QLineEdit::textChanged, this, &SettingsPage::PasswordEDTChange);
    connect(SetPswrdBtn, &QPushButton::clicked, this, &SettingsPage::SetPswrdBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &SettingsPage::SaveBtnClick);
    connect(ReloadBtn, &QPushButton::clicked, this, &SettingsPage::ReloadBtnClick);
    connect(BrowseBtn, &QPushButton::clicked, this, [this] { BrowseBtnClick(); });
}

SettingsPage::~SettingsPage() { delete d; }

void SettingsPage::setFileChooser(FileChooser chooser) { d->chooser = std::move(chooser); }

void SettingsPage::enterPage()
{
    SetPswrdBtn->setEnabled(false);
    PasswordEDT->setFocus();
    {
        // Entering always leaves Login disabled, even when the stored password is empty.
        const QSignalBlocker block(PasswordEDT);
        PasswordEDT->clear();
    }
    UpDateRegistrySettings();
    const bool unlocked = LoginLevel == 2;
    for (QWidget *w : {static_cast<QWidget *>(RegisterStrGrid), static_cast<QWidget *>(ReloadBtn),
                       static_cast<QWidget *>(SaveBtn), static_cast<QWidget *>(BrowseBtn)})
        w->setEnabled(unlocked);
}

void SettingsPage::leftForDebugSheet()
{
    if (!PasswordEDT->text().isEmpty())
        LoginLevel = 0;
}

bool SettingsPage::RegisterStrGridCanEditCell(int row, int column) const
{
    return row == kPasswordRow && column == 1;
}

void SettingsPage::UpDateRegistrySettings()
{
    RegisterStrGrid->setRowCount(8);
    RegisterStrGrid->setColumnCount(2);
    auto put = [this](int row, int column, const QString &text) {
        auto *item = new QTableWidgetItem(text);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (RegisterStrGridCanEditCell(row, column))
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        if (row < kFixedRows) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setBackground(RegisterStrGrid->palette().button());
        }
        RegisterStrGrid->setItem(row, column, item);
    };
    put(0, 0, QStringLiteral("Parameter"));
    put(0, 1, QStringLiteral("Setting"));
    RegisterStrGrid->setColumnWidth(0, 120);
    RegisterStrGrid->setColumnWidth(1, qMax(RegisterStrGrid->width() - 130, 120));
    for (int i = 0; i < kSettingCount; ++i) {
        const QString value = tInfo::TextOf(d->info.ReturnVariable(i));
        put(i + 1, 0, d->info.ReturnVariableName(i));
        put(i + 1, 1, (i + 1 == kPasswordRow && LoginLevel != 2) ? kPasswordMask : value);
    }
}

void SettingsPage::Reload()
{
    UpDateRegistrySettings();
    d->db.ActivateDataSourceEventTable();
    d->db.ActivateDataSourceDownLoadTable();
    Q_EMIT numEventsChanged(QString::number(d->db.EventCount()));
}

void SettingsPage::PasswordEDTChange()
{
    const QString typed = PasswordEDT->text();
    bool match = typed == kBuiltInPassword;
    if (!match)
        match = typed == d->info.text(ivSUPERVISORPASSWORD);
    SetPswrdBtn->setEnabled(match);
}

void SettingsPage::SetPswrdBtnClick()
{
    LoginLevel = 2;
    PasswordEDT->clear();
    PasswordEDTChange();
    for (QWidget *w : {static_cast<QWidget *>(RegisterStrGrid), static_cast<QWidget *>(ReloadBtn),
                       static_cast<QWidget *>(SaveBtn), static_cast<QWidget *>(BrowseBtn)})
        w->setEnabled(true);
    UpDateRegistrySettings();
}

void SettingsPage::SaveBtnClick()
{
    for (int i = 0; i < kSettingCount; ++i) {
        // Without supervisor access the row shows the mask, not the password.
        if (i + 1 == kPasswordRow && LoginLevel != 2)
            continue;
        const QTableWidgetItem *item = RegisterStrGrid->item(i + 1, 1);
        d->info.SetVariable(i, item ? item->text() : QString());
    }
    Reload();
}

void SettingsPage::ReloadBtnClick() { Reload(); }

bool SettingsPage::BrowseBtnClick()
{
    const QString chosen = d->chooser ? d->chooser(d->info.text(ivDATABASEPATH), d->info.text(ivDATABASENAME))
                                      : QString();
    if (chosen.isEmpty())
        return false;

    TdmDataBase &db = d->db;
    // What was open before, so a file that does not open leaves it as it was.
    const bool wasConnected = db.connected();
    const QString previous = db.L3ADOConnection.path();
    const bool eventsOpen = db.L3EventTbl.active();
    const bool equipmentOpen = db.L3EquipmentTbl.active();
    const bool downloadsOpen = db.L3DownLoadTbl.active();
    const QVariant currentDownload = (downloadsOpen && !db.L3DownLoadTbl.isEmpty())
                                         ? db.L3DownLoadTbl.field(QStringLiteral("DownLoad"))
                                         : QVariant();
    try {
        db.OpenDBConnection(chosen);
        // A file without the program's tables is no more usable than a foreign one.
        db.L3EventTbl.open();
        db.L3DownLoadTbl.open();
        db.L3EventTbl.close();
        db.L3DownLoadTbl.close();
    } catch (const dv::EDatabaseError &e) {
        d->prompter.show(dv::MsgKind::Error, e.message());
        db.L3EventTbl.close();
        db.L3DownLoadTbl.close();
        db.L3ADOConnection.close();
        if (wasConnected) {
            try {
                db.OpenDBConnection(previous);
                if (eventsOpen)
                    db.ActivateDataSourceEventTable();
                if (equipmentOpen)
                    db.L3EquipmentTbl.open();
                if (downloadsOpen) {
                    db.ActivateDataSourceDownLoadTable();
                    if (currentDownload.isValid())
                        db.L3DownLoadTbl.locate(QStringLiteral("DownLoad"), currentDownload);
                }
            } catch (const dv::EDatabaseError &again) {
                d->prompter.show(dv::MsgKind::Error, again.message());
            }
        }
        return false;
    }

    d->chosenFolder = folderOf(chosen);
    d->chosenName = QFileInfo(chosen).fileName();
    auto setText = [this](int row, const QString &text) {
        if (QTableWidgetItem *item = RegisterStrGrid->item(row, 1))
            item->setText(text);
        else
            RegisterStrGrid->setItem(row, 1, new QTableWidgetItem(text));
    };
    setText(1, d->chosenFolder);
    setText(2, d->chosenName);
    return true;
}

void SettingsPage::LoadDatabaseFile1Click()
{
    const bool chosen = BrowseBtnClick();
    // Nothing open and nothing chosen: there are no tables to reopen.
    if (!chosen && !d->db.connected())
        return;
    if (chosen) {
        d->info.SetVariable(ivDATABASEPATH, d->chosenFolder);
        d->info.SetVariable(ivDATABASENAME, d->chosenName);
    }
    Reload();
}
