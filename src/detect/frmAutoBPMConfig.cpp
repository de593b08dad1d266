// SPDX-License-Identifier: GPL-2.0-or-later
#include "detect/frmAutoBPMConfig.h"

#include "settings/ProgramState.h"
#include "common/Steps.h"
#include "common/Colors.h"
#include "common/SliderKeys.h"
#include "common/MessageBox.h"
#include "common/ColorChooser.h"
#include "detect/SilenceTimeout.h"
#include "platform/Skin.h"
#include "platform/SkinLabel.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace pulsivar {

namespace {

constexpr int designTimeoutPosition = 10;

} // namespace

frmAutoBPMConfig::frmAutoBPMConfig(QWidget *parent)
    : KeptWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAutoBPMConfig"));
    setWindowTitle(QStringLiteral("A.T.D. Configuration"));
    buildControls();
    Form_Load();
}

void frmAutoBPMConfig::buildControls()
{
    auto *grid = new QGridLayout(this);
    skinlblAllFormLabels[0] =
        new SkinLabel(QStringLiteral("Select a color for the Automatic Tempo Detection VU meters"), this);
    skinlblAllFormLabels[1] = new SkinLabel(
        QStringLiteral("Select the number of seconds that can elapse before the ATD will automatically stop sampling"),
        this);
    for (int index = 0; index < 2; ++index) {
        skinlblAllFormLabels[index]->setObjectName(QStringLiteral("skinlblAllFormLabels_%1").arg(index));
        skinlblAllFormLabels[index]->setWordWrap(true);
    }

    txtABDColor = new QLineEdit(this);
    txtABDColor->setObjectName(QStringLiteral("txtABDColor"));
    // Only its background speaks; typing into it would mean nothing.
    txtABDColor->setReadOnly(true);
    txtABDColor->setFocusPolicy(Qt::NoFocus);
    setSwatchColor(mSwatchColor);

    cmdChange = new QPushButton(QStringLiteral("Change"), this);
    cmdChange->setObjectName(QStringLiteral("cmdChange"));
    cmdChange->setToolTip(QStringLiteral("Change the color displayed for this beat"));
    connect(cmdChange, &QPushButton::clicked, this, [this] { cmdChange_Click(); });

    sldrSampleTimeout = new QSlider(Qt::Horizontal, this);
    sldrSampleTimeout->setObjectName(QStringLiteral("sldrSampleTimeout"));
    sldrSampleTimeout->setRange(firstTimeoutPosition, noTimeoutPosition);
    sldrSampleTimeout->setSingleStep(1);
    sldrSampleTimeout->setPageStep(5);
    sldrSampleTimeout->setTickInterval(5);
    sldrSampleTimeout->setTickPosition(QSlider::TicksBelow);
    sldrSampleTimeout->setValue(designTimeoutPosition);
    sldrSampleTimeout->setToolTip(QStringLiteral("Number of seconds that can elapse with no audio input before "
                                                 "automatic tempo detection will reset the BPM calculation"));
    sldrSampleTimeout->setMouseTracking(true);
    sldrSampleTimeout->installEventFilter(this);
    connect(sldrSampleTimeout, &QSlider::valueChanged, this, [this] { sldrSampleTimeout_Change(); });
    connect(sldrSampleTimeout, &QSlider::sliderMoved, this, [this] { sldrSampleTimeout_Scroll(); });

    skinlblSamleTimeout = new SkinLabel(QStringLiteral("XX Seconds"), this);
    skinlblSamleTimeout->setObjectName(QStringLiteral("skinlblSamleTimeout"));

    cmdOK = new QPushButton(QStringLiteral("Ok"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Accept the selected Automatic BPM Detection configuration"));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    grid->addWidget(skinlblAllFormLabels[0], 0, 0, 1, 3);
    grid->addWidget(txtABDColor, 1, 0, 1, 2);
    grid->addWidget(cmdChange, 1, 2);
    grid->addWidget(skinlblAllFormLabels[1], 2, 0, 1, 3);
    grid->addWidget(sldrSampleTimeout, 3, 0, 1, 2);
    grid->addWidget(skinlblSamleTimeout, 3, 2);
    grid->addWidget(cmdOK, 4, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    setFixedWidth(360);
    setFixedHeight(sizeHint().height());
}

void frmAutoBPMConfig::Form_Load()
{
    mbLoading = true;
    runStep([this] { ApplyProgramSkin(this, settings().ProgramSkin); });
    runStep([this] { restorePlacement(); });
    runStep([this] {
        const int32_t color = settings().AutoBPMColor;
        if (color != 0)
            setSwatchColor(colorFromColorRef(color));
    });
    runStep([this] {
        // A stored value the slider cannot show leaves it where it was; the label still tells it.
        if (const std::optional<int> position = positionForTimeout(settings().AutoBPMInputTimeout))
            sldrSampleTimeout->setValue(*position);
    });
    runStep([this] { skinlblSamleTimeout->setText(timeoutLabelText(settings().AutoBPMInputTimeout)); });
    mbLoading = false;
}

void frmAutoBPMConfig::ShowMe()
{
    runStep([this] { ApplyProgramSkin(this, settings().ProgramSkin); });
    bringToFront(*this);
}

void frmAutoBPMConfig::takeSliderValue(bool onlyChangedLabel)
{
    if (mbLoading)
        return;
    const int position = sldrSampleTimeout->value();
    settings().AutoBPMInputTimeout = timeoutForPosition(position);
    const QString label = timeoutLabelText(position);
    if (!onlyChangedLabel || skinlblSamleTimeout->text() != label)
        skinlblSamleTimeout->setText(label);
}

void frmAutoBPMConfig::sldrSampleTimeout_Change()
{
    takeSliderValue(false);
}

void frmAutoBPMConfig::sldrSampleTimeout_Scroll()
{
    takeSliderValue(false);
}

void frmAutoBPMConfig::sldrSampleTimeout_MouseMove()
{
    takeSliderValue(true);
}

bool frmAutoBPMConfig::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == sldrSampleTimeout) {
        if (event->type() == QEvent::MouseMove) {
            sldrSampleTimeout_MouseMove();
        } else if (event->type() == QEvent::KeyPress) {
            // Up raises the time-out and Down lowers it, as on the main tempo slider.
            if (stepSliderByUpDownKey(sldrSampleTimeout, static_cast<QKeyEvent *>(event)))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAutoBPMConfig::cmdChange_Click()
{
    const auto chosen = chooseStorableColor(
        mSwatchColor, QStringLiteral("Select a new color for Automatic Beat Detection"), this, [](const QString &why) {
            return QStringLiteral("An error occurred while customizing the BPM VU meters: \n\nError Description: ") + why;
        });
    if (!chosen)
        return;
    setSwatchColor(colorFromColorRef(*chosen));
    settings().AutoBPMColor = *chosen;
}

void frmAutoBPMConfig::cmdOK_Click()
{
    // Every choice is in the settings already.
    hide();
}

void frmAutoBPMConfig::setSwatchColor(const QColor &color)
{
    mSwatchColor = color;
    // The swatch's own sheet outranks every skin, so the colour survives skin changes.
    paintSkinExempt(txtABDColor, color, readableTextOn(color));
}

SingleWindow<frmAutoBPMConfig> &autoBPMConfigWindow()
{
    static SingleWindow<frmAutoBPMConfig> window;
    return window;
}

} // namespace pulsivar
