#pragma once
// The undocked tempo display: a separate, sizable window that repeats every beat of the main window.
#include <QColor>
#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace pulsivar {

class frmUndocked : public QWidget {
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
    void closeEvent(QCloseEvent *event) override;

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

// The one undocked display, created (loaded, hidden) the first time anything asks for it.
frmUndocked &undockedDisplay();
// Closes it for good at program exit (saving its placement) and frees it; nothing if never loaded.
void unloadUndockedDisplay();

// What the beat clock calls: each updates the display only while it is visible.
void mirrorBeatOnUndockedDisplay(const QColor &color, const QString &text);
void clearUndockedDisplay();

} // namespace pulsivar
