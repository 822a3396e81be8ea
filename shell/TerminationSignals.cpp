#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quenda {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The socket pair's two ends: the handler writes, the event loop reads. -1 while no object is installed.
int g_writeEnd = -1;
int g_readEnd = -1;

void setHandler(int number, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
}

// Runs inside the signal: only async-signal-safe calls. The write end does not block, so a full pipe
// (signals faster than the loop reads) drops the byte instead of hanging the program.
void onSignal(int number) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    setHandler(number, SIG_DFL); // the next one ends the program at once
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (g_writeEnd >= 0) return; // another object holds the signals
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
    g_readEnd = ends[0];
    g_writeEnd = ends[1];
    ::fcntl(g_writeEnd, F_SETFL, ::fcntl(g_writeEnd, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
    for (int number : kSignals)
        setHandler(number, onSignal);
}

TerminationSignals::~TerminationSignals() {
    if (!m_notifier) return;
    for (int number : kSignals)
        setHandler(number, SIG_DFL);
    delete m_notifier;
    ::close(g_readEnd);
    ::close(g_writeEnd);
    g_readEnd = g_writeEnd = -1;
}

void TerminationSignals::readSignals() {
    char byte = 0;
    if (::read(g_readEnd, &byte, 1) == 1) emit terminationRequested(static_cast<unsigned char>(byte));
}

} // namespace quenda
