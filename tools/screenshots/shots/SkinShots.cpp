// SPDX-License-Identifier: GPL-2.0-or-later
#include "shots/SkinShots.h"

#include "platform/Skin.h"
#include "platform/SkinCatalog.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>

namespace pulsivar::screenshots {

void applySkin(QWidget *window, int skinId)
{
    ApplyProgramSkin(window, int16_t(skinId));
}

std::unique_ptr<QWidget> skinContactSheet(const std::function<std::unique_ptr<QWidget>()> &make, int columns)
{
    constexpr int gap = 16;
    constexpr int captionHeight = 26;
    QList<QPair<QString, QPixmap>> pictures;
    QSize cell;
    for (const SkinEntry &entry : skinCatalog()) {
        std::unique_ptr<QWidget> window = make();
        if (!window)
            return nullptr;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        applySkin(window.get(), entry.id);
        window->show();
        QApplication::processEvents();
        const QPixmap picture = window->grab();
        window->hide();
        cell = cell.expandedTo(picture.size());
        pictures.append({QStringLiteral("%1  %2").arg(entry.id).arg(QString::fromLatin1(entry.caption)), picture});
    }

    columns = std::max(1, columns);
    const int rows = int((pictures.size() + columns - 1) / columns);
    QImage sheet(gap + columns * (cell.width() + gap), gap + rows * (cell.height() + captionHeight + gap),
                 QImage::Format_RGB32);
    sheet.fill(QColor(0x44, 0x44, 0x48));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPointSize(11);
    font.setBold(true);
    painter.setFont(font);
    for (int i = 0; i < pictures.size(); ++i) {
        const int x = gap + (i % columns) * (cell.width() + gap);
        const int y = gap + (i / columns) * (cell.height() + captionHeight + gap);
        painter.setPen(Qt::white);
        painter.drawText(QRect(x, y, cell.width(), captionHeight), Qt::AlignLeft | Qt::AlignVCenter, pictures[i].first);
        painter.drawPixmap(x, y + captionHeight, pictures[i].second);
    }
    painter.end();

    auto label = std::make_unique<QLabel>();
    label->setPixmap(QPixmap::fromImage(sheet));
    label->setFixedSize(sheet.size());
    label->setContentsMargins(0, 0, 0, 0);
    return label;
}

} // namespace pulsivar::screenshots
