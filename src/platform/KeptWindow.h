// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A secondary window that lives until the program exits: closing it only hides it, and it saves
// its placement at every close once it has been shown or placed.
#include <QWidget>

namespace pulsivar {

class KeptWindow : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Runs at every close, hiding or final.
    virtual void Form_Unload();
    // The stored placement, at load; a window placed by it counts as placed.
    void restorePlacement();

    // Whether the window ever had a place of its own; one never shown would save the corner.
    bool mbPlaced = false;
};

} // namespace pulsivar
