// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A tiny HTTP server on 127.0.0.1 that answers every request with one prepared reply.
#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace pulsivar::test {

class LoopbackHttpServer {
public:
    // Listens on a free loopback port at once.
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    bool isListening() const { return server.isListening(); }
    // http://127.0.0.1:<port><path>
    QUrl url(const QString &path) const;

    // Every request gets this status and body (200 and an empty body until set).
    void respond(int status, const QByteArray &body);
    // Connections are accepted and read but never answered.
    void neverAnswer() { silent = true; }

    // The paths of the requests received so far, and the last request's header block.
    QStringList requestedPaths;
    QByteArray lastRequestHead;

private:
    void accept();

    QTcpServer server;
    QList<QPointer<QTcpSocket>> sockets;
    int status = 200;
    QByteArray body;
    bool silent = false;
};

} // namespace pulsivar::test
