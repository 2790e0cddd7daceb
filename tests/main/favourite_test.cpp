#include "main/favouritefile.h"
#include "main/menubuilder.h"
#include "main/ufavourite.h"
#include "platform/cp949.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Group g holds programs "J<g><nn>E"; `favourites` names the ones flagged "1".
TFavouriteInputs MakeInputs(int groups, int perGroup, const QStringList &favourites = {})
{
    TFavouriteInputs inputs;
    for (int g = 0; g < groups; ++g) {
        TUserMenuPart group;
        group.Group.GrpId = QStringLiteral("G%1").arg(g);
        group.Group.GrpName = QStringLiteral("업무%1").arg(g);
        inputs.Groups << group;
        for (int p = 0; p < perGroup; ++p) {
            TUserMenu program;
            program.MenuInfo.GrpId = group.Group.GrpId;
            program.MenuInfo.ProgId = QStringLiteral("J%1%2E").arg(g).arg(p, 2, 10, QLatin1Char('0'));
            program.MenuInfo.ProgName = QStringLiteral("프로그램%1").arg(p);
            program.Favourite = favourites.contains(program.MenuInfo.ProgId) ? QLatin1Char('1') : QLatin1Char('0');
            inputs.Programs << program;
        }
    }
    return inputs;
}

QTreeWidget *Tree(const TfrmFavourite &dialog) { return dialog.findChild<QTreeWidget *>(QStringLiteral("TreeView1")); }

// Every node in tree order: groups as their caption, programs indented with "*" when chosen.
QString TreeText(const TfrmFavourite &dialog)
{
    QStringList lines;
    QTreeWidget *tree = Tree(dialog);
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem *group = tree->topLevelItem(g);
        lines << group->text(0);
        for (int p = 0; p < group->childCount(); ++p) {
            const QTreeWidgetItem *node = group->child(p);
            const bool chosen = TfrmFavourite::StateIndex(node) == TfrmFavourite::siChosen;
            lines << QStringLiteral("  ") + node->text(0) + (chosen ? QStringLiteral("*") : QString());
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QTreeWidgetItem *ProgramNode(const TfrmFavourite &dialog, const QString &progId)
{
    for (const TUserMenu &program : dialog.Programs())
        if (program.MenuInfo.ProgId == progId)
            return program.ProgramNode;
    return nullptr;
}

// Clicks the state image of each program, as the user ticks or unticks it.
void Choose(TfrmFavourite &dialog, const QStringList &progIds)
{
    QTreeWidget *tree = Tree(dialog);
    for (const QString &id : progIds) {
        QTreeWidgetItem *node = ProgramNode(dialog, id);
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, dialog.StateImageRect(node).center());
    }
}

void Save(TfrmFavourite &dialog)
{
    QTest::mouseClick(dialog.findChild<QToolButton *>(QStringLiteral("btnSave")), Qt::LeftButton);
}

QStringList Ids(const TFavouriteInputs &inputs, int from, int count)
{
    QStringList ids;
    for (int i = from; i < from + count; ++i)
        ids << inputs.Programs[i].MenuInfo.ProgId;
    return ids;
}

const QString Saved = QStringLiteral("자주사용하는메뉴설정|처리하였습니다.|information");
const QString NoChange = QStringLiteral("자주사용하는메뉴설정|변경된 내역이 없습니다.|warning");

} // namespace

// Each test gets its own program folder, so Favourite.mnu starts missing.
class FavouriteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsSet("TOVEL_PROGRAM_DIR"))
            m_previousFolder = qgetenv("TOVEL_PROGRAM_DIR");
        qputenv("TOVEL_PROGRAM_DIR", QFile::encodeName(m_folder.path()));
    }
    void TearDown() override
    {
        if (m_previousFolder)
            qputenv("TOVEL_PROGRAM_DIR", *m_previousFolder);
        else
            qunsetenv("TOVEL_PROGRAM_DIR");
    }

    QString FilePath() const { return m_folder.filePath(QStringLiteral("Favourite.mnu")); }

    // Shows the dialog for `userId` as the main window does: inputs first, then show.
    void Open(const QString &userId, const TFavouriteInputs &inputs)
    {
        m_dialog.SetInputs(userId, inputs.Groups, inputs.Programs);
        m_dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    }

    QTemporaryDir m_folder;
    std::optional<QByteArray> m_previousFolder;
    MessageBoxRecorder m_boxes;
    TfrmFavourite m_dialog;
};

