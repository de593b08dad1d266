// SPDX-License-Identifier: GPL-2.0-or-later
// Which paths PlayWaveFile plays, and what it hands the sound engine.
#include "FakeBeatSoundEngine.h"
#include "FakeClock.h"
#include "metronome/BeatSound.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

class BeatSoundTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }
    void touch(const QString &name)
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        touch(QStringLiteral("click.wav"));
        touch(QStringLiteral("UPPER.WAV"));
        touch(QStringLiteral("Mixed.Wav"));
        touch(QStringLiteral("click.wave"));
        touch(QStringLiteral("click.mp3"));
        touch(QStringLiteral(".hidden.wav"));
        touch(QStringLiteral("clickwav"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.wav")));
    }

    void playsOnlyQualifyingPaths_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plays");
        QTest::newRow("lower-case extension") << "click.wav" << true;
        QTest::newRow("upper-case extension") << "UPPER.WAV" << true;
        QTest::newRow("mixed-case extension") << "Mixed.Wav" << true;
        QTest::newRow("ends in wav without a dot") << "clickwav" << true;
        QTest::newRow(".wave") << "click.wave" << false;
        QTest::newRow(".mp3") << "click.mp3" << false;
        QTest::newRow("missing file") << "absent.wav" << false;
        QTest::newRow("hidden file") << ".hidden.wav" << false;
        QTest::newRow("folder") << "folder.wav" << false;
    }
    void playsOnlyQualifyingPaths()
    {
        QFETCH(QString, name);
        QFETCH(bool, plays);
        FakeBeatSoundEngine engine;
        PlayWaveFile(file(name));
        PlayWaveFileAt(file(name), 12.5);
        QCOMPARE(engine.plays.size(), plays ? 2 : 0);
        QCOMPARE(isPlayableWaveFile(file(name)), plays);
    }

    void emptyPathPlaysNothing()
    {
        FakeBeatSoundEngine engine;
        PlayWaveFile(QString());
        PlayWaveFileAt(QString(), 1.0);
        QVERIFY(engine.plays.isEmpty());
    }

    void playNowIsDueNow()
    {
        FakeClock fakeClock;
        FakeBeatSoundEngine engine;
        PlayWaveFile(file(QStringLiteral("click.wav")));
        QCOMPARE(engine.plays.size(), 1);
        QCOMPARE(engine.plays[0].path, file(QStringLiteral("click.wav")));
        QCOMPARE(engine.plays[0].dueSeconds, fakeClock.seconds);
    }

    void playAtPassesTheDueTime()
    {
        FakeBeatSoundEngine engine;
        PlayWaveFileAt(file(QStringLiteral("click.wav")), 4321.25);
        QCOMPARE(engine.plays.size(), 1);
        QCOMPARE(engine.plays[0].dueSeconds, 4321.25);
    }

    void fakeUninstallsItself()
    {
        BeatSoundEngine *outer = nullptr;
        {
            FakeBeatSoundEngine engine;
            outer = &beatSoundEngine();
            QCOMPARE(outer, static_cast<BeatSoundEngine *>(&engine));
        }
        QVERIFY(&beatSoundEngine() != outer);
        releaseBeatSoundEngine();
    }
};

QTEST_GUILESS_MAIN(BeatSoundTest)
#include "test_beatsound.moc"
