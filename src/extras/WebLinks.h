// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Hands files and web addresses to the desktop's default programs, with the shell's error words.
#include <QString>
#include <QUrl>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

namespace pulsivar {

// Results below this are failures, as the shell reports them.
inline constexpr int32_t shellSuccessThreshold = 32;
// What a successful open returns; any value from 32 up means success.
inline constexpr int32_t shellOpened = 42;
inline constexpr int32_t shellFileNotFound = 2;
inline constexpr int32_t shellPathNotFound = 3;
inline constexpr int32_t shellNoAssociation = 31;

// One request to open something, as the opener sees it.
struct ShellOpenRequest {
    QString operation;
    QString file;
    QString parameters;
    QString directory;
    int16_t showCommand = 1;
    QUrl url; // what the desktop is asked to open
};

// Opens a request and returns a shell result (32 or more for success). May throw to say the
// call itself failed. The default hands the URL to QDesktopServices::openUrl.
using ShellOpener = std::function<int32_t(const ShellOpenRequest &)>;
// Tests capture requests or simulate failures; an empty opener brings back the desktop.
void setShellOpener(ShellOpener opener);

// The words of a shell failure, or nothing for a success (32 or more).
std::optional<QString> shellErrorText(int32_t result, const QString &sFile, const QString &sDirectory);

// How a file or address text becomes something the desktop can open: a URL with a scheme as it
// is, a "www." host as a web address, anything else as a local file.
QUrl shellTargetUrl(const QString &sFile);

// Opens sFile with the desktop and returns the shell result; with bReportErrors a failure is
// reported in words first. Throws only when the opener itself throws.
int32_t ExecuteShellCommand(QWidget *owner, const QString &sOperation, const QString &sFile,
                            const QString &sParameters, const QString &sDirectory, int16_t iShowCmd,
                            bool bReportErrors);

// True when the document was opened; false on any failure.
bool OpenDocument(QWidget *owner, const QString &sFile, const QString &sParameters,
                  const QString &sDirectory, int16_t iShowCmd, bool bReportErrors);

// The address with "http://" in front unless it already names a scheme or a "www." host.
QString completeWebAddress(const QString &sAddress);

// Opens a web or mail address; returns the shell result, or -1 when the call failed.
int32_t OpenWebAddress(QWidget *owner, const QString &sAddress, int16_t iShowCmd);

// The maker's web-site address, fixed at build time.
QString makerWebsite();
// The help page beside the program: <program folder>/FlashHelp/Pulsivar.htm.
QString helpFilePath();

// The Help menu's "Pulsivar Help" item: opens the help page, failures silent.
void openHelpPage(QWidget *owner);
// The Help menu's web-site item: opens the maker's web site.
void openMakerWebsite(QWidget *owner);

} // namespace pulsivar
