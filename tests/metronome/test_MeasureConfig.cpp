// SPDX-License-Identifier: GPL-2.0-or-later
// The measure dialog: its controls, what loading takes from the settings, and every choice in it.
#include "metronome/frmMeasureConfig.h"

#include "settings/ProgramState.h"
#include "common/Colors.h"
#include "common/ProgramFolder.h"
#include "common/Twips.h"
#include "common/ColorChooser.h"
#include "platform/Registry.h"

#include "FakeBeatSoundEngine.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>
#include <stdexcept>

using namespace pulsivar;
using namespace pulsivar::test;

Q_DECLARE_METATYPE(ColorChoice::Outcome)

namespace {

QRect twips(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

template<typename T>
T *child(QWidget &window, const QString &name)
{
    T *widget = window.findChild<T *>(name);
    if (!widget)
        qWarning("no control %s", qPrintable(name));
    return widget;
}

QCheckBox *accentBox(QWidget &window, int beat)
{
    return child<QCheckBox>(window, QStringLiteral("chkAccent_%1").arg(beat));
}

// The four controls of a beat row are shown and hidden together.
bool rowVisible(QWidget &window, int beat)
{
    const QString n = QString::number(beat);
    const bool label = child<QWidget>(window, QStringLiteral("sknlblBeat_") + n)->isVisibleTo(&window);
    const bool swatch = child<QWidget>(window, QStringLiteral("txtBeatColor_") + n)->isVisibleTo(&window);
    const bool change = child<QWidget>(window, QStringLiteral("cmdChange_") + n)->isVisibleTo(&window);
    const bool accent = child<QWidget>(window, QStringLiteral("chkAccent_") + n)->isVisibleTo(&window);
    if (label != swatch || label != change || label != accent)
        qWarning("row %d is partly shown", beat);
    return label && swatch && change && accent;
}

void writeFile(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("RIFF");
}

} // namespace

class MeasureConfigTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    std::unique_ptr<FakeBeatSoundEngine> sound;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<frmMeasureConfig> window;

    // A dialog loaded from the settings as they are now, shown so its buttons take clicks.
    frmMeasureConfig &loadedDialog()
    {
        window = std::make_unique<frmMeasureConfig>();
        window->show();
        return *window;
    }

    QString programPath(const QString &name) const { return QDir(environment->programFolder()).filePath(name); }

private slots:
    void init()
    {
        environment = std::make_unique<TestEnvironment>();
        // Present wave files are left alone, so the previews need no resources.
        writeFile(programPath(QStringLiteral("MetronomeWave.wav")));
        writeFile(programPath(QStringLiteral("AccentMetronomeWave.wav")));
        sound = std::make_unique<FakeBeatSoundEngine>();
        messages = std::make_unique<MessageRecorder>();
        settings() = ProgramSettings();
        programState().bShuttingDown = false;
    }
    void cleanup()
    {
        window.reset();
        setColorChooser({});
        messages.reset();
        sound.reset();
        environment.reset();
    }

