// The footer styles as the grid's design-time menu edits them: the dialog opened for one
// column, and what reaches the grid's design text.

#include "designer/footstylesedit.h"

#include "grid/gridparts.h"
#include "grid/tabrix.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>


namespace {

void Press(QWidget *dialog, const char *name, const char *method = nullptr)
{
    if (method) {
        for (QRadioButton *item : dialog->findChildren<QRadioButton *>())
            if (item->text().trimmed() == QLatin1String(method))
                QTest::mouseClick(item, Qt::LeftButton);
    }
    QTest::mouseClick(dialog->findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
}

class FootStylesEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_grid.setObjectName(QStringLiteral("grid"));
        for (const char *caption : { "Name", "Qty", "" })
            m_grid.Columns().Add()->Title().SetCaption(QString::fromLatin1(caption));
    }

    TTabrix m_grid;
};

} // namespace

TEST_F(FootStylesEditTest, WithoutFooterLinesNothingOpens)
{
    EXPECT_TRUE(FootStylesColumnNames(m_grid).isEmpty());
    bool opened = false;
    QTimer::singleShot(0, [&opened] { opened = QApplication::activeModalWidget() != nullptr; });
    EXPECT_FALSE(EditColumnFootStyles(&m_grid, 1));
    QTest::qWait(20);
    EXPECT_FALSE(opened);
}

TEST_F(FootStylesEditTest, OkWithAMethodChangesTheDesignCancelAndUntouchedOkDoNot)
{
    m_grid.Footers().Add();
    EXPECT_EQ(FootStylesColumnNames(m_grid).join(QLatin1Char('|')), QStringLiteral("Name|Qty|Column[2]"));
    EXPECT_FALSE(EditColumnFootStyles(&m_grid, 3));
    const QString before = m_grid.Design();

    WhenModal([](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit grid.Qty.Footer.Styles"));
        Press(dialog, "cmCancel", "wfmeSum");
    });
    EXPECT_FALSE(EditColumnFootStyles(&m_grid, 1));
    EXPECT_EQ(m_grid.Design(), before);

    WhenModal([](QWidget *dialog) { Press(dialog, "cmOk"); });
    EXPECT_FALSE(EditColumnFootStyles(&m_grid, 1));
    EXPECT_EQ(m_grid.Design(), before);

    WhenModal([](QWidget *dialog) { Press(dialog, "cmOk", "wfmeSum"); });
    EXPECT_TRUE(EditColumnFootStyles(&m_grid, 1));
    TTabrix loaded;
    loaded.SetDesign(m_grid.Design());
    const auto &footer = static_cast<TwMemColumn *>(loaded.Columns().Items(1))->MemFooter();
    EXPECT_EQ(footer.Styles(), QStringList { QStringLiteral("399990") });
}
