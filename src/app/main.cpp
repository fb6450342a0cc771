// The entry sequence: one copy per user, splash, settings key, the forms and
// the data module in their fixed order, the message loop, the lock released.
#include "app/AppHook.h"
#include "app/Application.h"
#include "app/ApplicationSignals.h"
#include "app/ErrorLog.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/MainFormTexts.h"
#include "app/ShutDown.h"
#include "app/SplashScr.h"
#include "db/L3Data.h"
#include "platform/Documents.h"
#include "platform/FileRegistryStore.h"
#include "platform/HidDevice.h"
#include "platform/MessageBoxPrompter.h"
#include "platform/SingleInstance.h"
#include "platform/LinuxVolumeMonitor.h"
#include "settings/L3Registry.h"

#include <QDateTime>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    Application app(argc, argv);
    dv::FileRegistryStore registry;
    dv::MessageBoxPrompter prompter;
    tInfo Info(registry, prompter); // RegPath stays empty until the sequence sets it

    // A termination request from the system closes the main window as its
    // close button does; before the window is up it ends an open box.
    ApplicationSignals termination;
    TMainFrm *mainWindow = nullptr;
    bool stopRequested = false;
    QObject::connect(&termination, &ApplicationSignals::terminateRequested, &app, [&] {
        stopRequested = true;
        if (mainWindow && mainWindow->isVisible())
            mainWindow->close();
        else
            QCoreApplication::exit(0);
    });

    // 1, 2. One copy per user; the second one says so and ends, touching nothing.
    dv::SingleInstance instance;
    if (!instance.tryLock()) {
        std::fprintf(stderr, "%s\n", dv::kAlreadyRunning);
        std::fflush(stderr);
        prompter.ask(dv::Prompt{dv::MsgKind::Warning, QString::fromLatin1(dv::kAlreadyRunning),
                                dv::mbOK, dv::mbOK, QString::fromLatin1(dv::kAlreadyRunningCaption)});
        return 0;
    }

    // 3.
    auto splash = std::make_unique<TfSplashScreen>();
    splash->showAndPaint();

    // 4, 5.
    Info.RegPath = QString::fromLatin1(kSettingsKeyPath);
    QApplication::setApplicationName(QString::fromLatin1(dv::kApplicationTitle));
    QApplication::setApplicationDisplayName(QString::fromLatin1(dv::kApplicationTitle));

    ErrorLog log([] { return dv::GetMyDocuments(); }, [] { return QDateTime::currentDateTime(); });
    AppHook hook(log);
    app.setHook(&hook);

    dv::LinuxVolumeMonitor volumes;
    dv::NoHidDevice hid;
    // The data module object is inert until its creation handler runs below.
    TdmDataBase dmDataBase(Info, prompter);

    // 6. Each creation handler's failure is logged and the sequence goes on.
    TMainFrm MainFrm(Info, prompter, log, volumes, hid, dmDataBase);
    mainWindow = &MainFrm;
    prompter.setParent(&MainFrm);
    hook.run([&] { MainFrm.FormCreate(); });
    TfCraneInfo fCraneInfo(&MainFrm);
    TfShutDown fShutDown(&MainFrm);
    MainFrm.setShutDownNotice(&fShutDown);
    hook.run([&] { dmDataBase.DataModuleCreate(); });
    TClearRecrds ClearRecrds(&MainFrm);
    TSerialNumberFRM SerialNumberFRM(&MainFrm);
    TReportSelectEX ReportSelectEX(&MainFrm);

    // 7.
    splash.reset();

    // 8. The first show runs the window's show handler.
    int rc = 0;
    if (!stopRequested) {
        MainFrm.show();
        rc = QApplication::exec();
    }

    // 9.
    instance.release();
    return rc;
}
