// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The undocked tempo display: a separate, sizable window that repeats every beat of the main window.
#include "platform/KeptWindow.h"
#include "platform/SingleWindow.h"

#include <QColor>

class QCheckBox;
class QLineEdit;

namespace pulsivar {

class frmUndocked : public KeptWindow {
    Q_OBJECT
public:
    explicit frmUndocked(QWidget *parent = nullptr);

    // Applies the skin, takes "Play sound" from the main menu's check mark and shows the window.
    void ShowMe(bool bPlayBeatSoundChecked);
    // The main menu's "&Play beat sound" changed; shown or not, "Play sound" follows silently.
    void setPlayWave(bool on);

    // One beat: the box takes the beat's colour and number and is repainted at once.
    void showBeat(const QColor &color, const QString &text);
    // The metronome stopped: white and empty.
    void clearBeat();
    QColor boxColor() const { return mBoxColor; }

    QCheckBox *chkAlwaysOnTop = nullptr;
    QCheckBox *chkPlayWave = nullptr;
    QLineEdit *txtBeatColor = nullptr;

signals:
    // The user ticked or cleared "Play sound"; PlayBeatSound already holds the new value.
    void playBeatSoundToggled(bool on);
    // The window went away (closed by the user or at exit): the "&Undock tempo display" check clears.
    void undockClosed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void Form_Unload() override;

private:
    void Form_Load();
    void Form_Resize();
    void chkAlwaysOnTop_Click();
    void chkPlayWave_Click();
    void setBox(const QColor &color, const QString &text);
    void fitBeatFont();

    // The current skin, and the stored placement at load; the placement is saved at exit.
    void applySkinAndPlacement();
    void applySkin();
    void savePlacement();

    QColor mBoxColor = Qt::white;
};

// The one undocked display: created (loaded, hidden) the first time anything asks for it; closed
// for good at program exit, which saves its placement.
SingleWindow<frmUndocked> &undockedWindow();
inline frmUndocked &undockedDisplay() { return undockedWindow().instance(); }
inline frmUndocked *undockedDisplayIfLoaded() { return undockedWindow().ifLoaded(); }
inline void unloadUndockedDisplay() { undockedWindow().closeForGood(); }

// What the beat clock calls: each updates the display only while it is visible.
void mirrorBeatOnUndockedDisplay(const QColor &color, const QString &text);
void clearUndockedDisplay();

} // namespace pulsivar
