// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A horizontal level meter: a bar of the chosen colour, as long as the level.
#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace pulsivar {

class LevelMeter : public QWidget {
    Q_OBJECT
public:
    explicit LevelMeter(QWidget *parent = nullptr);

    // 0 to 1 of the full width.
    void setLevel(double fraction);
    double level() const { return fraction; }
    void setBarColor(const QColor &color);
    QColor barColor() const { return color; }

    QSize sizeHint() const override { return {160, 14}; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void scheduleRepaint();

    static constexpr qint64 minRepaintMs = 33;
    QElapsedTimer lastPaint;
    QTimer *repaintTimer = nullptr;
    double fraction = 0;
    QColor color = Qt::red;
};

} // namespace pulsivar
