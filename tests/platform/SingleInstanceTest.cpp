#include "platform/SingleInstance.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using dv::SingleInstance;

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir dir{dvtest::home() + QStringLiteral("/lock-XXXXXX")};
    QString lockPath() const { return dir.path() + QStringLiteral("/Dorvanel.lock"); }
};

TEST_F(SingleInstanceTest, DefaultsToRuntimeFolder)
{
    EXPECT_EQ(SingleInstance().lockFilePath(), dvtest::home() + QStringLiteral("/runtime/Dorvanel.lock"));
}

TEST_F(SingleInstanceTest, SecondCopyFailsWhileFirstHoldsAndSucceedsAfterRelease)
{
    {
        SingleInstance first(dir.path());
        ASSERT_TRUE(first.tryLock());
        EXPECT_TRUE(first.tryLock()); // asking again keeps it
        EXPECT_TRUE(QFile::exists(lockPath()));

        SingleInstance second(dir.path());
        EXPECT_FALSE(second.tryLock());
        EXPECT_FALSE(second.isLocked());
        EXPECT_TRUE(first.isLocked());
    }
    EXPECT_FALSE(QFile::exists(lockPath()));
    SingleInstance third(dir.path());
    EXPECT_TRUE(third.tryLock());
    third.release();
    EXPECT_FALSE(QFile::exists(lockPath()));
}

TEST_F(SingleInstanceTest, LockOfDeadProcessIsTakenOver)
{
    // A pid that just ended: the copy that "crashed".
    QProcess p;
    p.start(QStringLiteral("true"), {});
    ASSERT_TRUE(p.waitForStarted());
    const qint64 deadPid = p.processId();
    ASSERT_TRUE(p.waitForFinished());
    ASSERT_GT(deadPid, 0);
    const QByteArray content = QByteArray::number(deadPid) + "\nDorvanel\n"
                               + QSysInfo::machineHostName().toUtf8() + "\n";
    dvtest::writeFile(lockPath(), content);

    SingleInstance copy(dir.path());
    EXPECT_TRUE(copy.tryLock());
}

TEST_F(SingleInstanceTest, DamagedLockFileIsTakenOver)
{
    dvtest::writeFile(lockPath(), QByteArray());
    SingleInstance copy(dir.path());
    EXPECT_TRUE(copy.tryLock());
}

} // namespace
