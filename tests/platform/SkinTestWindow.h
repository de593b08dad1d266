// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A window holding one widget of every kind the program's windows use, for skin tests.
#include "platform/SkinLabel.h"

#include <QtWidgets>

namespace pulsivar::test {

class SkinTestWindow : public QWidget {
public:
    explicit SkinTestWindow(const QString &name = QStringLiteral("frmSkinTest"))
    {
        setObjectName(name);
        auto *layout = new QVBoxLayout(this);
        menuBar = new QMenuBar(this);
        menu = menuBar->addMenu(QStringLiteral("&Options"));
        QAction *checked = menu->addAction(QStringLiteral("Checked entry"));
        checked->setCheckable(true);
        checked->setChecked(true);
        menu->addSeparator();
        menu->addAction(QStringLiteral("Disabled entry"))->setEnabled(false);
        layout->setMenuBar(menuBar);

        auto *tabs = new QTabWidget;
        auto *page = new QWidget;
        auto *pageLayout = new QVBoxLayout(page);
        auto *frame = new QGroupBox(QStringLiteral("Frame"));
        auto *frameLayout = new QVBoxLayout(frame);
        skinLabel = new SkinLabel(QStringLiteral("Skinned label"));
        skinLabel->setObjectName(QStringLiteral("sknlblSample"));
        frameLayout->addWidget(skinLabel);
        frameLayout->addWidget(new QLabel(QStringLiteral("Plain label")));
        frameLayout->addWidget(new QCheckBox(QStringLiteral("Check box")));
        auto *option = new QRadioButton(QStringLiteral("Option"));
        option->setChecked(true);
        frameLayout->addWidget(option);
        pageLayout->addWidget(frame);
        tabs->addTab(page, QStringLiteral("Manual"));
        tabs->addTab(new QWidget, QStringLiteral("Automatic"));
        layout->addWidget(tabs);

        auto *bar = new QTabBar;
        bar->addTab(QStringLiteral("Channel 1"));
        bar->addTab(QStringLiteral("Channel 2"));
        layout->addWidget(bar);

        button = new QPushButton(QStringLiteral("Start / Sync"));
        layout->addWidget(button);
        auto *disabled = new QPushButton(QStringLiteral("Disabled"));
        disabled->setEnabled(false);
        layout->addWidget(disabled);
        layout->addWidget(new QLineEdit(QStringLiteral("120")));
        txtBeatColor = new QLineEdit(QStringLiteral("1"));
        txtBeatColor->setObjectName(QStringLiteral("txtBeatColor"));
        layout->addWidget(txtBeatColor);
        swatch = new QLabel;
        swatch->setMinimumSize(40, 20);
        layout->addWidget(swatch);
        auto *slider = new QSlider(Qt::Horizontal);
        slider->setRange(30, 250);
        slider->setValue(120);
        layout->addWidget(slider);
        auto *list = new QListWidget;
        for (int i = 1; i <= 30; ++i)
            list->addItem(QStringLiteral("Entry %1").arg(i));
        list->setCurrentRow(1);
        list->setFixedHeight(60);
        layout->addWidget(list);
        auto *combo = new QComboBox;
        combo->addItems({QStringLiteral("Stereo Mix"), QStringLiteral("Microphone")});
        layout->addWidget(combo);
        auto *meter = new QProgressBar;
        meter->setValue(40);
        layout->addWidget(meter);
    }

    QMenuBar *menuBar = nullptr;
    QMenu *menu = nullptr;
    SkinLabel *skinLabel = nullptr;
    QPushButton *button = nullptr;
    QLineEdit *txtBeatColor = nullptr;
    QLabel *swatch = nullptr;
};

} // namespace pulsivar::test
