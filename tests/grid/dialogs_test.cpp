// The popup memo and picture dialogs and the footer style dialog, driven like a user while
// they run modally.

#include "grid/memcolumn.h"
#include "grid/tabrix.h"
#include "grid/uxdlgimg.h"
#include "grid/uxdlgmemo.h"
#include "grid/uxmfootstyles.h"
#include "platform/cp949.h"
#include "platform/filedialog.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QComboBox>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

void Click(QWidget *dialog, const char *name)
{
    auto *button = dialog->findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Answers the next open-file dialogs with `path` and keeps what they were asked.
struct OpenFileAnswer
{
    explicit OpenFileAnswer(const QString &path)
    {
        m_previous = Platform::SetOpenFileHook([this, path](const Platform::TOpenFileCall &call) {
            Calls << call;
            return path;
        });
    }
    ~OpenFileAnswer() { Platform::SetOpenFileHook(m_previous); }
    QList<Platform::TOpenFileCall> Calls;
    Platform::TOpenFileHook m_previous;
};

class PopupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_owner.setGeometry(120, 90, 400, 300);
        m_owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_owner));
    }
    QString Path(const QString &name) const { return m_dir.filePath(name); }

    QWidget m_owner;
    QTemporaryDir m_dir;
    const QRect m_cell { 30, 40, 90, 18 };
};

QPixmap Filled(QColor colour)
{
    QPixmap picture(40, 30);
    picture.fill(colour);
    return picture;
}

// Drags the popup's bottom-right corner 60 right and 40 down through the window system.
void DragCorner(QWidget *popup)
{
    QWindow *window = popup->windowHandle();
    const QPoint corner(popup->width() - 2, popup->height() - 2);
    QTest::mouseMove(window, QPoint(20, 20));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::mouseMove(window, corner);
    EXPECT_TRUE(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::SizeFDiagCursor);
    QTest::mousePress(window, Qt::LeftButton, {}, corner);
    // Step by step, as a hand drags: the pointer never leaves the growing window.
    for (int step = 1; step <= 60; ++step)
        QTest::mouseMove(window, corner + QPoint(step, step * 2 / 3));
    QTest::mouseRelease(window, Qt::LeftButton, {}, corner + QPoint(60, 40));
}

} // namespace

TEST(FileDialog, FiltersTakeQtsForm)
{
    EXPECT_EQ(Platform::QtFileFilter(QStringLiteral("Text File(*.txt)|*.txt|All Files(*.*)|*.*")),
        QStringLiteral("Text File (*.txt);;All Files (*)"));
    EXPECT_EQ(Platform::QtFileFilter(QStringLiteral("Bitmaps (*.bmp)|*.bmp|Pictures|*.png;*.jpg")),
        QStringLiteral("Bitmaps (*.bmp);;Pictures (*.png *.jpg)"));
}

TEST_F(PopupTest, MemoOpensAtTheCellAndHandsTheTypedText)
{
    TwInDlgMemo memo(&m_owner);
    QStringList accepted;
    memo.SetOnOk([&accepted](const QString &text) { accepted << text; });

    WhenModal([&](QWidget *dialog) {
        EXPECT_EQ(dialog, &memo);
        EXPECT_EQ(memo.pos(), m_owner.mapToGlobal(m_cell.topLeft()));
        EXPECT_EQ(memo.Memo()->textCursor().selectedText(), QStringLiteral("이전 내용"));
        EXPECT_EQ(memo.focusWidget(), memo.Memo());
        // On a real X server the popup takes the keyboard itself.
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == memo.Memo(); }, 2000));
        }
        QTest::keyClicks(memo.Memo(), QStringLiteral("new"));
        memo.grab().save(PicturePath(QStringLiteral("dlg-memo.png")));
        Click(dialog, "OkButton");
    });
    EXPECT_EQ(memo.ShowDlg(m_cell, &m_owner, QStringLiteral("이전 내용")), QDialog::Accepted);

    WhenModal([&](QWidget *dialog) {
        EXPECT_EQ(memo.Memo()->toPlainText(), QString());
        Click(dialog, "OkButton");
    });
    EXPECT_EQ(memo.ShowDlg(m_cell, &m_owner, QVariant()), QDialog::Accepted);

    WhenModal([&](QWidget *) { QTest::keyClick(memo.Memo(), Qt::Key_Escape); });
    EXPECT_EQ(memo.ShowDlg(m_cell, &m_owner, QStringLiteral("kept")), QDialog::Rejected);

    EXPECT_EQ(accepted, QStringList({ QStringLiteral("new"), QString() }));
}

