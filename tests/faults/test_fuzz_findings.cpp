// SPDX-License-Identifier: GPL-2.0-or-later
// What the fuzzers found, kept as tests that run in every build: each wave file of the fuzz
// corpus (the ones that once failed among them) through the program's wave decoding and click
// mixing, and the version files that once broke an assumption of the update check.
#include "extras/VersionFile.h"
#include "metronome/SoundEngineMixer.h"
#include "metronome/SoundEngineSdl.h"

#include <QDir>
#include <QtTest>
#include <cmath>

using namespace pulsivar;

namespace {
const QString corpus = QStringLiteral(PULSIVAR_FUZZ_CORPUS);
}

class FuzzFindingsTest : public QObject {
    Q_OBJECT
private slots:
    void waveFilesDecodeOrAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(corpus + QStringLiteral("/fuzz_wave_file"));
        const QStringList files = folder.entryList(QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << folder.filePath(file);
    }
    void waveFilesDecodeOrAreRefused()
    {
        QFETCH(QString, path);
        const auto sound = decodeWaveFile(path, SdlBeatSoundEngine::sampleRate);
        if (!sound)
            return;
        QVERIFY(!sound->samples.empty());
        ClickMixer mixer(SdlBeatSoundEngine::channels);
        QVERIFY(mixer.schedule(sound.get(), 0, 1));
        std::vector<float> out(std::size_t(SdlBeatSoundEngine::bufferFrames) * SdlBeatSoundEngine::channels);
        mixer.render(out.data(), SdlBeatSoundEngine::bufferFrames, 0);
    }

    void emptyOrOversizedWaveIsNoSound_data()
    {
        QTest::addColumn<QString>("file");
        // An MS ADPCM file whose data chunk decodes to no sample at all.
        QTest::newRow("ADPCM without samples") << "adpcm_no_samples.wav";
        // Less than one sample once converted.
        QTest::newRow("under one sample") << "under_one_sample.wav";
        // 480 samples at 1 Hz: eight minutes of audio, 84 MB of floats once converted.
        QTest::newRow("minutes at 1 Hz") << "claims_many_samples.wav";
    }
    void emptyOrOversizedWaveIsNoSound()
    {
        QFETCH(QString, file);
        QVERIFY(!decodeWaveFile(corpus + QStringLiteral("/fuzz_wave_file/") + file, SdlBeatSoundEngine::sampleRate));
    }

    void oversizedDataChunkReadsWhatIsThere()
    {
        // 700 bytes that declare a 4 GB data chunk: what the file holds is all there is.
        const auto sound = decodeWaveFile(corpus + QStringLiteral("/fuzz_wave_file/oversized_data_chunk.wav"),
                                          SdlBeatSoundEngine::sampleRate);
        QVERIFY(sound);
        QVERIFY(sound->samples.size() < 2000);
    }

    void versionFileLineBreaksJoinedByRemoval()
    {
        // Removing every CR LF from the address can join a CR and an LF that were apart.
        QFile file(corpus + QStringLiteral("/fuzz_version_file/joined_line_break"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto content = parseVersionFile(QString::fromLocal8Bit(file.readAll()));
        QVERIFY(content);
        QCOMPARE(content->latestVersion, QStringLiteral("5.1.0"));
        QVERIFY(!content->latestVersion.contains(u'\r'));
        // Whatever the address holds, a text with a line break is never opened.
        QVERIFY(!isWebDownloadAddress(content->downloadAddress));
    }
};

QTEST_GUILESS_MAIN(FuzzFindingsTest)
#include "test_fuzz_findings.moc"