TEST_F(FavouriteTest, FileRoundTripKeepsOtherUsersAndSectionsByteForByte)
{
    const QByteArray before = Platform::ToCp949(QStringLiteral("[기본정보]\r\n사용자=홍길동\r\n"
                                                               "[UserFavuriteMenu]\r\n40710263=J202P,SA30E,\r\n"));
    WriteFileBytes(FilePath(), before);

    ASSERT_TRUE(WriteFavourites(QStringLiteral("12345678"), {QStringLiteral("J900E"), QStringLiteral("SB01B")}, FilePath()));

    const QByteArray after = ReadFileBytes(FilePath());
    EXPECT_TRUE(after.startsWith(before)) << after.toStdString();
    EXPECT_EQ(after.mid(before.size()), QByteArray("12345678=J900E,SB01B,\r\n"));
    EXPECT_EQ(ReadFavourites(QStringLiteral("12345678"), FilePath()).join(QLatin1Char('|')), QStringLiteral("J900E|SB01B"));
    EXPECT_EQ(ReadFavourites(QStringLiteral("40710263"), FilePath()).join(QLatin1Char('|')), QStringLiteral("J202P|SA30E"));

    // A user who keeps nothing has an empty value, and the first save creates the file.
    ASSERT_TRUE(WriteFavourites(QStringLiteral("40710263"), {}, FilePath()));
    EXPECT_TRUE(ReadFileBytes(FilePath()).contains("\r\n40710263=\r\n"));
    const QString fresh = m_folder.filePath(QStringLiteral("new.mnu"));
    ASSERT_TRUE(WriteFavourites(QStringLiteral("1"), {QStringLiteral("J202P")}, fresh));
    EXPECT_EQ(ReadFileBytes(fresh), QByteArray("[UserFavuriteMenu]\r\n1=J202P,\r\n"));
}

TEST_F(FavouriteTest, ReadingSplitsAtCommasAndBlanks)
{
    const struct
    {
        const char *value;
        const char *ids;
    } cases[] = {
        {"J202P,SA30E,", "J202P|SA30E"},
        {"J202P, ,SA30E  j210p,,\tJ900E", "J202P|SA30E|j210p|J900E"},
        {",,, ", ""},
        {"J202P,J202P,", "J202P|J202P"},
    };
    for (const auto &c : cases) {
        WriteFileBytes(FilePath(), QByteArray("[UserFavuriteMenu]\r\nU1=") + c.value + "\r\n");
        EXPECT_EQ(ReadFavourites(QStringLiteral("u1"), FilePath()).join(QLatin1Char('|')), QString::fromLatin1(c.ids))
            << c.value;
    }
    EXPECT_TRUE(ReadFavourites(QStringLiteral("U1"), m_folder.filePath(QStringLiteral("missing.mnu"))).isEmpty());
}

TEST_F(FavouriteTest, EmptyUserIdNeitherReadsNorWrites)
{
    EXPECT_FALSE(WriteFavourites(QString(), {QStringLiteral("J202P")}, FilePath()));
    EXPECT_FALSE(WriteFavourites(QStringLiteral("  "), {QStringLiteral("J202P")}, FilePath()));
    EXPECT_FALSE(QFile::exists(FilePath()));
    WriteFileBytes(FilePath(), "[UserFavuriteMenu]\r\n=J202P,\r\n");
    EXPECT_TRUE(ReadFavourites(QString(), FilePath()).isEmpty());

    // The dialog of such a user saves nothing either.
    QFile::remove(FilePath());
    Open(QString(), MakeInputs(1, 3));
    Choose(m_dialog, {QStringLiteral("J001E")});
    Save(m_dialog);
    EXPECT_FALSE(QFile::exists(FilePath()));
}

TEST_F(FavouriteTest, InputsComeFromTheEnabledProgramsOfKeyedMenus)
{
    QMenuBar bar;
    QMenu *basic = bar.addMenu(QStringLiteral("기초업무(&1)"));
    SetHint(basic->menuAction(), QStringLiteral(" 기초업무 |AA"));
    SetHint(basic->addAction(QStringLiteral("공제요율등록")), QStringLiteral("공제요율등록|SA30E"));
    basic->addSeparator();
    QAction *disabled = basic->addAction(QStringLiteral("disabled"));
    SetHint(disabled, QStringLiteral("잠긴프로그램|J999E"));
    disabled->setEnabled(false);
    basic->addAction(QStringLiteral("no hint"));
    QMenu *daily = bar.addMenu(QStringLiteral("일일업무(&2)"));
    SetHint(daily->menuAction(), QStringLiteral("일일업무|J2"));
    SetHint(daily->addAction(QStringLiteral("1 매출")), QStringLiteral("매출입력|J202P"));
    bar.addMenu(QStringLiteral("환경설정"))->addAction(QStringLiteral("자주사용하는메뉴설정"));

    const TFavouriteInputs inputs = FavouriteInputs(&bar, {QStringLiteral("j202p"), QStringLiteral("J999E")});
    QStringList groups;
    for (const TUserMenuPart &group : inputs.Groups)
        groups << group.Group.GrpId + QLatin1Char('=') + group.Group.GrpName;
    EXPECT_EQ(groups.join(QLatin1Char('|')), QStringLiteral("AA=기초업무|J2=일일업무"));
    QStringList programs;
    for (const TUserMenu &program : inputs.Programs)
        programs << QStringLiteral("%1/%2/%3/%4")
                        .arg(program.MenuInfo.GrpId, program.MenuInfo.ProgId, program.MenuInfo.ProgName)
                        .arg(program.Favourite);
    EXPECT_EQ(programs.join(QLatin1Char('|')), QStringLiteral("AA/SA30E/공제요율등록/0|J2/J202P/매출입력/1"));
}

