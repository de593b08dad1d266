// SPDX-License-Identifier: GPL-2.0-or-later
// The settings saver is killed with SIGKILL at random moments, again and again; each time the
// file on disk must be the settings before the interrupted save or after it, whole.
#include "platform/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <optional>

using namespace pulsivar;

namespace {
const QString key = QStringLiteral("SOFTWARE\\Verrowind\\Pulsivar");
const QStringList everySetting = {
    "ProgramSkin", "BeatColor1", "BeatColor2", "BeatColor3", "BeatColor4", "BeatColor5", "BeatColor6",
    "BeatColor7", "BeatsPerMeasure", "AccentBeatConfig", "LASTPROGVERSION", "MSNUDGEVALUE",
    "PlayBeatSound", "AutoBPMColor", "AutoBPMInputTimeout"};

// The generation a whole, consistent file holds; nullopt (with the reason) for anything else.
std::optional<int> generationOf(const QByteArray &bytes, QString &why)
{
    const SettingsFile file = SettingsFile::parse(bytes);
    // Written by us and whole: reading and writing it again gives the very same bytes.
    if (file.serialize() != bytes) {
        why = QStringLiteral("not a whole file of ours (%1 bytes)").arg(bytes.size());
        return std::nullopt;
    }
    for (const QString &name : everySetting) {
        if (!file.value(key, name)) {
            why = QStringLiteral("%1 is missing").arg(name);
            return std::nullopt;
        }
    }
    const int generation = file.value(key, "AutoBPMColor")->text.toInt();
    for (int beat = 1; beat <= 7; ++beat) {
        if (file.value(key, QStringLiteral("BeatColor%1").arg(beat))->text.toInt() != generation + beat) {
            why = QStringLiteral("BeatColor%1 is of another save").arg(beat);
            return std::nullopt;
        }
    }
    if (file.value(key, "AccentBeatConfig")->text.toInt() != generation) {
        why = QStringLiteral("AccentBeatConfig is of another save");
        return std::nullopt;
    }
    return generation;
}
} // namespace

class SettingsKillTest : public QObject {
    Q_OBJECT
private slots:
    void killedSaveLeavesOldOrNewSettingsWhole()
    {
        const int kills = qEnvironmentVariableIntValue("PULSIVAR_KILLS") > 0
                              ? qEnvironmentVariableIntValue("PULSIVAR_KILLS") : 200;
        const quint32 seed = qEnvironmentVariableIsSet("PULSIVAR_KILL_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("PULSIVAR_KILL_SEED"))
                                 : QRandomGenerator::global()->generate();
        qInfo("seed %u (PULSIVAR_KILL_SEED repeats the run)", seed);
        QRandomGenerator random(seed);

        QTemporaryDir config;
        QVERIFY(config.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        const QString settingsPath = config.path() + QStringLiteral("/Verrowind/Pulsivar.conf");
        const QString saver = QCoreApplication::applicationDirPath() + QStringLiteral("/fault_settings_saver");

        // How long the saver takes to its first save sets the range of the kill moments.
        qint64 firstSaveMs = 0;
        {
            QProcess probe;
            probe.setProcessEnvironment(environment);
            QElapsedTimer timer;
            timer.start();
            probe.start(saver, {});
            QVERIFY(probe.waitForStarted(10000));
            QVERIFY(probe.waitForReadyRead(20000));
            firstSaveMs = timer.elapsed();
            probe.kill();
            probe.waitForFinished(10000);
            qInfo("first save after %lld ms", firstSaveMs);
        }
        QFile::remove(settingsPath);
        const int spanMs = int(firstSaveMs) + 40;

        std::optional<int> onDisk;
        int killedWhileSaving = 0;
        for (int round = 0; round < kills; ++round) {
            QProcess saverProcess;
            saverProcess.setProcessEnvironment(environment);
            saverProcess.start(saver, {});
            QVERIFY2(saverProcess.waitForStarted(10000), "the saver did not start");
            // A quarter of the kills fall before or around the first save; the rest come after
            // it, counted from the saver's own report, so a loaded machine whose start-up takes
            // longer than the probe's still gets most kills in the middle of saving.
            if (random.bounded(4) != 0)
                QVERIFY2(saverProcess.waitForReadyRead(20000), "the saver did not save");
            QThread::usleep(random.bounded(spanMs * 1000));
            ::kill(pid_t(saverProcess.processId()), SIGKILL);
            QVERIFY(saverProcess.waitForFinished(10000));
            QCOMPARE(saverProcess.exitStatus(), QProcess::CrashExit);

            std::optional<int> lastReported;
            const QList<QByteArray> lines = saverProcess.readAllStandardOutput().split('\n');
            for (const QByteArray &line : lines) {
                if (line.startsWith("saved "))
                    lastReported = line.mid(6).toInt();
            }
            if (lastReported)
                ++killedWhileSaving;

            QFile file(settingsPath);
            if (!file.exists()) {
                QVERIFY2(!onDisk && !lastReported, qPrintable(QStringLiteral("round %1: the settings file is gone").arg(round)));
                continue;
            }
            QVERIFY(file.open(QIODevice::ReadOnly));
            QString why;
            const auto generation = generationOf(file.readAll(), why);
            QVERIFY2(generation, qPrintable(QStringLiteral("round %1: %2").arg(round).arg(why)));
            // Old: the last save that finished (or the file from before); new: the one under way.
            const std::optional<int> old = lastReported ? lastReported : onDisk;
            const bool isOld = old && *generation == *old;
            const bool isNew = old ? *generation == *old + 1 : true;
            QVERIFY2(isOld || isNew, qPrintable(QStringLiteral("round %1: generation %2 after %3")
                                                    .arg(round).arg(*generation).arg(old ? *old : -1)));
            onDisk = generation;
        }
        // A save cut short leaves its half-written file beside the settings: proof of kills mid-write.
        const int cutShort = int(QDir(config.path() + QStringLiteral("/Verrowind"))
                                     .entryList({QStringLiteral("Pulsivar.conf.*")}, QDir::Files).size());
        qInfo("%d kills, %d after at least one save, %d in the middle of writing; last generation on disk %d",
              kills, killedWhileSaving, cutShort, onDisk ? *onDisk : -1);
        // Most kills must land while the saver is saving, or the test proves little.
        QVERIFY2(killedWhileSaving >= kills / 2, qPrintable(QString::number(killedWhileSaving)));
    }
};

QTEST_GUILESS_MAIN(SettingsKillTest)
#include "test_settings_kill.moc"
