#include "db/DatabaseSearch.h"
#include "db/L3Data.h"
#include "db/DbFixture.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using dv::DatabaseSearch;

// Settings point at <root>/settings; Documents and the program folder are
// under the same temporary root.
class Search : public ::testing::Test {
protected:
    dbtest::Settings s;
    QTemporaryDir root;
    QString sep = QDir::separator();
    QString docs, docsFolder, app, settingsFolder;
    const QString name = QStringLiteral("ExLoggerDB.mdb");

    void SetUp() override
    {
        docs = root.path() + QStringLiteral("/Documents");
        docsFolder = docs + sep + QStringLiteral("VidedorovIzarir") + sep;
        app = root.path() + QStringLiteral("/app/");
        settingsFolder = root.path() + QStringLiteral("/settings");
        for (const QString &d : {docsFolder, app, settingsFolder})
            QDir().mkpath(d);
        s.setDatabase(settingsFolder, name);
    }

    DatabaseSearch::Outcome run()
    {
        DatabaseSearch search(s.info, s.prompter, docs, app);
        return search.run();
    }
};

TEST_F(Search, FileWhereTheSettingsSayAsksNothing)
{
    dv::createDatabase(settingsFolder + sep + name);
    EXPECT_EQ(run(), DatabaseSearch::Outcome::FoundBySettings);
    EXPECT_TRUE(s.prompter.shown().isEmpty());
    EXPECT_EQ(s.info.text(ivDATABASEPATH), settingsFolder);
}

TEST_F(Search, FoundInDocumentsOrProgramFolderIsRecordedOnOkOnly)
{
    const struct {
        QString folder;
        dv::MsgButton answer;
        QString expectedSetting;
    } cases[] = {
        {docsFolder, dv::mbOK, docsFolder},
        {docsFolder, dv::mbCancel, settingsFolder},
        {app, dv::mbOK, app},
        {app, dv::mbCancel, settingsFolder},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.folder + (c.answer == dv::mbOK ? " OK" : " Cancel")));
        s.setDatabase(settingsFolder, name);
        s.prompter.clear();
        const QString file = c.folder + name;
        dv::createDatabase(file);
        s.prompter.answerNext(c.answer);
        EXPECT_EQ(run(), DatabaseSearch::Outcome::FoundElsewhere);
        ASSERT_EQ(s.prompter.shown().size(), 1);
        const dv::Prompt &p = s.prompter.shown()[0];
        EXPECT_EQ(p.kind, dv::MsgKind::Confirmation);
        EXPECT_EQ(p.text, QStringLiteral("Database Found in :- ") + file + QStringLiteral(" Update Registry?"));
        EXPECT_EQ(p.buttons, dv::mbOK | dv::mbCancel);
        EXPECT_EQ(p.defaultButton, dv::mbCancel);
        EXPECT_EQ(s.info.text(ivDATABASEPATH), c.expectedSetting);
        EXPECT_EQ(s.info.text(ivDATABASENAME), name);

        // the data module then opens the recorded file, or reports the settings path
        s.prompter.clear();
        TdmDataBase dm(s.info, s.prompter);
        dm.DataModuleCreate();
        EXPECT_EQ(dm.connected(), c.answer == dv::mbOK);
        if (c.answer == dv::mbCancel) {
            EXPECT_EQ(s.prompter.texts(),
                      QStringList{QStringLiteral("Database Filename doesn't exist :- ") + settingsFolder + sep + name});
        }
        QFile::remove(file);
    }
}

TEST_F(Search, FileNowhereGivesOneBoxFromTheSearchAndOneFromTheDataModule)
{
    EXPECT_EQ(run(), DatabaseSearch::Outcome::NotFound);
    TdmDataBase dm(s.info, s.prompter);
    dm.DataModuleCreate();
    ASSERT_EQ(s.prompter.shown().size(), 2);
    EXPECT_EQ(s.prompter.shown()[0].kind, dv::MsgKind::Error);
    EXPECT_EQ(s.prompter.texts(),
              (QStringList{QStringLiteral("Database Filename doesn't exist :- ") + app + name,
                           QStringLiteral("Database Filename doesn't exist :- ") + settingsFolder + sep + name}));
    EXPECT_EQ(s.info.text(ivDATABASEPATH), settingsFolder);
    EXPECT_FALSE(dm.connected());
}

} // namespace
