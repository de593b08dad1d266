// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/SupportDll.h"

#include "common/MessageBox.h"
#include "common/Version.h"
#include "common/ProgramFolder.h"
#include "platform/ResourceFile.h"

#include <QFileInfo>
#include <optional>

namespace pulsivar {

namespace {

void reportExtractionFailure(const std::optional<QString> &description)
{
    QString text = QStringLiteral("An error occurred while extracting and writing the DLLs necessary to "
                                  "suport audio input BPM detection.\nBPM detection functionality will be disabled.");
    if (description)
        text += QStringLiteral("\nError Description: ") + *description;
    showMessage(QStringLiteral("Couldn't Extract BPM Detection DLLs"), text, MessageIcon::Warning);
}

bool fileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

} // namespace

bool ExtractSupportDll(const QString &name, int resourceId)
{
    const QString path = programFile(name);
    if (fileExists(path))
        return true;
    const QString title = QStringLiteral("Missing System File: '") + name + QLatin1Char('\'');
    const QString question = QStringLiteral("A DLL file '") + name + QStringLiteral("' that is necessary to run ")
        + programName() + QStringLiteral(" does not exist in the program installation folder.\n")
        + QStringLiteral("Would you like ") + programName() + QStringLiteral(" to extract and install it for you? \n\n")
        + QStringLiteral("Press Ok to install the missing file, or press Cancel to disable Audio Input BPM "
                         "Detection and start the program.");
    if (showMessage(title, question, MessageIcon::Question, QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return false;
    if (const std::optional<QString> failure = writeResourceFile(QStringLiteral(":/DLL/%1").arg(resourceId), path)) {
        reportExtractionFailure(failure);
        return false;
    }
    if (!fileExists(path)) {
        reportExtractionFailure(std::nullopt);
        return false;
    }
    return true;
}

} // namespace pulsivar
