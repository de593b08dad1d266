// What the beat clock learns about accents, before and after the one measure dialog exists,
// and the dialog's final close at program exit.
#include "metronome/frmMeasureConfig.h"

#include "app/state/ProgramState.h"
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

    // Runs first: no dialog exists yet in this process.
    void withoutTheDialogThePatternDecides_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("beat");
        QTest::addColumn<bool>("accented");
        QTest::newRow("default beat 1") << "10000" << 1 << true;
        QTest::newRow("default beat 2") << "10000" << 2 << false;
        QTest::newRow("past the end") << "10000" << 6 << false;
        QTest::newRow("beat 7") << "0000001" << 7 << true;
        QTest::newRow("beat 8 never") << "11111111" << 8 << false;
        QTest::newRow("beat 0 never") << "11111111" << 0 << false;
        QTest::newRow("other character") << "2" << 1 << false;
    }
    void withoutTheDialogThePatternDecides()
    {
        QFETCH(QString, pattern);
        QFETCH(int, beat);
        QFETCH(bool, accented);
        settings().AccentBeatConfig = pattern;
        QCOMPARE(isMeasureAccentBeat(beat), accented);
        QCOMPARE(existingMeasureConfig(), nullptr);
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
        const bool expected[] = {false, false, true, false, false, false, false};
        for (int beat = 1; beat <= 7; ++beat)
            QCOMPARE(isMeasureAccentBeat(beat), expected[beat - 1]);
        QVERIFY(!isMeasureAccentBeat(8));

        // The boxes are the live state, whatever the text says.
        settings().AccentBeatConfig = QStringLiteral("1111111");
        QVERIFY(!isMeasureAccentBeat(1));
        dialog.hide();
        QVERIFY(isMeasureAccentBeat(3));
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
