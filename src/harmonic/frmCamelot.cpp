// SPDX-License-Identifier: GPL-2.0-or-later
#include "frmCamelot.h"

#include "CamelotWheel.h"
#include "HarmonicServices.h"
#include "WheelSpaceLabel.h"
#include "common/FormLayout.h"
#include "common/Twips.h"
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace pulsivar {

namespace {

// Where each wheel space's click area lies over the picture, in twips.
struct ClickArea {
    const char *key;
    int left, top, width, height;
};

constexpr std::array<ClickArea, 24> clickAreas{{
    {"E", 1830, 0, 825, 705},      {"B", 2850, 240, 810, 615},   {"F#", 3645, 885, 765, 705},
    {"Db", 3885, 1830, 615, 870},  {"Ab", 3645, 2880, 825, 780}, {"Eb", 2805, 3675, 885, 720},
    {"Bb", 1800, 3855, 885, 645},  {"F", 840, 3675, 825, 630},   {"C", 135, 2910, 735, 750},
    {"G", 30, 1845, 615, 855},     {"D", 75, 825, 765, 855},     {"A", 870, 30, 795, 840},
    {"Dbm", 1965, 705, 585, 585},  {"Abm", 2610, 930, 465, 525}, {"Ebm", 3015, 1410, 585, 525},
    {"Bbm", 3180, 1995, 630, 555}, {"Fm", 3015, 2580, 600, 495}, {"Cm", 2565, 3030, 555, 615},
    {"Gm", 1935, 3225, 600, 555},  {"Dm", 1350, 3045, 585, 495}, {"Am", 870, 2595, 615, 450},
    {"Em", 690, 2040, 660, 465},   {"Bm", 915, 1395, 555, 555},  {"F#m", 1350, 960, 600, 480},
}};

const MusicKeyRow *rowOf(const char *primaryName)
{
    for (const MusicKeyRow &row : musicKeyTable()) {
        if (qstrcmp(row.primaryName, primaryName) == 0)
            return &row;
    }
    return nullptr;
}

} // namespace

frmCamelot::frmCamelot(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmCamelot"));
    setWindowTitle(QStringLiteral("Harmonic Key Mixing"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(4755), twipsToPixels(5895));
    buildControls();
    Form_Load();
}

void frmCamelot::buildControls()
{
    const QString labelTexts[3] = {QStringLiteral("Click a wheel space for that key's compatability"),
                                   QStringLiteral("Music Key:"), QStringLiteral("Compatible keys:")};
    const QRect labelRects[3] = {twipsRect(30, 45, 4680, 255), twipsRect(135, 5130, 1245, 195),
                                 twipsRect(135, 5490, 1245, 195)};
    for (int index = 0; index < 3; ++index) {
        auto *label = new QLabel(labelTexts[index], this);
        label->setObjectName(QStringLiteral("sknlblAllFormLabels_%1").arg(index));
        label->setFont(classicDialogFont());
        label->setGeometry(labelRects[index]);
        sknlblAllFormLabels[index] = label;
    }

    picCamelot = new QLabel(this);
    picCamelot->setObjectName(QStringLiteral("picCamelot"));
    picCamelot->setGeometry(twipsRect(90, 330, 4560, 4560));
    picCamelot->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picCamelot->setPixmap(QPixmap::fromImage(camelot::renderCamelotWheel()));
    for (const ClickArea &area : clickAreas) {
        const MusicKeyRow *row = rowOf(area.key);
        if (!row)
            continue;
        auto *label = new WheelSpaceLabel([this, row] { lblWheelSpace_Click(*row); }, picCamelot);
        label->setObjectName(QString::fromLatin1(row->labelName));
        label->setGeometry(twipsRect(area.left, area.top, area.width, area.height));
        label->setToolTip(QStringLiteral("%1  %2 %3")
                              .arg(QLatin1String(row->code), QLatin1String(row->noteWritten),
                                   QLatin1String(row->modeWritten)));
    }

    cboKey = new QComboBox(this);
    cboKey->setObjectName(QStringLiteral("cboKey"));
    cboKey->setEditable(false);
    cboKey->setGeometry(twipsRect(1395, 5070, 915, 315));

    txtCompatible = new QLineEdit(this);
    txtCompatible->setObjectName(QStringLiteral("txtCompatible"));
    txtCompatible->setReadOnly(true);
    txtCompatible->setGeometry(twipsRect(1395, 5445, 2145, 285));
    QPalette white = txtCompatible->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    txtCompatible->setPalette(white);

    chkAlwaysOnTop = new QCheckBox(QStringLiteral("&Always on top"), this);
    chkAlwaysOnTop->setObjectName(QStringLiteral("chkAlwaysOnTop"));
    // The caption needs more room than its slot on most fonts; grow leftwards, keeping the right
    // edge in line with the button below.
    QRect box = twipsRect(3720, 4965, 855, 375);
    const int wanted = chkAlwaysOnTop->sizeHint().width();
    if (wanted > box.width())
        box.setLeft(box.right() + 1 - wanted);
    chkAlwaysOnTop->setGeometry(box);

    cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setGeometry(twipsRect(3720, 5430, 945, 345));

    connect(cboKey, &QComboBox::currentIndexChanged, this, [this] { cboKey_Click(); });
    connect(chkAlwaysOnTop, &QCheckBox::stateChanged, this, [this] { chkAlwaysOnTop_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
}

void frmCamelot::Form_Load()
{
    const HarmonicServices &services = harmonicServices();
    runWindowStep(services.applyProgramSkin, this);
    runWindowStep(services.restoreFormPosition, this);

    // Filling the list must not count as a pick: no key is selected after loading.
    const QSignalBlocker quiet(cboKey);
    cboKey->clear();
    for (const MusicKeyRow &row : musicKeyTable())
        cboKey->addItem(QString::fromLatin1(row.primaryName));
    cboKey->setCurrentIndex(-1);
    txtCompatible->clear();
}

void frmCamelot::Form_Unload()
{
    runWindowStep(harmonicServices().saveFormPosition, this);
}

void frmCamelot::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

QString frmCamelot::CompatableMusicKeys(const QString &sInputKey) const
{
    return pulsivar::CompatableMusicKeys(sInputKey);
}

void frmCamelot::cboKey_Click()
{
    txtCompatible->setText(CompatableMusicKeys(cboKey->currentText()));
}

void frmCamelot::chkAlwaysOnTop_Click()
{
    const HarmonicServices &services = harmonicServices();
    if (chkAlwaysOnTop->checkState() == Qt::Checked)
        runWindowStep(services.setAlwaysOnTop, this);
    else
        runWindowStep(services.clearAlwaysOnTop, this);
}

void frmCamelot::cmdOk_Click()
{
    close();
}

void frmCamelot::lblWheelSpace_Click(const MusicKeyRow &row)
{
    // Selecting the entry raises the list's own event, which fills in the compatible keys.
    cboKey->setCurrentText(QString::fromLatin1(row.primaryName));
}

} // namespace pulsivar
