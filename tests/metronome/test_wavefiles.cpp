// SPDX-License-Identifier: GPL-2.0-or-later
// Writing the beat wave files into the program folder, and the sounds carried for them.
#include "MessageRecorder.h"
#include "TestEnvironment.h"
#include "common/ProgramFolder.h"
#include "metronome/WaveFiles.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QtTest>
#include <cmath>

using namespace pulsivar;
using namespace pulsivar::test;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString expectedText(const QString &fileName)
{
    return QStringLiteral("The metronome wave file '") + fileName + QStringLiteral("' was not found in '")
           + QDir::toNativeSeparators(programFolder())
           + QStringLiteral("'.\nIn order to hear a sound on the metronome beats, a wave file (.wav) with "
                            "this name must be present.");
}

} // namespace

class WaveFilesTest : public QObject {
    Q_OBJECT

private slots:
    void writesBothMissingFilesAsCopiesOfTheResources()
    {
        TestEnvironment env;
        MessageRecorder messages;
        QVERIFY(ExtractWaveFiles());
        QCOMPARE(messages.count(), 0);
        QCOMPARE(readAll(plainWavePath()), readAll(QStringLiteral(":/WAVE/101")));
        QCOMPARE(readAll(accentWavePath()), readAll(QStringLiteral(":/WAVE/102")));
        QCOMPARE(plainWavePath(), QDir(env.programFolder()).filePath(QStringLiteral("MetronomeWave.wav")));
        QCOMPARE(accentWavePath(), QDir(env.programFolder()).filePath(QStringLiteral("AccentMetronomeWave.wav")));
    }

    void leavesPresentFilesAlone()
    {
        TestEnvironment env;
        MessageRecorder messages;
        writeFile(plainWavePath(), "mine");
        writeFile(accentWavePath(), "also mine");
        QVERIFY(ExtractWaveFiles());
        QCOMPARE(readAll(plainWavePath()), QByteArray("mine"));
        QCOMPARE(readAll(accentWavePath()), QByteArray("also mine"));
        QCOMPARE(messages.count(), 0);
    }

    // A link in a wave file's place is the file only when it leads to one; a dangling link is
    // replaced, never written through to wherever it points.
    void linksAreNeverWrittenThrough()
    {
        TestEnvironment env;
        MessageRecorder messages;
        const QString elsewhere = QDir(env.configFolder()).filePath(QStringLiteral("profile"));
        writeFile(elsewhere + "-kept", "someone's own click");
        QVERIFY(QFile::link(elsewhere, plainWavePath()));
        QVERIFY(QFile::link(elsewhere + "-kept", accentWavePath()));
        QVERIFY(ExtractWaveFiles());
        QVERIFY(!QFileInfo::exists(elsewhere));
        QVERIFY(!QFileInfo(plainWavePath()).isSymLink());
        QCOMPARE(readAll(plainWavePath()), readAll(QStringLiteral(":/WAVE/101")));
        QCOMPARE(readAll(accentWavePath()), QByteArray("someone's own click"));
    }

    void writesOnlyTheMissingOne()
    {
        TestEnvironment env;
        MessageRecorder messages;
        writeFile(plainWavePath(), "mine");
        QVERIFY(ExtractWaveFiles());
        QCOMPARE(readAll(plainWavePath()), QByteArray("mine"));
        QCOMPARE(readAll(accentWavePath()), readAll(QStringLiteral(":/WAVE/102")));
        // Deleted while running: the next call writes it again.
        QVERIFY(QFile::remove(accentWavePath()));
        QVERIFY(ExtractWaveFiles());
        QVERIFY(QFile::exists(accentWavePath()));
    }

    void failureNamesTheFileThatFailed_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("plainWritten");
        QTest::newRow("folder named like the plain file") << "MetronomeWave.wav" << "MetronomeWave.wav" << false;
        QTest::newRow("folder named like the accent file")
            << "AccentMetronomeWave.wav" << "AccentMetronomeWave.wav" << true;
    }
    void failureNamesTheFileThatFailed()
    {
        QFETCH(QString, blocked);
        QFETCH(QString, named);
        QFETCH(bool, plainWritten);
        TestEnvironment env;
        MessageRecorder messages;
        QVERIFY(QDir(env.programFolder()).mkdir(blocked));
        QVERIFY(!ExtractWaveFiles());
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().title, QStringLiteral("Can't Extract And Write Wave File"));
        QCOMPARE(messages.last().text, expectedText(named));
        QCOMPARE(messages.last().icon, MessageIcon::Warning);
        QCOMPARE(messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(QFileInfo(plainWavePath()).isFile(), plainWritten);
        // The first failure stops: the accent file is not attempted after the plain one failed.
        if (!plainWritten)
            QVERIFY(!QFileInfo::exists(accentWavePath()));
    }

    void unwritableFolderWarnsAtEveryCall()
    {
        TestEnvironment env;
        MessageRecorder messages;
        // A folder below a plain file can be created by nobody, root included.
        const QString blocker = QDir(env.programFolder()).filePath(QStringLiteral("plain-file"));
        writeFile(blocker, "x");
        setProgramFolder(blocker + QStringLiteral("/sub"));
        QVERIFY(!ExtractWaveFiles());
        QVERIFY(!ExtractWaveFiles());
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.last().text, expectedText(QStringLiteral("MetronomeWave.wav")));
    }

    void carriedSoundsAreShortCleanClicks_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::newRow("plain") << ":/WAVE/101";
        QTest::newRow("accent") << ":/WAVE/102";
    }
    void carriedSoundsAreShortCleanClicks()
    {
        QFETCH(QString, resource);
        const QByteArray wav = readAll(resource);
        QVERIFY(wav.size() > 44);
        QCOMPARE(wav.mid(0, 4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        QCOMPARE(u16(20), quint16(1));      // PCM
        QCOMPARE(u16(22), quint16(1));      // mono
        QCOMPARE(u32(24), quint32(44100));  // rate
        QCOMPARE(u16(34), quint16(16));     // bits
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        const int frames = int(u32(40) / 2);
        QCOMPARE(44 + frames * 2, int(wav.size()));
        QVERIFY(frames > 0.15 * 44100 && frames < 0.25 * 44100);
        qint64 sum = 0;
        int peak = 0;
        for (int i = 0; i < frames; ++i) {
            const int v = qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i);
            sum += v;
            peak = std::max(peak, std::abs(v));
        }
        QVERIFY2(std::abs(double(sum) / frames) < 1.0, "DC offset");
        QVERIFY(peak > 16000);  // loud enough to cut through
        // Silent at both ends: no click-on before the attack, no click-off at the end.
        QVERIFY(std::abs(qFromLittleEndian<qint16>(wav.constData() + 44)) < 64);
        QVERIFY(std::abs(qFromLittleEndian<qint16>(wav.constData() + wav.size() - 2)) < 64);
    }

    void accentIsLouderThanPlain()
    {
        const auto peak = [](const QByteArray &wav) {
            int p = 0;
            for (int at = 44; at + 1 < wav.size(); at += 2)
                p = std::max(p, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + at))));
            return p;
        };
        QVERIFY(peak(readAll(QStringLiteral(":/WAVE/102"))) > peak(readAll(QStringLiteral(":/WAVE/101"))));
    }
};

QTEST_GUILESS_MAIN(WaveFilesTest)
#include "test_wavefiles.moc"
