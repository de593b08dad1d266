// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/Skin.h"

#include "common/ProgramFolder.h"
#include "platform/SkinCatalog.h"

#include <QFile>
#include <QWidget>

namespace pulsivar {

namespace {
// Larger resources are not style sheets of ours.
constexpr qint64 maxSkinSize = 1024 * 1024;

void removeLeftoverTemporaryFile()
{
    const QString path = programFile(QString::fromLatin1(temporarySkinFileName));
    if (QFile::exists(path))
        QFile::remove(path);
}
} // namespace

bool Skin::LoadSkin(int skinId)
{
    removeLeftoverTemporaryFile();
    if (!isKnownSkin(skinId))
        return false;
    QFile resource(skinResourcePath(skinId));
    if (resource.size() > maxSkinSize || !resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = resource.readAll();
    if (bytes.isEmpty())
        return false;
    sheet = QString::fromUtf8(bytes);
    loadedId = skinId;
    return true;
}

bool Skin::ApplySkin(QWidget *window) const
{
    if (!window || !hasSkin())
        return false;
    // The marker must be in place before the sheet, since selectors are matched when it is set.
    window->setProperty(skinWindowProperty, true);
    window->setStyleSheet(sheet);
    return true;
}

void Skin::clear()
{
    loadedId = 0;
    sheet.clear();
}

Skin &oSkin()
{
    static Skin skin;
    return skin;
}

void ApplyProgramSkin(QWidget *form, int16_t skinId)
{
    if (form)
        form->setCursor(Qt::WaitCursor);
    oSkin().LoadSkin(skinId);
    oSkin().ApplySkin(form);
    if (form)
        form->unsetCursor();
}

void paintSkinExempt(QWidget *widget, const QColor &background, const QColor &text)
{
    if (!widget)
        return;
    widget->setProperty(skinExemptProperty, true);
    widget->setStyleSheet(QStringLiteral("background-color: %1; color: %2;")
                              .arg(background.name(QColor::HexRgb), text.name(QColor::HexRgb)));
}

} // namespace pulsivar
