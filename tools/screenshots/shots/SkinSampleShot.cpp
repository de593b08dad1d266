// SPDX-License-Identifier: GPL-2.0-or-later
// A sample window with every kind of widget the program's windows use, in each skin, and all
// thirteen on one sheet.
#include "Shot.h"
#include "shots/SkinShots.h"

#include "platform/Skin.h"
#include "platform/SkinCatalog.h"
#include "platform/SkinLabel.h"

#include <QtWidgets>

namespace {

using namespace pulsivar;

std::unique_ptr<QWidget> sampleWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(QStringLiteral("frmSkinSample"));
    window->setWindowTitle(QStringLiteral("Skin sample"));
    auto *outer = new QVBoxLayout(window.get());
    outer->setContentsMargins(0, 0, 0, 8);

    auto *menuBar = new QMenuBar;
    for (const char *title : {"&File", "&Options", "&Help"})
        menuBar->addMenu(QString::fromLatin1(title));
    outer->setMenuBar(menuBar);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(8, 4, 8, 0);
    outer->addLayout(body);

    // The menu drawn in place, as it looks when open, with the skin entries and a check mark.
    auto *menu = new QMenu;
    menu->setWindowFlags(Qt::Widget);
    QAction *current = nullptr;
    for (int id : {103, 108, 109, 110}) {
        QAction *entry = menu->addAction(skinCaption(id));
        entry->setCheckable(true);
        entry->setChecked(id == 109);
        if (id == 109)
            current = entry;
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("Disabled entry"))->setEnabled(false);
    menu->setActiveAction(current);
    menu->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *left = new QVBoxLayout;
    left->addWidget(menu);
    auto *list = new QListWidget;
    for (const char *key : {"8A  A minor", "8B  C major", "9A  E minor", "9B  G major", "7A  D minor", "7B  F major",
                            "10A  B minor", "10B  D major"})
        list->addItem(QString::fromLatin1(key));
    list->setCurrentRow(1);
    list->setFixedSize(140, 110);
    left->addWidget(list);
    left->addStretch();
    body->addLayout(left);

    auto *right = new QVBoxLayout;
    body->addLayout(right);
    auto *tabs = new QTabWidget;
    auto *page = new QWidget;
    auto *pageLayout = new QGridLayout(page);
    auto *bpm = new QLineEdit(QStringLiteral("128"));
    bpm->setFixedWidth(60);
    pageLayout->addWidget(new SkinLabel(QStringLiteral("Manual BPM")), 0, 0);
    pageLayout->addWidget(bpm, 0, 1);
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setRange(30, 250);
    slider->setValue(128);
    pageLayout->addWidget(slider, 1, 0, 1, 2);
    auto *combo = new QComboBox;
    combo->addItems({QStringLiteral("Monitor of Built-in Audio"), QStringLiteral("Microphone")});
    pageLayout->addWidget(combo, 2, 0, 1, 2);
    tabs->addTab(page, QStringLiteral("Manual"));
    tabs->addTab(new QWidget, QStringLiteral("Automatic"));
    right->addWidget(tabs);

    auto *frame = new QGroupBox(QStringLiteral("Channel"));
    auto *frameLayout = new QGridLayout(frame);
    auto *one = new QRadioButton(QStringLiteral("Channel 1"));
    one->setChecked(true);
    frameLayout->addWidget(one, 0, 0);
    frameLayout->addWidget(new QRadioButton(QStringLiteral("Channel 2")), 0, 1);
    auto *sound = new QCheckBox(QStringLiteral("Beat sound"));
    sound->setChecked(true);
    frameLayout->addWidget(sound, 1, 0);
    frameLayout->addWidget(new QCheckBox(QStringLiteral("Always on top")), 1, 1);
    auto *beat = new QLineEdit(QStringLiteral("3"));
    beat->setObjectName(QStringLiteral("txtBeatColor"));
    beat->setAlignment(Qt::AlignCenter);
    beat->setFixedWidth(48);
    paintSkinExempt(beat, QColor(0x20, 0xc0, 0x40), Qt::black);
    frameLayout->addWidget(beat, 2, 0);
    frameLayout->addWidget(new SkinLabel(QStringLiteral("+2.3 %")), 2, 1);
    right->addWidget(frame);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(new QPushButton(QStringLiteral("Start / Sync")));
    auto *pressed = new QPushButton(QStringLiteral("Hold"));
    pressed->setCheckable(true);
    pressed->setChecked(true);
    buttons->addWidget(pressed);
    auto *disabled = new QPushButton(QStringLiteral("Use BPM"));
    disabled->setEnabled(false);
    buttons->addWidget(disabled);
    right->addLayout(buttons);
    auto *meter = new QProgressBar;
    meter->setValue(62);
    right->addWidget(meter);
    return window;
}

struct Registrations {
    Registrations()
    {
        static std::vector<screenshots::ShotRegistration> shots;
        for (const SkinEntry &entry : skinCatalog()) {
            const int id = entry.id;
            shots.emplace_back(QStringLiteral("skin-sample-%1").arg(id), [id] {
                auto window = sampleWindow();
                screenshots::applySkin(window.get(), id);
                return window;
            });
        }
        shots.emplace_back(QStringLiteral("skins-sample"), [] { return screenshots::skinContactSheet(sampleWindow); });
    }
};
const Registrations registrations;

} // namespace
