// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace pulsivar {

namespace {
qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

qint64 distance(const QRect &a, const QRect &b)
{
    const auto gap = [](qint64 lowA, qint64 highA, qint64 lowB, qint64 highB) {
        return std::max<qint64>({0, lowB - highA, lowA - highB});
    };
    const qint64 dx = gap(a.left(), a.right(), b.left(), b.right());
    const qint64 dy = gap(a.top(), a.bottom(), b.top(), b.bottom());
    return dx * dx + dy * dy;
}

class ShowFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWindowType())
            return false;
        auto *window = static_cast<QWindow *>(watched);
        if (window->parent() || (window->type() != Qt::Window && window->type() != Qt::Dialog))
            return false;
        const QRect frame = window->frameGeometry();
        const QRect fitted = fitOnScreens(frame, availableScreenAreas());
        if (fitted.size() != frame.size())
            window->resize(window->size() - (frame.size() - fitted.size()));
        if (fitted.topLeft() != frame.topLeft())
            window->setFramePosition(fitted.topLeft());
        return false;
    }
};
} // namespace

QRect fitOnScreens(const QRect &frame, const QList<QRect> &screens)
{
    if (screens.isEmpty() || frame.isEmpty())
        return frame;
    const auto most = std::max_element(screens.begin(), screens.end(), [&frame](const QRect &a, const QRect &b) {
        return overlap(frame, a) < overlap(frame, b);
    });
    const QRect area = overlap(frame, *most) > 0
                           ? *most
                           : *std::min_element(screens.begin(), screens.end(), [&frame](const QRect &a, const QRect &b) {
                                 return distance(frame, a) < distance(frame, b);
                             });
    const QSize size = frame.size().boundedTo(area.size());
    const int left = std::clamp(frame.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(frame.top(), area.top(), area.top() + area.height() - size.height());
    return {left, top, size.width(), size.height()};
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

void keepWindowsOnScreens()
{
    static ShowFilter *filter = nullptr;
    if (!filter && qApp) {
        filter = new ShowFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace pulsivar