TEST_F(FavouriteTest, TreeIsFilledOncePerOpening)
{
    Open(QStringLiteral("U1"), MakeInputs(2, 2, {QStringLiteral("J101E")}));
    const QString expected = QStringLiteral("업무0\n  [J000E]프로그램0\n  [J001E]프로그램1\n"
                                            "업무1\n  [J100E]프로그램0\n  [J101E]프로그램1*");
    EXPECT_EQ(TreeText(m_dialog), expected);
    // Activating the dialog again (another window was in front) adds nothing.
    m_dialog.activateWindow();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&m_dialog, &activate);
    QCoreApplication::sendEvent(&m_dialog, &activate);
    EXPECT_EQ(TreeText(m_dialog), expected);
    // A new opening starts from the inputs again.
    m_dialog.hide();
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    EXPECT_EQ(TreeText(m_dialog), expected);
}

TEST_F(FavouriteTest, StateImageClickOrSpaceTogglesProgramNodesOnly)
{
    Open(QStringLiteral("U1"), MakeInputs(1, 2));
    QTreeWidget *tree = Tree(m_dialog);
    QTreeWidgetItem *node = ProgramNode(m_dialog, QStringLiteral("J000E"));
    const QRect stateRect = m_dialog.StateImageRect(node);
    ASSERT_FALSE(stateRect.isEmpty());

    // The picture really is where a click toggles: the box changes when it is ticked.
    const QImage unticked = tree->viewport()->grab().toImage().copy(stateRect);
    Choose(m_dialog, {QStringLiteral("J000E")});
    EXPECT_EQ(TfrmFavourite::StateIndex(node), TfrmFavourite::siChosen);
    tree->viewport()->repaint();
    EXPECT_NE(tree->viewport()->grab().toImage().copy(stateRect), unticked);
    Choose(m_dialog, {QStringLiteral("J000E")});
    EXPECT_EQ(TfrmFavourite::StateIndex(node), TfrmFavourite::siNotChosen);

    // A click on the caption selects without toggling.
    QTest::mouseClick(
        tree->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(stateRect.right() + 30, stateRect.center().y()));
    EXPECT_EQ(tree->currentItem(), node);
    EXPECT_EQ(TfrmFavourite::StateIndex(node), TfrmFavourite::siNotChosen);

    // Group nodes carry no state image and never toggle, neither by click nor by Space.
    QTreeWidgetItem *group = tree->topLevelItem(0);
    const QRect groupRow = tree->visualItemRect(group);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(groupRow.left() + 8, groupRow.center().y()));
    tree->setCurrentItem(group);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(TfrmFavourite::StateIndex(group), TfrmFavourite::siNone);
    EXPECT_EQ(TreeText(m_dialog), QStringLiteral("업무0\n  [J000E]프로그램0\n  [J001E]프로그램1"));
    tree->setCurrentItem(node);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(TfrmFavourite::StateIndex(node), TfrmFavourite::siChosen);
}

TEST_F(FavouriteTest, SavingKeepsTheFirstTwentyChosenInTreeOrder)
{
    const TFavouriteInputs inputs = MakeInputs(3, 10);
    Open(QStringLiteral("40710263"), inputs);
    // Chosen in another order than the tree's: the tree's order decides.
    Choose(m_dialog, Ids(inputs, 5, 25));
    Choose(m_dialog, Ids(inputs, 0, 3));
    Save(m_dialog);
    EXPECT_EQ(m_boxes.Summary(), Saved);
    EXPECT_TRUE(m_dialog.Changed());
    const QStringList first20 = Ids(inputs, 0, 3) + Ids(inputs, 5, 17);
    EXPECT_EQ(ReadFavourites(QStringLiteral("40710263")), first20);
    EXPECT_TRUE(ReadFileBytes(FilePath()).contains("40710263=" + first20.join(QLatin1Char(',')).toLatin1() + ",\r\n"));
}

