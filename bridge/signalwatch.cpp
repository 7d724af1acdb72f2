#include "signalwatch.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only use async-signal-safe calls: it writes the signal number into a socket
// pair that the event loop watches.
int signalPipe[2] = { -1, -1 };

void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

SignalWatch::SignalWatch(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatch::onReadable);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : { SIGTERM, SIGINT, SIGHUP })
        sigaction(number, &action, nullptr);
}

SignalWatch::~SignalWatch()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (const int number : { SIGTERM, SIGINT, SIGHUP })
        sigaction(number, &action, nullptr);
    delete m_notifier;
    for (int &fd : signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SignalWatch::onReadable()
{
    char byte = 0;
    if (::read(signalPipe[0], &byte, 1) != 1)
        return;
    if (byte == SIGHUP)
        emit reloadRequested();
    else
        emit terminationRequested();
}
