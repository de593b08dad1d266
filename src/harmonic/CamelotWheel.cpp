// SPDX-License-Identifier: GPL-2.0-or-later
#include "CamelotWheel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <QStringList>
#include <cmath>
#include <numbers>

namespace pulsivar::camelot {

namespace {

constexpr double spanDegrees = 30.0;

QRectF circle(double radius)
{
    return {centreX - radius, centreY - radius, 2 * radius, 2 * radius};
}

// Clock positions run clockwise from 12 o'clock; QPainterPath angles anticlockwise from 3 o'clock.
double painterAngle(double clockDegrees)
{
    return 90.0 - clockDegrees;
}

QPointF polar(double radius, double clockDegrees)
{
    const double radians = clockDegrees * std::numbers::pi / 180.0;
    return {centreX + radius * std::sin(radians), centreY - radius * std::cos(radians)};
}

double innerRadiusOf(WheelRing ring)
{
    return ring == WheelRing::Inner ? discRadius : ringBoundary;
}

double outerRadiusOf(WheelRing ring)
{
    return ring == WheelRing::Inner ? ringBoundary : outerRadius;
}

QFont wheelFont(double pixelSize, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(int(pixelSize));
    font.setBold(bold);
    font.setStretch(QFont::SemiCondensed);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void drawCentredLines(QPainter &painter, const QPointF &centre,
                      const QList<std::pair<QString, QFont>> &lines)
{
    double height = 0;
    for (const auto &[text, font] : lines)
        height += QFontMetricsF(font).height();
    double top = centre.y() - height / 2;
    for (const auto &[text, font] : lines) {
        const QFontMetricsF metrics(font);
        painter.setFont(font);
        const QRectF box(centre.x() - 40, top, 80, metrics.height());
        painter.drawText(box, Qt::AlignCenter, text);
        top += metrics.height();
    }
}

} // namespace

QPainterPath wheelSpacePath(WheelRing ring, int clockPosition)
{
    const double middle = (clockPosition % 12) * spanDegrees;
    const double start = painterAngle(middle + spanDegrees / 2);
    const QRectF outer = circle(outerRadiusOf(ring));
    const QRectF inner = circle(innerRadiusOf(ring));
    QPainterPath path;
    path.arcMoveTo(outer, start);
    path.arcTo(outer, start, spanDegrees);
    path.arcTo(inner, start + spanDegrees, -spanDegrees);
    path.closeSubpath();
    return path;
}

QPointF wheelSpaceTextCentre(WheelRing ring, int clockPosition)
{
    const double radius = (innerRadiusOf(ring) + outerRadiusOf(ring)) / 2;
    return polar(radius, (clockPosition % 12) * spanDegrees);
}

QColor wheelSpaceColour(WheelRing ring, int clockPosition)
{
    // A hue per number, the same for both rings, so a number's minor and major keys read as one
    // pair; alternate numbers also differ in lightness so neighbours stand apart.
    const int hue = (((clockPosition % 12) * 30) + 165) % 360;
    const bool odd = clockPosition % 2 == 1;
    if (ring == WheelRing::Outer)
        return QColor::fromHsv(hue, odd ? 120 : 150, odd ? 250 : 228);
    return QColor::fromHsv(hue, odd ? 70 : 95, odd ? 255 : 240);
}

QImage renderCamelotWheel()
{
    QImage image(wheelSize, wheelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QPen edge(QColor(255, 255, 255), 1.5);
    const QColor ink(30, 30, 40);
    for (const MusicKeyRow &row : musicKeyTable()) {
        painter.setPen(edge);
        painter.setBrush(wheelSpaceColour(row.ring, row.clockPosition));
        painter.drawPath(wheelSpacePath(row.ring, row.clockPosition));
    }

    painter.setPen(QPen(QColor(90, 90, 100), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle(outerRadius));

    painter.setPen(ink);
    for (const MusicKeyRow &row : musicKeyTable()) {
        const bool inner = row.ring == WheelRing::Inner;
        const QFont codeFont = wheelFont(inner ? 10 : 12, true);
        const QFont nameFont = wheelFont(inner ? 9 : 10, false);
        drawCentredLines(painter, wheelSpaceTextCentre(row.ring, row.clockPosition),
                         {{QString::fromLatin1(row.code), codeFont},
                          {QString::fromLatin1(row.noteWritten), nameFont},
                          {QString::fromLatin1(row.modeWritten), nameFont}});
    }

    painter.setPen(QPen(QColor(255, 255, 255), 1.5));
    painter.setBrush(QColor(52, 58, 78));
    painter.drawEllipse(circle(discRadius));
    painter.setPen(QColor(255, 255, 255));
    drawCentredLines(painter, {centreX, centreY},
                     {{QStringLiteral("Camelot"), wheelFont(13, true)},
                      {QStringLiteral("System"), wheelFont(13, true)}});
    painter.end();
    return image;
}

} // namespace pulsivar::camelot
