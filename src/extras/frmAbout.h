// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The About window: version, build number, build date and the maker's web site.
#include "platform/SingleWindow.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace pulsivar {

class SkinLabel;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    QLabel *picIcon = nullptr;
    SkinLabel *skinlblVersion = nullptr;
    SkinLabel *skinlblWebAddress = nullptr;
    QPushButton *cmdOK = nullptr;
    SkinLabel *skinlblBuildNumber = nullptr;
    SkinLabel *skinlblBuildDate = nullptr;

private:
    void Form_Load();
    void cmdOK_Click();
    // Draws the window in the current skin; windows get their skin when they load.
    void applySkin();
};

// Opens a fresh About window, modal and without an owner, and returns when it is closed.
void showAboutWindow();
// The window while it is open (nullptr otherwise); closed at program exit.
SingleWindow<frmAbout> &aboutWindow();
inline frmAbout *aboutWindowIfOpen() { return aboutWindow().ifLoaded(); }
inline void closeAboutWindow() { aboutWindow().closeForGood(); }

} // namespace pulsivar
