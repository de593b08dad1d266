// SPDX-License-Identifier: GPL-2.0-or-later
#include "metronome/frmMeasureConfig.h"

#include "settings/ProgramState.h"
#include "common/Colors.h"
#include "common/FormLayout.h"
#include "common/MessageBox.h"
#include "common/Steps.h"
#include "common/Twips.h"
#include "metronome/BeatSound.h"
#include "common/ColorChooser.h"
#include "metronome/MeasureConfigRules.h"
#include "metronome/WaveFiles.h"
#include "platform/Skin.h"
#include "platform/SkinLabel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

namespace pulsivar {

namespace {

// Tops of each beat row's controls, in twips; the rows are not evenly spaced.
constexpr std::array<int, measureBeatRows> beatLabelTops{1935, 2265, 2595, 2910, 3225, 3540, 3855};
constexpr std::array<int, measureBeatRows> swatchTops{1920, 2250, 2580, 2895, 3210, 3525, 3840};
constexpr std::array<int, measureBeatRows> changeTops{1920, 2250, 2595, 2910, 3225, 3540, 3855};
constexpr std::array<int, measureBeatRows> accentTops{1935, 2265, 2610, 2925, 3240, 3555, 3870};
constexpr std::array<int, 3> timeSigTops{435, 690, 945};

} // namespace

frmMeasureConfig::frmMeasureConfig(QWidget *parent)
    : KeptWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMeasureConfig"));
    setWindowTitle(QStringLiteral("Measure Configuration"));
    setFont(classicDialogFont());
    setFixedSize(twipsToPixels(4290), twipsToPixels(4620));
    buildControls();
    Form_Load();
}