TEST_F(PopupTest, MemoKeepsToTheCellsLimit)
{
    TwInDlgMemo memo(&m_owner);
    WhenModal([&](QWidget *dialog) {
        QPlainTextEdit *box = memo.Memo();
        QTest::keyClicks(box, QStringLiteral("abcdefgh"));
        EXPECT_EQ(box->toPlainText(), QStringLiteral("abcde"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(box->toPlainText(), QStringLiteral("abcde"));
        // Undo and redo move between texts that fit, and never stick at the limit.
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box->toPlainText(), QString());
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(box->toPlainText(), QStringLiteral("abcde"));
        // A paste over a selection keeps what fits in its place.
        QApplication::clipboard()->setText(QStringLiteral("123456789"));
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->toPlainText(), QStringLiteral("ab12e"));
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("가나"));
        QApplication::sendEvent(box, &commit);
        EXPECT_EQ(box->toPlainText(), QStringLiteral("ab12e"));
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box->toPlainText(), QStringLiteral("abcde"));
        Click(dialog, "CancelButton");
    });
    EXPECT_EQ(memo.ShowDlg(m_cell, &m_owner, QVariant(), 5), QDialog::Rejected);
}

TEST_F(PopupTest, MemoLoadsCp949AndRefusesWhatItCannotKeep)
{
    WriteFileBytes(Path(QStringLiteral("hangul.txt")), Platform::ToCp949(QStringLiteral("가나다 똠\r\n둘째 줄")));
    WriteFileBytes(Path(QStringLiteral("utf8.txt")), QStringLiteral("한글 UTF-8").toUtf8());
    WriteFileBytes(Path(QStringLiteral("big.txt")), QByteArray(TwInDlgMemo::MaxFileSize + 1, 'a'));
    WriteFileBytes(Path(QStringLiteral("long.txt")), QByteArray(21, 'a'));

    TwInDlgMemo memo(&m_owner);
    MessageBoxRecorder boxes;
    QStringList texts;
    QList<int> boxCounts;
    WhenModal([&](QWidget *dialog) {
        for (const char *name : { "hangul.txt", "utf8.txt", "big.txt", "long.txt" }) {
            OpenFileAnswer answer(Path(QString::fromLatin1(name)));
            Click(dialog, "LoadButton");
            texts << memo.Memo()->toPlainText();
            boxCounts << int(boxes.Calls().size());
            if (name == std::string_view("hangul.txt")) {
                ASSERT_EQ(answer.Calls.size(), 1);
                EXPECT_EQ(answer.Calls.at(0).Filter, QStringLiteral("Text File (*.txt);;All Files (*)"));
                EXPECT_EQ(answer.Calls.at(0).DefaultSuffix, QStringLiteral("txt"));
            }
        }
        Click(dialog, "CancelButton");
    });
    memo.ShowDlg(m_cell, &m_owner, QVariant(), 20);

    EXPECT_EQ(texts.join(QLatin1Char('|')), QStringLiteral("가나다 똠\n둘째 줄|한글 UTF-8|한글 UTF-8|한글 UTF-8"));
    EXPECT_EQ(boxCounts, QList<int>({ 0, 0, 1, 2 }));
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_TRUE(boxes.Calls().at(0).Text.startsWith(QStringLiteral("파일이 너무 큽니다.")))
        << boxes.Summary().toStdString();
    EXPECT_TRUE(boxes.Calls().at(1).Text.startsWith(QStringLiteral("파일의 내용이 너무 깁니다. 20자까지")))
        << boxes.Summary().toStdString();
}

