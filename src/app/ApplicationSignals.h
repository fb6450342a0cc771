#pragma once

#include <QObject>

class QSocketNotifier;

// A termination request from the system (SIGTERM, SIGINT, as at log-out)
// closes the program the way its close button does, so the shutdown steps
// run and the single-instance lock is released. The handler only writes to
// a pipe; the work happens on the GUI thread.
class ApplicationSignals : public QObject {
    Q_OBJECT
public:
    explicit ApplicationSignals(QObject *parent = nullptr);
    ~ApplicationSignals() override;

Q_SIGNALS:
    void terminateRequested();

private:
    QSocketNotifier *notifier_ = nullptr;
};
