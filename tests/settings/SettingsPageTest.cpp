#include "settings/SettingsPage.h"

#include "core/Errors.h"
#include "views/ViewerTestWorld.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

class SettingsPageTest : public ::testing::Test {
protected:
    dvtest::World w;
    QString firstDb;
    std::unique_ptr<SettingsPage> page;
    QStringList counts; // every numEventsChanged
    int chooserCalls = 0;
    QString chooserFolder, chooserName;

    void SetUp() override
    {
        firstDb = w.databaseAt(QStringLiteral("first.mdb"), dvtest::threeDownloads());
        w.openDatabase(firstDb);
        page = std::make_unique<SettingsPage>(w.info, w.db, w.prompter);
        page->resize(600, 400);
        page->show();
        QObject::connect(page.get(), &SettingsPage::numEventsChanged,
                         [this](const QString &text) { counts << text; });
    }
    void choose(const QString &path)
    {
        page->setFileChooser([this, path](const QString &folder, const QString &name) {
            ++chooserCalls;
            chooserFolder = folder;
            chooserName = name;
            return path;
        });
    }
    QString grid(int row, int column) const
    {
        const QTableWidgetItem *item = page->RegisterStrGrid->item(row, column);
        return item ? item->text() : QString();
    }
    void setGrid(int row, const QString &text) { page->RegisterStrGrid->item(row, 1)->setText(text); }
    std::optional<dv::RegValue> stored(const char *name)
    {
        return w.reg.read(QString::fromLatin1(kSettingsKeyPath), QString::fromLatin1(name));
    }
    void login()
    {
        page->enterPage();
        page->PasswordEDT->setText(QStringLiteral("pavok7"));
        ASSERT_TRUE(page->SetPswrdBtn->isEnabled());
        page->SetPswrdBtn->click();
    }
    QString storedPath() { return w.info.text(ivDATABASEPATH); }
    QString storedName() { return w.info.text(ivDATABASENAME); }
};

TEST_F(SettingsPageTest, GridShowsEverySettingAndHidesThePasswordUntilLogin)
{
    page->enterPage();
    const QStringList names{"Parameter",         "DataBase Path",     "DataBase Name",  "Supervisor Password",
                            "Log Errors",        "Suppress Warnings", "Delete On Read", "Backup On Read"};
    ASSERT_EQ(page->RegisterStrGrid->rowCount(), 8);
    ASSERT_EQ(page->RegisterStrGrid->columnCount(), 2);
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(grid(r, 0), names[r]);
    const QStringList values{"Setting", QFileInfo(firstDb).absolutePath(), "first.mdb", "******",
                             "False",   "False",                            "False",     "True"};
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(grid(r, 1), values[r]) << "row " << r;
    EXPECT_EQ(page->RegisterStrGrid->columnWidth(0), 120);

    // Locked: grid and buttons are disabled.
    for (QWidget *wd : {static_cast<QWidget *>(page->RegisterStrGrid), static_cast<QWidget *>(page->ReloadBtn),
                        static_cast<QWidget *>(page->SaveBtn), static_cast<QWidget *>(page->BrowseBtn)})
        EXPECT_FALSE(wd->isEnabled());

    login();
    EXPECT_EQ(page->LoginLevel, 2);
    EXPECT_EQ(grid(3, 1), QStringLiteral("rutab"));
    EXPECT_TRUE(page->PasswordEDT->text().isEmpty());
    EXPECT_FALSE(page->SetPswrdBtn->isEnabled());
    for (QWidget *wd : {static_cast<QWidget *>(page->RegisterStrGrid), static_cast<QWidget *>(page->ReloadBtn),
                        static_cast<QWidget *>(page->SaveBtn), static_cast<QWidget *>(page->BrowseBtn)})
        EXPECT_TRUE(wd->isEnabled());
}

TEST_F(SettingsPageTest, OnlyThePasswordValueCanBeEdited)
{
    login();
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 2; ++c) {
            const bool editable = r == 3 && c == 1;
            EXPECT_EQ(page->RegisterStrGridCanEditCell(r, c), editable) << r << "," << c;
            EXPECT_EQ(bool(page->RegisterStrGrid->item(r, c)->flags() & Qt::ItemIsEditable), editable)
                << r << "," << c;
        }
}

