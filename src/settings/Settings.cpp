// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/Settings.h"

#include "settings/ProgramState.h"
#include "common/Version.h"
#include "common/MessageBox.h"
#include "common/NumberText.h"
#include "common/TempoLimits.h"
#include "platform/Registry.h"
#include "platform/RegistryBackend.h"

namespace pulsivar {

namespace {

void readInt16(clsRegistry &registry, const char *name, int16_t &field)
{
    if (const auto value = toInt16(registry.GetUserSetting(QString::fromLatin1(name))))
        field = *value;
}

void readInt32(clsRegistry &registry, const char *name, int32_t &field)
{
    if (const auto value = toInt32(registry.GetUserSetting(QString::fromLatin1(name))))
        field = *value;
}

void readBoolean(clsRegistry &registry, const char *name, bool &field)
{
    const QString text = registry.GetUserSetting(QString::fromLatin1(name));
    if (const auto number = numericValue(text))
        field = *number != 0;
    else if (text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
        field = true;
    else if (text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        field = false;
}

void checkUpgrade(clsRegistry &registry)
{
    const QString stored = registry.GetUserSetting(QStringLiteral("LASTPROGVERSION"));
    if (stored.isEmpty() || !IsNewerVersion(stored, currentVersionString()))
        return;
    showMessage(programName() + QStringLiteral(" Program Upgraded"),
                QStringLiteral("Congratulations - Your %1 program has successfully been upgraded!   \n\n"
                               "The previous version was  %2\nThe current version is  %3")
                    .arg(programName(), stored, currentVersionString()),
                MessageIcon::Information);
    registry.SaveUserSetting(QStringLiteral("LASTPROGVERSION"), currentVersionString());
}

} // namespace

void LoadSettings()
{
    ProgramState &state = programState();
    state.settings = ProgramSettings{};
    if (!state.oRegistry)
        return;
    clsRegistry &registry = *state.oRegistry;
    ProgramSettings &s = state.settings;

    readInt16(registry, "ProgramSkin", s.ProgramSkin);
    for (int beat = 1; beat <= 7; ++beat)
        readInt32(registry, QStringLiteral("BeatColor%1").arg(beat).toLatin1().constData(), *s.beatColor(beat));
    readInt16(registry, "BeatsPerMeasure", s.BeatsPerMeasure);

    const QString accents = registry.GetUserSetting(QStringLiteral("AccentBeatConfig"));
    if (!accents.isEmpty())
        s.AccentBeatConfig = accents;

    checkUpgrade(registry);

    readInt16(registry, "MSNUDGEVALUE", s.MSNUDGEVALUE);
    s.MSNUDGEVALUE = limitNudge(s.MSNUDGEVALUE);
    readBoolean(registry, "PlayBeatSound", s.PlayBeatSound);
    readInt32(registry, "AutoBPMColor", s.AutoBPMColor);
    readInt16(registry, "AutoBPMInputTimeout", s.AutoBPMInputTimeout);
    s.ClickOutputDevice = registry.GetUserSetting(QStringLiteral("ClickOutputDevice"));
    readBoolean(registry, "AbletonLinkEnabled", s.AbletonLinkEnabled);
    s.MidiClockOutPort = registry.GetUserSetting(QStringLiteral("MidiClockOutPort"));
    state.settingsLoaded = true;
}

void SaveSettings()
{
    ProgramState &state = programState();
    if (!state.oRegistry)
        return;
    clsRegistry &registry = *state.oRegistry;
    ProgramSettings &s = state.settings;
    const RegistryBatch batch;

    const auto save = [&registry](const QString &name, const QString &value) {
        registry.SaveUserSetting(name, value);
    };
    save(QStringLiteral("ProgramSkin"), QString::number(s.ProgramSkin));
    for (int beat = 1; beat <= 7; ++beat)
        save(QStringLiteral("BeatColor%1").arg(beat), QString::number(*s.beatColor(beat)));
    save(QStringLiteral("BeatsPerMeasure"), QString::number(s.BeatsPerMeasure));
    save(QStringLiteral("AccentBeatConfig"), s.AccentBeatConfig);
    save(QStringLiteral("LASTPROGVERSION"), currentVersionString());
    s.MSNUDGEVALUE = limitNudge(s.MSNUDGEVALUE);
    save(QStringLiteral("MSNUDGEVALUE"), QString::number(s.MSNUDGEVALUE));
    save(QStringLiteral("PlayBeatSound"), s.PlayBeatSound ? QStringLiteral("True") : QStringLiteral("False"));
    save(QStringLiteral("AutoBPMColor"), QString::number(s.AutoBPMColor));
    save(QStringLiteral("AutoBPMInputTimeout"), QString::number(s.AutoBPMInputTimeout));
    save(QStringLiteral("ClickOutputDevice"), s.ClickOutputDevice);
    save(QStringLiteral("AbletonLinkEnabled"), s.AbletonLinkEnabled ? QStringLiteral("True") : QStringLiteral("False"));
    save(QStringLiteral("MidiClockOutPort"), s.MidiClockOutPort);
}

} // namespace pulsivar
