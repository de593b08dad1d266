// SPDX-License-Identifier: GPL-2.0-or-later
// What the beat clock learns about accents from the one measure dialog, and the dialog's final
// close at program exit.
#include "metronome/frmMeasureConfig.h"
#include "metronome/MeasureConfigRules.h"

#include "settings/ProgramState.h"
#include "platform/Registry.h"

#include "FakeBeatSoundEngine.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace pulsivar;
using namespace pulsivar::test;

class MeasureConfigAccentQueryTest : public QObject {
    Q_OBJECT

    TestEnvironment environment;
    FakeBeatSoundEngine sound;
    MessageRecorder messages;

    QCheckBox *accentBox(int beat)
    {
        return measureConfigDialog().findChild<QCheckBox *>(QStringLiteral("chkAccent_%1").arg(beat));
    }

private slots:
    void initTestCase()
    {
        for (const char *name : {"MetronomeWave.wav", "AccentMetronomeWave.wav"}) {
            QFile file(QDir(environment.programFolder()).filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void aDialogNeverShownSavesNoPlace()
    {
        // Loaded (by the beat clock's side, say) but never shown, and nothing stored yet.
        measureConfigDialog();
        programState().bShuttingDown = true;
        closeMeasureConfigForShutdown();
        programState().bShuttingDown = false;
        QCOMPARE(existingMeasureConfig(), nullptr);
        // A first run must still open at the design position, not at the corner.
        QCOMPARE(clsRegistry().GetFormPositionTop(QStringLiteral("frmMeasureConfig"), 99), 99);
        QCOMPARE(clsRegistry().GetFormPositionLeft(QStringLiteral("frmMeasureConfig"), 99), 99);
    }
    void accentClicksReachTheBeatClock()
    {
        settings().AccentBeatConfig = QStringLiteral("10000");
        settings().BeatsPerMeasure = 4;
        frmMeasureConfig &dialog = measureConfigDialog();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(existingMeasureConfig(), &dialog);
        QCOMPARE(&measureConfigDialog(), &dialog);

        dialog.ShowMe();
        QTest::mouseClick(accentBox(3), Qt::LeftButton);
        QTest::mouseClick(accentBox(1), Qt::LeftButton);
        // The beat grid counts from the accent text, which each click has written at once.
        QCOMPARE(accentMaskOf(settings().AccentBeatConfig), 0b100u);
        dialog.hide();
        QCOMPARE(accentMaskOf(settings().AccentBeatConfig), 0b100u);
    }

    void shutdownClosesForGoodAndSavesThePlace()
    {
        frmMeasureConfig &dialog = measureConfigDialog();
        dialog.ShowMe();
        dialog.move(45, 75);
        dialog.hide();
        programState().bShuttingDown = true;
        closeMeasureConfigForShutdown();
        QCOMPARE(existingMeasureConfig(), nullptr);
        QCOMPARE(clsRegistry().GetFormPositionTop(QStringLiteral("frmMeasureConfig"), -1), 75 * 15);
        QCOMPARE(clsRegistry().GetFormPositionLeft(QStringLiteral("frmMeasureConfig"), -1), 45 * 15);
        // Nothing left to close a second time.
        closeMeasureConfigForShutdown();
        programState().bShuttingDown = false;
    }

};

QTEST_MAIN(MeasureConfigAccentQueryTest)
#include "test_MeasureConfigAccentQuery.moc"
