// Shell: the page's behaviour is filled in by its own change.
#include "settings/SettingsPage.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

struct SettingsPage::Impl {
    FileChooser chooser;
};

SettingsPage::SettingsPage(tInfo &, TdmDataBase &, dv::Prompter &, QWidget *parent)
    : QWidget(parent), d(new Impl)
{
    SecureOptionsGrpBox = new QGroupBox(QStringLiteral("LogIn Options"), this);
    PasswordEDT = new QLineEdit(SecureOptionsGrpBox);
    SetPswrdBtn = new QPushButton(QStringLiteral("&Login"), SecureOptionsGrpBox);
    ReloadBtn = new QPushButton(QStringLiteral("&Reload"), this);
    SaveBtn = new QPushButton(QStringLiteral("&Save"), this);
    BrowseBtn = new QPushButton(QStringLiteral("&Browse.."), this);
    RegisterStrGrid = new QTableWidget(this);
    auto *l = new QVBoxLayout(this);
    l->addWidget(SecureOptionsGrpBox);
    l->addWidget(RegisterStrGrid);
}
SettingsPage::~SettingsPage() { delete d; }
void SettingsPage::setFileChooser(FileChooser chooser) { d->chooser = std::move(chooser); }
void SettingsPage::enterPage() {}
void SettingsPage::leftForDebugSheet() {}
bool SettingsPage::RegisterStrGridCanEditCell(int, int) const { return false; }
void SettingsPage::UpDateRegistrySettings() {}
void SettingsPage::Reload() {}
void SettingsPage::PasswordEDTChange() {}
void SettingsPage::SetPswrdBtnClick() {}
void SettingsPage::SaveBtnClick() {}
void SettingsPage::ReloadBtnClick() {}
bool SettingsPage::BrowseBtnClick() { return false; }
void SettingsPage::LoadDatabaseFile1Click() {}