TEST_F(PopupTest, PictureClearOkHandsEmptyAndUnreadableFilesKeepThePicture)
{
    WriteFileBytes(Path(QStringLiteral("corrupt.bmp")), QByteArray("BM this is no bitmap at all"));
    // A valid bitmap header for 60000 x 60000 pixels: over the reader's allocation limit.
    QByteArray huge = QByteArray::fromHex("424d000000000000000036000000280000"
                                          "0060ea000060ea0000010018000000000000000000130b0000130b00000000000000000000");
    WriteFileBytes(Path(QStringLiteral("huge.bmp")), huge);

    TwInDlgImg image(&m_owner);
    QList<QPixmap> accepted;
    image.SetOnOk([&accepted](const QPixmap &picture) { accepted << picture; });
    MessageBoxRecorder boxes;

    WhenModal([&](QWidget *dialog) {
        EXPECT_EQ(image.pos(), m_owner.mapToGlobal(m_cell.topLeft()));
        image.grab().save(PicturePath(QStringLiteral("dlg-img.png")));
        for (const char *name : { "corrupt.bmp", "huge.bmp" }) {
            OpenFileAnswer answer(Path(QString::fromLatin1(name)));
            Click(dialog, "LoadButton");
        }
        Click(dialog, "OkButton");
    });
    EXPECT_EQ(image.ShowDlg(m_cell, &m_owner, Filled(Qt::red)), QDialog::Accepted);
    EXPECT_EQ(boxes.Calls().size(), 2u) << boxes.Summary().toStdString();

    WhenModal([&](QWidget *dialog) {
        Click(dialog, "ClearButton");
        Click(dialog, "OkButton");
    });
    EXPECT_EQ(image.ShowDlg(m_cell, &m_owner, Filled(Qt::blue)), QDialog::Accepted);

    ASSERT_EQ(accepted.size(), 2);
    EXPECT_EQ(accepted.at(0).size(), QSize(40, 30));
    EXPECT_EQ(accepted.at(0).toImage().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_TRUE(accepted.at(1).isNull());
}

TEST_F(PopupTest, DraggingTheCornerEnlargesThePopup)
{
    TwInDlgMemo memo(&m_owner);
    TwInDlgImg image(&m_owner);
    for (TwInDlg *popup : { static_cast<TwInDlg *>(&memo), static_cast<TwInDlg *>(&image) }) {
        QSize before;
        QSize after;
        QRect content;
        WhenModal([&](QWidget *dialog) {
            before = popup->size();
            DragCorner(popup);
            after = popup->size();
            content = popup->MainPanel()->geometry();
            static_cast<QDialog *>(dialog)->reject();
        });
        if (popup == &memo)
            memo.ShowDlg(m_cell, &m_owner, QVariant());
        else
            image.ShowDlg(m_cell, &m_owner, QPixmap());
        EXPECT_EQ(after, before + QSize(60, 40)) << popup->objectName().toStdString();
        EXPECT_EQ(content.bottomRight(), QPoint(after.width() - 2, after.height() - 2 - TwInDlg::ButtonPanelHeight));
    }
}

// The bottom edge runs along the buttons: a drag that starts on it with a button under the
// pointer sizes the popup by the distance dragged, as the right edge does.
TEST_F(PopupTest, RegressionDraggingTheBottomEdgeOverAButtonFollowsThePointer)
{
    TwInDlgMemo memo(&m_owner);
    QSize before;
    QSize after;
    QWidget *under = nullptr;
    WhenModal([&](QWidget *dialog) {
        before = memo.size();
        QWindow *window = memo.windowHandle();
        const QPoint edge(60, memo.height() - 2);
        under = memo.childAt(edge);
        QTest::mouseMove(window, edge);
        QTest::mousePress(window, Qt::LeftButton, {}, edge);
        for (int step = 1; step <= 40; ++step)
            QTest::mouseMove(window, edge + QPoint(0, step));
        QTest::mouseRelease(window, Qt::LeftButton, {}, edge + QPoint(0, 40));
        after = memo.size();
        static_cast<QDialog *>(dialog)->reject();
    });
    memo.ShowDlg(m_cell, &m_owner, QVariant());
    EXPECT_TRUE(qobject_cast<QAbstractButton *>(under)) << "the press starts on a button";
    EXPECT_EQ(after, before + QSize(0, 40));
}

namespace {

class FootStylesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_grid.setObjectName(QStringLiteral("Grid1"));
        for (const char *caption : { "Name", "Qty", "" })
            m_grid.Columns().Add()->Title().SetCaption(QString::fromLatin1(caption));
    }
    TwMemColumnFooter &Footer(int column)
    {
        return static_cast<TwMemColumn *>(m_grid.Columns().Items(column))->MemFooter();
    }
    template <typename T> static T *Child(QWidget *dialog, const char *name)
    {
        auto *child = dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QRadioButton *Method(QWidget *dialog, TwFooterMethod method)
    {
        return dialog->findChild<QWidget *>(QStringLiteral("grpMethods"))->findChildren<QRadioButton *>().at(method);
    }

    TTabrix m_grid;
};

} // namespace