void frmMeasureConfig::buildControls()
{
    sknlblAllFormLabels[0] = new SkinLabel(QStringLiteral("Select a time signature"), this);
    sknlblAllFormLabels[0]->setGeometry(twipsRect(75, 90, 3870, 255));
    sknlblAllFormLabels[1] = new SkinLabel(QStringLiteral("Customize the measure"), this);
    sknlblAllFormLabels[1]->setGeometry(twipsRect(75, 1575, 3870, 255));
    for (int index = 0; index < 2; ++index)
        sknlblAllFormLabels[index]->setObjectName(QStringLiteral("sknlblAllFormLabels_%1").arg(index));

    for (int index = firstTimeSignature; index <= lastTimeSignature; ++index) {
        auto *option = new QRadioButton(QStringLiteral("%1 - 4").arg(index), this);
        option->setObjectName(QStringLiteral("optTimeSig_%1").arg(index));
        option->setToolTip(QStringLiteral("%1 beats per measure, quarter note gets 1 beat").arg(index));
        const int column = (index - firstTimeSignature) / 3;
        const int row = (index - firstTimeSignature) % 3;
        option->setGeometry(twipsRect(column == 0 ? 360 : 1800, timeSigTops[std::size_t(row)], 915, 225));
        connect(option, &QRadioButton::clicked, this, [this, index] { optTimeSig_Click(index); });
        optTimeSig.insert(index, option);
    }

    for (int beat = 1; beat <= measureBeatRows; ++beat) {
        const std::size_t row = std::size_t(beat - 1);

        auto *label = new SkinLabel(QStringLiteral("Beat %1:").arg(beat), this);
        label->setObjectName(QStringLiteral("sknlblBeat_%1").arg(beat));
        label->setGeometry(twipsRect(360, beatLabelTops[row], 720, 195));
        sknlblBeat.insert(beat, label);

        auto *swatch = new QLineEdit(this);
        swatch->setObjectName(QStringLiteral("txtBeatColor_%1").arg(beat));
        // Only its background speaks; typing into it would mean nothing.
        swatch->setReadOnly(true);
        swatch->setFocusPolicy(Qt::NoFocus);
        swatch->setGeometry(twipsRect(1110, swatchTops[row], 1185, 240));
        txtBeatColor.insert(beat, swatch);
        setSwatchColor(beat, colorFromColorRef(designBeatColor(beat)));

        auto *change = new QPushButton(QStringLiteral("Change"), this);
        change->setObjectName(QStringLiteral("cmdChange_%1").arg(beat));
        change->setToolTip(QStringLiteral("Change the color displayed for this beat"));
        change->setGeometry(twipsRect(2340, changeTops[row], 765, 240));
        // The skins pad buttons for wider slots than this one; only the padding is overridden.
        change->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
        connect(change, &QPushButton::clicked, this, [this, beat] { cmdChange_Click(beat); });
        cmdChange.insert(beat, change);

        auto *accent = new QCheckBox(QStringLiteral("Accent"), this);
        accent->setObjectName(QStringLiteral("chkAccent_%1").arg(beat));
        accent->setToolTip(QStringLiteral("Play an accent tone for this beat"));
        // Bold skins need a little more than the slot's 915 twips for "Accent"; the box reaches
        // the window's right edge instead of clipping its caption.
        accent->setGeometry(twipsRect(3270, accentTops[row], 4290 - 3270, 195));
        connect(accent, &QCheckBox::clicked, this, [this, beat] { chkAccent_Click(beat); });
        chkAccent.insert(beat, accent);
    }

    cmdOK = new QPushButton(QStringLiteral("Ok"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(
        QStringLiteral("Accept the selected time signiture and beat colors & accents configuration"));
    cmdOK->setGeometry(twipsRect(1605, 4230, 1065, 345));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
}

void frmMeasureConfig::Form_Load()
{
    mbLoading = true;
    runStep([this] { ApplyProgramSkin(this, settings().ProgramSkin); });
    runStep([this] { restorePlacement(); });
    runStep([this] {
        const int16_t stored = settings().BeatsPerMeasure;
        const int index = (stored >= firstTimeSignature && stored <= lastTimeSignature) ? stored
                                                                                         : fallbackBeatsPerMeasure;
        optTimeSig.value(index)->setChecked(true);
    });
    runStep([this] { optTimeSig_Click(settings().BeatsPerMeasure); });
    for (int beat = 1; beat <= rowCount(); ++beat) {
        runStep([this, beat] {
            const int32_t *stored = settings().beatColor(beat);
            if (stored && *stored != 0)
                setSwatchColor(beat, colorFromColorRef(*stored));
        });
    }
    for (int beat = 1; beat <= rowCount(); ++beat)
        runStep([this, beat] { chkAccent.value(beat)->setChecked(settings().isAccentBeat(beat)); });
    mbLoading = false;
}

void frmMeasureConfig::ShowMe()
{
    runStep([this] { ApplyProgramSkin(this, settings().ProgramSkin); });
    bringToFront(*this);
}

bool frmMeasureConfig::isAccentChecked(int beat) const
{
    const QCheckBox *box = chkAccent.value(beat);
    return box && box->isChecked();
}

void frmMeasureConfig::optTimeSig_Click(int Index)
{
    const int16_t beats = beatsForTimeSignature(Index);
    settings().BeatsPerMeasure = beats;
    // Hidden rows keep their colours and accents.
    for (int beat = 1; beat <= rowCount(); ++beat) {
        const bool shown = beat <= beats;
        sknlblBeat.value(beat)->setVisible(shown);
        txtBeatColor.value(beat)->setVisible(shown);
        cmdChange.value(beat)->setVisible(shown);
        chkAccent.value(beat)->setVisible(shown);
    }
}

void frmMeasureConfig::cmdChange_Click(int Index)
{
    int32_t *stored = settings().beatColor(Index);
    if (!stored || !txtBeatColor.contains(Index))
        return;
    const auto chosen = chooseStorableColor(swatchColor(Index), beatColorDialogTitle(Index), this,
                                            colorSelectionErrorText);
    if (!chosen)
        return;
    setSwatchColor(Index, colorFromColorRef(*chosen));
    *stored = *chosen;
}

void frmMeasureConfig::chkAccent_Click(int Index)
{
    if (mbLoading)
        return;
    runStep([] { ExtractWaveFiles(); });
    // The preview sounds whether or not beat sounds are switched on.
    runStep([this, Index] { PlayWaveFile(isAccentChecked(Index) ? accentWavePath() : plainWavePath()); });
    runStep([this] {
        QList<bool> accents;
        for (int beat = 1; beat <= rowCount(); ++beat)
            accents.append(isAccentChecked(beat));
        settings().AccentBeatConfig = accentConfigText(accents);
    });
}

void frmMeasureConfig::cmdOk_Click()
{
    // Every choice is in the settings already.
    hide();
}

void frmMeasureConfig::setSwatchColor(int beat, const QColor &color)
{
    mSwatchColors.insert(beat, color);
    // The swatch's own sheet outranks every skin, so the beat colour survives skin changes.
    paintSkinExempt(txtBeatColor.value(beat), color, readableTextOn(color));
}

SingleWindow<frmMeasureConfig> &measureConfigWindow()
{
    static SingleWindow<frmMeasureConfig> window;
    return window;
}

} // namespace pulsivar
