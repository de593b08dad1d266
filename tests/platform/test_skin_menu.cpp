// SPDX-License-Identifier: GPL-2.0-or-later
// The skin menu: one check mark, the choice stored as it is, open windows re-skinned at once.
#include "platform/Skin.h"
#include "platform/SkinCatalog.h"
#include "platform/SkinMenu.h"

#include <QtTest>
#include <QtWidgets>

using namespace pulsivar;

namespace {

// Notes the order in which windows take on a new skin.
class SkinOrder : public QObject {
public:
    QStringList windows;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange && windows.value(windows.size() - 1) != watched->objectName())
            windows << watched->objectName();
        return false;
    }
};

struct Program {
    Program()
    {
        for (const SkinEntry &entry : skinCatalog()) {
            auto *action = menu.addAction(QString::fromLatin1(entry.caption));
            action->setCheckable(true);
            entries.insert(entry.id, action);
        }
        for (QWidget *window : all()) {
            window->resize(120, 80);
            window->installEventFilter(&order);
        }
        frmMetronome.setObjectName("frmMetronome");
        frmAbout.setObjectName("frmAbout");
        frmAutoBPMConfig.setObjectName("frmAutoBPMConfig");
        frmMeasureConfig.setObjectName("frmMeasureConfig");
        frmUndocked.setObjectName("frmUndocked");
        frmCamelot.setObjectName("frmCamelot");
    }
    QList<QWidget *> all() { return {&frmMetronome, &frmAbout, &frmAutoBPMConfig, &frmMeasureConfig, &frmUndocked, &frmCamelot}; }
    SkinWindows windows(bool loading = false)
    {
        return {&frmMetronome, loading, &frmAbout, &frmAutoBPMConfig, &frmMeasureConfig, &frmUndocked, &frmCamelot};
    }
    QList<int> checked() const
    {
        QList<int> ids;
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            if (it.value()->isChecked())
                ids << it.key();
        return ids;
    }
    QString sheetOf(int id)
    {
        Skin skin;
        return skin.LoadSkin(id) ? skin.styleSheet() : QString();
    }

    QMenu menu;
    QMap<int, QAction *> entries;
    SkinOrder order;
    QWidget frmMetronome, frmAbout, frmAutoBPMConfig, frmMeasureConfig, frmUndocked, frmCamelot;
    int16_t ProgramSkin = 101;
};

} // namespace

class TestSkinMenu : public QObject {
    Q_OBJECT

private slots:
    void init() { oSkin().clear(); }

    void choosingPaperStoresItChecksItAndReskinsOpenWindows()
    {
        Program program;
        for (QWidget *window : program.all())
            window->show();
        selectProgramSkin(101, program.ProgramSkin, program.entries, program.windows());
        program.order.windows.clear();
        selectProgramSkin(109, program.ProgramSkin, program.entries, program.windows());
        QCOMPARE(program.ProgramSkin, int16_t(109));
        QCOMPARE(program.checked(), QList<int>{109});
        for (QWidget *window : program.all())
            QCOMPARE(window->styleSheet(), program.sheetOf(109));
        QCOMPARE(program.order.windows, QStringList({"frmMetronome", "frmAbout", "frmAutoBPMConfig",
                                                     "frmMeasureConfig", "frmUndocked", "frmCamelot"}));
    }

    void hiddenAndMissingWindowsWaitForTheirNextShow()
    {
        Program program;
        program.frmMetronome.show();
        program.frmMeasureConfig.show();
        SkinWindows windows = program.windows();
        windows.frmAbout = nullptr;
        selectProgramSkin(103, program.ProgramSkin, program.entries, windows);
        QCOMPARE(program.frmMeasureConfig.styleSheet(), program.sheetOf(103));
        QVERIFY(program.frmUndocked.styleSheet().isEmpty());
        QVERIFY(program.frmCamelot.styleSheet().isEmpty());
        // The window's own show step applies the skin the program holds.
        ApplyProgramSkin(&program.frmUndocked, program.ProgramSkin);
        QCOMPARE(program.frmUndocked.styleSheet(), program.sheetOf(103));
    }

    void whileTheMainWindowLoadsOnlyItIsSkinned()
    {
        Program program;
        for (QWidget *window : program.all())
            window->show();
        selectProgramSkin(112, program.ProgramSkin, program.entries, program.windows(true));
        QCOMPARE(program.frmMetronome.styleSheet(), program.sheetOf(112));
        QVERIFY(program.frmAbout.styleSheet().isEmpty());
        QCOMPARE(program.checked(), QList<int>{112});
    }

    void onlyOneEntryEverCarriesTheCheckMark()
    {
        Program program;
        program.frmMetronome.show();
        for (int id : {101, 113, 105, 105}) {
            selectProgramSkin(id, program.ProgramSkin, program.entries, program.windows());
            QCOMPARE(program.checked(), QList<int>{id});
        }
        // Choosing the checked entry again applies its skin again.
        program.frmMetronome.setStyleSheet(QString());
        program.entries.value(105)->setChecked(false); // a checkable action unchecks itself when clicked
        selectProgramSkin(105, program.ProgramSkin, program.entries, program.windows());
        QCOMPARE(program.frmMetronome.styleSheet(), program.sheetOf(105));
        QCOMPARE(program.checked(), QList<int>{105});
    }

    void anUnknownStoredSkinLeavesNoSkinAndNoCheckMark_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("100") << 100;
        QTest::newRow("114") << 114;
        QTest::newRow("0") << 0;
        QTest::newRow("-5") << -5;
        QTest::newRow("32767") << 32767;
    }
    void anUnknownStoredSkinLeavesNoSkinAndNoCheckMark()
    {
        QFETCH(int, stored);
        Program program;
        program.ProgramSkin = int16_t(stored);
        selectProgramSkin(program.ProgramSkin, program.ProgramSkin, program.entries, program.windows(true));
        QCOMPARE(program.ProgramSkin, int16_t(stored));
        QVERIFY(program.checked().isEmpty());
        QVERIFY(program.frmMetronome.styleSheet().isEmpty());
        QVERIFY(!oSkin().hasSkin());
    }
};

QTEST_MAIN(TestSkinMenu)
#include "test_skin_menu.moc"
