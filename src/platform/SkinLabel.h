// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The skinned text label: a QLabel that style sheets address as pulsivar--SkinLabel.
#include <QLabel>

namespace pulsivar {

class SkinLabel : public QLabel {
    Q_OBJECT
public:
    explicit SkinLabel(QWidget *parent = nullptr);
    explicit SkinLabel(const QString &text, QWidget *parent = nullptr);
};

} // namespace pulsivar
