#pragma once
// A sound engine that plays nothing and remembers every click asked of it; installed while it lives.
#include "metronome/BeatSoundEngine.h"
#include <QList>
#include <QString>

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

    // The paths played, in order.
    QStringList paths() const;
    void clear();

    QList<Play> plays;
    int stops = 0;
    int prepares = 0;
    // What play answers, as a real engine does for an undecodable file.
    bool playResult = true;
};

} // namespace pulsivar::test
