// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace pulsivar {

#if defined(Q_OS_UNIX)
namespace {
int pipeEnds[2] = {-1, -1};

extern "C" void writeSignalToPipe(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    // A full pipe already holds a signal the loop has yet to read; this one can go.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}
} // namespace

bool TerminationSignals::install()
{
    if (notifier)
        return true;
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    struct sigaction action = {};
    action.sa_handler = writeSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    bool installed = true;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        installed = ::sigaction(signalNumber, &action, nullptr) == 0 && installed;
    return installed;
}

void TerminationSignals::readPipe()
{
    char bytes[16];
    ssize_t count = 0;
    while ((count = ::read(pipeEnds[0], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < count; ++i)
            emit received(bytes[i]);
}
#else
bool TerminationSignals::install() { return false; }
void TerminationSignals::readPipe() {}
#endif

} // namespace pulsivar
