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
    if (background == color && !styleSheet().isEmpty())
        return;
    color = background;
    // A widget's own sheet wins over any skin sheet above it.
    setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; color: %2; border: 1px solid #404040; }")
                      .arg(background.name(), readableTextOn(background).name()));
}

void BeatIndicator::clearBeat()
{
    setBeatColor(Qt::white);
    clear();
}

} // namespace pulsivar