TEST_F(FootStylesTest, NoFooterLinesOpensNothing)
{
    bool opened = false;
    QTimer::singleShot(0, [&opened] { opened = QApplication::activeModalWidget() != nullptr; });
    EXPECT_FALSE(EditMFootStyles(&Footer(0)));
    QTest::qWait(20);
    EXPECT_FALSE(opened);
}

TEST_F(FootStylesTest, MethodAndOperatorEnableTheConditionAndCancelKeepsTheStyles)
{
    m_grid.Footers().Add();
    Footer(2).SetStyle(0, wfmeNone, -1, wfopAll, QString());
    const QStringList before = Footer(2).Styles();
    WhenModal([&](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit Grid1.Column[2].Footer.Styles"));
        auto *columns = Child<QComboBox>(dialog, "cbColumns");
        auto *op = Child<QComboBox>(dialog, "cbOperator");
        auto *operand = Child<QLineEdit>(dialog, "edOperand");
        EXPECT_EQ(columns->itemText(1), QStringLiteral("1 - Qty"));
        EXPECT_EQ(Method(dialog, wfmeCustom)->text(), QStringLiteral("wfmeCustom "));
        EXPECT_FALSE(columns->isEnabled());
        EXPECT_EQ(operand->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));

        QTest::mouseClick(Method(dialog, wfmeSum), Qt::LeftButton);
        EXPECT_TRUE(columns->isEnabled());
        EXPECT_TRUE(op->isEnabled());
        EXPECT_FALSE(operand->isEnabled());
        op->setCurrentIndex(wfopGT);
        EXPECT_TRUE(operand->isEnabled());
        EXPECT_EQ(operand->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
        op->setCurrentIndex(wfopAll);
        EXPECT_FALSE(operand->isEnabled());
        Click(dialog, "cmCancel");
    });
    EXPECT_FALSE(EditMFootStyles(&Footer(2)));
    EXPECT_EQ(Footer(2).Styles(), before);
}

TEST_F(FootStylesTest, OkWritesEveryLine)
{
    m_grid.Footers().Add();
    m_grid.Footers().Add();
    // A condition column the grid does not have stays when only the method changes.
    Footer(1).SetStyle(1, wfmeMax, 42, wfopEQ, QStringLiteral("x"));
    WhenModal([&](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit Grid1.Qty.Footer.Styles"));
        QTest::mouseClick(Method(dialog, wfmeSum), Qt::LeftButton);
        Child<QComboBox>(dialog, "cbColumns")->setCurrentIndex(0);
        Child<QComboBox>(dialog, "cbOperator")->setCurrentIndex(wfopGT);
        QTest::keyClicks(Child<QLineEdit>(dialog, "edOperand"), QStringLiteral("10"));
        Child<QComboBox>(dialog, "cbFooters")->setCurrentIndex(1);
        EXPECT_TRUE(Method(dialog, wfmeMax)->isChecked());
        EXPECT_EQ(Child<QLineEdit>(dialog, "edOperand")->text(), QStringLiteral("x"));
        QTest::mouseClick(Method(dialog, wfmeCount), Qt::LeftButton);
        dialog->grab().save(PicturePath(QStringLiteral("dlg-footstyles.png")));
        Click(dialog, "cmOk");
    });
    EXPECT_TRUE(EditMFootStyles(&Footer(1)));
    EXPECT_EQ(Footer(1).Styles().join(QLatin1Char('|')), QStringLiteral("30000210|200421x"));
}

