// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A private settings folder and program folder for one test, so nothing touches the user's files.
#include <QString>
#include <QTemporaryDir>

namespace pulsivar::test {

class TestEnvironment {
public:
    // Points XDG_CONFIG_HOME and the program folder at fresh temporary folders.
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString configFolder() const { return config.path(); }
    QString programFolder() const { return program.path(); }
    // The file that holds the user's settings.
    QString settingsFile() const;

private:
    QTemporaryDir config;
    QTemporaryDir program;
    QByteArray previousConfigHome;
};

} // namespace pulsivar::test
