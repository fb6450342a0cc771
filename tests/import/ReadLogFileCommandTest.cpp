#include "FixtureDb.h"
#include "FixtureLog.h"

#include "core/Errors.h"
#include "import/ReadLogFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using fixture::Rec;

namespace {

QString backupFolder() { return dvtest::documents() + QStringLiteral("/VidedorovIzarir/__backup"); }

// A fresh backup folder (the main window makes it at start-up), or none.
void resetBackupFolder(bool present)
{
    QDir(backupFolder()).removeRecursively();
    if (present)
        QDir().mkpath(backupFolder());
}

struct Command {
    fixture::Db f;
    QString folder = f.dir.path() + QStringLiteral("/EXCAVATOR");
    ReadLogFileCommand cmd{f.db, f.info, f.prompter, f.state};

    QString write(const QString &name, const QByteArray &bytes) { return dvtest::writeFile(folder + u'/' + name, bytes); }
    bool run(const QStringList &paths) { return cmd.run(paths); }
};

TEST(ReadLogFileCommand, serialNumberIsCharacters6To9OfTheName)
{
    resetBackupFolder(true);
    Command c;
    c.f.set(ivBACKUPONREADLOGFILE, false);
    // A short name after a long one gets only what it has itself.
    const QStringList names{"EXLOG0457_240314.exs", "ABCDE9876", "XYZ12.exs", "EX.exs", "a", "LONGNAME1234567890.exs"};
    QStringList paths;
    for (const QString &n : names)
        paths << c.write(n, fixture::goodRecords(1));
    EXPECT_TRUE(c.run(paths));
    QStringList serials;
    for (const QString &d : c.f.downloads())
        serials << d.section(u':', 1);
    EXPECT_EQ(serials, (QStringList{"0457", "9876", ".exs", "s", "", "AME1"}));
    EXPECT_EQ(c.f.state.FileName.FileNameStr, QStringLiteral("LONGNAME1234567"));
}

TEST(ReadLogFileCommand, eachFileIsOneDownloadInTheOrderGiven)
{
    resetBackupFolder(true);
    Command c;
    c.f.set(ivBACKUPONREADLOGFILE, false);
    const QString a = c.write(QStringLiteral("EXLOG0457_1.exs"), fixture::goodRecords(2, 10));
    const QString b = c.write(QStringLiteral("EXLOG0999_2.exs"), fixture::goodRecords(3, 20));
    EXPECT_TRUE(c.run({a, b}));
    EXPECT_EQ(c.f.downloads(), (QStringList{"1:0457", "2:0999"}));
    EXPECT_EQ(c.f.eventLoadIds(1), (QStringList{"10", "11"}));
    EXPECT_EQ(c.f.eventLoadIds(2), (QStringList{"20", "21", "22"}));
    EXPECT_EQ(c.f.boxes(), (QStringList{"P:2 Records were read into Database", "P:3 Records were read into Database"}));
    EXPECT_EQ(c.f.state.DwnldRecrd, 5);

    // Both settings off: the files stay, and reading one again adds a second download with the same events.
    ASSERT_TRUE(QFile::exists(a));
    EXPECT_TRUE(c.run({a}));
    EXPECT_EQ(c.f.eventLoadIds(3), (QStringList{"10", "11"}));
}

TEST(ReadLogFileCommand, cleanFileIsBackedUpOrDeletedAsTheSettingsSay)
{
    struct Case {
        const char *name;
        bool backup, del, keep;
        bool sourceStays, backupMade;
    };
    const Case cases[] = {
        {"backup on, delete off", true, false, false, false, true},
        {"backup off, delete on", false, true, false, false, false},
        {"both off", false, false, false, true, false},
        {"both on: backed up, not deleted", true, true, false, false, true},
        {"keep files overrides the settings", true, true, true, true, false},
    };
    for (const Case &k : cases) {
        resetBackupFolder(true);
        Command c;
        c.f.set(ivBACKUPONREADLOGFILE, k.backup);
        c.f.set(ivDELETEONREADLOGFILE, k.del);
        c.cmd.setKeepFiles(k.keep);
        const QByteArray bytes = fixture::goodRecords(2);
        const QString path = c.write(QStringLiteral("A.exs"), bytes);
        EXPECT_TRUE(c.run({path})) << k.name;
        EXPECT_EQ(QFile::exists(path), k.sourceStays) << k.name;
        EXPECT_FALSE(QFile::exists(c.folder + QStringLiteral("/A.E~S"))) << k.name;
        const QString backup = backupFolder() + QStringLiteral("/A.E~S");
        EXPECT_EQ(QFile::exists(backup), k.backupMade) << k.name;
        if (k.backupMade) {
            QFile moved(backup);
            ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
            EXPECT_EQ(moved.readAll(), bytes) << k.name;
        }
        EXPECT_EQ(c.f.boxes(), QStringList{"P:2 Records were read into Database"}) << k.name;
    }
}

TEST(ReadLogFileCommand, fileWithABadTerminatorStaysAsItWas)
{
    resetBackupFolder(true);
    Command c;
    c.f.set(ivDELETEONREADLOGFILE, true);
    const QByteArray bytes = fixture::goodRecords(1, 1) + Rec{}.term(0).bytes() + QByteArray(12, '\0')
        + fixture::goodRecords(1, 3);
    const QString path = c.write(QStringLiteral("EXLOG0457_1.exs"), bytes);
    EXPECT_FALSE(c.run({path}));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(QDir(backupFolder()).isEmpty());
    EXPECT_EQ(c.f.downloads(), QStringList{"1:0457"});
    EXPECT_EQ(c.f.eventLoadIds(1), (QStringList{"1", "3"}));
}

TEST(ReadLogFileCommand, failedBackupLeavesTheFileUnderItsOwnNameAndSaysWhy)
{
    const QByteArray bytes = fixture::goodRecords(1);
    {
        resetBackupFolder(false);
        Command c;
        const QString path = c.write(QStringLiteral("A.exs"), bytes);
        EXPECT_FALSE(c.run({path}));
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_FALSE(QFile::exists(c.folder + QStringLiteral("/A.E~S")));
        ASSERT_EQ(c.f.prompter.shown().size(), 2);
        const dv::Prompt &box = c.f.prompter.shown().at(1);
        EXPECT_EQ(box.kind, dv::MsgKind::Error);
        EXPECT_EQ(box.text, QStringLiteral("Could not back up ") + path + QStringLiteral(" to ") + backupFolder()
                                + QStringLiteral("/A.E~S: the backup folder ") + backupFolder()
                                + QStringLiteral(" does not exist"));
    }
    {
        // A backup of the same name already there: neither file changes.
        resetBackupFolder(true);
        dvtest::writeFile(backupFolder() + QStringLiteral("/A.E~S"), "older");
        Command c;
        const QString path = c.write(QStringLiteral("A.exs"), bytes);
        EXPECT_FALSE(c.run({path}));
        QFile src(path), old(backupFolder() + QStringLiteral("/A.E~S"));
        ASSERT_TRUE(src.open(QIODevice::ReadOnly));
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(src.readAll(), bytes);
        EXPECT_EQ(old.readAll(), QByteArray("older"));
        ASSERT_EQ(c.f.prompter.shown().size(), 2);
        EXPECT_TRUE(c.f.prompter.shown().at(1).text.startsWith(QStringLiteral("Could not back up ") + path));
        EXPECT_EQ(c.f.prompter.shown().at(1).kind, dv::MsgKind::Error);
    }
}

// The stick pulled out while its file is read: the file is gone when the
// command wants to move or delete it.
class PullStick : public ImportObserver {
public:
    explicit PullStick(QString path) : path_(std::move(path)) {}
    void recordStored(quint16) override { QFile::remove(path_); }

private:
    QString path_;
};

TEST(ReadLogFileCommand, failedDeletionOrMoveIsToldInAnErrorBox)
{
    for (const bool backup : {false, true}) {
        resetBackupFolder(true);
        Command c;
        c.f.set(ivBACKUPONREADLOGFILE, backup);
        c.f.set(ivDELETEONREADLOGFILE, !backup);
        const QString path = c.write(QStringLiteral("A.exs"), fixture::goodRecords(1));
        PullStick pull(path);
        EXPECT_FALSE(c.cmd.run({path}, &pull)) << backup;
        ASSERT_EQ(c.f.prompter.shown().size(), 2) << backup;
        const dv::Prompt &box = c.f.prompter.shown().at(1);
        EXPECT_EQ(box.kind, dv::MsgKind::Error);
        const QString lead = backup ? QStringLiteral("Could not back up ") + path + QStringLiteral(" to ")
                                    : QStringLiteral("Could not delete ") + path + QStringLiteral(": ");
        EXPECT_TRUE(box.text.startsWith(lead)) << box.text.toStdString();
        EXPECT_TRUE(QDir(backupFolder()).isEmpty());
    }
}

TEST(ReadLogFileCommand, anErrorEndsTheCommandAtThatFile)
{
    resetBackupFolder(true);
    Command c;
    const QString a = c.write(QStringLiteral("EXLOG0001_1.exs"), fixture::goodRecords(2, 10));
    const QString b = c.write(QStringLiteral("EXLOG0002_1.exs"),
                              fixture::goodRecords(1, 20) + Rec{}.load(21, 0).at(24, 0, 0).bytes()
                                  + fixture::goodRecords(1, 22));
    const QString d = c.write(QStringLiteral("EXLOG0003_1.exs"), fixture::goodRecords(1, 30));
    EXPECT_THROW(c.run({a, b, d}), dv::EConvertError);
    EXPECT_TRUE(QFile::exists(backupFolder() + QStringLiteral("/EXLOG0001_1.E~S"))); // handled before
    EXPECT_TRUE(QFile::exists(b));                                                   // not clean
    EXPECT_TRUE(QFile::exists(d));                                                   // never read
    EXPECT_EQ(c.f.downloads(), (QStringList{"1:0001", "2:0002"}));
    EXPECT_EQ(c.f.eventLoadIds(2), QStringList{"20"});

    // A file that cannot be read ends the command too, before its download row.
    const QString missing = c.folder + QStringLiteral("/EXLOG0004_1.exs");
    try {
        c.run({missing, d});
        ADD_FAILURE() << "a missing file must end the command";
    } catch (const dv::EInOutError &e) {
        EXPECT_TRUE(e.message().contains(missing)) << e.message().toStdString();
    }
    EXPECT_EQ(c.f.downloads().size(), 2);
}

} // namespace
