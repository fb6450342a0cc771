#pragma once

#include "app/ErrorLog.h"
#include "app/MainForm.h"
#include "db/CreateDatabase.h"
#include "db/L3Data.h"
#include "platform/Documents.h"
#include "platform/FileRegistryStore.h"
#include "platform/HidDevice.h"
#include "platform/ScriptedPrompter.h"
#include "platform/VolumeMonitor.h"
#include "settings/L3Registry.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace apptest {

class FakeVolumes : public dv::VolumeMonitor {
    Q_OBJECT
public:
    QList<dv::Volume> list;
    QList<dv::Volume> volumes() override { return list; }
    void start() override {}
};

// Records what the window asks of the link.
class FakeHid : public dv::HidDevice {
    Q_OBJECT
public:
    std::function<void(bool)> onSetActive;
    QList<bool> setActiveCalls;
    bool present() const override { return false; }
    void setActive(bool on) override
    {
        setActiveCalls << on;
        if (onSetActive)
            onSetActive(on);
    }
    bool active() const override { return false; }
    bool write(const QByteArray &) override { return false; }
};

inline dv::Volume usbStick(const QString &root)
{
    dv::Volume v;
    v.root = root;
    v.device = QStringLiteral("/dev/sdz1");
    v.fileSystem = QStringLiteral("vfat");
    v.busType = 7;
    return v;
}

inline QString documents() { return dv::documentsLocation(); }
inline QString productFolder() { return documents() + QStringLiteral("/VidedorovIzarir"); }
inline QString errorLogPath() { return productFolder() + QStringLiteral("/Excavator Error.log"); }

inline QStringList errorLogLines()
{
    QFile f(errorLogPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLocal8Bit(f.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// One start of the main window as the entry sequence makes it, against a
// fresh settings folder, documents folder and (optionally) database.
struct Start {
    enum DbMode { WithDatabase, NoDatabase };
    enum DocsMode { WithProductFolder, NoProductFolder };

    explicit Start(DbMode dbMode = WithDatabase, DocsMode docsMode = WithProductFolder,
                   QList<dv::Volume> vols = {})
    {
        QDir(documents()).removeRecursively();
        QDir().mkpath(documents());
        if (docsMode == WithProductFolder)
            QDir().mkpath(productFolder());
        registry = std::make_unique<dv::FileRegistryStore>(config.path());
        info = std::make_unique<tInfo>(*registry, prompter);
        info->RegPath = QString::fromLatin1(kSettingsKeyPath);
        if (dbMode == WithDatabase) {
            QDir().mkpath(productFolder());
            dv::createDatabase(productFolder() + QStringLiteral("/ExLoggerDB.mdb"));
            info->SetVariable(ivDATABASEPATH, productFolder() + QStringLiteral("/"));
        }
        volumes.list = vols;
        log = std::make_unique<ErrorLog>([] { return dv::GetMyDocuments(); },
                                         [] { return QDateTime::currentDateTime(); });
        db = std::make_unique<TdmDataBase>(*info, prompter);
        window = std::make_unique<TMainFrm>(*info, prompter, *log, volumes, hid, *db);
        AppHook hook(*log);
        createCompleted = hook.run([this] { window->FormCreate(); });
        hook.run([this] { db->DataModuleCreate(); });
    }

    void show()
    {
        window->show();
        QCoreApplication::processEvents();
    }

    QTemporaryDir config;
    dv::ScriptedPrompter prompter;
    std::unique_ptr<dv::FileRegistryStore> registry;
    std::unique_ptr<tInfo> info;
    FakeVolumes volumes;
    FakeHid hid;
    std::unique_ptr<ErrorLog> log;
    std::unique_ptr<TdmDataBase> db;
    std::unique_ptr<TMainFrm> window;
    bool createCompleted = false;
};

} // namespace apptest
