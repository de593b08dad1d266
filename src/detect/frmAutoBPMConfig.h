// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The detection dialog: the colour of the meters and beat light, and the silence time-out.
#include <QColor>
#include "platform/KeptWindow.h"
#include "platform/SingleWindow.h"

class QLineEdit;
class QPushButton;
class QSlider;

namespace pulsivar {

class SkinLabel;

class frmAutoBPMConfig : public KeptWindow {
    Q_OBJECT
public:
    explicit frmAutoBPMConfig(QWidget *parent = nullptr);

    // Applies the current skin and shows the dialog modeless.
    void ShowMe();

    // The colour the swatch shows.
    QColor swatchColor() const { return mSwatchColor; }

    void cmdChange_Click();
    void cmdOK_Click();
    void sldrSampleTimeout_Change();
    void sldrSampleTimeout_Scroll();
    void sldrSampleTimeout_MouseMove();

    QLineEdit *txtABDColor = nullptr;
    QPushButton *cmdChange = nullptr;
    QSlider *sldrSampleTimeout = nullptr;
    SkinLabel *skinlblSamleTimeout = nullptr;
    QPushButton *cmdOK = nullptr;
    SkinLabel *skinlblAllFormLabels[2] = {nullptr, nullptr};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    // The slider's position into the setting and the label; the label only when it changes.
    void takeSliderValue(bool onlyChangedLabel);
    void setSwatchColor(const QColor &color);

    // Set while Form_Load sets the slider, so its value is not taken for the user's.
    bool mbLoading = false;
    // A window never shown has no position worth saving.
    QColor mSwatchColor = Qt::white;
};

// The one dialog: created and loaded (hidden) on first use; closed for good at program exit,
// which saves its placement.
SingleWindow<frmAutoBPMConfig> &autoBPMConfigWindow();
inline frmAutoBPMConfig &autoBPMConfigDialog() { return autoBPMConfigWindow().instance(); }
inline frmAutoBPMConfig *existingAutoBPMConfig() { return autoBPMConfigWindow().ifLoaded(); }
inline void closeAutoBPMConfigForShutdown() { autoBPMConfigWindow().closeForGood(); }

} // namespace pulsivar
