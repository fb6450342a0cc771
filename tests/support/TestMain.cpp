// Every test process gets its own temporary home, so no test touches the real
// user's settings, documents or database; GUI tests run on the offscreen platform.
#include "support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {
QTemporaryDir *g_home = nullptr;
}

namespace dvtest {
QString home() { return g_home->path(); }
}

int main(int argc, char **argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/dorvanel-test-XXXXXX"));
    if (!home.isValid())
        return 2;
    g_home = &home;
    const QByteArray h = home.path().toLocal8Bit();
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QDir(home.path()).mkpath(QStringLiteral("data"));
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("HOME", h.constData(), 1);
    setenv("XDG_CONFIG_HOME", (h + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (h + "/data").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (h + "/runtime").constData(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvanel"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
