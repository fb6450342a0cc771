#include "core/Errors.h"
#include "platform/Documents.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(DocumentsTest, ReportsHomeDocumentsWithoutCreatingIt)
{
    EXPECT_EQ(dv::documentsLocation(), dvtest::documents());
    EXPECT_EQ(dv::GetMyDocuments(), dvtest::documents());
    EXPECT_FALSE(QDir(dvtest::documents()).exists());
}

TEST(DocumentsTest, FolderFromUserDirsHasNoTrailingSeparator)
{
    const QString dirs = dvtest::home() + QStringLiteral("/config/user-dirs.dirs");
    dvtest::writeFile(dirs, "XDG_DOCUMENTS_DIR=\"$HOME/Papers/\"\n");
    const QString got = dv::GetMyDocuments();
    QFile::remove(dirs);
    EXPECT_EQ(got, dvtest::home() + QStringLiteral("/Papers"));
    EXPECT_FALSE(QDir(got).exists());
}

} // namespace