TEST_F(FavouriteTest, TheTwentiethChosenProgramAloneIsAChange)
{
    const QStringList stored = Ids(MakeInputs(1, 25), 0, 19);
    ASSERT_TRUE(WriteFavourites(QStringLiteral("U1"), stored));
    const TFavouriteInputs inputs = MakeInputs(1, 25, stored);
    Open(QStringLiteral("U1"), inputs);
    Choose(m_dialog, {inputs.Programs[19].MenuInfo.ProgId});
    Save(m_dialog);
    EXPECT_EQ(m_boxes.Summary(), Saved);
    EXPECT_EQ(ReadFavourites(QStringLiteral("U1")), Ids(inputs, 0, 20));
    EXPECT_EQ(m_dialog.Programs()[19].Favourite, QLatin1Char('1'));
}

TEST_F(FavouriteTest, SavingWithoutAChangeWarnsAndLeavesTheFileAlone)
{
    // LF line ends, blanks and another user: none of it may be rewritten.
    const QByteArray file = "[UserFavuriteMenu]\nU2=J101E,\nU1 = J001E, J100E,\n";
    WriteFileBytes(FilePath(), file);
    Open(QStringLiteral("U1"), MakeInputs(2, 3, ReadFavourites(QStringLiteral("U1"))));
    Save(m_dialog);
    EXPECT_EQ(m_boxes.Summary(), NoChange);
    EXPECT_FALSE(m_dialog.Changed());
    EXPECT_EQ(ReadFileBytes(FilePath()), file);
    // Ticking a box and ticking it off again is no change either.
    Choose(m_dialog, {QStringLiteral("J000E"), QStringLiteral("J000E")});
    Save(m_dialog);
    EXPECT_EQ(ReadFileBytes(FilePath()), file);
}

TEST_F(FavouriteTest, AFailedWriteIsReportedAndASavedChangeStaysReported)
{
    QDir(m_folder.path()).mkdir(QStringLiteral("Favourite.mnu")); // a folder in the file's place
    Open(QStringLiteral("U1"), MakeInputs(1, 3));
    Choose(m_dialog, {QStringLiteral("J001E")});
    Save(m_dialog);
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("자주사용하는메뉴설정|Unable to write to %1|error").arg(FilePath()));
    EXPECT_FALSE(m_dialog.Changed());

    // Saving again retries; a later save without a change still leaves Changed set, so that
    // the main window rebuilds its toolbar.
    QDir(m_folder.path()).rmdir(QStringLiteral("Favourite.mnu"));
    m_boxes.Clear();
    Save(m_dialog);
    Save(m_dialog);
    EXPECT_EQ(m_boxes.Summary(), Saved + QLatin1Char('\n') + NoChange);
    EXPECT_EQ(ReadFavourites(QStringLiteral("U1")), QStringList{QStringLiteral("J001E")});
    EXPECT_TRUE(m_dialog.Changed());
}

TEST_F(FavouriteTest, ButtonPictureCarriesTheLowerCaseIdInYellow)
{
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(13);
    const QImage first = FavouriteButtonPicture(0, QStringLiteral("J900E"), font).toImage();
    EXPECT_EQ(FavouriteButtonPicture(3, QStringLiteral("J900E"), font).toImage(), first); // image 120 again
    EXPECT_NE(FavouriteButtonPicture(1, QStringLiteral("J900E"), font).toImage(), first);
    EXPECT_EQ(FavouriteButtonPicture(0, QStringLiteral("j900e"), font).toImage(), first);
    int yellow = 0, above = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const QColor c = first.pixelColor(x, y); // the text is antialiased on the face
            if (c.red() >= 200 && c.green() >= 200 && c.blue() <= 110) {
                ++yellow;
                above += y < 12 ? 1 : 0;
            }
        }
    EXPECT_GT(yellow, 40);
    EXPECT_EQ(above, 0); // the text's top is at y = 12
}

// The title and both buttons are written over the band's dark picture: in white, which reads
// there (the picture's contrast with white is checked with the image bank).
TEST_F(FavouriteTest, RegressionTheBandsCaptionsAreWhite)
{
    Open(QStringLiteral("1001"), {});
    const auto *title = m_dialog.findChild<QLabel *>(QStringLiteral("lblTitle"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(Qt::white));
    for (const char *name : {"btnSave", "btnClose"}) {
        const auto *button = m_dialog.findChild<QToolButton *>(QString::fromLatin1(name));
        ASSERT_TRUE(button) << name;
        EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(Qt::white)) << name;
    }
}
