// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/LevelMeter.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace pulsivar {

LevelMeter::LevelMeter(QWidget *parent)
    : QWidget(parent)
{
    setProperty("skinExempt", true);
    setMinimumHeight(10);
    repaintTimer = new QTimer(this);
    repaintTimer->setSingleShot(true);
    connect(repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void LevelMeter::setLevel(double value)
{
    value = std::clamp(value, 0.0, 1.0);
    if (value == fraction)
        return;
    fraction = value;
    scheduleRepaint();
}

void LevelMeter::setBarColor(const QColor &value)
{
    if (value == color)
        return;
    color = value;
    scheduleRepaint();
}

void LevelMeter::scheduleRepaint()
{
    // Levels arrive with every captured block; the eye needs about 30 a second.
    if (repaintTimer->isActive())
        return;
    // Levels that come no faster than the eye needs are painted without a wakeup of their own.
    const qint64 sinceLast = lastPaint.isValid() ? lastPaint.elapsed() : minRepaintMs;
    if (sinceLast >= minRepaintMs)
        update();
    else
        repaintTimer->start(int(minRepaintMs - sinceLast));
}

bool LevelMeter::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // Every pixel is painted here, so nothing behind it needs painting first; a skin's sheet
    // takes the attribute away again when it styles the meter.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void LevelMeter::paintEvent(QPaintEvent *)
{
    lastPaint.start();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(QRectF(0, 0, width() * fraction, height()), color);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace pulsivar
