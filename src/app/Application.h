#pragma once

#include <QApplication>

class AppHook;

// The application object. Every event goes through notify(); an exception
// that escapes a handler is handed to the hook (logged, never shown) and the
// loop goes on with the next event.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    // No hook: exceptions are still caught, and dropped.
    void setHook(AppHook *hook) { hook_ = hook; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    AppHook *hook_ = nullptr;
};