TEST_F(SettingsPageTest, LoginIsEnabledOnlyByAnExactPassword)
{
    page->enterPage();
    struct Case { const char *typed; bool enabled; };
    const Case cases[] = {
        {"pavok7", true}, {"pavok7x", false}, {"PAVOK7", false}, {"pavok", false},
        {"rutab", true},  {"Rutab", false},   {" rutab", false}, {"", false},
    };
    for (const Case &c : cases) {
        page->PasswordEDT->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(page->SetPswrdBtn->isEnabled(), c.enabled) << c.typed;
    }
    // The stored password is read as the field changes, not when the page opened.
    w.info.SetVariable(ivSUPERVISORPASSWORD, QStringLiteral("s3cret"));
    page->PasswordEDT->setText(QStringLiteral("rutab"));
    EXPECT_FALSE(page->SetPswrdBtn->isEnabled());
    page->PasswordEDT->setText(QStringLiteral("s3cret"));
    EXPECT_TRUE(page->SetPswrdBtn->isEnabled());
    page->PasswordEDT->setText(QStringLiteral("pavok7"));
    EXPECT_TRUE(page->SetPswrdBtn->isEnabled());

    // Entering the page again empties the field and disables Login.
    page->enterPage();
    EXPECT_TRUE(page->PasswordEDT->text().isEmpty());
    EXPECT_FALSE(page->SetPswrdBtn->isEnabled());
    EXPECT_EQ(page->PasswordEDT->echoMode(), QLineEdit::Password);
}

TEST_F(SettingsPageTest, DebugSheetEndsSupervisorAccessOnlyWithTextInThePasswordField)
{
    login();
    page->leftForDebugSheet();
    EXPECT_EQ(page->LoginLevel, 2);
    page->PasswordEDT->setText(QStringLiteral("x"));
    page->leftForDebugSheet();
    EXPECT_EQ(page->LoginLevel, 0);
    page->enterPage();
    EXPECT_EQ(grid(3, 1), QStringLiteral("******"));
    EXPECT_FALSE(page->SaveBtn->isEnabled());
}

TEST_F(SettingsPageTest, SaveWritesEveryRowBackWithBooleansAsNumbers)
{
    login();
    setGrid(3, QStringLiteral("newpass"));
    page->SaveBtn->click();
    EXPECT_EQ(stored("Supervisor Password"), dv::RegValue::ofString(QStringLiteral("newpass")));
    EXPECT_EQ(stored("DataBase Name"), dv::RegValue::ofString(QStringLiteral("first.mdb")));
    EXPECT_EQ(stored("Log Errors"), dv::RegValue::ofDWord(0));
    EXPECT_EQ(stored("Suppress Warnings"), dv::RegValue::ofDWord(0));
    EXPECT_EQ(stored("Delete On Read"), dv::RegValue::ofDWord(0));
    EXPECT_EQ(stored("Backup On Read"), dv::RegValue::ofDWord(1));
    // Save ends with a reload: the grid again, and the event count.
    EXPECT_EQ(counts, QStringList{QStringLiteral("5")});
    EXPECT_EQ(grid(3, 1), QStringLiteral("newpass"));
}

TEST_F(SettingsPageTest, SaveStopsAtARowThatIsNoTruthValue)
{
    login();
    setGrid(3, QStringLiteral("changed"));
    setGrid(4, QStringLiteral("true"));
    setGrid(5, QStringLiteral("maybe"));
    setGrid(6, QStringLiteral("True"));
    EXPECT_THROW(page->SaveBtnClick(), dv::EConvertError);
    EXPECT_EQ(stored("Supervisor Password"), dv::RegValue::ofString(QStringLiteral("changed")));
    EXPECT_EQ(stored("Log Errors"), dv::RegValue::ofDWord(1));
    EXPECT_EQ(w.info.flag(ivDELETEONREADLOGFILE), false); // after the bad row: not written
    EXPECT_TRUE(counts.isEmpty());                         // and no reload
    EXPECT_EQ(grid(5, 1), QStringLiteral("maybe"));
}

TEST_F(SettingsPageTest, ReloadReopensTheTablesAndReportsTheEventCount)
{
    w.db.L3EventTbl.close();
    w.db.L3DownLoadTbl.close();
    page->Reload();
    EXPECT_TRUE(w.db.L3EventTbl.active());
    EXPECT_TRUE(w.db.L3DownLoadTbl.active());
    EXPECT_EQ(counts, QStringList{QStringLiteral("5")});
    EXPECT_EQ(grid(2, 1), QStringLiteral("first.mdb"));
}

