#include "platform/WindowPlacement.h"

#include "common/Twips.h"
#include "platform/Registry.h"

#include <QWidget>
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
    if (top != notStored || left != notStored) {
        if (top == notStored)
            top = currentTop;
        if (left == notStored)
            left = currentLeft;
        if (left < 0)
            left = 0;
        if (top < 0)
            top = 0;
        form->move(twipsToPixels(left), twipsToPixels(top));
    }

    if (!isSizableForm(form))
        return;
    // Before the first show the design size is what show would give the window.
    if (!form->isVisible() && !form->testAttribute(Qt::WA_Resized))
        form->adjustSize();
    const int32_t width = registry.GetFormPositionWidth(name, pixelsToTwips(form->width()));
    const int32_t height = registry.GetFormPositionHeight(name, pixelsToTwips(form->height()));
    if (pixelsToTwips(form->width()) < width)
        form->resize(twipsToPixels(width), form->height());
    if (pixelsToTwips(form->height()) < height)
        form->resize(form->width(), twipsToPixels(height));
}

void SaveFormPosition(QWidget *form)
{
    if (!form || form->objectName().isEmpty())
        return;
    const QString name = form->objectName();
    clsRegistry registry;

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
