// SPDX-License-Identifier: GPL-2.0-or-later
// The audio input module's C interface and the C++ engine over it, run on SDL's dummy and disk
// drivers so no sound hardware is needed.
#include "detect/AudioInputLibrary.h"
#include "detect/AudioInputModuleEngine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <cstring>

using namespace pulsivar;

namespace {

constexpr quint32 ringFrames = 88200;
constexpr quint32 ringBytes = ringFrames * 4;

FMOD_CREATESOUNDEXINFO recordingFormat()
{
    FMOD_CREATESOUNDEXINFO info{};
    info.cbsize = sizeof info;
    info.length = ringBytes;
    info.numchannels = 2;
    info.defaultfrequency = 44100;
    info.format = FMOD_SOUND_FORMAT_PCM16;
    return info;
}

// A frame pattern whose every frame differs from its neighbours, so a misplaced byte shows.
qint16 leftOf(quint32 frame) { return static_cast<qint16>(frame % 30011); }
qint16 rightOf(quint32 frame) { return static_cast<qint16>(-static_cast<int>(frame % 29989) - 1); }

class EnvironmentVariable {
public:
    EnvironmentVariable(const char *name, const QByteArray &value)
        : variable(name), previous(qgetenv(name)), hadValue(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentVariable()
    {
        if (hadValue)
            qputenv(variable, previous);
        else
            qunsetenv(variable);
    }

private:
    const char *variable;
    QByteArray previous;
    bool hadValue;
};

} // namespace

class TestModuleInterface : public QObject {
    Q_OBJECT

private:
    AudioInputLibrary api;
    QTemporaryDir scratch;

    // A created, initialised system with a recording sound, released by the caller.
    struct Recorder {
        qint32 system = 0;
        qint32 sound = 0;
    };

    Recorder makeRecorder()
    {
        Recorder r;
        if (api.FMOD_System_Create(&r.system) != FMOD_OK
            || api.FMOD_System_Init(r.system, 32, 0, nullptr) != FMOD_OK)
            return r;
        FMOD_CREATESOUNDEXINFO info = recordingFormat();
        api.FMOD_System_CreateSound(r.system, nullptr, 0x448, &info, &r.sound);
        return r;
    }

