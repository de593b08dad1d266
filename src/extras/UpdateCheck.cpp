// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/UpdateCheck.h"

#include "common/Version.h"
#include "common/MessageBox.h"
#include "extras/UrlDownload.h"
#include "extras/VersionFile.h"
#include "extras/WebLinks.h"

namespace pulsivar {

namespace {
constexpr int defaultTimeoutMs = 10000;

QUrl &urlOverride()
{
    static QUrl url;
    return url;
}

int &timeoutMs()
{
    static int value = defaultTimeoutMs;
    return value;
}

QMessageBox::StandardButton inform(QWidget *owner, const QString &title, const QString &text,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok)
{
    return showMessage(title, text, MessageIcon::Information, buttons, QMessageBox::NoButton, owner);
}

QString newVersionTitle()
{
    return QStringLiteral("New Version Of ") + programName() + QStringLiteral(" Available!");
}

QString newVersionLead(const QString &running, const QString &latest)
{
    return QStringLiteral("A new version of ") + programName() + QStringLiteral(" is available!") + u'\n' + u'\n'
           + QStringLiteral("You are running version ") + running + u'\n' + QStringLiteral("The latest version is ")
           + latest + u'\n' + u'\n';
}

void showCannotRead(QWidget *owner)
{
    inform(owner, QStringLiteral("Can't Access ") + programName() + QStringLiteral(" Website"),
           QStringLiteral("The latest ") + programName()
               + QStringLiteral(" program version could not be read from the Internet.  ") + u'\n'
               + QStringLiteral("Make sure that you are connected to the Internet and try again.  ") + u'\n' + u'\n'
               + QStringLiteral("All information about the latest version of ") + programName()
               + QStringLiteral(" is available at: ") + u'\n' + makerWebsite());
}

// False when the file could not be read; every other outcome has been dealt with.
bool checkOnce(QWidget *owner, bool bShowNoNewVerMsgbox)
{
    const auto bytes = DownloadUrlText(versionFileUrl(), DownloadLimits{timeoutMs(), 64 * 1024});
    if (!bytes)
        return false;
    const auto content = parseVersionFile(QString::fromLocal8Bit(*bytes));
    if (!content)
        return false;
    if (content->latestVersion.isEmpty())
        return true;

    const QString site = makerWebsite();
    const QString running = currentVersionString();
    const QString &latest = content->latestVersion;
    // What the network sends is opened only when it is a web page; anything else counts as no address.
    const QString address = isWebDownloadAddress(content->downloadAddress) ? content->downloadAddress : QString();

    if (!IsNewerVersion(running, latest)) {
        if (bShowNoNewVerMsgbox)
            inform(owner, QStringLiteral("No ") + programName() + QStringLiteral(" Update Available"),
                   QStringLiteral("You are currently running the latest version of ") + programName()
                       + QStringLiteral("!   ") + u'\n' + QStringLiteral("Please visit ") + site
                       + QStringLiteral(" for more information.    "));
        return true;
    }
    if (address.isEmpty()) {
        inform(owner, newVersionTitle(),
               newVersionLead(running, latest) + QStringLiteral("Please visit ") + site
                   + QStringLiteral(" to download the latest ") + programName() + QStringLiteral(" update   "));
        return true;
    }
    const auto answer = inform(owner, newVersionTitle(),
                               newVersionLead(running, latest)
                                   + QStringLiteral("Would you like to download the latest version now?   "),
                               QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        OpenWebAddress(owner, address, 1);
    } else {
        inform(owner, QStringLiteral("Visit The ") + programName() + QStringLiteral(" Website For More Information"),
               QStringLiteral("No ") + programName() + QStringLiteral(" update will be downloaded.   ") + u'\n'
                   + QStringLiteral("You can always visit ") + site + QStringLiteral(" for all ") + programName()
                   + QStringLiteral(" program information.   "));
    }
    return true;
}
} // namespace

QUrl versionFileUrl()
{
    if (!urlOverride().isEmpty())
        return urlOverride();
    QString site = makerWebsite();
    while (site.endsWith(u'/'))
        site.chop(1);
    return QUrl(site + QStringLiteral("/Pulsivar/ProgVersion.txt"));
}

void setVersionFileUrl(const QUrl &url)
{
    urlOverride() = url;
}

void setUpdateCheckTimeout(int milliseconds)
{
    timeoutMs() = milliseconds > 0 ? milliseconds : defaultTimeoutMs;
}

void CheckForProgramUpdates(QWidget *owner, bool bShowNoNewVerMsgbox)
{
    // A second check started from inside the first one's wait would only repeat it.
    static bool checking = false;
    if (checking)
        return;
    checking = true;
    bool read = false;
    try {
        read = checkOnce(owner, bShowNoNewVerMsgbox);
    } catch (...) {
        read = false;
    }
    if (!read && bShowNoNewVerMsgbox) {
        try {
            showCannotRead(owner);
        } catch (...) {
        }
    }
    checking = false;
}

} // namespace pulsivar
