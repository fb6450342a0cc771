#include "app/Application.h"

#include "app/AppHook.h"

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (hook_)
            hook_->logCurrent();
        return false;
    }
}