    // Fills the whole sound with the frame pattern through a lock, as a user sound allows.
    bool fillWithPattern(qint32 sound)
    {
        void *first = nullptr;
        void *second = nullptr;
        uint32_t firstBytes = 0;
        uint32_t secondBytes = 0;
        if (api.FMOD_Sound_Lock(sound, 0, ringBytes, &first, &second, &firstBytes, &secondBytes)
            != FMOD_OK || firstBytes != ringBytes)
            return false;
        auto *samples = static_cast<qint16 *>(first);
        for (quint32 frame = 0; frame < ringFrames; ++frame) {
            samples[frame * 2] = leftOf(frame);
            samples[frame * 2 + 1] = rightOf(frame);
        }
        return api.FMOD_Sound_Unlock(sound, first, second, firstBytes, secondBytes) == FMOD_OK;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(api.load(), qPrintable(api.errorString()));
        // SDL's disk driver records from a file and refuses to open without one.
        if (!qEnvironmentVariableIsSet("SDL_DISKAUDIOFILEIN")) {
            QFile silence(scratch.filePath(QStringLiteral("silence.raw")));
            QVERIFY(silence.open(QIODevice::WriteOnly));
            silence.write(QByteArray(ringBytes, '\0'));
            silence.close();
            qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(silence.fileName()));
            qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(scratch.filePath("output.raw")));
        }
    }

    void theLoaderRefusesWhatIsNotAWholeModule_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("not a library") << "text";
        QTest::newRow("a folder with the module's name") << "folder";
        QTest::newRow("a module without most functions") << "incomplete";
    }

    void theLoaderRefusesWhatIsNotAWholeModule()
    {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        QString path = folder.filePath(QStringLiteral("fmodex.dll"));
        if (kind == QLatin1String("text")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("MZ this is not a shared library\n");
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("fmodex.dll")));
        } else if (kind == QLatin1String("incomplete")) {
            path = QStringLiteral(AUDIOINPUT_INCOMPLETE_MODULE);
        }
        AudioInputLibrary library;
        QVERIFY(!library.load(path));
        QVERIFY(!library.isLoaded());
        QVERIFY(!library.errorString().isEmpty());
        QVERIFY(!library.FMOD_System_Create);

        ModuleAudioInputEngine engine(path);
        QVERIFY(!engine.load());
        QVERIFY(!engine.lastError().isEmpty());
        QVERIFY(!engine.createSystem());
        QVERIFY(!engine.hasSystem());
    }

    void everyFunctionRefusesABadHandle_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("zero") << "zero";
        QTest::newRow("negative") << "negative";
        QTest::newRow("never handed out") << "unknown";
        QTest::newRow("released") << "released";
        QTest::newRow("of the other kind") << "other";
    }

    void everyFunctionRefusesABadHandle()
    {
        QFETCH(QString, kind);
        Recorder live = makeRecorder();
        QVERIFY(live.sound != 0);
        Recorder gone = makeRecorder();
        QVERIFY(gone.sound != 0);
        QCOMPARE(api.FMOD_System_Release(gone.system), FMOD_OK);

        qint32 system = 0;
        qint32 sound = 0;
        if (kind == QLatin1String("negative")) {
            system = sound = -5;
        } else if (kind == QLatin1String("unknown")) {
            system = sound = 0x7654321;
        } else if (kind == QLatin1String("released")) {
            system = gone.system;
            sound = gone.sound;
        } else if (kind == QLatin1String("other")) {
            system = live.sound;
            sound = live.system;
        }

        int32_t count = 0;
        uint32_t number = 0;
        char name[16] = "x";
        void *p1 = nullptr;
        void *p2 = nullptr;
        uint32_t l1 = 0;
        uint32_t l2 = 0;
        qint32 made = 0;
        FMOD_CREATESOUNDEXINFO info = recordingFormat();
        const int32_t bad = FMOD_ERR_INVALID_HANDLE;
        QCOMPARE(api.FMOD_System_SetSoftwareFormat(system, 44100, 2, 2, 2, 2), bad);
        QCOMPARE(api.FMOD_System_SetOutput(system, 6), bad);
        QCOMPARE(api.FMOD_System_GetRecordNumDrivers(system, &count), bad);
        QCOMPARE(api.FMOD_System_GetRecordDriverName(system, 0, name, sizeof name), bad);
        QCOMPARE(name[0], '\0');
        QCOMPARE(api.FMOD_System_Init(system, 32, 0, nullptr), bad);
        QCOMPARE(api.FMOD_System_SetRecordDriver(system, 0), bad);
        QCOMPARE(api.FMOD_System_CreateSound(system, nullptr, 0x448, &info, &made), bad);
        QCOMPARE(made, 0);
        QCOMPARE(api.FMOD_System_RecordStart(system, live.sound, 1), bad);
        QCOMPARE(api.FMOD_System_RecordStart(live.system, sound, 1), bad);
        QCOMPARE(api.FMOD_System_RecordStop(system), bad);
        QCOMPARE(api.FMOD_System_IsRecording(system, &count), bad);
        QCOMPARE(api.FMOD_System_GetRecordPosition(system, &number), bad);
        uint64_t frames = 1;
        QCOMPARE(api.FMOD_System_GetRecordFrames(system, &frames), bad);
        QCOMPARE(frames, uint64_t(0));
        QCOMPARE(api.FMOD_System_Update(system), bad);
        QCOMPARE(api.FMOD_Sound_GetLength(sound, &number, FMOD_TIMEUNIT_PCM), bad);
        QCOMPARE(api.FMOD_Sound_Lock(sound, 0, 4, &p1, &p2, &l1, &l2), bad);
        QVERIFY(!p1);
        QCOMPARE(api.FMOD_Sound_Unlock(sound, nullptr, nullptr, 0, 0), bad);
        QCOMPARE(api.FMOD_Sound_Release(sound), bad);
        QCOMPARE(api.FMOD_System_Close(system), bad);
        QCOMPARE(api.FMOD_System_Release(system), bad);

        // The live objects were untouched by all of that.
        QCOMPARE(api.FMOD_Sound_GetLength(live.sound, &number, FMOD_TIMEUNIT_PCM), FMOD_OK);
        QCOMPARE(number, ringFrames);
        QCOMPARE(api.FMOD_System_Release(live.system), FMOD_OK);
    }

    void releasingASystemReleasesItsSounds()
    {
        Recorder r = makeRecorder();
        QVERIFY(r.sound != 0);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
        uint32_t length = 0;
        QCOMPARE(api.FMOD_Sound_GetLength(r.sound, &length, FMOD_TIMEUNIT_PCM), FMOD_ERR_INVALID_HANDLE);
        QCOMPARE(api.FMOD_Sound_Release(r.sound), FMOD_ERR_INVALID_HANDLE);
    }

    void nullAddressesAreRefused()
    {
        Recorder r = makeRecorder();
        QVERIFY(r.sound != 0);
        void *p = nullptr;
        uint32_t n = 0;
        FMOD_CREATESOUNDEXINFO info = recordingFormat();
        const int32_t bad = FMOD_ERR_INVALID_PARAM;
        QCOMPARE(api.FMOD_System_Create(nullptr), bad);
        QCOMPARE(api.FMOD_System_GetRecordNumDrivers(r.system, nullptr), bad);
        QCOMPARE(api.FMOD_System_GetRecordDriverName(r.system, 0, nullptr, 256), bad);
        QCOMPARE(api.FMOD_System_CreateSound(r.system, nullptr, 0x448, &info, nullptr), bad);
        QCOMPARE(api.FMOD_System_IsRecording(r.system, nullptr), bad);
        QCOMPARE(api.FMOD_System_GetRecordPosition(r.system, nullptr), bad);
        QCOMPARE(api.FMOD_Sound_GetLength(r.sound, nullptr, FMOD_TIMEUNIT_PCM), bad);
        QCOMPARE(api.FMOD_Sound_Lock(r.sound, 0, 4, nullptr, &p, &n, &n), bad);
        QCOMPARE(api.FMOD_Sound_Lock(r.sound, 0, 4, &p, &p, nullptr, &n), bad);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
    }

    void theSystemKeepsItsOrder()
    {
        qint32 system = 0;
        QCOMPARE(api.FMOD_System_Create(&system), FMOD_OK);
        QVERIFY(system > 0);
        FMOD_CREATESOUNDEXINFO info = recordingFormat();
        qint32 sound = 0;
        QCOMPARE(api.FMOD_System_CreateSound(system, nullptr, 0x448, &info, &sound),
                 FMOD_ERR_UNINITIALIZED);
        QCOMPARE(api.FMOD_System_SetSoftwareFormat(system, 44100, 5, 2, 2, 2), FMOD_ERR_FORMAT);
        QCOMPARE(api.FMOD_System_SetSoftwareFormat(system, 0, 2, 2, 2, 2), FMOD_ERR_INVALID_PARAM);
        QCOMPARE(api.FMOD_System_SetSoftwareFormat(system, 44100, 2, 2, 2, 2), FMOD_OK);
        QCOMPARE(api.FMOD_System_SetOutput(system, 6), FMOD_OK);
        QCOMPARE(api.FMOD_System_Init(system, 32, 0, nullptr), FMOD_OK);
        QCOMPARE(api.FMOD_System_Init(system, 32, 0, nullptr), FMOD_ERR_INITIALIZED);
        QCOMPARE(api.FMOD_System_SetSoftwareFormat(system, 44100, 2, 2, 2, 2), FMOD_ERR_INITIALIZED);
        // Close keeps the system for another Init; only Release ends it.
        QCOMPARE(api.FMOD_System_Close(system), FMOD_OK);
        QCOMPARE(api.FMOD_System_Init(system, 32, 0, nullptr), FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(system), FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(system), FMOD_ERR_INVALID_HANDLE);
    }

    void driverNamesAreZeroTerminatedAndCutToTheBuffer()
    {
        qint32 system = 0;
        QCOMPARE(api.FMOD_System_Create(&system), FMOD_OK);
        int32_t count = -1;
        QCOMPARE(api.FMOD_System_GetRecordNumDrivers(system, &count), FMOD_OK);
        QVERIFY2(count >= 1, "SDL's dummy driver offers one capture device");

        char full[FMOD_RECORD_DRIVER_NAME_BYTES];
        std::memset(full, '#', sizeof full);
        QCOMPARE(api.FMOD_System_GetRecordDriverName(system, 0, full, sizeof full), FMOD_OK);
        const std::size_t length = strnlen(full, sizeof full);
        QVERIFY(length > 4 && length < sizeof full);

        char cut[8];
        std::memset(cut, '#', sizeof cut);
        QCOMPARE(api.FMOD_System_GetRecordDriverName(system, 0, cut, 5), FMOD_OK);
        QCOMPARE(QByteArray(cut), QByteArray(full, 4));
        QCOMPARE(cut[5], '#');

        char none[4] = "abc";
        QCOMPARE(api.FMOD_System_GetRecordDriverName(system, count, none, sizeof none),
                 FMOD_ERR_INVALID_PARAM);
        QCOMPARE(none[0], '\0');
        QCOMPARE(api.FMOD_System_GetRecordDriverName(system, -1, none, sizeof none),
                 FMOD_ERR_INVALID_PARAM);
        QCOMPARE(api.FMOD_System_GetRecordDriverName(system, 0, none, 0), FMOD_ERR_INVALID_PARAM);
        QCOMPARE(api.FMOD_System_SetRecordDriver(system, count), FMOD_ERR_RECORD_DRIVER);
        QCOMPARE(api.FMOD_System_SetRecordDriver(system, -1), FMOD_ERR_INVALID_PARAM);
        QCOMPARE(api.FMOD_System_SetRecordDriver(system, count - 1), FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(system), FMOD_OK);
    }

    void onlyEmptyUserSoundsOfTheHandledFormatAreCreated_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("result");
        QTest::newRow("the recording format") << "" << int{FMOD_OK};
        QTest::newRow("mono") << "mono" << int{FMOD_OK};
        QTest::newRow("no extra information") << "no info" << int{FMOD_ERR_INVALID_PARAM};
        QTest::newRow("record size too small") << "small size" << int{FMOD_ERR_INVALID_PARAM};
        QTest::newRow("float samples") << "float" << int{FMOD_ERR_FORMAT};
        QTest::newRow("three channels") << "3 channels" << int{FMOD_ERR_FORMAT};
        QTest::newRow("no length") << "no length" << int{FMOD_ERR_INVALID_PARAM};
        QTest::newRow("shorter than a frame") << "3 bytes" << int{FMOD_ERR_INVALID_PARAM};
        QTest::newRow("absurd length") << "huge" << int{FMOD_ERR_MEMORY};
        QTest::newRow("a file to open") << "not user" << int{FMOD_ERR_FORMAT};
    }

    void onlyEmptyUserSoundsOfTheHandledFormatAreCreated()
    {
        QFETCH(QString, change);
        QFETCH(int, result);
        Recorder r = makeRecorder();
        QVERIFY(r.system != 0);
        FMOD_CREATESOUNDEXINFO info = recordingFormat();
        uint32_t mode = 0x448;
        if (change == QLatin1String("mono"))
            info.numchannels = 1;
        else if (change == QLatin1String("small size"))
            info.cbsize = 20;
        else if (change == QLatin1String("float"))
            info.format = 5;
        else if (change == QLatin1String("3 channels"))
            info.numchannels = 3;
        else if (change == QLatin1String("no length"))
            info.length = 0;
        else if (change == QLatin1String("3 bytes"))
            info.length = 3;
        else if (change == QLatin1String("huge"))
            info.length = 0xFFFFFFF0u;
        else if (change == QLatin1String("not user"))
            mode = 0x48;
        qint32 sound = -1;
        QCOMPARE(api.FMOD_System_CreateSound(r.system, nullptr, mode,
                                             change == QLatin1String("no info") ? nullptr : &info,
                                             &sound),
                 result);
        QCOMPARE(sound != 0, result == FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
    }

    void lockHandsOutTheBufferInOneOrTwoRegions_data()
    {
        QTest::addColumn<uint32_t>("offset");
        QTest::addColumn<uint32_t>("length");
        QTest::addColumn<uint32_t>("length1");
        QTest::addColumn<uint32_t>("length2");
        QTest::newRow("a block inside") << 4000u << 1600u << 1600u << 0u;
        QTest::newRow("a block up to the end") << ringBytes - 1600 << 1600u << 1600u << 0u;
        QTest::newRow("a block over the end") << ringBytes - 800 << 1600u << 800u << 800u;
        QTest::newRow("the whole loop from its middle") << 4u * 44100 << ringBytes
                                                        << 4u * 44100 << 4u * 44100;
    }

    void lockHandsOutTheBufferInOneOrTwoRegions()
    {
        QFETCH(uint32_t, offset);
        QFETCH(uint32_t, length);
        QFETCH(uint32_t, length1);
        QFETCH(uint32_t, length2);
        Recorder r = makeRecorder();
        QVERIFY(r.sound != 0);
        QVERIFY(fillWithPattern(r.sound));

        void *first = nullptr;
        void *second = nullptr;
        uint32_t firstBytes = 0;
        uint32_t secondBytes = 0;
        QCOMPARE(api.FMOD_Sound_Lock(r.sound, offset, length, &first, &second, &firstBytes,
                                     &secondBytes),
                 FMOD_OK);
        QCOMPARE(firstBytes, length1);
        QCOMPARE(secondBytes, length2);
        QCOMPARE(firstBytes + secondBytes, length);
        QCOMPARE(second != nullptr, length2 > 0);
        // Read in region order, the frames run on without a gap from the offset.
        std::vector<qint16> samples((firstBytes + secondBytes) / 2);
        std::memcpy(samples.data(), first, firstBytes);
        if (second)
            std::memcpy(reinterpret_cast<char *>(samples.data()) + firstBytes, second, secondBytes);
        for (quint32 i = 0; i < samples.size() / 2; ++i) {
            const quint32 frame = (offset / 4 + i) % ringFrames;
            if (samples[i * 2] != leftOf(frame) || samples[i * 2 + 1] != rightOf(frame))
                QFAIL(qPrintable(QStringLiteral("frame %1 of the block is out of place").arg(i)));
        }
        QCOMPARE(api.FMOD_Sound_Unlock(r.sound, first, second, firstBytes, secondBytes), FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
    }

    void lockRefusesRangesOutsideTheBuffer_data()
    {
        QTest::addColumn<uint32_t>("offset");
        QTest::addColumn<uint32_t>("length");
        QTest::addColumn<bool>("secondAddress");
        QTest::newRow("offset at the end") << ringBytes << 4u << true;
        QTest::newRow("longer than the loop") << 0u << ringBytes + 4 << true;
        QTest::newRow("wrapping without room for a second region") << ringBytes - 4 << 8u << false;
    }

    void lockRefusesRangesOutsideTheBuffer()
    {
        QFETCH(uint32_t, offset);
        QFETCH(uint32_t, length);
        QFETCH(bool, secondAddress);
        Recorder r = makeRecorder();
        QVERIFY(r.sound != 0);
        void *first = reinterpret_cast<void *>(1);
        void *second = nullptr;
        uint32_t firstBytes = 7;
        uint32_t secondBytes = 7;
        QCOMPARE(api.FMOD_Sound_Lock(r.sound, offset, length, &first,
                                     secondAddress ? &second : nullptr, &firstBytes,
                                     secondAddress ? &secondBytes : nullptr),
                 FMOD_ERR_INVALID_PARAM);
        QVERIFY(!first);
        QCOMPARE(firstBytes, 0u);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
    }

    void unlockRefusesRegionsOfAnotherSound()
    {
        Recorder a = makeRecorder();
        Recorder b = makeRecorder();
        QVERIFY(a.sound != 0 && b.sound != 0);
        void *first = nullptr;
        void *second = nullptr;
        uint32_t firstBytes = 0;
        uint32_t secondBytes = 0;
        QCOMPARE(api.FMOD_Sound_Lock(a.sound, 0, 64, &first, &second, &firstBytes, &secondBytes),
                 FMOD_OK);
        QCOMPARE(api.FMOD_Sound_Unlock(b.sound, first, second, firstBytes, secondBytes),
                 FMOD_ERR_INVALID_PARAM);
        QCOMPARE(api.FMOD_Sound_Unlock(a.sound, first, second, ringBytes + 4, 0),
                 FMOD_ERR_INVALID_PARAM);
        QCOMPARE(api.FMOD_Sound_Unlock(a.sound, first, second, firstBytes, secondBytes), FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(a.system), FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(b.system), FMOD_OK);
    }

    void recordingMovesThePositionUntilStopped()
    {
        Recorder r = makeRecorder();
        QVERIFY(r.sound != 0);
        QCOMPARE(api.FMOD_System_SetRecordDriver(r.system, 0), FMOD_OK);
        QCOMPARE(api.FMOD_System_RecordStart(r.system, r.sound, 1), FMOD_OK);
        int32_t recording = 0;
        QCOMPARE(api.FMOD_System_IsRecording(r.system, &recording), FMOD_OK);
        QCOMPARE(recording, 1);
        uint32_t position = 0;
        QTRY_VERIFY_WITH_TIMEOUT(api.FMOD_System_GetRecordPosition(r.system, &position) == FMOD_OK
                                     && position > 1024,
                                 5000);
        QVERIFY(position < ringFrames);
        // The frame count goes on past the end of the loop, where the position starts again.
        uint64_t frames = 0;
        QTRY_VERIFY_WITH_TIMEOUT(api.FMOD_System_GetRecordFrames(r.system, &frames) == FMOD_OK
                                     && frames > ringFrames + 1024,
                                 6000);
        QCOMPARE(api.FMOD_System_GetRecordPosition(r.system, &position), FMOD_OK);
        QVERIFY(position < ringFrames);
        QCOMPARE(api.FMOD_System_Update(r.system), FMOD_OK);
        QCOMPARE(api.FMOD_System_RecordStop(r.system), FMOD_OK);
        QCOMPARE(api.FMOD_System_IsRecording(r.system, &recording), FMOD_OK);
        QCOMPARE(recording, 0);
        // Stopping twice, or a sound of another system, is handled without harm.
        QCOMPARE(api.FMOD_System_RecordStop(r.system), FMOD_OK);
        Recorder other = makeRecorder();
        QCOMPARE(api.FMOD_System_RecordStart(r.system, other.sound, 1), FMOD_ERR_INVALID_HANDLE);
        QCOMPARE(api.FMOD_System_Release(other.system), FMOD_OK);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
    }

    void recordingNeedsAnInitialisedSystem()
    {
        Recorder r = makeRecorder();
        QVERIFY(r.sound != 0);
        QCOMPARE(api.FMOD_System_Close(r.system), FMOD_OK);
        QCOMPARE(api.FMOD_System_RecordStart(r.system, r.sound, 1), FMOD_ERR_UNINITIALIZED);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
    }

    void releasingTheSoundOrSystemWhileRecordingStopsFirst()
    {
        Recorder r = makeRecorder();
        QCOMPARE(api.FMOD_System_RecordStart(r.system, r.sound, 1), FMOD_OK);
        QTest::qWait(50);
        QCOMPARE(api.FMOD_Sound_Release(r.sound), FMOD_OK);
        int32_t recording = 1;
        QCOMPARE(api.FMOD_System_IsRecording(r.system, &recording), FMOD_OK);
        QCOMPARE(recording, 0);

        FMOD_CREATESOUNDEXINFO info = recordingFormat();
        QCOMPARE(api.FMOD_System_CreateSound(r.system, nullptr, 0x448, &info, &r.sound), FMOD_OK);
        QCOMPARE(api.FMOD_System_RecordStart(r.system, r.sound, 1), FMOD_OK);
        QTest::qWait(50);
        QCOMPARE(api.FMOD_System_Release(r.system), FMOD_OK);
    }

    void recordsWhatTheDeviceDeliversInOrder()
    {
        // SDL's disk driver captures from a raw file at the real rate: a known signal.
        constexpr quint32 frames = 22050;
        QTemporaryDir folder;
        const QString input = folder.filePath(QStringLiteral("input.raw"));
        {
            QFile file(input);
            QVERIFY(file.open(QIODevice::WriteOnly));
            std::vector<qint16> samples;
            for (quint32 frame = 0; frame < frames; ++frame) {
                samples.push_back(leftOf(frame + 1));
                samples.push_back(rightOf(frame + 1));
            }
            file.write(reinterpret_cast<const char *>(samples.data()),
                       static_cast<qint64>(samples.size() * sizeof(qint16)));
        }
        // Every system of the earlier tests is released, so SDL audio restarts with this driver.
        EnvironmentVariable driver("SDL_AUDIODRIVER", "disk");
        EnvironmentVariable file("SDL_DISKAUDIOFILEIN", QFile::encodeName(input));
        EnvironmentVariable output("SDL_DISKAUDIOFILE", QFile::encodeName(folder.filePath("out.raw")));

        ModuleAudioInputEngine engine;
        QVERIFY2(engine.load() && engine.createSystem(), qPrintable(engine.lastError()));
        const auto count = engine.recordDriverCount();
        QVERIFY(count && *count >= 1);
        QVERIFY(engine.initSystem());
        QVERIFY(engine.setRecordDriver(0));
        QVERIFY(engine.createRecordingSound());
        QVERIFY2(engine.startRecording(), qPrintable(engine.lastError()));
        QCOMPARE(engine.soundLengthFrames(), std::optional<quint32>(ringFrames));
        std::optional<quint32> position;
        QTRY_VERIFY_WITH_TIMEOUT((position = engine.recordPosition()) && *position > frames + 2048,
                                 10000);
        QVERIFY(engine.update());

        std::vector<qint16> samples;
        QVERIFY(engine.readFrames(0, *position, samples));
        QCOMPARE(samples.size(), std::size_t{*position} * 2);
        for (quint32 frame = 0; frame < *position; ++frame) {
            const bool fromFile = frame < frames;
            const qint16 left = fromFile ? leftOf(frame + 1) : 0;
            const qint16 right = fromFile ? rightOf(frame + 1) : 0;
            if (samples[frame * 2] != left || samples[frame * 2 + 1] != right)
                QFAIL(qPrintable(QStringLiteral("recorded frame %1 is %2/%3, not %4/%5")
                                     .arg(frame).arg(samples[frame * 2]).arg(samples[frame * 2 + 1])
                                     .arg(left).arg(right)));
        }
        QVERIFY(engine.stopRecording());
        QVERIFY(engine.releaseSound());
        QVERIFY(engine.closeSystem());
        QVERIFY(!engine.hasSystem());
    }

    void theEngineReadsABlockThatWrapsWhole()
    {
        ModuleAudioInputEngine engine;
        QVERIFY(engine.load() && engine.createSystem() && engine.initSystem());
        QVERIFY(engine.createRecordingSound());
        QVERIFY(fillWithPattern(engine.soundHandle()));

        std::vector<qint16> samples;
        QVERIFY(engine.readFrames(ringFrames - 150, 400, samples));
        QCOMPARE(samples.size(), std::size_t{800});
        for (quint32 i = 0; i < 400; ++i) {
            const quint32 frame = (ringFrames - 150 + i) % ringFrames;
            QCOMPARE(samples[i * 2], leftOf(frame));
            QCOMPARE(samples[i * 2 + 1], rightOf(frame));
        }
        QVERIFY(!engine.readFrames(ringFrames, 4, samples));
        QVERIFY(samples.empty());
        QVERIFY(!engine.readFrames(0, ringFrames + 1, samples));
        QVERIFY(!engine.lastError().isEmpty());
    }

    void theEngineReportsStepsOutOfOrder()
    {
        ModuleAudioInputEngine engine;
        QVERIFY(!engine.createSystem());
        QVERIFY(engine.load());
        QVERIFY(!engine.recordDriverCount());
        QVERIFY(!engine.startRecording());
        QVERIFY(!engine.recordPosition());
        QVERIFY(engine.createSystem());
        QVERIFY(engine.systemHandle() > 0);
        QVERIFY(!engine.createRecordingSound());
        QVERIFY(!engine.lastError().isEmpty());
        // Teardown of what was never made is harmless.
        QVERIFY(engine.stopRecording());
        QVERIFY(engine.releaseSound());
        QVERIFY(engine.closeSystem());
        QVERIFY(engine.closeSystem());
    }
};

QTEST_GUILESS_MAIN(TestModuleInterface)
#include "test_module_interface.moc"
