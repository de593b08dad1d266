#include "metronome/BeatIndicator.h"

#include "common/Colors.h"

namespace pulsivar {

BeatIndicator::BeatIndicator(QWidget *parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::NoFocus);
    // Exempt from skins: the beat's colour is the message.
    setProperty("skinExempt", true);
    setBeatColor(Qt::white);
}

void BeatIndicator::setBeatColor(const QColor &background)
{
    color = background;
    // A widget's own sheet wins over any skin sheet above it.
    // The size goes into the sheet too: a skin's font rule would otherwise win over setFont.
    const QString sheet = QStringLiteral("QLineEdit { background-color: %1; color: %2; border: 1px solid #404040;"
                                         " font-size: %3pt; font-weight: bold; }")
                              .arg(background.name(), readableTextOn(background).name())
                              .arg(pointSize);
    if (sheet != styleSheet())
        setStyleSheet(sheet);
}

void BeatIndicator::setBeatPointSize(int size)
{
    pointSize = size;
    setBeatColor(color);
}

void BeatIndicator::clearBeat()
{
    setBeatColor(Qt::white);
    clear();
}

} // namespace pulsivar
