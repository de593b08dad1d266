// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SkinCatalog.h"

namespace pulsivar {

const QList<SkinEntry> &skinCatalog()
{
    static const QList<SkinEntry> entries = {
        {101, "B-Studio"}, {102, "Chizh"},      {103, "Galaxy"}, {104, "Geek-Superhero"},
        {105, "Green"},    {106, "Max"},        {107, "Media"},  {108, "Metallic"},
        {109, "Paper"},    {110, "Top Secret"}, {111, "Web II"}, {112, "Win Aqua"},
        {113, "Zhelezo"},
    };
    return entries;
}

bool isKnownSkin(int skinId)
{
    return skinId >= firstSkinId && skinId <= lastSkinId;
}

QString skinCaption(int skinId)
{
    for (const SkinEntry &entry : skinCatalog())
        if (entry.id == skinId)
            return QString::fromLatin1(entry.caption);
    return {};
}

QString skinResourcePath(int skinId)
{
    return QStringLiteral(":/SKIN/%1").arg(skinId);
}

} // namespace pulsivar
