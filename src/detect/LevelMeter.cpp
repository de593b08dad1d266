#include "detect/LevelMeter.h"

#include <QPainter>
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
    update();
}

void LevelMeter::setBarColor(const QColor &value)
{
    color = value;
    update();
}

void LevelMeter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(QRectF(0, 0, width() * fraction, height()), color);
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace pulsivar
