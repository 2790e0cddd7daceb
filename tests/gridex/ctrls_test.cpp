#include "gridex/uxctrls.h"
#include "gridex/uxexregs.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(EditWrappers, PublishedPropertiesAndDefaults)
{
    TwEdit edit;
    EXPECT_EQ(edit.property("Alignment").value<TwAlignment>(), taLeftJustify);
    EXPECT_EQ(edit.property("Layout").value<TwTextLayout>(), tlTop);
    for (const char *side : { "MarginLeft", "MarginTop", "MarginRight", "MarginBottom" })
        EXPECT_EQ(edit.property(side).toInt(), 0) << side;
    EXPECT_EQ(edit.property("Height").toInt(), 20);
    EXPECT_FALSE(edit.property("ReadOnly").toBool());
    EXPECT_TRUE(edit.property("Ctl3D").toBool());
    EXPECT_TRUE(edit.property("TabStop").toBool());
    EXPECT_TRUE(edit.property("AutoSelect").toBool());
    EXPECT_EQ(edit.property("MaxLength").toInt(), 32767);

    edit.setProperty("MarginLeft", 5);
    edit.setProperty("Layout", QVariant::fromValue(tlCenter));
    edit.setProperty("Height", 26);
    EXPECT_EQ(edit.GetMargin(0), 5);
    EXPECT_EQ(edit.Layout(), tlCenter);
    EXPECT_EQ(edit.height(), 26);
    EXPECT_EQ(edit.GetEditRect().left(), 5);
}

TEST(Registration, ControlsInPaletteOrder)
{
    EXPECT_EQ(TXPalettePage(), QStringLiteral("Tabrix"));
    QStringList names;
    for (const TwPaletteEntry &entry : TXRegisteredControls()) {
        names << entry.ClassName;
        std::unique_ptr<QWidget> control(entry.Create(nullptr));
        EXPECT_EQ(QString::fromLatin1(control->metaObject()->className()), entry.ClassName);
    }
    EXPECT_EQ(names.join(QLatin1Char('|')), QStringLiteral("TwLabel|TwNumLabel|TwEdit|TwMaskEdit|TwNumEdit|TwDateEdit|TwCombo"));
}
