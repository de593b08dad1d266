// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/BeatIndicator.h"

#include "common/Colors.h"

#include <QEvent>
#include <QPainter>

namespace pulsivar {

BeatIndicator::BeatIndicator(QWidget *parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::NoFocus);
    // Exempt from skins: the beat's colour is the message.
    setProperty("skinExempt", true);
    applyFontSheet();
}

bool BeatIndicator::event(QEvent *event)
{
    const bool handled = QLineEdit::event(event);
    // Every pixel is painted here, so nothing behind it needs painting first; styling the box
    // (a skin, its own sheet) takes the attribute away again.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void BeatIndicator::applyFontSheet()
{
    // A widget's own sheet wins over any skin sheet above it, and the size must go into it: a
    // skin's font rule would otherwise win over setFont. The sheet stays the same from beat to
    // beat: changing it restyles the box and lays out the whole window again.
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid #404040; font-size: %1pt; font-weight: bold; }")
                      .arg(pointSize));
}

void BeatIndicator::setBeatColor(const QColor &background)
{
    if (background == color)
        return;
    color = background;
    update();
}

void BeatIndicator::setBeatPointSize(int size)
{
    if (size == pointSize)
        return;
    pointSize = size;
    applyFontSheet();
}

void BeatIndicator::clearBeat()
{
    setBeatColor(Qt::white);
    clear();
}

void BeatIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), color);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(readableTextOn(color));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace pulsivar
