#include "common/fixedfield.h"
#include "main/dispatch.h"
#include "main/knownprograms.h"
#include "main/menubuilder.h"
#include "main/tovelmain.h"
#include "testsupport.h"

#include <QMenu>
#include <QMenuBar>

#include <cstring>

#include <gtest/gtest.h>

namespace {

TMenuInfo Row(const char *sys, const char *prog, const char *kind, const QString &name)
{
    TMenuInfo row;
    std::memset(&row, 0, sizeof row);
    CopyFixed(row.SysId, QString::fromLatin1(sys));
    CopyFixed(row.ProgId, QString::fromLatin1(prog));
    CopyFixed(row.DsProg, QString::fromLatin1(kind));
    CopyFixed(row.RankProg, QStringLiteral("1"));
    CopyFixed(row.ProgName, name);
    return row;
}

/// The items of one top-level menu: "caption" or "caption (disabled)", "-" for separators.
QString Items(QMenuBar *bar, const char *name)
{
    QStringList items;
    for (QAction *top : bar->actions()) {
        if (top->objectName() != QLatin1String(name))
            continue;
        for (const QAction *item : top->menu()->actions()) {
            if (item->isSeparator())
                items << QStringLiteral("-");
            else
                items << item->text() + (item->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
        }
    }
    return items.join(QLatin1Char('|'));
}

} // namespace

TEST(MenuBuilder, KindPRowsGetOneSeparatorAndNumberingContinues)
{
    TfrmMain window;
    BuildProgramMenu(window.menuBar(),
                     {Row("J2", "J260E", "E", QStringLiteral("판매입력")), Row("J2", "J280E", "E", QStringLiteral("출하입력")),
                      Row("J2", "J202P", "P", QStringLiteral("판매현황")), Row("J2", "J204P", "p", QStringLiteral("출하현황"))},
                     {});
    EXPECT_EQ(Items(window.menuBar(), "SYS_J2"),
              QStringLiteral("1 판매입력\t(J260E)|2 출하입력\t(J280E)|-|3 판매현황\t(J202P)|4 출하현황\t(J204P)"));
}

TEST(MenuBuilder, AFirstRowOfKindPGetsNoSeparatorButALaterOneDoes)
{
    TfrmMain window;
    BuildProgramMenu(window.menuBar(),
                     {Row("J4", "J510P", "P", QStringLiteral("월간")), Row("J4", "J511E", "E", QStringLiteral("입력")),
                      Row("J4", "J512P", "P", QStringLiteral("연간"))},
                     {});
    EXPECT_EQ(Items(window.menuBar(), "SYS_J4"),
              QStringLiteral("1 월간\t(J510P)|2 입력\t(J511E) (disabled)|-|3 연간\t(J512P)"));
}

TEST(MenuBuilder, NumberingFollowsDesignedItemsAndUnknownSystemsAreNotShown)
{
    TfrmMain window;
    int connected = 0;
    BuildProgramMenu(window.menuBar(),
                     {Row("JZ", "J290P", "P", QStringLiteral("정산서출력")), Row("ZZ", "CC02E", "E", QStringLiteral("숨김")),
                      Row("AA", "SA01E", "E", QStringLiteral("사원등록"))},
                     [&connected](QAction *) { ++connected; });
    // Under 정산서 the designed 정산서입력 is the first item: a kind "P" row after it is set off.
    EXPECT_EQ(Items(window.menuBar(), "N2"), QStringLiteral("정산서입력|-|2 정산서출력\t(J290P)"));
    EXPECT_EQ(Items(window.menuBar(), "SYS_AA"), QStringLiteral("공제요율등록|2 사원등록\t(SA01E)"));
    EXPECT_EQ(connected, 2) << "the ZZ row found no menu";
    for (QAction *top : window.menuBar()->actions()) {
        for (const QAction *item : top->menu()->actions())
            EXPECT_FALSE(item->text().contains(QLatin1String("CC02E")));
    }
}

TEST(MenuBuilder, HintsSplitAtTheBarAndTheKnownProgramsTableHoldsItsPositions)
{
    EXPECT_EQ(ShortHint(QStringLiteral("정산서입력|J900E")), QStringLiteral("정산서입력"));
    EXPECT_EQ(LongHint(QStringLiteral("정산서입력|J900E")), QStringLiteral("J900E"));
    EXPECT_EQ(LongHint(QStringLiteral("종료")), QStringLiteral("종료"));
    EXPECT_EQ(KnownProgramIndex(QStringLiteral("CC02E")), 0);
    EXPECT_EQ(KnownProgramIndex(QStringLiteral("J280E")), 15);
    EXPECT_EQ(KnownProgramIndex(QStringLiteral("SA30E")), 96);
    EXPECT_EQ(KnownProgramIndex(QStringLiteral("J900E")), 107);
    EXPECT_EQ(KnownProgramIndex(QStringLiteral("j900e")), -1);
    EXPECT_EQ(KnownProgramIndex(QStringLiteral("J399E")), -1);
}

TEST(ModuleTable, EveryKnownProgramHasOneRecordSizeAndThreeBorrowAnotherModule)
{
    QStringList borrowed;
    for (const char *id : KnownPrograms) {
        const TModuleOfProgram module = ModuleOfProgram(QString::fromLatin1(id));
        EXPECT_GE(module.RecordSize, 128) << id;
        if (module.Module != QLatin1String(id))
            borrowed << QStringLiteral("%1>%2").arg(QLatin1String(id), module.Module);
    }
    EXPECT_EQ(borrowed.join(QLatin1Char(' ')), QStringLiteral("J280E>SB01B SA09P>SA11E SA11P>SA13E"));
    EXPECT_EQ(ModuleOfProgram(QStringLiteral("J512P")).RecordSize, 604);
    EXPECT_EQ(ModuleOfProgram(QStringLiteral("SA27E")).RecordSize, 136);
    EXPECT_TRUE(ModuleOfProgram(QStringLiteral("J399E")).Module.isEmpty());
    EXPECT_TRUE(ModuleOfProgram(QStringLiteral("j202p")).Module.isEmpty());
}
