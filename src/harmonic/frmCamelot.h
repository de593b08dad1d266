// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The harmonic key mixing window: pick a key from the list or the wheel, see the keys that mix with it.
#include "MusicKeyTable.h"
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pulsivar {

class frmCamelot : public QWidget {
    Q_OBJECT
public:
    explicit frmCamelot(QWidget *parent = nullptr);

    QString CompatableMusicKeys(const QString &sInputKey) const;

    void cboKey_Click();
    void chkAlwaysOnTop_Click();
    void cmdOk_Click();
    // lblA_Click ... lblGm_Click: each wheel space selects its key in the list.
    void lblWheelSpace_Click(const MusicKeyRow &row);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Unload();

    std::array<QLabel *, 3> sknlblAllFormLabels{};
    QLabel *picCamelot = nullptr;
    QCheckBox *chkAlwaysOnTop = nullptr;
    QComboBox *cboKey = nullptr;
    QLineEdit *txtCompatible = nullptr;
    QPushButton *cmdOk = nullptr;
};

} // namespace pulsivar
