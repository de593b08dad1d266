// SPDX-License-Identifier: GPL-2.0-or-later
#include "LoopbackHttpServer.h"

#include <QHostAddress>

namespace pulsivar::test {

namespace {
QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}
} // namespace

LoopbackHttpServer::LoopbackHttpServer()
{
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { accept(); });
    server.listen(QHostAddress::LocalHost, 0);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    for (const auto &socket : sockets) {
        if (socket) {
            // Only the request handling goes: the buffer is freed when the socket is destroyed.
            QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
            socket->abort();
        }
    }
    server.close();
}

QUrl LoopbackHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path));
}

void LoopbackHttpServer::respond(int newStatus, const QByteArray &newBody)
{
    status = newStatus;
    body = newBody;
    silent = false;
}

void LoopbackHttpServer::accept()
{
    while (QTcpSocket *socket = server.nextPendingConnection()) {
        sockets.append(socket);
        auto *received = new QByteArray;
        QObject::connect(socket, &QObject::destroyed, [received] { delete received; });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            *received += socket->readAll();
            const qsizetype headEnd = received->indexOf("\r\n\r\n");
            if (headEnd < 0)
                return;
            lastRequestHead = received->left(headEnd);
            const QList<QByteArray> requestLine = received->left(received->indexOf("\r\n")).split(' ');
            requestedPaths.append(requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString());
            received->clear();
            if (silent)
                return;
            socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n"
                          "Content-Type: text/plain\r\n"
                          "Content-Length: " + QByteArray::number(body.size()) + "\r\n"
                          "Connection: close\r\n\r\n");
            socket->write(body);
            socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

} // namespace pulsivar::test
