#include "detect/LevelMeter.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace pulsivar {

LevelMeter::LevelMeter(QWidget *parent)
    : QWidget(parent)
{
    setProperty("skinExempt", true);
    setMinimumHeight(10);
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
    // Levels arrive with every captured block, some 200 a second; the eye needs about 30.
    if (repaintPending)
        return;
    repaintPending = true;
    const qint64 sinceLast = lastPaint.isValid() ? lastPaint.elapsed() : minRepaintMs;
    QTimer::singleShot(int(std::max<qint64>(0, minRepaintMs - sinceLast)), this, [this] {
        repaintPending = false;
        update();
    });
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
