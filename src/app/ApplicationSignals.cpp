#include "app/ApplicationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// Written by the signal handler, read on the GUI thread; set once per process.
int g_signalPipe[2] = {-1, -1};

extern "C" void onTerminate(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}
} // namespace

ApplicationSignals::ApplicationSignals(QObject *parent) : QObject(parent)
{
    if (g_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    ::fcntl(g_signalPipe[1], F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &c, 1);
        Q_EMIT terminateRequested();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

ApplicationSignals::~ApplicationSignals()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}
