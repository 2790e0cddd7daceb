#include "platform/messagebox.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace Platform;

TEST(MessageBox, TheSeamReceivesEveryArgumentAndAnswers)
{
    MessageBoxRecorder recorder(mbNo);
    EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("모두 닫을까요?"), QStringLiteral("확인"), TMsgIcon::Question,
                             mbYes | mbNo, mbNo),
              mbNo);
    ASSERT_EQ(recorder.Calls().size(), 1u);
    const TMessageBoxCall &call = recorder.Calls().front();
    EXPECT_EQ(call.Buttons, unsigned(mbYes | mbNo));
    EXPECT_EQ(call.DefaultButton, mbNo);
    EXPECT_EQ(recorder.Summary(), QStringLiteral("확인|모두 닫을까요?|question"));
}

TEST(MessageBox, RecordersNestAndRestoreTheOuterSeam)
{
    MessageBoxRecorder outer;
    {
        MessageBoxRecorder inner;
        ShowMessageBox(nullptr, QStringLiteral("a"), QStringLiteral("c"), TMsgIcon::Error);
        EXPECT_EQ(inner.Calls().size(), 1u);
    }
    ShowMessageBox(nullptr, QStringLiteral("b"), QStringLiteral("c"), TMsgIcon::Error);
    EXPECT_EQ(outer.Summary(), QStringLiteral("c|b|error"));
}
