// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/WebLinks.h"

#include "common/BuildConfig.h"
#include "common/MessageBox.h"
#include "common/ProgramFolder.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace pulsivar {

namespace {
int32_t openWithDesktop(const ShellOpenRequest &request)
{
    // The desktop says only yes or no; no means nothing could open it.
    return QDesktopServices::openUrl(request.url) ? shellOpened : shellNoAssociation;
}

ShellOpener &openerSlot()
{
    static ShellOpener opener;
    return opener;
}

int32_t runOpener(const ShellOpenRequest &request)
{
    return openerSlot() ? openerSlot()(request) : openWithDesktop(request);
}

bool isOpenVerb(const QString &operation)
{
    return operation.isEmpty() || operation.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0;
}
} // namespace

void setShellOpener(ShellOpener opener)
{
    openerSlot() = std::move(opener);
}

std::optional<QString> shellErrorText(int32_t result, const QString &sFile, const QString &sDirectory)
{
    if (result >= shellSuccessThreshold)
        return std::nullopt;
    switch (result) {
    case 0: return QStringLiteral("Out of System Resources: ");
    case 2: return QStringLiteral("File Not Found: ") + sFile;
    case 3: return QStringLiteral("Path Not Found: ") + sDirectory;
    case 5: return QStringLiteral("Access to File Denied: ") + sFile;
    case 8: return QStringLiteral("Out of Memory Error: ") + sFile;
    case 11: return QStringLiteral("Bad Executable File: ") + sFile;
    case 31: return QStringLiteral("No Application Associated with Given File Extension: ") + sFile;
    default: return QStringLiteral("Shell Execute - Unknown Error: ") + QString::number(result);
    }
}

QUrl shellTargetUrl(const QString &sFile)
{
    if (sFile.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl::fromUserInput(sFile);
    // Two letters at least, so a Windows drive letter stays a file.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(sFile).hasMatch())
        return QUrl(sFile, QUrl::TolerantMode);
    return QUrl::fromLocalFile(sFile);
}

int32_t ExecuteShellCommand(QWidget *owner, const QString &sOperation, const QString &sFile,
                            const QString &sParameters, const QString &sDirectory, int16_t iShowCmd,
                            bool bReportErrors)
{
    ShellOpenRequest request{sOperation, sFile, sParameters, sDirectory, iShowCmd, shellTargetUrl(sFile)};

    int32_t result = shellOpened;
    if (!sDirectory.isEmpty() && !QFileInfo(sDirectory).isDir()) {
        result = shellPathNotFound;
    } else if (request.url.isLocalFile()) {
        // A relative file is looked for in the working directory, as the shell does.
        const QString path = sDirectory.isEmpty() ? sFile : QDir(sDirectory).absoluteFilePath(sFile);
        if (sFile.isEmpty() || !QFileInfo::exists(path))
            result = shellFileNotFound;
        else
            request.url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    }
    if (result >= shellSuccessThreshold)
        result = isOpenVerb(sOperation) ? runOpener(request) : shellNoAssociation;

    if (bReportErrors) {
        if (const auto text = shellErrorText(result, sFile, sDirectory))
            showMessage(QStringLiteral("File Execution Error"), *text, MessageIcon::Warning,
                        QMessageBox::Ok, QMessageBox::NoButton, owner);
    }
    return result;
}

bool OpenDocument(QWidget *owner, const QString &sFile, const QString &sParameters,
                  const QString &sDirectory, int16_t iShowCmd, bool bReportErrors)
{
    try {
        return ExecuteShellCommand(owner, QStringLiteral("open"), sFile, sParameters, sDirectory, iShowCmd,
                                   bReportErrors)
               >= shellSuccessThreshold;
    } catch (...) {
        return false;
    }
}

QString completeWebAddress(const QString &sAddress)
{
    const QString upper = sAddress.toUpper();
    // "HTTPS://" is a marker of its own: "HTTP://" does not occur inside it.
    for (const char *marker : {"MAILTO:", "FTP://", "WWW.", "HTTP://", "HTTPS://"}) {
        if (upper.contains(QLatin1String(marker)))
            return sAddress;
    }
    return QStringLiteral("http://") + sAddress;
}

int32_t OpenWebAddress(QWidget *owner, const QString &sAddress, int16_t iShowCmd)
{
    try {
        return ExecuteShellCommand(owner, QStringLiteral("open"), completeWebAddress(sAddress), QString(),
                                   QString(), iShowCmd, false);
    } catch (...) {
        showMessage(QStringLiteral("Error Starting Web Browser"),
                    QStringLiteral("An error occurred while opening your default web browser   "),
                    MessageIcon::Warning, QMessageBox::Ok, QMessageBox::NoButton, owner);
        return -1;
    }
}

QString makerWebsite()
{
    return QString::fromUtf8(build::website);
}

QString helpFilePath()
{
    return programFile(QStringLiteral("FlashHelp/Pulsivar.htm"));
}

void openHelpPage(QWidget *owner)
{
    // The root folder is the neutral working directory, as a drive root is on Windows.
    OpenDocument(owner, helpFilePath(), QString(), QDir::rootPath(), 1, false);
}

void openMakerWebsite(QWidget *owner)
{
    OpenWebAddress(owner, makerWebsite(), 1);
}

} // namespace pulsivar
