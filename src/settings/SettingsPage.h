#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QPushButton;
class QGroupBox;
class QTableWidget;
class tInfo;
class TdmDataBase;
namespace dv { class Prompter; }

// The "Settings / Options" page with its supervisor login, and Reload /
// Load Database File, which other commands use.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    SettingsPage(tInfo &info, TdmDataBase &db, dv::Prompter &prompter, QWidget *parent = nullptr);
    ~SettingsPage() override;

    // Chooses a database file: (initial folder, initial name) -> chosen full
    // path, empty when cancelled. Defaults to a file dialog; tests replace it.
    using FileChooser = std::function<QString(const QString &folder, const QString &name)>;
    void setFileChooser(FileChooser chooser);

    int LoginLevel = 0; // 0 none, 2 supervisor

    QGroupBox *SecureOptionsGrpBox = nullptr;
    QLineEdit *PasswordEDT = nullptr;
    QPushButton *SetPswrdBtn = nullptr;
    QPushButton *ReloadBtn = nullptr;
    QPushButton *SaveBtn = nullptr;
    QPushButton *BrowseBtn = nullptr;
    QTableWidget *RegisterStrGrid = nullptr;

    void enterPage();
    // The Debug Sheet was selected: ends supervisor access when the password field holds text.
    void leftForDebugSheet();
    bool RegisterStrGridCanEditCell(int row, int column) const;

public Q_SLOTS:
    void UpDateRegistrySettings();
    void Reload();
    void PasswordEDTChange();
    void SetPswrdBtnClick();
    void SaveBtnClick();
    void ReloadBtnClick();
    bool BrowseBtnClick(); // true when a file was chosen and opened
    void LoadDatabaseFile1Click();

Q_SIGNALS:
    // Reload counted the events: the viewer's NumEvents shows it.
    void numEventsChanged(const QString &text);

private:
    struct Impl;
    Impl *d;
};
