// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/WindowPlacement.h"

#include "common/Twips.h"
#include "platform/Registry.h"
#include "platform/RegistryBackend.h"
#include "platform/ScreenFit.h"

#include <QWidget>
#include <algorithm>
#include <limits>

namespace pulsivar {

namespace {
// Stands for "nothing stored" where the window has no position of its own yet.
constexpr int32_t notStored = std::numeric_limits<int32_t>::min();
} // namespace

bool isSizableForm(const QWidget *form)
{
    return form && form->minimumSize() != form->maximumSize();
}

void RestoreFormPosition(QWidget *form)
{
    if (!form || form->objectName().isEmpty())
        return;
    const QString name = form->objectName();
    clsRegistry registry;

    // A window never placed, shown or moved has no position yet; the window system picks one
    // on first show, and it keeps that choice while nothing is stored.
    const bool placed = form->isVisible() || form->testAttribute(Qt::WA_Moved);
    const int32_t currentTop = pixelsToTwips(form->y());
    const int32_t currentLeft = pixelsToTwips(form->x());
    int32_t top = registry.GetFormPositionTop(name, placed ? currentTop : notStored);
    int32_t left = registry.GetFormPositionLeft(name, placed ? currentLeft : notStored);
    const bool moves = top != notStored || left != notStored;
    QPoint position = form->pos();
    if (moves) {
        if (top == notStored)
            top = currentTop;
        if (left == notStored)
            left = currentLeft;
        position = QPoint(twipsToPixels(std::max(left, 0)), twipsToPixels(std::max(top, 0)));
    }

    QSize size = form->size();
    if (isSizableForm(form)) {
        // Before the first show the design size is what show would give the window.
        if (!form->isVisible() && !form->testAttribute(Qt::WA_Resized))
            form->adjustSize();
        size = form->size();
        const int32_t width = registry.GetFormPositionWidth(name, pixelsToTwips(size.width()));
        const int32_t height = registry.GetFormPositionHeight(name, pixelsToTwips(size.height()));
        if (pixelsToTwips(size.width()) < width)
            size.setWidth(twipsToPixels(width));
        if (pixelsToTwips(size.height()) < height)
            size.setHeight(twipsToPixels(height));
        size = size.boundedTo(form->maximumSize());
    }

    // Stored values may come from other screens or from anyone's editor.
    const QSize frame = form->frameGeometry().size() - form->geometry().size();
    const QRect fitted = fitOnScreens(QRect(position, size + frame), availableScreenAreas());
    if (fitted.size() - frame != form->size())
        form->resize(fitted.size() - frame);
    if (moves)
        form->move(fitted.topLeft());
}

void SaveFormPosition(QWidget *form)
{
    if (!form || form->objectName().isEmpty())
        return;
    const QString name = form->objectName();
    clsRegistry registry;
    const RegistryBatch oneWrite;

    const bool normal = !(form->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    if (!normal) {
        if (form->y() < 0)
            registry.SaveFormPositionTop(name, 0);
        if (form->x() < 0)
            registry.SaveFormPositionLeft(name, 0);
        return;
    }
    registry.SaveFormPositionTop(name, pixelsToTwips(form->y()));
    registry.SaveFormPositionLeft(name, pixelsToTwips(form->x()));
    if (isSizableForm(form)) {
        registry.SaveFormPositionWidth(name, pixelsToTwips(form->width()));
        registry.SaveFormPositionHeight(name, pixelsToTwips(form->height()));
    }
}

} // namespace pulsivar
