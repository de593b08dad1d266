// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The measure dialog: beats per measure, each beat's colour and accent, written into the settings at once.
#include <QColor>
#include <QMap>
#include "platform/KeptWindow.h"
#include "platform/SingleWindow.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pulsivar {

class SkinLabel;

class frmMeasureConfig : public KeptWindow {
    Q_OBJECT
public:
    explicit frmMeasureConfig(QWidget *parent = nullptr);

    // Applies the current skin and shows the dialog modeless.
    void ShowMe();

    // Beat rows there are: one a check box of chkAccent.
    int rowCount() const { return int(chkAccent.size()); }
    // The live accent state of beat n; false for a beat without a row.
    bool isAccentChecked(int beat) const;
    // The colour swatch of beat n shows.
    QColor swatchColor(int beat) const { return mSwatchColors.value(beat); }

    void optTimeSig_Click(int Index);
    void cmdChange_Click(int Index);
    void chkAccent_Click(int Index);
    void cmdOk_Click();

    // Control arrays, indexed by time signature (2 to 7) or by beat (1 to 7).
    QMap<int, QRadioButton *> optTimeSig;
    QMap<int, SkinLabel *> sknlblBeat;
    QMap<int, QLineEdit *> txtBeatColor;
    QMap<int, QPushButton *> cmdChange;
    QMap<int, QCheckBox *> chkAccent;
    QPushButton *cmdOK = nullptr;
    SkinLabel *sknlblAllFormLabels[2] = {nullptr, nullptr};

protected:

private:
    void buildControls();
    void Form_Load();
    void setSwatchColor(int beat, const QColor &color);

    // Set while Form_Load sets the boxes, so their values are not taken for clicks.
    bool mbLoading = false;
    // A window never shown nor moved has no position worth saving.
    QMap<int, QColor> mSwatchColors;
};

// The one dialog: created and loaded (hidden) on first use; closed for good at program exit,
// which saves its placement.
SingleWindow<frmMeasureConfig> &measureConfigWindow();
inline frmMeasureConfig &measureConfigDialog() { return measureConfigWindow().instance(); }
// nullptr until created (the skin menu re-skins only existing windows).
inline frmMeasureConfig *existingMeasureConfig() { return measureConfigWindow().ifLoaded(); }
inline void closeMeasureConfigForShutdown() { measureConfigWindow().closeForGood(); }

} // namespace pulsivar
