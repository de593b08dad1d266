// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A sound engine that plays nothing and remembers every click asked of it; installed while it lives.
#include "metronome/BeatSoundEngine.h"
#include <QList>
#include <QString>
#include <utility>

namespace pulsivar::test {

class FakeBeatSoundEngine : public BeatSoundEngine {
public:
    struct Play {
        QString path;
        double dueSeconds;
    };

    FakeBeatSoundEngine();
    ~FakeBeatSoundEngine() override;
    FakeBeatSoundEngine(const FakeBeatSoundEngine &) = delete;
    FakeBeatSoundEngine &operator=(const FakeBeatSoundEngine &) = delete;

    bool play(const QString &path, double dueMonotonicSeconds) override;
    void stop() override { ++stops; }
    void prepare() override { ++prepares; }
    void setSchedule(const BeatSchedule &schedule) override { schedules.append(schedule); }
    bool setBeatSounds(const QString &plainPath, const QString &accentPath) override
    {
        beatSounds = {plainPath, accentPath};
        return playResult;
    }

    // The paths played, in order.
    QStringList paths() const;
    void clear();

    QStringList outputDevices() override { return devices; }
    void setOutputDevice(const QString &name) override { outputDevice = name; }
    bool takeFallbackNotice() override { return std::exchange(fallsBack, false); }

    QList<Play> plays;
    QStringList devices;
    QString outputDevice;
    // Answered once by takeFallbackNotice, as the real engine does after falling back.
    bool fallsBack = false;
    // Every schedule handed over, and the last beat sounds.
    QList<BeatSchedule> schedules;
    QStringList beatSounds;
    int stops = 0;
    int prepares = 0;
    // What play answers, as a real engine does for an undecodable file.
    bool playResult = true;
};

} // namespace pulsivar::test
