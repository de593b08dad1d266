#include "metronome/WaveFiles.h"

#include "common/MessageBox.h"
#include "common/ProgramFolder.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pulsivar {

QString plainWavePath() { return programFile(plainWaveFileName); }
QString accentWavePath() { return programFile(accentWaveFileName); }

namespace {

bool writeFromResource(const QString &resource, const QString &path)
{
    QFile source(resource);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (bytes.isEmpty())
        return false;
    // Written aside and renamed into place, so a failed write never leaves a truncated file
    // that would count as present from then on.
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    if (target.write(bytes) != bytes.size()) {
        target.cancelWriting();
        return false;
    }
    return target.commit();
}

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
        if (!writeFromResource(file.resource, path)) {
            reportFailure(file.name);
            return false;
        }
    }
    return true;
}

} // namespace pulsivar
