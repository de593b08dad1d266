// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One running program a settings folder: a second start asks the first to come to the front and
// leaves, so two never overwrite each other's settings.
#include <QLockFile>
#include <QObject>
#include <memory>

class QLocalServer;

namespace pulsivar {

class ProgramInstance : public QObject {
    Q_OBJECT
public:
    // lockFolder holds the lock (the settings folder); it is created when missing.
    explicit ProgramInstance(const QString &lockFolder, QObject *parent = nullptr);
    ~ProgramInstance() override;

    // True when this process is the one that runs: it holds the lock (a lock left by a process
    // that no longer runs is taken over) or no lock can be made at all. False when another
    // running process holds it; that one has then been asked to come to the front.
    bool claim();

    // Where a second start knocks: derived from the lock's path, so each settings folder has its own.
    QString serverName() const;

signals:
    // Another start asked this one to come to the front.
    void raiseRequested();

private:
    bool askRunningToRaise() const;
    void listen();

    QString lockPath;
    QLockFile lock;
    QLocalServer *server = nullptr;
};

} // namespace pulsivar