TEST_F(SettingsPageTest, BrowseThenCancelChangesNothing)
{
    login();
    choose(QString());
    EXPECT_FALSE(page->BrowseBtnClick());
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_EQ(chooserFolder, QFileInfo(firstDb).absolutePath());
    EXPECT_EQ(chooserName, QStringLiteral("first.mdb"));
    EXPECT_EQ(grid(2, 1), QStringLiteral("first.mdb"));
    EXPECT_EQ(w.db.L3ADOConnection.path(), firstDb);
    EXPECT_TRUE(w.db.L3DownLoadTbl.active());

    page->LoadDatabaseFile1Click();
    EXPECT_EQ(storedPath(), QFileInfo(firstDb).absolutePath());
    EXPECT_EQ(storedName(), QStringLiteral("first.mdb"));
    EXPECT_TRUE(w.prompter.shown().isEmpty());
}

TEST_F(SettingsPageTest, BrowseShowsTheNewFileButStoresNothing)
{
    login();
    const QString other = w.databaseAt(QStringLiteral("other.mdb"));
    choose(other);
    EXPECT_TRUE(page->BrowseBtnClick());
    EXPECT_EQ(grid(1, 1), QDir::toNativeSeparators(w.dir) + QDir::separator());
    EXPECT_EQ(grid(2, 1), QStringLiteral("other.mdb"));
    EXPECT_EQ(w.db.L3ADOConnection.path(), other);
    EXPECT_FALSE(w.db.L3DownLoadTbl.active()); // until something reopens them
    EXPECT_EQ(storedName(), QStringLiteral("first.mdb"));
}

TEST_F(SettingsPageTest, LoadDatabaseFileRecordsTheNewFileAndShowsItsCount)
{
    const QString sub = w.dir + QStringLiteral("/elsewhere");
    QDir().mkpath(sub);
    const QString other = dvtest::makeDatabase(
        sub + QStringLiteral("/other.mdb"),
        {QStringLiteral("INSERT INTO EventTable (DownLoad, DateTime) VALUES (1, '2024-01-01T00:00:00.000')")});
    choose(other);
    page->LoadDatabaseFile1Click();
    EXPECT_EQ(storedPath(), QDir::toNativeSeparators(sub) + QDir::separator());
    EXPECT_EQ(storedName(), QStringLiteral("other.mdb"));
    EXPECT_EQ(counts, QStringList{QStringLiteral("1")});
    EXPECT_TRUE(w.db.L3EventTbl.active());
    EXPECT_TRUE(w.db.L3DownLoadTbl.active());

    // The folder as stored joins back to the same file, as the data module does it.
    EXPECT_TRUE(QFileInfo(storedPath() + QDir::separator() + storedName()).isFile());
}

TEST_F(SettingsPageTest, AFileThatIsNoUsableDatabaseIsReportedAndTheOldOneStaysOpen)
{
    const QString garbage = dvtest::writeFile(w.dir + QStringLiteral("/garbage.mdb"), QByteArray(4096, 'x'));
    const QString bare = w.dir + QStringLiteral("/bare.mdb");
    {
        // An engine file without the program's tables.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        db.setDatabaseName(bare);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE Other (x)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));

    w.db.L3DownLoadTbl.moveTo(1);
    // Each with a word of what went wrong that the engine gives.
    const std::pair<QString, QString> cases[] = {{garbage, QStringLiteral("garbage.mdb")},
                                                 {bare, QStringLiteral("EventTable")}};
    for (const auto &[bad, said] : cases) {
        SCOPED_TRACE(bad.toStdString());
        w.prompter.clear();
        counts.clear();
        choose(bad);
        page->LoadDatabaseFile1Click();
        ASSERT_EQ(w.prompter.shown().size(), 1);
        EXPECT_EQ(w.prompter.shown()[0].kind, dv::MsgKind::Error);
        EXPECT_TRUE(w.prompter.shown()[0].text.contains(said)) << w.prompter.shown()[0].text.toStdString();
        EXPECT_EQ(storedPath(), QFileInfo(firstDb).absolutePath());
        EXPECT_EQ(storedName(), QStringLiteral("first.mdb"));
        EXPECT_EQ(w.db.L3ADOConnection.path(), firstDb);
        EXPECT_TRUE(w.db.L3EventTbl.active());
        EXPECT_TRUE(w.db.L3DownLoadTbl.active());
        EXPECT_EQ(w.db.L3DownLoadTbl.field(QStringLiteral("DownLoad")).toInt(), 2);
        EXPECT_EQ(w.db.EventCount(), 5);
    }
}

} // namespace
