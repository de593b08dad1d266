// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The beat indicator box: the beat's number on the beat's colour, whatever the skin. It paints
// itself, so a beat repaints this box alone.
#include <QColor>
#include <QLineEdit>

namespace pulsivar {

class BeatIndicator : public QLineEdit {
    Q_OBJECT
public:
    explicit BeatIndicator(QWidget *parent = nullptr);

    QColor beatColor() const { return color; }
    void setBeatColor(const QColor &background);
    // The number's size; a skin cannot change it.
    void setBeatPointSize(int size);
    // White and empty: the stopped look.
    void clearBeat();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyFontSheet();

    QColor color = Qt::white;
    int pointSize = 10;
};

} // namespace pulsivar
