// SPDX-License-Identifier: GPL-2.0-or-later
// The program's own click taken out of a capture of its output: found at the loop's delay,
// subtracted at its level, and nothing touched where it is not.
#include "detect/OwnClickRemover.h"

#include <QtTest>
#include <cmath>
#include <optional>
#include <random>

using namespace pulsivar;

namespace {
constexpr int rate = OwnClickRemover::rate;

std::shared_ptr<const std::vector<float>> clickSound()
{
    auto sound = std::make_shared<std::vector<float>>();
    for (int i = 0; i < 2000; ++i)
        sound->push_back(float(std::exp(-i / 300.0) * std::sin(i * 0.9)));
    return sound;
}

// Two seconds of a stereo capture starting at monotonic time 100 s: a bass line on both sides,
// and (when withClicks) the click at 0.25 of full scale on the left, 0.2 on the right, heard
// loop seconds after each of its times. Fed in blocks of 441 frames, each ready 3 ms late.
struct Capture {
    std::vector<double> clickSeconds;
    double loop = 0.042;
    std::vector<qint16> music;
    std::vector<qint16> heard;

    explicit Capture(bool withClicks) : Capture(withClicks, 0.042, {100.3, 100.8, 101.3}, 2) {}
    Capture(bool withClicks, double loopSeconds, std::vector<double> clicks, int seconds)
        : clickSeconds(std::move(clicks)), loop(loopSeconds)
    {
        const auto sound = clickSound();
        for (int f = 0; f < seconds * rate; ++f) {
            const double bass = 6000 * std::sin(2 * M_PI * 55 * f / double(rate));
            double left = bass;
            double right = bass;
            for (double at : clickSeconds) {
                const int k = f - int(std::lround((at - 100.0 + loop) * rate));
                if (withClicks && k >= 0 && k < int(sound->size())) {
                    left += 0.25 * 32767 * (*sound)[std::size_t(k)];
                    right += 0.2 * 32767 * (*sound)[std::size_t(k)];
                }
            }
            music.push_back(qint16(bass));
            music.push_back(qint16(bass));
            heard.push_back(qint16(std::lround(left)));
            heard.push_back(qint16(std::lround(right)));
        }
    }

    // Each click is handed over handOverAfter seconds after its time (before the capture holds
    // it, the way the program hands them over), or all at the start.
    std::vector<qint16> run(OwnClickRemover &remover, std::optional<double> handOverAfter = std::nullopt)
    {
        std::vector<qint16> out;
        std::size_t handed = 0;
        for (; !handOverAfter && handed < clickSeconds.size(); ++handed)
            remover.addClick({clickSeconds[handed], clickSound()});
        for (std::size_t f = 0; f < heard.size() / 2; f += 441) {
            for (; handed < clickSeconds.size() && clickSeconds[handed] + *handOverAfter <= 100.0 + double(f) / rate;
                 ++handed)
                remover.addClick({clickSeconds[handed], clickSound()});
            const std::vector<qint16> block(heard.begin() + qint64(2 * f), heard.begin() + qint64(2 * (f + 441)));
            remover.push(block, 100.0 + double(f + 441) / rate + 0.003, out);
        }
        return out;
    }
};

double largestDifference(const std::vector<qint16> &a, const std::vector<qint16> &b, std::size_t count)
{
    double largest = 0;
    for (std::size_t i = 0; i < count; ++i)
        largest = std::max(largest, std::abs(double(a[i]) - b[i]));
    return largest;
}
} // namespace

class OwnClickRemoverTest : public QObject {
    Q_OBJECT
private slots:
    void theClickIsFoundAtTheLoopsDelayAndTakenOut()
    {
        Capture capture(true);
        OwnClickRemover remover;
        const std::vector<qint16> out = capture.run(remover);
        QCOMPARE(remover.removedCount(), 3);
        QVERIFY(remover.loopSeconds());
        // The loop counts from the output's clock to the capture line, which reads 3 ms late.
        QVERIFY2(std::abs(*remover.loopSeconds() - (capture.loop + 0.003)) < 0.0002,
                 qPrintable(QString::number(*remover.loopSeconds())));
        // Everything released is the music alone, the click down to a fiftieth of its peak.
        QVERIFY(out.size() > capture.music.size() / 2);
        const double left = largestDifference(out, capture.music, out.size());
        QVERIFY2(left < 0.25 * 32767 / 50, qPrintable(QString::number(left)));
    }

    void aLoopThatNoLongerHoldsIsFoundAgain()
    {
        OwnClickRemover remover;
        Capture before(true);
        before.run(remover);
        QVERIFY(remover.loopSeconds());
        // A new run on a slower path: each click comes 0.2 s after its time and is handed over
        // once the audio where the old loop put it has gone by.
        remover.reset();
        std::vector<double> clicks;
        for (int i = 0; i < 9; ++i)
            clicks.push_back(100.3 + 0.5 * i);
        Capture after(true, 0.2, clicks, 5);
        after.run(remover, 0.1);
        QVERIFY2(remover.loopSeconds() && std::abs(*remover.loopSeconds() - 0.203) < 0.0005,
                 qPrintable(QString::number(remover.loopSeconds().value_or(-1))));
        QCOMPARE(remover.removedCount(), 9 - OwnClickRemover::missesBeforeWideSearch);
    }

    void withoutTheClickNothingChangesAndNothingIsHeldForLong()
    {
        Capture capture(false);
        OwnClickRemover remover;
        const std::vector<qint16> out = capture.run(remover);
        QCOMPARE(remover.removedCount(), 0);
        QVERIFY(!remover.loopSeconds());
        QVERIFY(largestDifference(out, capture.heard, out.size()) == 0);
        QVERIFY(out.size() / 2 >= capture.heard.size() / 2 - std::size_t(OwnClickRemover::maxHoldFrames));
    }

    void withoutClicksEveryFrameGoesStraightThrough()
    {
        OwnClickRemover remover;
        std::vector<qint16> out;
        remover.push({1, 2, 3, 4}, 10.0, out);
        QCOMPARE(out, (std::vector<qint16>{1, 2, 3, 4}));
        QCOMPARE(remover.releasedFrames(), 2);
    }
};

QTEST_APPLESS_MAIN(OwnClickRemoverTest)
#include "test_OwnClickRemover.moc"
