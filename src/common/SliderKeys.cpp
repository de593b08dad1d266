// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/SliderKeys.h"

#include <QKeyEvent>
#include <QSlider>

namespace pulsivar {

bool stepSliderByUpDownKey(QSlider *slider, const QKeyEvent *key)
{
    int step = 0;
    if (key->key() == Qt::Key_Up)
        step = slider->singleStep();
    else if (key->key() == Qt::Key_Down)
        step = -slider->singleStep();
    if (step == 0)
        return false;
    slider->setValue(slider->value() + step);
    return true;
}

} // namespace pulsivar
