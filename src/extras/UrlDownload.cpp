// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/UrlDownload.h"

#include "common/WaitCursor.h"

#include <QApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace pulsivar {

namespace {
// The system's proxies, except for this machine itself.
class SystemProxyFactory : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        const QString host = query.peerHostName();
        if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
            || QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

} // namespace

std::optional<QByteArray> DownloadUrlText(const QUrl &url, const DownloadLimits &limits)
{
    if (!url.isValid() || QCoreApplication::instance() == nullptr)
        return std::nullopt;

    const WaitCursor waitCursor;
    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxyFactory);
    manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("vb wininet"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = manager.get(request);

    QByteArray body;
    bool tooLarge = false;
    bool timedOut = false;
    const auto collect = [&] {
        body += reply->readAll();
        if (body.size() > limits.maxBytes && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    };

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, collect);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
        loop.quit();
    });
    deadline.start(limits.timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();

    if (!tooLarge && !timedOut && reply->isFinished())
        collect();
    const bool failed = tooLarge || timedOut || !reply->isFinished() || reply->error() != QNetworkReply::NoError;
    reply->disconnect(&loop);
    delete reply;
    if (failed)
        return std::nullopt;
    return body;
}

} // namespace pulsivar
