// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ProgramInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace pulsivar {

namespace {
const QByteArray raiseRequest = QByteArrayLiteral("raise\n");
// The running one may be between taking the lock and listening.
constexpr int knockTimeMs = 3000;
} // namespace

ProgramInstance::ProgramInstance(const QString &lockFolder, QObject *parent)
    : QObject(parent)
    , lockPath(QDir(lockFolder).filePath(QStringLiteral("Pulsivar.lock")))
    , lock(lockPath)
{
    QDir().mkpath(lockFolder);
    // Only a holder that no longer runs makes the lock stale, however long ago it was taken.
    lock.setStaleLockTime(0);
}

ProgramInstance::~ProgramInstance() = default;

QString ProgramInstance::serverName() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray digest = QCryptographicHash::hash(QDir::cleanPath(lockPath).toUtf8(), QCryptographicHash::Sha256);
    return QDir(folder).filePath(QStringLiteral("pulsivar-") + QString::fromLatin1(digest.toHex().left(16)));
}

bool ProgramInstance::claim()
{
    if (lock.isLocked())
        return true;
    if (lock.tryLock(0)) {
        listen();
        return true;
    }
    // A folder where no lock can be made must not keep the program from starting.
    if (lock.error() != QLockFile::LockFailedError)
        return true;
    if (askRunningToRaise())
        return false;
    // The holder neither listens nor let go: take the lock if it went meanwhile, else leave it be.
    if (lock.tryLock(0)) {
        listen();
        return true;
    }
    return false;
}

bool ProgramInstance::askRunningToRaise() const
{
    const QDeadlineTimer deadline(knockTimeMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(200)) {
            socket.write(raiseRequest);
            return socket.waitForBytesWritten(1000);
        }
        QThread::msleep(100);
    }
    return false;
}

void ProgramInstance::listen()
{
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a process that crashed would refuse the listen.
    QLocalServer::removeServer(serverName());
    if (!server->listen(serverName()))
        return;
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(raiseRequest.trimmed()))
                    emit raiseRequested();
            });
        }
    });
}

} // namespace pulsivar
