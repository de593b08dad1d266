// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// SIGTERM, SIGINT and SIGHUP delivered as a Qt signal on the GUI thread, so the program can end
// through its normal shutdown (a handler may only write to a pipe; the event loop reads it).
#include <QObject>

class QSocketNotifier;

namespace pulsivar {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one watcher a process. False when the pipe or a handler could not be
    // set up (the signals then keep their default action).
    bool install();

signals:
    void received(int signalNumber);

private:
    void readPipe();
    QSocketNotifier *notifier = nullptr;
};

} // namespace pulsivar