    void windowHasItsCaptionFixedSizeAndNoMaximizeButton()
    {
        frmMeasureConfig &dialog = loadedDialog();
        QCOMPARE(dialog.objectName(), QStringLiteral("frmMeasureConfig"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Measure Configuration"));
        QCOMPARE(dialog.size(), QSize(twipsToPixels(4290), twipsToPixels(4620)));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(dialog.rowCount(), 7);
    }

    void controlsCarryTheirTextsTipsAndPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QRect>("place");

        const int sigTops[] = {435, 690, 945};
        for (int index = 2; index <= 7; ++index) {
            QTest::addRow("optTimeSig_%d", index)
                << QStringLiteral("optTimeSig_%1").arg(index) << QStringLiteral("%1 - 4").arg(index)
                << QStringLiteral("%1 beats per measure, quarter note gets 1 beat").arg(index)
                << twips(index <= 4 ? 360 : 1800, sigTops[(index - 2) % 3], 915, 225);
        }
        const int labelTops[] = {1935, 2265, 2595, 2910, 3225, 3540, 3855};
        const int swatchTops[] = {1920, 2250, 2580, 2895, 3210, 3525, 3840};
        const int changeTops[] = {1920, 2250, 2595, 2910, 3225, 3540, 3855};
        const int accentTops[] = {1935, 2265, 2610, 2925, 3240, 3555, 3870};
        for (int beat = 1; beat <= 7; ++beat) {
            QTest::addRow("sknlblBeat_%d", beat) << QStringLiteral("sknlblBeat_%1").arg(beat)
                                                 << QStringLiteral("Beat %1:").arg(beat) << QString()
                                                 << twips(360, labelTops[beat - 1], 720, 195);
            QTest::addRow("txtBeatColor_%d", beat) << QStringLiteral("txtBeatColor_%1").arg(beat) << QString()
                                                   << QString() << twips(1110, swatchTops[beat - 1], 1185, 240);
            QTest::addRow("cmdChange_%d", beat) << QStringLiteral("cmdChange_%1").arg(beat) << QStringLiteral("Change")
                                                << QStringLiteral("Change the color displayed for this beat")
                                                << twips(2340, changeTops[beat - 1], 765, 240);
            // The Accent box runs on to the right edge so bold skins do not clip its caption.
            QTest::addRow("chkAccent_%d", beat) << QStringLiteral("chkAccent_%1").arg(beat) << QStringLiteral("Accent")
                                                << QStringLiteral("Play an accent tone for this beat")
                                                << twips(3270, accentTops[beat - 1], 4290 - 3270, 195);
        }
        QTest::newRow("cmdOK") << QStringLiteral("cmdOK") << QStringLiteral("Ok")
                               << QStringLiteral("Accept the selected time signiture and beat colors & accents "
                                                 "configuration")
                               << twips(1605, 4230, 1065, 345);
        QTest::newRow("heading 0") << QStringLiteral("sknlblAllFormLabels_0")
                                   << QStringLiteral("Select a time signature") << QString()
                                   << twips(75, 90, 3870, 255);
        QTest::newRow("heading 1") << QStringLiteral("sknlblAllFormLabels_1") << QStringLiteral("Customize the measure")
                                   << QString() << twips(75, 1575, 3870, 255);
    }
    void controlsCarryTheirTextsTipsAndPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tip);
        QFETCH(QRect, place);
        settings().BeatsPerMeasure = 7;
        frmMeasureConfig &dialog = loadedDialog();
        QWidget *control = child<QWidget>(dialog, name);
        QVERIFY(control);
        QString shown;
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            shown = button->text();
        else if (auto *label = qobject_cast<QLabel *>(control))
            shown = label->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(control))
            shown = edit->text();
        QCOMPARE(shown, text);
        QCOMPARE(control->toolTip(), tip);
        QCOMPARE(control->geometry(), place);
    }

    void loadSelectsTheStoredTimeSignature_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("beats");
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("5") << 5 << 5;
        QTest::newRow("7") << 7 << 7;
        QTest::newRow("9 becomes 4") << 9 << 4;
        QTest::newRow("8 becomes 4") << 8 << 4;
        QTest::newRow("1 becomes 4") << 1 << 4;
        QTest::newRow("0 becomes 4") << 0 << 4;
        QTest::newRow("negative becomes 4") << -3 << 4;
    }
    void loadSelectsTheStoredTimeSignature()
    {
        QFETCH(int, stored);
        QFETCH(int, beats);
        settings().BeatsPerMeasure = int16_t(stored);
        frmMeasureConfig &dialog = loadedDialog();
        QCOMPARE(int(settings().BeatsPerMeasure), beats);
        for (int index = 2; index <= 7; ++index)
            QCOMPARE(child<QRadioButton>(dialog, QStringLiteral("optTimeSig_%1").arg(index))->isChecked(),
                     index == beats);
        for (int beat = 1; beat <= 7; ++beat)
            QCOMPARE(rowVisible(dialog, beat), beat <= beats);
        QCOMPARE(messages->count(), 0);
    }

    void loadShowsStoredColoursAndKeepsTheDesignColourForZero_data()
    {
        QTest::addColumn<int>("beat");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("beat 3 zero: design green") << 3 << 0 << QColor(0, 255, 0);
        QTest::newRow("beat 2 zero: design dark blue") << 2 << 0 << QColor(0, 0, 0xC0);
        QTest::newRow("beat 5 zero: design purple") << 5 << 0 << QColor(0xC0, 0, 0xC0);
        QTest::newRow("beat 6 zero: design orange") << 6 << 0 << QColor(0xFF, 0x80, 0);
        QTest::newRow("beat 7 zero: design silver") << 7 << 0 << QColor(0xC0, 0xC0, 0xC0);
        QTest::newRow("beat 3 stored BBGGRR") << 3 << 0x00123456 << QColor(0x56, 0x34, 0x12);
        QTest::newRow("beat 7 stored white") << 7 << 0x00FFFFFF << QColor(Qt::white);
    }
    void loadShowsStoredColoursAndKeepsTheDesignColourForZero()
    {
        QFETCH(int, beat);
        QFETCH(int, stored);
        QFETCH(QColor, shown);
        *settings().beatColor(beat) = stored;
        frmMeasureConfig &dialog = loadedDialog();
        QCOMPARE(dialog.swatchColor(beat), shown);
        QCOMPARE(*settings().beatColor(beat), stored);
    }

    void swatchesKeepTheirColourUnderASkin()
    {
        settings().BeatsPerMeasure = 7;
        frmMeasureConfig &dialog = loadedDialog();
        // A sheet of the kind skins carry: every box white.
        dialog.setStyleSheet(QStringLiteral("QLineEdit { background: #ffffff; color: #000000; }"));
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int beat = 1; beat <= 7; ++beat) {
            auto *swatch = child<QLineEdit>(dialog, QStringLiteral("txtBeatColor_%1").arg(beat));
            QVERIFY(swatch->property("skinExempt").toBool());
            const QImage image = swatch->grab().toImage();
            QCOMPARE(image.pixelColor(image.rect().center()).rgb(), dialog.swatchColor(beat).rgb());
        }
    }

    void loadSetsAccentsQuietlyAndKeepsAShortPatternUntilTheFirstClick()
    {
        settings().AccentBeatConfig = QStringLiteral("10000");
        frmMeasureConfig &dialog = loadedDialog();
        for (int beat = 1; beat <= 7; ++beat)
            QCOMPARE(accentBox(dialog, beat)->isChecked(), beat == 1);
        QCOMPARE(settings().AccentBeatConfig, QStringLiteral("10000"));
        QCOMPARE(sound->plays.size(), 0);

        QTest::mouseClick(accentBox(dialog, 1), Qt::LeftButton);
        QCOMPARE(settings().AccentBeatConfig, QStringLiteral("0000000"));
        QCOMPARE(sound->paths(), QStringList{programPath(QStringLiteral("MetronomeWave.wav"))});
    }

    void accentClickPreviewsAndWritesSevenCharacters_data()
    {
        QTest::addColumn<int>("beats");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<bool>("soundOn");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("preview");
        const QString accent = QStringLiteral("AccentMetronomeWave.wav");
        const QString plain = QStringLiteral("MetronomeWave.wav");
        QTest::newRow("check beat 3") << 4 << "10000" << 3 << true << "1010000" << accent;
        QTest::newRow("uncheck beat 7") << 7 << "1111111" << 7 << true << "1111110" << plain;
        QTest::newRow("empty pattern") << 4 << "" << 2 << true << "0100000" << accent;
        QTest::newRow("only 1 marks an accent") << 4 << "x1Y1" << 2 << true << "0001000" << plain;
        QTest::newRow("longer pattern is cut to the rows") << 4 << "000000011" << 1 << true << "1000000"
                                                           << accent;
        QTest::newRow("hidden row keeps its accent") << 3 << "0001001" << 1 << true << "1001001" << accent;
        QTest::newRow("preview with beat sound off") << 4 << "10000" << 4 << false << "1001000" << accent;
    }
    void accentClickPreviewsAndWritesSevenCharacters()
    {
        QFETCH(int, beats);
        QFETCH(QString, stored);
        QFETCH(int, clicked);
        QFETCH(bool, soundOn);
        QFETCH(QString, written);
        QFETCH(QString, preview);
        settings().BeatsPerMeasure = int16_t(beats);
        settings().AccentBeatConfig = stored;
        settings().PlayBeatSound = soundOn;
        frmMeasureConfig &dialog = loadedDialog();
        QTest::mouseClick(accentBox(dialog, clicked), Qt::LeftButton);
        QCOMPARE(settings().AccentBeatConfig, written);
        QCOMPARE(sound->paths(), QStringList{programPath(preview)});
        QCOMPARE(messages->count(), 0);
    }

    void accentClickWritesMissingWaveFilesFirst()
    {
        QFile::remove(programPath(QStringLiteral("AccentMetronomeWave.wav")));
        QFile::remove(programPath(QStringLiteral("MetronomeWave.wav")));
        frmMeasureConfig &dialog = loadedDialog();
        QTest::mouseClick(accentBox(dialog, 2), Qt::LeftButton);
        // Written from the resources when they are linked; the warning box otherwise. Either way
        // the pattern is still rebuilt.
        const bool written = QFile::exists(programPath(QStringLiteral("AccentMetronomeWave.wav")));
        QCOMPARE(messages->count(), written ? 0 : 1);
        if (!written)
            QCOMPARE(messages->last().title, QStringLiteral("Can't Extract And Write Wave File"));
        QCOMPARE(settings().AccentBeatConfig, QStringLiteral("1100000"));
    }

    void timeSignatureClickTakesEffectAtOnceAndHidesRowsUnchanged()
    {
        settings().BeatsPerMeasure = 7;
        settings().AccentBeatConfig = QStringLiteral("0000000");
        frmMeasureConfig &dialog = loadedDialog();
        setColorChooser([](const QColor &, const QString &, QWidget *) {
            return ColorChoice{ColorChoice::Outcome::Chosen, QColor(1, 2, 3), {}};
        });
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdChange_6")), Qt::LeftButton);
        QTest::mouseClick(accentBox(dialog, 5), Qt::LeftButton);
        QCOMPARE(settings().AccentBeatConfig, QStringLiteral("0000100"));

        for (int index : {3, 2, 6, 4, 7, 5}) {
            auto *option = child<QRadioButton>(dialog, QStringLiteral("optTimeSig_%1").arg(index));
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
            QVERIFY(option->isChecked());
            QCOMPARE(int(settings().BeatsPerMeasure), index);
            for (int beat = 1; beat <= 7; ++beat)
                QCOMPARE(rowVisible(dialog, beat), beat <= index);
            QVERIFY(accentBox(dialog, 5)->isChecked());
            QCOMPARE(dialog.swatchColor(6), QColor(1, 2, 3));
            QCOMPARE(settings().AccentBeatConfig, QStringLiteral("0000100"));
            QCOMPARE(settings().BeatColor6, 0x00030201);
        }
        // Choosing a measure plays nothing.
        QCOMPARE(sound->plays.size(), 1);
    }

    void timeSignatureOutsideTheRangeBecomesFour()
    {
        frmMeasureConfig &dialog = loadedDialog();
        dialog.optTimeSig_Click(9);
        QCOMPARE(int(settings().BeatsPerMeasure), 4);
        QVERIFY(rowVisible(dialog, 4));
        QVERIFY(!rowVisible(dialog, 5));
    }

    void changeColour_data()
    {
        QTest::addColumn<int>("beat");
        QTest::addColumn<ColorChoice::Outcome>("outcome");
        QTest::addColumn<QColor>("answer");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<bool>("warns");
        using O = ColorChoice::Outcome;
        QTest::newRow("chosen") << 2 << O::Chosen << QColor(0x10, 0x20, 0x30) << true << false;
        QTest::newRow("chosen near black") << 4 << O::Chosen << QColor(1, 0, 0) << true << false;
        QTest::newRow("black refused") << 1 << O::Chosen << QColor(Qt::black) << false << false;
        QTest::newRow("cancel") << 3 << O::Cancelled << QColor() << false << false;
        QTest::newRow("failure") << 7 << O::Failed << QColor() << false << true;
        QTest::newRow("chosen without a colour") << 5 << O::Chosen << QColor() << false << true;
    }
    void changeColour()
    {
        QFETCH(int, beat);
        QFETCH(ColorChoice::Outcome, outcome);
        QFETCH(QColor, answer);
        QFETCH(bool, changes);
        QFETCH(bool, warns);
        settings().BeatsPerMeasure = 7;
        frmMeasureConfig &dialog = loadedDialog();
        const QColor before = dialog.swatchColor(beat);
        const int32_t storedBefore = *settings().beatColor(beat);

        QString askedTitle;
        QColor askedInitial;
        setColorChooser([&](const QColor &initial, const QString &title, QWidget *) {
            askedInitial = initial;
            askedTitle = title;
            return ColorChoice{outcome, answer, QStringLiteral("Out of paint")};
        });
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdChange_%1").arg(beat)), Qt::LeftButton);

        QCOMPARE(askedTitle, QStringLiteral("Select a new color for beat number %1").arg(beat));
        QCOMPARE(askedInitial, before);
        QCOMPARE(dialog.swatchColor(beat), changes ? answer : before);
        QCOMPARE(*settings().beatColor(beat), changes ? colorRefFromColor(answer) : storedBefore);
        QCOMPARE(messages->count(), warns ? 1 : 0);
        if (warns) {
            QCOMPARE(messages->last().title, QStringLiteral("Color Selection Error"));
            QVERIFY(messages->last().text.startsWith(
                QStringLiteral("An error occurred while customizing the beat colors: \n\nError Description: ")));
            QCOMPARE(messages->last().icon, MessageIcon::Warning);
            QCOMPARE(messages->last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }

    void colourDialogThatThrowsIsReportedWithItsDescription()
    {
        frmMeasureConfig &dialog = loadedDialog();
        setColorChooser([](const QColor &, const QString &, QWidget *) -> ColorChoice {
            throw std::runtime_error("No colour dialog available");
        });
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdChange_1")), Qt::LeftButton);
        QCOMPARE(messages->count(), 1);
        QCOMPARE(messages->last().text, QStringLiteral("An error occurred while customizing the beat colors: "
                                                       "\n\nError Description: No colour dialog available"));
        QCOMPARE(settings().BeatColor1, ProgramSettings().BeatColor1);
    }

    void okHidesAndSavesNoPlacement()
    {
        frmMeasureConfig &dialog = loadedDialog();
        dialog.move(200, 100);
        QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(clsRegistry().GetFormPositionTop(QStringLiteral("frmMeasureConfig"), -1), -1);
    }

    void closingHidesSavesPlacementAndReopensUnchanged()
    {
        settings().BeatsPerMeasure = 3;
        frmMeasureConfig &dialog = loadedDialog();
        dialog.move(210, 120);
        QTest::mouseClick(accentBox(dialog, 2), Qt::LeftButton);

        QVERIFY(!dialog.close());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(clsRegistry().GetFormPositionTop(QStringLiteral("frmMeasureConfig"), -1), 120 * 15);
        QCOMPARE(clsRegistry().GetFormPositionLeft(QStringLiteral("frmMeasureConfig"), -1), 210 * 15);

        dialog.ShowMe();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.pos(), QPoint(210, 120));
        QVERIFY(accentBox(dialog, 2)->isChecked());
        QVERIFY(child<QRadioButton>(dialog, QStringLiteral("optTimeSig_3"))->isChecked());
    }

    void loadRestoresTheSavedPlace()
    {
        clsRegistry().SaveFormPositionTop(QStringLiteral("frmMeasureConfig"), 1500);
        clsRegistry().SaveFormPositionLeft(QStringLiteral("frmMeasureConfig"), -300);
        frmMeasureConfig &dialog = loadedDialog();
        QCOMPARE(dialog.pos(), QPoint(0, 100));
    }

    void closingAtShutdownReallyCloses()
    {
        frmMeasureConfig &dialog = loadedDialog();
        dialog.move(30, 60);
        programState().bShuttingDown = true;
        QVERIFY(dialog.close());
        QCOMPARE(clsRegistry().GetFormPositionTop(QStringLiteral("frmMeasureConfig"), -1), 60 * 15);
        programState().bShuttingDown = false;
    }
};

QTEST_MAIN(MeasureConfigTest)
#include "test_MeasureConfig.moc"
