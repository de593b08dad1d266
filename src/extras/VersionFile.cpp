// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/VersionFile.h"

#include "common/NumberText.h"
#include "extras/WebLinks.h"

#include <QRegularExpression>
#include <QUrl>

namespace pulsivar {

namespace {
// The first line's end is kept as a signed 16-bit position counted from 1.
constexpr qsizetype maxLineBreakPosition = 32767;
} // namespace

std::optional<VersionFileContent> parseVersionFile(const QString &text)
{
    const QLatin1String lineBreak("\r\n");
    const qsizetype index = text.indexOf(lineBreak);
    if (index < 0 || index + 1 > maxLineBreakPosition)
        return std::nullopt;
    QString address = text.mid(index + 2);
    address.remove(lineBreak);
    return VersionFileContent{trimBlanks(text.left(index)).toString(), trimBlanks(address).toString()};
}

bool isWebDownloadAddress(const QString &address)
{
    if (address.isEmpty())
        return false;
    // A scheme of its own must be a web one; "file:" would otherwise pass as a host named "file".
    static const QRegularExpression ownScheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const auto match = ownScheme.match(address);
    if (!address.startsWith(QLatin1String("www."), Qt::CaseInsensitive) && match.hasMatch()) {
        const QString own = match.captured(1).toLower();
        if (own != QLatin1String("http") && own != QLatin1String("https"))
            return false;
    }
    // Judge the address as it would be opened, scheme completion included.
    const QUrl url = shellTargetUrl(completeWebAddress(address));
    const QString opened = url.scheme().toLower();
    return url.isValid() && (opened == QLatin1String("http") || opened == QLatin1String("https"))
           && !url.host().isEmpty();
}

} // namespace pulsivar
