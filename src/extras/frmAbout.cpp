// SPDX-License-Identifier: GPL-2.0-or-later
#include "extras/frmAbout.h"

#include "settings/ProgramState.h"
#include "common/FormLayout.h"
#include "common/Twips.h"
#include "common/Version.h"
#include "extras/AboutTexts.h"
#include "extras/WebLinks.h"
#include "platform/Skin.h"
#include "platform/SkinLabel.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace pulsivar {

namespace {
QFont fontOf(const QString &family, double points, bool bold = false)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

SkinLabel *makeLabel(QWidget *parent, const char *name, const QRect &geometry, const QFont &font,
                     Qt::Alignment alignment)
{
    auto *label = new SkinLabel(QString(), parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}


} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(4560), twipsToPixels(2865));

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(twipsRect(2040, 75, 465, 525));
    picIcon->setAlignment(Qt::AlignCenter);

    skinlblVersion = makeLabel(this, "skinlblVersion", twipsRect(120, 660, 4320, 345),
                               fontOf(QStringLiteral("MS Sans Serif"), 13.5, true), Qt::AlignCenter);
    skinlblWebAddress = makeLabel(this, "skinlblWebAddress", twipsRect(120, 1860, 4320, 210),
                                  fontOf(QStringLiteral("MS Sans Serif"), 8.25, true), Qt::AlignCenter);

    cmdOK = new QPushButton(QStringLiteral("&Groovy"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Close window"));
    cmdOK->setGeometry(twipsRect(1725, 2190, 1100, 360));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    const QFont smallFont = fontOf(QStringLiteral("Small Fonts"), 6.75);
    skinlblBuildNumber = makeLabel(this, "skinlblBuildNumber", twipsRect(120, 2685, 1740, 165), smallFont,
                                   Qt::AlignLeft | Qt::AlignVCenter);
    skinlblBuildDate = makeLabel(this, "skinlblBuildDate", twipsRect(1920, 2685, 2520, 165), smallFont,
                                 Qt::AlignRight | Qt::AlignVCenter);
    // The small print stays small under every skin: a widget's own sheet wins over the skin's font.
    for (QLabel *line : {static_cast<QLabel *>(skinlblBuildNumber), static_cast<QLabel *>(skinlblBuildDate)})
        line->setStyleSheet(QStringLiteral("font-size: 7pt; font-weight: normal;"));

    Form_Load();
}

void frmAbout::Form_Load()
{
    // A skin that cannot be applied leaves the window plain; the lines still fill.
    try {
        applySkin();
    } catch (...) {
    }
    setWindowTitle(QStringLiteral("About ") + programName());
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull())
        picIcon->setPixmap(icon.pixmap(picIcon->size()));
    skinlblVersion->setText(aboutVersionLine());
    skinlblBuildNumber->setText(aboutBuildNumberLine());
    skinlblWebAddress->setText(makerWebsite());
    skinlblBuildDate->setText(aboutBuildDateLine(runningExecutablePath()));
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::applySkin()
{
    ApplyProgramSkin(this, settings().ProgramSkin);
}

SingleWindow<frmAbout> &aboutWindow()
{
    static SingleWindow<frmAbout> window;
    return window;
}

void showAboutWindow()
{
    if (aboutWindowIfOpen())
        return;
    frmAbout &window = aboutWindow().instance();
    // Closed for real: each opening builds the window afresh.
    window.setAttribute(Qt::WA_DeleteOnClose);
    window.exec();
}

} // namespace pulsivar
