// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/WaveFiles.h"

#include "common/MessageBox.h"
#include "common/ProgramFolder.h"
#include "platform/ResourceFile.h"

#include <QDir>
#include <QFileInfo>

namespace pulsivar {

QString plainWavePath() { return programFile(plainWaveFileName); }
QString accentWavePath() { return programFile(accentWaveFileName); }

namespace {

void reportFailure(const QString &fileName)
{
    showMessage(QStringLiteral("Can't Extract And Write Wave File"),
                QStringLiteral("The metronome wave file '") + fileName
                    + QStringLiteral("' was not found in '") + QDir::toNativeSeparators(programFolder())
                    + QStringLiteral("'.\nIn order to hear a sound on the metronome beats, a wave file "
                                     "(.wav) with this name must be present."),
                MessageIcon::Warning, QMessageBox::Ok);
}

} // namespace

bool ExtractWaveFiles()
{
    const struct {
        const QString &name;
        QString resource;
    } files[] = {{plainWaveFileName, QStringLiteral(":/WAVE/101")},
                 {accentWaveFileName, QStringLiteral(":/WAVE/102")}};
    for (const auto &file : files) {
        const QString path = programFile(file.name);
        // A folder of that name is not the file; writing over it then fails and is reported.
        if (QFileInfo(path).isFile())
            continue;
        if (writeResourceFile(file.resource, path)) {
            reportFailure(file.name);
            return false;
        }
    }
    return true;
}

} // namespace pulsivar
