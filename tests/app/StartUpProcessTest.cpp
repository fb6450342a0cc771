// The built program, run as a person would start it: one copy per user.
#include "db/CreateDatabase.h"
#include "platform/Documents.h"
#include "platform/FileRegistryStore.h"
#include "platform/ScriptedPrompter.h"
#include "settings/L3Registry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

QString programPath()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../../src/app/dorvanel"));
}

// A copy of the program on the offscreen platform, in this test's home.
struct Copy {
    QProcess p;
    QByteArray err;

    void start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(programPath(), {});
        ASSERT_TRUE(p.waitForStarted(10000)) << p.errorString().toStdString();
    }
    // Waits until the copy wrote text to standard error, or the time is up.
    bool waitForError(const QByteArray &text, int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            p.waitForReadyRead(100);
            err += p.readAllStandardError();
            if (err.contains(text))
                return true;
            if (p.state() == QProcess::NotRunning)
                break;
        }
        return err.contains(text);
    }
    // Ends it the way the session does at log-out; answers its exit code.
    int terminate()
    {
        if (p.state() != QProcess::NotRunning)
            ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
        if (!p.waitForFinished(15000)) {
            p.kill();
            p.waitForFinished(5000);
            return -1;
        }
        err += p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }
    ~Copy()
    {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
};

// A database the settings point at, so the start-up shows no box.
void prepareDatabase()
{
    const QString folder = dv::documentsLocation() + QStringLiteral("/VidedorovIzarir");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    dv::createDatabase(folder + QStringLiteral("/ExLoggerDB.mdb"));
    dv::FileRegistryStore reg;
    dv::ScriptedPrompter prompter;
    tInfo info(reg, prompter);
    info.RegPath = QString::fromLatin1(kSettingsKeyPath);
    info.SetVariable(ivDATABASEPATH, folder + QStringLiteral("/"));
}

} // namespace

TEST(StartUpProcess, SecondCopySaysAlreadyRunningAndTheLockIsFreedAtExit)
{
    if (!QFileInfo(programPath()).isExecutable())
        GTEST_SKIP() << "the program is not built: " << programPath().toStdString();
    prepareDatabase();

    Copy first;
    first.start();
    // Give the first copy time to take the lock and open its window.
    EXPECT_FALSE(first.waitForError("Program already running", 3000));
    ASSERT_EQ(first.p.state(), QProcess::Running) << first.err.toStdString();

    const QString settingsFile = dv::FileRegistryStore().fileFor(QString::fromLatin1(kSettingsKeyPath));
    const QDateTime settingsStamp = QFileInfo(settingsFile).lastModified();

    Copy second;
    second.start();
    EXPECT_TRUE(second.waitForError("Program already running", 10000)) << second.err.toStdString();
    EXPECT_EQ(second.terminate(), 0) << "the second copy's box ends the program cleanly";
    EXPECT_EQ(first.p.state(), QProcess::Running) << "the first copy was disturbed";
    EXPECT_EQ(QFileInfo(settingsFile).lastModified(), settingsStamp) << "the second copy wrote settings";

    EXPECT_EQ(first.terminate(), 0) << first.err.toStdString();

    Copy third;
    third.start();
    EXPECT_FALSE(third.waitForError("Program already running", 3000)) << third.err.toStdString();
    EXPECT_EQ(third.p.state(), QProcess::Running);
    EXPECT_EQ(third.terminate(), 0) << third.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dv::documentsLocation() +
                                   QStringLiteral("/VidedorovIzarir/Excavator Error.log")))
        << "a clean start-up and shutdown logged an error";
}
