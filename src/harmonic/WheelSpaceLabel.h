// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An invisible, captionless label over one space of the wheel picture that reports clicks.
#include <QLabel>
#include <functional>

namespace pulsivar {

class WheelSpaceLabel : public QLabel {
public:
    WheelSpaceLabel(std::function<void()> onClick, QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::function<void()> onClick;
    bool pressed = false;
};

} // namespace pulsivar
