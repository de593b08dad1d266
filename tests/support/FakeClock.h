// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A clock that only moves when the test moves it; installed while it lives.
#include "common/Clock.h"

namespace pulsivar::test {

class FakeClock : public Clock {
public:
    FakeClock() { setClock(this); }
    ~FakeClock() override { setClock(nullptr); }
    FakeClock(const FakeClock &) = delete;
    FakeClock &operator=(const FakeClock &) = delete;

    double monotonicSeconds() const override { return seconds; }
    QDateTime currentDateTime() const override { return dateTime.addMSecs(qint64(seconds * 1000)); }
    // The test's events happen when the test says, whatever stamp the test library gives them.
    double inputEventSeconds(unsigned long) const override { return seconds; }

    void advanceMs(double ms) { seconds += ms / 1000.0; }

    double seconds = 1000.0;
    QDateTime dateTime = QDateTime(QDate(2026, 1, 1), QTime(12, 0));
};

} // namespace pulsivar::test
