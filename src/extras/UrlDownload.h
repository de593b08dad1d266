// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Fetches a small text over the network while the window waits, bounded in time and size.
#include <QByteArray>
#include <QUrl>
#include <optional>

namespace pulsivar {

struct DownloadLimits {
    int timeoutMs = 10000;         // the whole transfer, from request to last byte
    qint64 maxBytes = 64 * 1024;   // a longer reply is not what was asked for
};

// The body found at url, or nothing when it cannot be fetched, fails with an HTTP error status,
// runs out of time or grows beyond the limit. Shows the hourglass and holds back user input
// (events stay queued) until it returns; timers and sockets keep running.
std::optional<QByteArray> DownloadUrlText(const QUrl &url, const DownloadLimits &limits = {});

} // namespace pulsivar
